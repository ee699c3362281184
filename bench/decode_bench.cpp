// decode_bench SOURCE TARGET TYPE
//   Decodes SOURCE into TARGET with the decoder's own code (exactly the file the worker
//   writes), then writes the same rows with a straightforward QTextStream writer into
//   TARGET.qtextstream, compares the two files and prints size, times, MB/s and the ratio
//   (inputs under 200 MB run three times each and keep the best time).
// decode_bench --make PATH TYPE MEGABYTES [SEED [EVERY]]
//   Writes a recording of the type's messages with noise, corrupt frames and false starts;
//   with EVERY > 0 also a false start of length 65,535 before every EVERY-th frame (the frames
//   stay the same as without them).
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include "bench/decode_bench_kit.h"

namespace {

long peakMemoryKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex();
}

struct Timed {
    DecodeResult result;
    double seconds;
};

// The best of `rounds` decodes (each writes the whole target again).
Timed timedRun(int type, bool baseline, const QString &src, const QString &dst, int rounds)
{
    Timed best{DecodeResult(), 1e30};
    for (int i = 0; i < rounds; ++i) {
        DecodeRun run(type, baseline ? makeQTextStreamSink() : nullptr);
        QElapsedTimer t;
        t.start();
        const DecodeResult r = run.run(src, dst, [](const QString &) {}, [](int) {});
        const double s = double(t.nsecsElapsed()) / 1e9;
        if (s < best.seconds)
            best = Timed{r, s};
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args[1] == "--make") {
        RecordingOptions o;
        o.type = args[3].toInt();
        o.bytes = qint64(args[4].toDouble() * 1e6);
        o.seed = args.size() > 5 ? args[5].toUInt() : 1;
        o.longFalseStartEvery = args.size() > 6 ? args[6].toInt() : 0;
        const qint64 frames = writeRecording(args[2], o);
        std::printf("recording: %s, %lld good frames\n", qPrintable(args[2]),
                    static_cast<long long>(frames));
        return frames < 0 ? 1 : 0;
    }
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: decode_bench SOURCE TARGET TYPE\n"
                             "       decode_bench --make PATH TYPE MEGABYTES [SEED [EVERY]]\n");
        return 2;
    }
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const QString src = args[1], dst = args[2], baseline = args[2] + ".qtextstream";
    const int type = args[3].toInt();

    // Small inputs run three times and keep the best time, so a busy machine disturbs less.
    const int rounds = QFileInfo(src).size() < 200 * 1000 * 1000 ? 3 : 1;
    const Timed fast = timedRun(type, false, src, dst, rounds);
    std::printf("decode: %s\n", qPrintable(fast.result.report));
    const double mb = double(fast.result.sourceBytes) / 1e6;
    std::printf("input: %lld bytes (%.1f MB), good frames %llu, bad frames %llu, rows %llu\n",
                static_cast<long long>(fast.result.sourceBytes), mb,
                static_cast<unsigned long long>(fast.result.goodFrames),
                static_cast<unsigned long long>(fast.result.badFrames),
                static_cast<unsigned long long>(fast.result.rows));
    std::printf("decoder:  %.3f s, %.1f MB/s (best of %d)\n", fast.seconds, mb / fast.seconds, rounds);
    const long peakFast = peakMemoryKb();
    if (qEnvironmentVariableIsSet("DECODE_BENCH_SKIP_BASELINE")) // profiling the decoder alone
        return fast.result.status == DecodeResult::Completed ? 0 : 1;

    const Timed slow = timedRun(type, true, src, baseline, rounds);
    std::printf("baseline: %.3f s, %.1f MB/s (QTextStream, best of %d)\n", slow.seconds,
                mb / slow.seconds, rounds);
    std::printf("ratio: %.2f x (goals: at least 80 MB/s and 4 x the baseline)\n",
                slow.seconds / fast.seconds);
    const bool same = digest(dst) == digest(baseline);
    std::printf("output equal to the QTextStream baseline: %s\n", same ? "yes" : "NO");
    std::printf("peak memory: %.1f MB (after the decoder's run: %.1f MB)\n",
                double(peakMemoryKb()) / 1024.0, double(peakFast) / 1024.0);
    QFile::remove(baseline);
    return same && fast.result.status == DecodeResult::Completed ? 0 : 1;
}

// Throughput of the frame parser, MB/s on one core:
//  - a stream of 0xB6B4 calibration frames with noise, false starts and corrupt frames between
//    them (rack bound, fed like serial reads), beside the plain reference parser;
//  - short INS frames (0x0051 to 0x0053) alone (beside the reference), and with a false start of
//    length 65,535 ("AA 55 id FF FF") before every tenth frame (main-link bound);
//  - input made only of false starts ("AA 55 02 00 FF FF" repeated, main-link bound), beside
//    the plain reference parser that rescans after every failure: same frames and counts.
#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

#include "link/FrameParser.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/ReferenceFrameParser.h"

namespace {

struct Figure {
    double mbPerS = 0;
    uint64_t frames = 0;
};

// The best of five passes over the stream, fed in chunks like serial reads.
Figure measure(const QByteArray &stream, FrameParser::LengthBound bound)
{
    const auto *data = reinterpret_cast<const uint8_t *>(stream.constData());
    Figure best;
    for (int round = 0; round < 5; ++round) {
        FrameParser parser(bound);
        uint64_t frames = 0;
        QElapsedTimer t;
        t.start();
        const size_t chunk = 4096;
        for (size_t i = 0; i < size_t(stream.size()); i += chunk)
            parser.feed(data + i, std::min(chunk, size_t(stream.size()) - i),
                        [&](uint16_t, const uint8_t *, uint32_t) { ++frames; });
        const double s = double(t.nsecsElapsed()) / 1e9;
        best.mbPerS = std::max(best.mbPerS, double(stream.size()) / 1e6 / s);
        best.frames = frames;
    }
    return best;
}

// The plain reference parser over the same stream at once (best of three), MB/s.
double referenceMbPerS(const QByteArray &stream, FrameParser::LengthBound bound)
{
    const auto *data = reinterpret_cast<const uint8_t *>(stream.constData());
    double best = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        const RefParse::Result r = RefParse::parse(data, size_t(stream.size()), bound);
        const double s = double(t.nsecsElapsed()) / 1e9;
        best = std::max(best, r.counts.good > 0 ? double(stream.size()) / 1e6 / s : 0.0);
    }
    return best;
}

QByteArray insStream(bool falseStarts, int *sent)
{
    static const int sizes[3] = {86, 59, 24};
    std::mt19937 rng(2);
    QByteArray stream;
    *sent = 0;
    for (int seq = 0; stream.size() < 32 * 1024 * 1024; ++seq) {
        QByteArray payload(sizes[seq % 3], '\0');
        for (char &c : payload)
            c = char(rng());
        const QByteArray frame = buildDeviceFrame(uint16_t(0x0051 + seq % 3), payload);
        if (falseStarts && seq % 10 == 0)
            stream += frame.left(4) + QByteArray("\xFF\xFF", 2);
        stream += frame;
        ++*sent;
    }
    return stream;
}

// Seconds per MB of input made only of false starts, for the parser (fed like serial reads,
// then ended) and for the reference; false when their counts differ.
bool denseFalseStarts(double *parserSPerMb, double *referenceSPerMb)
{
    QByteArray stream;
    while (stream.size() < 512 * 1024)
        stream += QByteArray::fromHex("AA550200FFFF");
    const auto *data = reinterpret_cast<const uint8_t *>(stream.constData());
    const size_t n = size_t(stream.size());
    const double mb = double(n) / 1e6;
    QElapsedTimer t;
    t.start();
    const RefParse::Result got = RefParse::parseInChunks(data, n, FrameParser::mainLinkBound, {4096});
    *parserSPerMb = double(t.nsecsElapsed()) / 1e9 / mb;
    t.restart();
    const RefParse::Result ref = RefParse::parse(data, n, FrameParser::mainLinkBound);
    *referenceSPerMb = double(t.nsecsElapsed()) / 1e9 / mb;
    std::printf("dense false starts: %llu failed, %llu frames (reference: %llu failed, %llu frames)\n",
                static_cast<unsigned long long>(got.counts.bad()), static_cast<unsigned long long>(got.counts.good),
                static_cast<unsigned long long>(ref.counts.bad()), static_cast<unsigned long long>(ref.counts.good));
    return RefParse::same(got, ref);
}

} // namespace

int main()
{
    std::array<SimPayload::ImuValues, 32> imus{};
    for (int i = 0; i < 32; ++i)
        imus[size_t(i)].time_ms = uint32_t(i + 1);
    const QByteArray frame = buildDeviceFrame(DeviceMsgId::CalibB6B4,
                                              SimPayload::calibMessage(DeviceMsgId::CalibB6B4, imus));
    std::mt19937 rng(1);
    QByteArray stream;
    int sent = 0;
    while (stream.size() < 64 * 1024 * 1024) {
        for (int k = int(rng() % 16); k > 0; --k)
            stream.append(char(rng() % 3 == 0 ? 0xAA : rng() & 0xFF));
        if (rng() % 50 == 0) { // a corrupt frame
            QByteArray bad = frame;
            bad[100] = char(bad[100] ^ 1);
            stream += bad;
        }
        stream += frame;
        ++sent;
    }
    const Figure calib = measure(stream, FrameParser::rackBound);
    std::printf("stream: %.1f MB, frames sent %d, parsed %llu\n", stream.size() / 1e6, sent,
                static_cast<unsigned long long>(calib.frames));
    std::printf("frame parser throughput: %.0f MB/s (goal: 300 MB/s); reference parser: %.0f MB/s\n",
                calib.mbPerS, referenceMbPerS(stream, FrameParser::rackBound));

    int insSent = 0, insSentFs = 0;
    const QByteArray clean = insStream(false, &insSent);
    const Figure plain = measure(clean, FrameParser::mainLinkBound);
    const Figure withFs = measure(insStream(true, &insSentFs), FrameParser::mainLinkBound);
    std::printf("short INS frames: %.0f MB/s (%llu of %d frames); reference parser: %.0f MB/s\n", plain.mbPerS,
                static_cast<unsigned long long>(plain.frames), insSent,
                referenceMbPerS(clean, FrameParser::mainLinkBound));
    std::printf("the same with a false start of length 65,535 before every tenth frame: %.0f MB/s "
                "(%llu of %d frames)\n",
                withFs.mbPerS, static_cast<unsigned long long>(withFs.frames), insSentFs);
    std::printf("with false starts / without: %.2f (goal: at least 0.5)\n", withFs.mbPerS / plain.mbPerS);
    double denseS = 0, referenceS = 0;
    const bool denseSame = denseFalseStarts(&denseS, &referenceS);
    std::printf("input of false starts only: %.2f s/MB (%.3f MB/s); reference parser: %.2f s/MB (%.3f MB/s); "
                "parser / reference speed: %.2f (goal: at least 1)\n",
                denseS, 1 / denseS, referenceS, 1 / referenceS, referenceS / denseS);
    const bool allFrames = denseSame && calib.frames == uint64_t(sent) && plain.frames == uint64_t(insSent)
        && withFs.frames == uint64_t(insSentFs);
    return allFrames ? 0 : 1;
}

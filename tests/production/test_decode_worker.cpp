// The decoder worker in its own thread, and decode_bench writing the worker's text.
#include <QPointer>
#include <QTest>
#include <QThread>

#include "app/MetaTypes.h"
#include "bench/decode_bench_kit.h"
#include "production/DecodeFormats.h"
#include "production/WorkerThread_decode.h"
#include "sim/ModuleSimulator.h"
#include "tests/production/DecodeTestKit.h"

using namespace DecodeTestKit;

namespace {
struct Reports {
    QList<uint8_t> codes;
    QStringList texts;
    QList<int> progress;
    QList<QThread *> threads;
    bool finished() const { return texts.size() >= 2 || (texts.size() == 1 && texts[0] != DecodeText::kStart); }
};

void watch(WorkerThread_decode *w, Reports &r, QObject *context)
{
    QObject::connect(w, &WorkerThread_decode::signal_log, context, [&r](uint8_t code, QString text) {
        r.codes << code;
        r.texts << text;
    });
    QObject::connect(w, &WorkerThread_decode::decodeProgressChanged, context, [&r](int p) { r.progress << p; });
    QObject::connect(w, &WorkerThread_decode::signal_log, w, [&r](uint8_t, QString) {
        r.threads << QThread::currentThread();
    }, Qt::DirectConnection);
}

// Retires a worker the way the page does: the retire signal is raised in the worker's thread.
void retire(WorkerThread_decode *w)
{
    QMetaObject::invokeMethod(w, [w] { emit w->deleteObjAndNewNext(); }, Qt::QueuedConnection);
}

QString benchProgram() { return qEnvironmentVariable("TEST_BINARY_DIR") + "/bench/decode_bench"; }

// A recording of the module simulator's calibration frames with noise between them; `dirty`
// adds corrupt copies of frames and false starts.
QByteArray simulatorRecording(uint16_t id, int frames, bool dirty = false)
{
    ModuleSimulator sim;
    sim.calibMessageId = id;
    QByteArray rec;
    for (int n = 0; n < frames; ++n) {
        for (int i = 0; i < 32; ++i) {
            auto &imu = sim.imus[size_t(i)];
            imu.time_ms = uint32_t(n * 1000 + i);
            for (int k = 0; k < 7; ++k)
                imu.fused[k] = float(n) * 0.37f + float(i) * 1.1f - float(k) * 2.05f;
            imu.calib_flag_h = 3999;
            imu.errors = uint16_t(n + i);
        }
        const QByteArray frame = sim.currentCalibFrame();
        if (dirty && n % 3 == 1) {
            QByteArray bad = frame;
            bad[200] = char(bad[200] ^ 0x40);
            rec += bad + QByteArray::fromHex("aa5501b6ff00");
        }
        rec += QByteArray::fromHex("aa0013") + frame;
    }
    return rec;
}
} // namespace

class TestDecodeWorker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerMetaTypes(); }

    void workerDecodesInItsOwnThreadAndReportsWithCode33()
    {
        const QByteArray rec = simulatorRecording(0xB6B5, 20);
        const QString src = writeFile("w.dat", rec);
        const QString target = path("w.txt");
        QFile::remove(target);
        WorkerThread_decode *w = createWorker_decode();
        QVERIFY(w->thread() != QThread::currentThread());
        QVERIFY(w->thread()->isRunning());
        Reports r;
        watch(w, r, this);
        g_decode_type = DecodeFormat::Calib368;
        QMetaObject::invokeMethod(w, "do_file_decode", Qt::QueuedConnection, Q_ARG(QString, src),
                                  Q_ARG(QString, target));
        QVERIFY(TestKit::waitUntil([&] { return r.finished(); }, 20000));
        QCOMPARE(r.codes, QList<uint8_t>({33, 33}));
        QCOMPARE(r.texts[0], QString(DecodeText::kStart));
        QCOMPARE(r.texts[1], QString("Status: Decoding completed, decoding error count:0,Decoding success rate:100.00%"));
        QVERIFY(TestKit::waitUntil([&] { return !r.progress.isEmpty() && r.progress.last() == 100; }, 5000));
        for (QThread *t : r.threads)
            QCOMPARE(t, w->thread());
        const Outcome direct = decode(DecodeFormat::Calib368, src, path("w_direct.txt"));
        QCOMPARE(readFile(target), direct.text);
        QCOMPARE(direct.lines().size(), 21);
        retire(w);
    }

    void retiredWorkerIsDeletedAndItsThreadEnds()
    {
        QPointer<WorkerThread_decode> w = createWorker_decode();
        QPointer<QThread> t = w->thread();
        QVERIFY(t->isRunning());
        retire(w);
        QVERIFY(TestKit::waitUntil([&] { return w.isNull() && (t.isNull() || t->isFinished()); }, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(t.isNull(), 5000); // the thread object goes on the GUI loop
    }

    void unreadableSourceReportsOnceWithoutProgress()
    {
        WorkerThread_decode *w = createWorker_decode();
        Reports r;
        watch(w, r, this);
        g_decode_type = 0;
        QMetaObject::invokeMethod(w, "do_file_decode", Qt::QueuedConnection,
                                  Q_ARG(QString, path("missing.dat")), Q_ARG(QString, path("missing.txt")));
        QVERIFY(TestKit::waitUntil([&] { return r.finished(); }, 5000));
        QTest::qWait(50);
        QCOMPARE(r.texts, QStringList({DecodeText::kSourceUnreadable}));
        QCOMPARE(r.codes, QList<uint8_t>({33}));
        QVERIFY(r.progress.isEmpty());
        retire(w);
    }

    void decodeBenchWritesTheWorkersTextForEveryType()
    {
        for (int type = 0; type < DecodeFormat::kTypeCount; ++type) {
            const QString src = path(QString("bench%1.dat").arg(type));
            QString out;
            QCOMPARE(TestKit::runProgram(benchProgram(), {"--make", src, QString::number(type), "1.5", "3"}, &out), 0);
            const QString target = path(QString("bench%1.txt").arg(type));
            QCOMPARE(TestKit::runProgram(benchProgram(), {src, target, QString::number(type)}, &out), 0);
            QVERIFY2(out.contains("output equal to the QTextStream baseline: yes"), qPrintable(out));
            QVERIFY(out.contains("MB/s"));
            QVERIFY(out.contains("ratio:"));
            const Outcome worker = decode(type, src, path(QString("bench%1_worker.txt").arg(type)));
            QCOMPARE(worker.result.status, DecodeResult::Completed);
            QVERIFY(readFile(target) == worker.text);
        }
    }

    void decodeBenchWritesTheWorkersTextForASimulatorRecording()
    {
        const QString src = writeFile("sim4.dat", simulatorRecording(0xB6B4, 12, true));
        QString out;
        QCOMPARE(TestKit::runProgram(benchProgram(), {src, path("sim4.txt"), "4"}, &out), 0);
        const Outcome worker = decode(DecodeFormat::Calib1040, src, path("sim4_worker.txt"));
        QCOMPARE(worker.lines().size(), 13);
        QVERIFY(worker.result.badFrames >= 4);
        QVERIFY(readFile(path("sim4.txt")) == worker.text);
    }
};

QTEST_GUILESS_MAIN(TestDecodeWorker)
#include "test_decode_worker.moc"

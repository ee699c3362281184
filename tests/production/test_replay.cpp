// The replay worker over recorded files written by the test: progress marks, speeds and pause,
// seek and continue, damaged data, and plate 1's records filled by the replay's mapping.
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "app/MetaTypes.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "link/WorkerThreadStart.h"
#include "production/WorkerThread_Replay.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
// Collects a worker's reports on the test's thread, as the console receives them. The times
// of the progress reports and plate 1's record times are taken in the replay thread, as they
// happen, so a busy test thread does not shift them.
class Reports : public QObject {
    Q_OBJECT
public:
    explicit Reports(WorkerThread_Replay *w)
    {
        clock.start();
        connect(w, &WorkerThread_Replay::signal_log, this, [this](uint8_t c, QString t) {
            logs << qMakePair(int(c), t);
        });
        connect(w, &WorkerThread_Replay::signal_log, w, [this](uint8_t c, QString) {
            if (c != WorkerThread_Replay::kProgressReport)
                return;
            QMutexLocker lock(&mutex);
            progressAtMs << clock.elapsed();
        }, Qt::DirectConnection);
        connect(w, &WorkerThread_Replay::signal_send_735e_calib, w, [this] {
            QMutexLocker lock(&mutex);
            plateOneTimes << g_calib_status.record(0, 0).time_ms;
        }, Qt::DirectConnection);
        connect(w, &WorkerThread_Replay::signal_send_735e_calib, this, [this] { ++calib; });
        connect(w, &WorkerThread_Replay::signalReadStop, this, [this](bool s) { stops << s; });
        connect(w, &WorkerThread_Replay::signal_sendVersionValue, this,
                [this](uint32_t sw, uint32_t hw, uint32_t board, uint32_t, uint32_t, uint32_t,
                       uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t, uint32_t,
                       uint32_t, uint32_t, uint8_t) { versions << QList<uint32_t>{sw, hw, board}; });
    }
    QStringList progress() const
    {
        QStringList out;
        for (const auto &l : logs)
            if (l.first == WorkerThread_Replay::kProgressReport)
                out << l.second;
        return out;
    }
    bool finished() const { return progress().contains("100%"); }
    QList<qint64> progressTimes() const
    {
        QMutexLocker lock(&mutex);
        return progressAtMs;
    }
    QList<uint32_t> recordTimes() const
    {
        QMutexLocker lock(&mutex);
        return plateOneTimes;
    }
    void clear()
    {
        logs.clear();
        stops.clear();
        calib = 0;
        QMutexLocker lock(&mutex);
        progressAtMs.clear();
        plateOneTimes.clear();
    }
    QElapsedTimer clock;
    QList<QPair<int, QString>> logs;
    mutable QMutex mutex;
    QList<qint64> progressAtMs;
    QList<uint32_t> plateOneTimes;
    QList<bool> stops;
    QList<QList<uint32_t>> versions;
    int calib = 0;
};

// Sends a command broadcast the way the console does.
class Broadcaster : public QObject {
    Q_OBJECT
signals:
    void Send_CMD_LONG_SIGNAL_times(uint16_t, float, float, uint32_t, uint32_t, int32_t, int32_t);
    void Send_CMD_LONG_SIGNAL(uint16_t, float, float, uint32_t, uint32_t, int32_t, int32_t);
    void Send_QString_times(QString);
    void signal_closePort_Worker_Replay();
    void deleteObjAndNewNext_Worker_replay();
};

QString writeRecording(const QString &name, const QByteArray &bytes)
{
    const QString path = TestKit::workDir() + "/" + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

std::array<SimPayload::ImuValues, 32> imusStamped(uint32_t time)
{
    std::array<SimPayload::ImuValues, 32> imus;
    for (int i = 0; i < 32; ++i) {
        imus[size_t(i)].time_ms = time + uint32_t(i);
        imus[size_t(i)].fused[0] = 0.5f * float(i);
        imus[size_t(i)].calib_status = 56004;
        imus[size_t(i)].calib_flag = 11;
        imus[size_t(i)].calib_flag_h = 3999;
        imus[size_t(i)].software_ver = 0x56312E30;
        imus[size_t(i)].harware_ver = 3;
        imus[size_t(i)].sn = QByteArray("REPLAY") + QByteArray::number(i);
        imus[size_t(i)].errors = uint16_t(100 + i);
    }
    return imus;
}

QByteArray calibFrame(uint16_t id, uint32_t time)
{
    return buildDeviceFrame(id, SimPayload::calibMessage(id, imusStamped(time)));
}

// Bytes that never hold 0xAA, so they cannot start a frame.
QByteArray noise(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray b(n, '\0');
    for (char &c : b) {
        c = char(rng.bounded(256));
        if (uint8_t(c) == 0xAA)
            c = 0x2A;
    }
    return b;
}
} // namespace

class TestReplay : public QObject {
    Q_OBJECT
private:
    WorkerThread_Replay *worker = nullptr;
    Reports *reports = nullptr;

    void start(const QString &path)
    {
        // The reports are wired before the thread starts, as the console wires them.
        worker = createWorker_Replay(path, [this](WorkerThread_Replay *w) { reports = new Reports(w); });
    }
    // Returns once every request queued to the worker before it has been served.
    bool drain()
    {
        const int before = reports->logs.size();
        QMetaObject::invokeMethod(worker, "log", Qt::QueuedConnection, Q_ARG(uint8_t, 99),
                                  Q_ARG(QString, "drained"));
        return waitUntil([&] {
            for (int i = before; i < reports->logs.size(); ++i)
                if (reports->logs[i] == qMakePair(99, QString("drained")))
                    return true;
            return false;
        }, 10000);
    }

private slots:
    void initTestCase() { registerMetaTypes(); }

    void init()
    {
        g_replay_speed = ReplaySpeed::All;
        g_replay_percent = 0;
        g_calib_status.clearAll();
    }
    void cleanup()
    {
        if (worker) {
            QPointer<WorkerThread_Replay> w = worker;
            QPointer<WorkerThread_Replay> owner = worker;
            g_replay_speed = ReplaySpeed::All;
            retireWorker(owner);
            QVERIFY(waitUntil([&] { return w.isNull(); }, 10000));
        }
        worker = nullptr;
        delete reports;
        reports = nullptr;
    }

    // Progress marks and speeds

    void anEmptyFileReportsOneHundredPercentAtOnce()
    {
        start(writeRecording("empty.dat", QByteArray()));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QVERIFY(drain());
        QCOMPARE(reports->progress(), QStringList{"100%"});
    }

    void twoAndAHalfMarksReportFortyThenEightyThenOneHundred()
    {
        start(writeRecording("quarter.dat", noise(25000, 1)));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QVERIFY(drain());
        QCOMPARE(reports->progress(), (QStringList{"40.0%", "80.0%", "100%"}));
    }

    void pauseHoldsThePassAtTheNextMarkUntilAnotherSpeedIsChosen()
    {
        g_replay_speed = ReplaySpeed::Pause;
        start(writeRecording("paused.dat", noise(35000, 2)));
        QVERIFY(waitUntil([&] { return !reports->progress().isEmpty(); }));
        QTest::qWait(300);
        QCOMPARE(reports->progress(), QStringList{"28.6%"}); // held at the first mark
        QElapsedTimer resumed;
        resumed.start();
        g_replay_speed = ReplaySpeed::Fast;
        QVERIFY(waitUntil([&] { return reports->progress().size() >= 2; }, 2000));
        QVERIFY2(resumed.elapsed() < 1000, qPrintable(QString::number(resumed.elapsed())));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QCOMPARE(reports->progress(), (QStringList{"28.6%", "57.1%", "85.7%", "100%"}));
    }

    void slowSpeedSpacesTheMarks()
    {
        g_replay_speed = ReplaySpeed::Slow;
        start(writeRecording("slow.dat", noise(60000, 3)));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        // Six marks, each followed by 50 ms: the last report comes at least 250 ms after the first.
        const QList<qint64> at = reports->progressTimes();
        QCOMPARE(at.size(), 7);
        QVERIFY(at.last() - at.first() >= 250);
    }

    // Seek and continue

    void sliderAtFiftyStopsAtTheFirstMarkAtOrPastFiftyAndContinueReadsTheRest()
    {
        const qint64 size = 20 * 1000 * 1000;
        QByteArray bytes(int(size), '\0');
        const QByteArray early = calibFrame(DeviceMsgId::CalibB6B6, 1000);
        const QByteArray late = calibFrame(DeviceMsgId::CalibB6B6, 2000);
        bytes.replace(3000000, early.size(), early);
        bytes.replace(15000000, late.size(), late);
        start(writeRecording("twenty.dat", bytes));
        QVERIFY(waitUntil([&] { return reports->finished(); }, 30000));
        QCOMPARE(reports->calib, 2);
        QCOMPARE(worker->resumePosition(), 0);

        g_calib_status.clearAll();
        reports->clear();
        g_replay_percent = 50;
        emit worker->signalTranspondSliderValueChanged();
        QVERIFY(waitUntil([&] { return !reports->stops.isEmpty(); }, 30000));
        QCOMPARE(reports->stops, QList<bool>{true});
        const QStringList seek = reports->progress();
        QCOMPARE(seek.last(), QString("50%"));
        QCOMPARE(seek[seek.size() - 2], QString("50.0%"));
        const qint64 resume = worker->resumePosition();
        QCOMPARE(resume, qint64(seek.size() - 1) * 10000);
        QCOMPARE(resume, qint64(10000000)); // the first mark at or past 50 %
        QCOMPARE(reports->calib, 1); // only the frame before the stop was read
        QCOMPARE(g_calib_status.record(0, 0).time_ms, 1000u);

        reports->clear();
        emit worker->signalTranspondreadFileAgain();
        QVERIFY(waitUntil([&] { return reports->finished(); }, 30000));
        const QStringList rest = reports->progress();
        QCOMPARE(rest.size(), int((size - resume) / 10000) + 1);
        for (int i = 0; i + 1 < rest.size(); ++i) {
            const double v = rest[i].chopped(1).toDouble();
            QVERIFY2(v > 50.0 && v <= 100.0, qPrintable(rest[i])); // from the resume position on
        }
        QCOMPARE(reports->calib, 1);
        QCOMPARE(g_calib_status.record(0, 0).time_ms, 2000u);
        QCOMPARE(worker->resumePosition(), 0);
        QVERIFY(reports->stops.isEmpty());
    }

    void continueBeforeAnySeekDoesNothing()
    {
        start(writeRecording("noseek.dat", noise(30000, 4)));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        reports->clear();
        emit worker->signalTranspondreadFileAgain();
        emit worker->signalTranspondSliderValueChanged(); // slider left at 0
        QVERIFY(drain());
        QVERIFY(reports->progress().isEmpty());
        QVERIFY(reports->stops.isEmpty());
    }

    void aPercentagePastTheLastMarkReadsTheWholeFileWithoutStopping()
    {
        start(writeRecording("short.dat", noise(25000, 5))); // marks at 40.0 and 80.0 only
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        reports->clear();
        g_replay_percent = 90;
        emit worker->signalTranspondSliderValueChanged();
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QVERIFY(drain());
        QCOMPARE(reports->progress(), (QStringList{"40.0%", "80.0%", "100%"}));
        QVERIFY(reports->stops.isEmpty());
    }

    // Commands and failures

    void aCommandBroadcastWhileReplayingSendsNothingAndDoesNotHoldThePass()
    {
        g_replay_speed = ReplaySpeed::Slow;
        start(writeRecording("broadcast.dat", noise(300000, 6)));
        Broadcaster console;
        connect(&console, &Broadcaster::Send_CMD_LONG_SIGNAL_times, worker,
                &WorkerThread_Replay::Send_CMD_LONG_times, Qt::UniqueConnection);
        connect(&console, &Broadcaster::Send_CMD_LONG_SIGNAL, worker,
                &WorkerThread_Replay::Send_CMD_LONG, Qt::UniqueConnection);
        connect(&console, &Broadcaster::Send_QString_times, worker,
                &WorkerThread_Replay::Send_QString_times, Qt::UniqueConnection);
        connect(&console, &Broadcaster::signal_closePort_Worker_Replay, worker,
                &WorkerThread_Replay::closePort, Qt::UniqueConnection);
        QVERIFY(waitUntil([&] { return reports->progress().size() >= 2; }));
        emit console.Send_CMD_LONG_SIGNAL_times(56004, 1, 0, 0, 0, 0, 0);
        emit console.Send_CMD_LONG_SIGNAL_times(51000, 0, 0, 0, 0, 0, 0);
        emit console.Send_CMD_LONG_SIGNAL(3, 3, 0, 0x1234, 0xABCD, 100, 200);
        emit console.Send_QString_times("text");
        emit console.signal_closePort_Worker_Replay();
        QVERIFY(waitUntil([&] { return reports->finished(); }, 10000));
        QCOMPARE(reports->progress().size(), 31);
        const QList<qint64> at = reports->progressTimes();
        for (int i = 1; i < at.size(); ++i) {
            const qint64 gap = at[i] - at[i - 1];
            QVERIFY2(gap < 2000, qPrintable(QString("gap %1 ms at mark %2").arg(gap).arg(i)));
        }
        for (const auto &l : reports->logs)
            QCOMPARE(l.first, int(WorkerThread_Replay::kProgressReport)); // nothing but progress
        QCOMPARE(reports->calib, 0);
    }

    void aFileThatCannotBeOpenedEndsWithAReport()
    {
        start(TestKit::workDir() + "/missing/none.dat");
        QVERIFY(waitUntil([&] { return !reports->logs.isEmpty(); }));
        QVERIFY(drain());
        const QStringList p = reports->progress();
        QCOMPARE(p.size(), 1);
        QVERIFY2(p[0].startsWith("Cannot open file"), qPrintable(p[0]));
        QVERIFY(!reports->finished());
    }

    // A FIFO to replay is refused with its reason before it is opened: the worker would wait
    // for a writer for good, and the console with it when it retires the worker.
    void aFifoToReplayEndsWithItsReasonAtOnce()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString fifo = tmp.path() + "/recording.dat";
        QVERIFY(TestKit::makeFifo(fifo));
        start(fifo);
        QVERIFY(waitUntil([&] { return !reports->progress().isEmpty(); }, 1000));
        QVERIFY(drain());
        QCOMPARE(reports->progress(),
                 QStringList{QString("Cannot open file %1: a named pipe (FIFO), not a regular file").arg(fifo)});
        QVERIFY(!reports->finished());
    }

    // Frames

    void framesAmongNoiseAndCorruptFramesAreRecovered()
    {
        QByteArray bad = calibFrame(DeviceMsgId::CalibB6B6, 500);
        bad[100] = char(bad[100] ^ 0x01); // CRC no longer matches
        QByteArray bytes = noise(1234, 7);
        bytes += calibFrame(DeviceMsgId::CalibB6B6, 100);
        bytes += noise(77, 8);
        bytes += bad;
        bytes += QByteArray::fromHex("AA55B6B6FFFF"); // length refused
        bytes += QByteArray::fromHex("AA");           // a second 0xAA restarts the frame
        bytes += buildDeviceFrame(DeviceMsgId::Version, SimPayload::versionPayload(0x56312E30, 7, 2));
        bytes += bad.left(bad.size() / 2);            // a frame cut off by the next one
        bytes += calibFrame(DeviceMsgId::CalibB6B8, 300);
        bytes += noise(10500, 9);
        start(writeRecording("noisy.dat", bytes));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QVERIFY(drain());
        QCOMPARE(reports->calib, 2);
        QVERIFY(reports->logs.contains(qMakePair(37, QString("2_%1_700").arg(0x56312E30))));
        QCOMPARE(reports->versions.size(), 1);
        QCOMPARE(reports->versions[0], (QList<uint32_t>{0x56312E30, 2, 7}));
        QCOMPARE(g_calib_status.record(0, 31).time_ms, 331u); // the last good frame
    }

    void plateOneRecordsAreFilledByTheReplayMapping()
    {
        // Earlier contents that the replay's mapping must leave alone.
        g_calib_status.writePlate(0, [](CalibImuStatus *rec, uint32_t *) {
            for (int i = 0; i < 32; ++i) {
                rec[i].calib_status = 77;
                rec[i].calib_flag_h = 88;
                rec[i].zupt = 9;
                rec[i].duration = 0x1234;
                rec[i].user_fcode = 0xCAFE;
            }
        });
        QByteArray b4 = SimPayload::calibMessage(DeviceMsgId::CalibB6B4, imusStamped(10));
        const QByteArray b4Frame = buildDeviceFrame(DeviceMsgId::CalibB6B4, b4);
        start(writeRecording("b6b4.dat", b4Frame));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QCOMPARE(reports->calib, 1);
        const PlateSnapshot s = g_calib_status.plate(0);
        QCOMPARE(s.imu[5].time_ms, 15u);
        QCOMPARE(s.imu[6].accx, 3.0f);
        QCOMPARE(s.imu[6].temp, 25.0f);
        QCOMPARE(s.imu[6].calib_flag, 11u);
        QCOMPARE(s.imu[6].calib_status, 77u);  // not from 1040-byte records
        QCOMPARE(s.imu[6].calib_flag_h, 88u);  // not from 1040-byte records
        QCOMPARE(s.imu[6].zupt, uint8_t(9));
        QCOMPARE(s.imu[6].duration, uint16_t(0x1234));
        QCOMPARE(s.imu[6].software_ver, 0x56312E30u);
        QCOMPARE(s.imu[6].harware_ver, 3u);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s.imu[12].sn)), QByteArray("REPLAY12"));
        QCOMPARE(s.errors[31], 131u);
        QCOMPARE(g_calib_status.record(1, 0).time_ms, 0u); // plate 2 untouched
    }

    void a256ByteRecordAlsoFillsItsStatusWordsAndAngles()
    {
        QByteArray p = SimPayload::calibMessage(DeviceMsgId::CalibB6B6, imusStamped(40));
        auto *d = reinterpret_cast<uint8_t *>(p.data());
        uint8_t *r3 = d + kCalibHeaderBytes + 3 * 256;
        const size_t B = 144;
        writeLE<int16_t>(r3 + B + 32, -1234); // roll
        writeLE<int16_t>(r3 + B + 36, 9000);  // yaw
        writeLE<uint16_t>(r3 + B + 28, 555);  // duration: the replay leaves it
        r3[B + 42] = 200;                     // freq: the replay leaves it
        QByteArray s0777(200, '\0');
        writeLE<uint32_t>(reinterpret_cast<uint8_t *>(s0777.data()), 4242);
        const QByteArray bytes = buildDeviceFrame(DeviceMsgId::CalibB6B6, p)
            + buildDeviceFrame(DeviceMsgId::Calib0777, s0777);
        start(writeRecording("b6b6.dat", bytes));
        QVERIFY(waitUntil([&] { return reports->finished(); }));
        QVERIFY(drain());
        QCOMPARE(reports->calib, 1); // 0x0777 raises no signal
        const PlateSnapshot s = g_calib_status.plate(0);
        QCOMPARE(s.imu[0].time_ms, 4242u);      // 0x0777 replaced record 0 whole
        QCOMPARE(s.imu[0].calib_flag_h, 0u);
        QCOMPARE(s.imu[3].calib_status, 56004u);
        QCOMPARE(s.imu[3].calib_flag_h, 3999u);
        QCOMPARE(s.imu[3].roll, int16_t(-1234));
        QCOMPARE(s.imu[3].yaw, int16_t(9000));
        QCOMPARE(s.imu[3].duration, uint16_t(0));
        QCOMPARE(s.imu[3].freq, uint8_t(0));
        QCOMPARE(s.errors[3], 103u);
    }

    void bytesFedOneAtATimeMakeTheSameFrames()
    {
        WorkerThread_Replay local("unused.dat"); // not started: fed directly on this thread
        int calib = 0;
        QStringList versions;
        connect(&local, &WorkerThread_Replay::signal_send_735e_calib, this, [&] { ++calib; });
        connect(&local, &WorkerThread_Replay::signal_log, this,
                [&](uint8_t c, QString t) { if (c == 37) versions << t; });
        const QByteArray bytes = noise(50, 11) + calibFrame(DeviceMsgId::CalibB6B5, 60)
            + buildDeviceFrame(DeviceMsgId::Version, SimPayload::versionPayload(12, 34));
        for (char c : bytes)
            local.imu_rx(uint8_t(c));
        QCOMPARE(calib, 1);
        QCOMPARE(versions, QStringList{"2_12_3400"});
        QCOMPARE(g_calib_status.record(0, 1).time_ms, 61u);
        QCOMPARE(g_calib_status.record(0, 1).calib_flag, 11u);
    }

    void retiringAWorkerInTheMiddleOfAPassEndsItAndReleasesItAfterwards_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("continuing");
        for (bool continuing : {false, true}) {
            const char *pass = continuing ? "continue" : "first";
            QTest::addRow("%s pass, paused", pass) << int(ReplaySpeed::Pause) << continuing;
            QTest::addRow("%s pass, slow", pass) << int(ReplaySpeed::Slow) << continuing;
            QTest::addRow("%s pass, middle", pass) << int(ReplaySpeed::Middle) << continuing;
            QTest::addRow("%s pass, fast", pass) << int(ReplaySpeed::Fast) << continuing;
        }
    }
    void retiringAWorkerInTheMiddleOfAPassEndsItAndReleasesItAfterwards()
    {
        QFETCH(int, speed);
        QFETCH(bool, continuing);
        g_replay_speed = continuing ? int(ReplaySpeed::All) : speed;
        start(writeRecording("retire.dat", noise(2000000, 10)));
        if (continuing) {
            QVERIFY(waitUntil([&] { return reports->finished(); }, 30000));
            g_replay_percent = 10;
            emit worker->signalTranspondSliderValueChanged();
            QVERIFY(waitUntil([&] { return !reports->stops.isEmpty(); }, 30000));
            reports->clear();
            g_replay_speed = speed;
            emit worker->signalTranspondreadFileAgain();
        }
        QVERIFY(waitUntil([&] { return !reports->progress().isEmpty(); }, 10000));
        // As the console retires it: the owner's pointer is cleared, the worker's own thread
        // ends the pass and releases the worker.
        QPointer<WorkerThread_Replay> owner = worker;
        QPointer<WorkerThread_Replay> w = worker;
        worker = nullptr;
        retireWorker(owner);
        QVERIFY(owner.isNull());
        QVERIFY(waitUntil([&] { return w.isNull(); }, 10000));
        QVERIFY(!reports->finished());
        QVERIFY(reports->progress().size() < 100);
    }

    void aSeekDuringAPacedPassEndsThatPassAndReadsToItsTarget()
    {
        // One calibration frame at the start of every 10000 bytes, its IMU times carrying the
        // frame's number.
        QByteArray bytes;
        for (uint32_t n = 1; n <= 100; ++n) {
            QByteArray block = calibFrame(DeviceMsgId::CalibB6B6, n * 1000);
            block += QByteArray(10000 - block.size(), '\0');
            bytes += block;
        }
        g_replay_speed = ReplaySpeed::Slow;
        start(writeRecording("paced.dat", bytes));
        QVERIFY(waitUntil([&] { return reports->progress().size() >= 3; }, 10000));
        g_replay_percent = 50;
        emit worker->signalTranspondSliderValueChanged();
        QVERIFY(waitUntil([&] { return !reports->stops.isEmpty(); }, 30000));
        QVERIFY(drain());

        // The first pass ends where the seek came in; from the seek's first report on, the
        // progress only rises, up to the target, and nothing of the first pass follows.
        const QStringList p = reports->progress();
        int seekStart = -1;
        for (int i = 1; i < p.size(); ++i)
            if (p[i].chopped(1).toDouble() < p[i - 1].chopped(1).toDouble()) {
                QVERIFY2(seekStart < 0, qPrintable(p.join(" ")));
                seekStart = i;
            }
        QVERIFY2(seekStart > 0, qPrintable(p.join(" ")));
        QCOMPARE(p[seekStart], QString("1.0%"));
        QCOMPARE(p.last(), QString("50%"));
        QCOMPARE(p[p.size() - 2], QString("50.0%"));
        QVERIFY(!p.contains("100%"));
        QCOMPARE(reports->stops, QList<bool>{true});
        QCOMPARE(worker->resumePosition(), qint64(500000));
        QCOMPARE(g_calib_status.record(0, 0).time_ms, 50000u);

        // The continuation reads plate 1's records on from the target, in file order.
        reports->clear();
        g_replay_speed = ReplaySpeed::Fast;
        emit worker->signalTranspondreadFileAgain();
        QVERIFY(waitUntil([&] { return reports->finished(); }, 30000));
        QList<uint32_t> expected;
        for (uint32_t n = 51; n <= 100; ++n)
            expected << n * 1000;
        QCOMPARE(reports->recordTimes(), expected);
        const QStringList rest = reports->progress();
        QCOMPARE(rest.first(), QString("51.0%"));
        for (int i = 1; i + 1 < rest.size(); ++i)
            QVERIFY2(rest[i].chopped(1).toDouble() > rest[i - 1].chopped(1).toDouble(), qPrintable(rest.join(" ")));
    }

    void aSeekInAOneMebibyteFileStopsAtEverySliderValue()
    {
        const qint64 size = 1024 * 1024;
        start(writeRecording("mebibyte.dat", noise(int(size), 12)));
        QVERIFY(waitUntil([&] { return reports->finished(); }, 10000));
        for (int target = 1; target <= 99; ++target) {
            reports->clear();
            g_replay_percent = target;
            emit worker->signalTranspondSliderValueChanged();
            QVERIFY2(waitUntil([&] { return !reports->stops.isEmpty() || reports->finished(); }, 10000),
                     qPrintable(QString::number(target)));
            QVERIFY2(!reports->finished(), qPrintable(QString("slider %1 read the whole file").arg(target)));
            QCOMPARE(reports->stops, QList<bool>{true});
            // The first 10000-byte mark at or past the target.
            const qint64 resume = worker->resumePosition();
            QVERIFY2(resume * 100 >= target * size && (resume - 10000) * 100 < target * size,
                     qPrintable(QString("slider %1 stopped at byte %2").arg(target).arg(resume)));
            QCOMPARE(reports->progress().last(), QString("%1%").arg(target));
        }
    }
};

QTEST_GUILESS_MAIN(TestReplay)
#include "test_replay.moc"

// The DC supply worker against a pymodbus server (slave 17) on a pseudo-terminal, through a
// wire tap that shows the exact bytes and their order.
#include <QPointer>
#include <QTest>

#include "app/Crc.h"
#include "app/MetaTypes.h"
#include "equipment/Creators.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_DC_power.h"
#include "link/DeviceProtocol.h"
#include "link/DeviceRecords.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
struct PlateCmd {
    uint16_t cmd;
    float cm1;
    uint32_t cm3;
    bool times;
};

class Reports : public QObject {
    Q_OBJECT
public:
    explicit Reports(WorkerThread_DC_power *w)
    {
        connect(w, &WorkerThread_DC_power::signal_connectIsSuccess, this, [this](bool ok) { connected = ok; });
        connect(w, &WorkerThread_DC_power::signal_log, this, [this](uint8_t c, QString t) { logs << qMakePair(int(c), t); });
        connect(w, &WorkerThread_DC_power::signal_frame_sent, this, [this](QByteArray f, int) {
            frames << f;
            frameTimes << clock.elapsed();
        });
        connect(w, &WorkerThread_DC_power::Send_CMD_LONG_SIGNAL, this,
                [this](uint16_t c, float cm1, float, uint32_t cm3, uint32_t, int32_t, int32_t) {
                    plates << PlateCmd{c, cm1, cm3, false};
                    plateTimes << clock.elapsed();
                });
        connect(w, &WorkerThread_DC_power::Send_CMD_LONG_SIGNAL_times, this,
                [this](uint16_t c, float cm1, float, uint32_t cm3, uint32_t, int32_t, int32_t) {
                    plates << PlateCmd{c, cm1, cm3, true};
                    plateTimes << clock.elapsed();
                });
        clock.start();
    }
    int count(int code) const
    {
        int n = 0;
        for (const auto &l : logs)
            n += l.first == code;
        return n;
    }
    int setWrites(int output) const
    {
        int n = 0;
        for (const QByteArray &f : frames)
            n += f.size() == 13 && f[12] == char(output);
        return n;
    }
    int connected = -1;
    QList<QPair<int, QString>> logs;
    QList<QByteArray> frames;
    QList<qint64> frameTimes;
    QList<PlateCmd> plates;
    QList<qint64> plateTimes; // when each plate command reached the console side
    QElapsedTimer clock;
};

QByteArray setFrame(int output)
{
    // 12 V, 10 A on a 31 V / 31 A model.
    QByteArray f = QByteArray::fromHex("11100003000306631852940000");
    f[12] = char(output);
    return f;
}

QByteArray withCrc(const QByteArray &f)
{
    const uint16_t crc = crc16_modbus(reinterpret_cast<const uint8_t *>(f.constData()), size_t(f.size()));
    return f + char(crc & 0xFF) + char(crc >> 8);
}

// The tap times (on the tap's clock) at which each occurrence of a frame was complete on the
// line in the given direction.
QList<qint64> timesOf(const WireTap &tap, bool fromWorker, const QByteArray &frame)
{
    QList<qint64> at;
    QByteArray line;
    for (const WireTap::Chunk &c : tap.chunks) {
        if (c.fromWorker != fromWorker)
            continue;
        line += c.bytes;
        while (line.count(frame) > at.size())
            at << c.atMs;
    }
    return at;
}

WorkerThread_DC_power::Timings fast()
{
    WorkerThread_DC_power::Timings t;
    t.pollMs = 100;
    t.replyTimeoutMs = 300;
    t.onOffGapMs = 60;
    t.settleMs = 60;
    t.plateWaitMs = 80;
    t.streamGapMs = 5;
    t.slowStreamGapMs = 8;
    t.pauseMs = 20;
    return t;
}
} // namespace

class TestDcPower : public QObject {
    Q_OBJECT
private:
    WireTap *tap = nullptr;
    ModbusPeer *peer = nullptr;
    // A function that fails between retiring the worker and starting the next leaves no dangling
    // worker for cleanup(): the pointer clears itself once the worker is released.
    QPointer<WorkerThread_DC_power> worker;
    Reports *reports = nullptr;

    void send(const QByteArray &frame)
    {
        QMetaObject::invokeMethod(worker, "send_modbus_mutex", Qt::QueuedConnection, Q_ARG(QByteArray, frame),
                                  Q_ARG(int, 0));
    }
    void control(uint16_t code)
    {
        QMetaObject::invokeMethod(worker, "rev_dc_control", Qt::QueuedConnection, Q_ARG(uint16_t, code));
    }
    // The worker of init() retired and a new one on the same line, opened with these times.
    void reopenWith(const WorkerThread_DC_power::Timings &t)
    {
        QVERIFY(TestKit::retireWorker(worker.data()));
        auto *w = new WorkerThread_DC_power(tap->workerPath());
        w->setTimings(t);
        delete reports;
        reports = new Reports(w);
        worker = startWorkerThread(w, &WorkerThread_DC_power::openSerialConnected);
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
    }

private slots:
    void initTestCase() { registerMetaTypes(); }

    void init()
    {
        g_calib_status.clearAll();
        g_dc_set_frame.store(setFrame(0));
        tap = new WireTap;
        QVERIFY(tap->isValid());
        // Measured 17.00 V and 8.50 A on the read full scale of 34.
        peer = new ModbusPeer({"--rtu", tap->peerPath(), "--slave", "17", "--set", "0=32767", "--set", "1=16383"},
                              "dc_writes.txt");
        QVERIFY(peer->waitReady());
        auto *w = new WorkerThread_DC_power(tap->workerPath());
        w->setTimings(fast());
        reports = new Reports(w);
        worker = startWorkerThread(w, &WorkerThread_DC_power::openSerialConnected);
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
    }
    void cleanup()
    {
        const bool released = TestKit::retireWorker(worker.data());
        delete reports;
        reports = nullptr;
        delete peer;
        peer = nullptr;
        delete tap;
        tap = nullptr;
        QVERIFY(released);
    }

    void theSetFrameGoesOutWithItsCrcLowByteFirst()
    {
        const QByteArray f = setFrame(1);
        send(f);
        const uint16_t crc = crc16_modbus(reinterpret_cast<const uint8_t *>(f.constData()), size_t(f.size()));
        const QByteArray wire = f + char(crc & 0xFF) + char(crc >> 8);
        QCOMPARE(wire.size(), 15);
        QVERIFY(waitUntil([&] { return tap->sent().contains(wire); }));
        QVERIFY(waitUntil([&] { return peer->writes().contains("hr 3 25368 21140 1"); }));
    }

    void aSecondFrameWaitsForTheAnswerToTheFirst()
    {
        send(setFrame(1));
        send(setFrame(0));
        QVERIFY(waitUntil([&] { return peer->writes().contains("hr 3 25368 21140 0"); }));
        // On the wire: request 1, its answer, then request 2.
        int first = -1, answer = -1, second = -1;
        QByteArray fromWorker;
        for (int i = 0; i < tap->chunks.size(); ++i) {
            const auto &c = tap->chunks[i];
            if (c.fromWorker) {
                fromWorker += c.bytes;
                if (first < 0 && fromWorker.contains(setFrame(1)))
                    first = i;
                if (second < 0 && fromWorker.contains(setFrame(0)))
                    second = i;
            } else if (first >= 0 && answer < 0 && c.bytes.startsWith("\x11\x10")) {
                answer = i;
            }
        }
        QVERIFY(first >= 0 && answer > first && second > answer);
    }

    void thePollReportsVoltageAndCurrentScaledByTheReadFullScale()
    {
        QVERIFY(waitUntil([&] { return reports->count(77) >= 1 && reports->count(78) >= 1; }));
        QVERIFY(reports->logs.contains(qMakePair(77, QString("17.00"))));
        QVERIFY(reports->logs.contains(qMakePair(78, QString("8.50"))));
        QVERIFY(reports->logs.contains(qMakePair(37, QString("dcpower_1_1"))));
    }

    void aSilentSupplyReportsNotAnswering()
    {
        tap->muted = true;
        QVERIFY(waitUntil([&] { return reports->logs.contains(qMakePair(37, QString("dcpower_0_0"))); }));
    }

    void code101SwitchesOnThreeTimes300msApartThenStreams()
    {
        control(101);
        QVERIFY(waitUntil([&] { return reports->plates.size() == 15; }));
        QCOMPARE(reports->setWrites(1), 3);
        QList<qint64> times;
        for (int i = 0; i < reports->frames.size(); ++i)
            if (reports->frames[i].size() == 13)
                times << reports->frameTimes[i];
        QVERIFY(times[1] - times[0] >= 50 && times[2] - times[1] >= 50); // 60 ms here, 300 ms live
        for (const PlateCmd &c : reports->plates) {
            QCOMPARE(c.cmd, uint16_t(DeviceCmdId::SetOutputMode));
            QCOMPARE(c.cm1, 3.0f);
            QCOMPARE(c.cm3, OUTPUT_MODE_FILLER::cm3);
            QVERIFY(!c.times);
        }
        QVERIFY(peer->writes().contains("hr 3 25368 21140 1"));
        QTest::qWait(100);
        QCOMPARE(reports->count(74), 0); // the read-back confirmed the output
    }

    void aSlowSupplyAnswersEachSwitchWriteBeforeTheGapAndTheStreamStarts()
    {
        // The supply takes 250 ms over each answer; the worker waits long enough for it.
        tap->answerDelayMs = 250;
        WorkerThread_DC_power::Timings t = fast();
        t.replyTimeoutMs = 3000;
        reopenWith(t);

        control(101);
        const QByteArray answer = withCrc(QByteArray::fromHex("111000030003"));
        QVERIFY(waitUntil([&] {
            return reports->plates.size() == 15 && timesOf(*tap, false, answer).size() == 3;
        }, 20000));
        QCOMPARE(peer->writes().count("hr 3 25368 21140 1"), 3);

        const QList<qint64> sent = timesOf(*tap, true, withCrc(setFrame(1)));
        const QList<qint64> answered = timesOf(*tap, false, answer);
        QCOMPARE(sent.size(), 3);
        // Each gap (60 ms here, 300 ms live) starts when the supply answered the write before.
        QVERIFY2(sent[1] - answered[0] >= 50, qPrintable(QString("%1 %2").arg(sent[1]).arg(answered[0])));
        QVERIFY2(sent[2] - answered[1] >= 50, qPrintable(QString("%1 %2").arg(sent[2]).arg(answered[1])));
        // The plates are told to stream only after the last switch-on was answered and settled.
        const qint64 firstStream = reports->plateTimes[0] + reports->clock.msecsSinceReference() - tap->clockStart();
        QVERIFY2(firstStream - answered[2] >= 50, qPrintable(QString("%1 %2").arg(firstStream).arg(answered[2])));
        QCOMPARE(reports->count(74), 0); // the read-back confirmed the output
    }

    // A reply time-out set while the line is open holds for the next frame: a frame the silent
    // supply never answers fails after the new time-out, not after the one the line opened with.
    void aReplyTimeOutSetOnTheOpenLineHoldsForTheNextFrame()
    {
        WorkerThread_DC_power::Timings t = fast();
        t.pollMs = 3600000; // no poll: the one frame is the test's
        t.replyTimeoutMs = 3600000;
        reopenWith(t);
        t.replyTimeoutMs = 100;
        WorkerThread_DC_power *w = worker.data();
        QMetaObject::invokeMethod(w, [w, t] { w->setTimings(t); }, Qt::BlockingQueuedConnection);
        tap->muted = true;
        send(setFrame(1));
        QVERIFY(waitUntil([&] { return reports->count(5) >= 1; }));
        QVERIFY2(reports->logs.contains(qMakePair(5, QString("DC supply: frame failed: Request timeout."))),
                 qPrintable(reports->logs.isEmpty() ? QString() : reports->logs.last().second));
        QCOMPARE(tap->sent().count(withCrc(setFrame(1))), 1); // no retry
    }

    void aSilentSupplyStillEndsTheSwitchAndReportsIt()
    {
        tap->muted = true;
        control(101);
        QVERIFY(waitUntil([&] { return reports->plates.size() == 15; }, 20000));
        QCOMPARE(reports->setWrites(1), 3);
        QVERIFY(reports->logs.contains(qMakePair(74, QString("DC supply: power on not confirmed"))));
    }

    void thePlatesAreTriedThreeTimesThenTheFailureIsReported()
    {
        g_calib_status.writePlate(5, [](CalibImuStatus *r, uint32_t *) {
            r[0].time_ms = 1;
            r[0].calib_status = 0;
        });
        control(103);
        QVERIFY(waitUntil([&] { return reports->count(74) == 1; }));
        int attempts = 0;
        for (const PlateCmd &c : reports->plates)
            attempts += c.times && c.cmd == 56000;
        QCOMPARE(attempts, 3);
        QTest::qWait(200);
        QCOMPARE(reports->plates.size(), 3);

        // Taken at once: one attempt, no failure.
        g_calib_status.writePlate(5, [](CalibImuStatus *r, uint32_t *) { r[0].calib_status = 58000; });
        control(104);
        QVERIFY(waitUntil([&] { return reports->plates.size() == 4; }));
        QTest::qWait(300);
        QCOMPARE(reports->plates.size(), 4);
        QCOMPARE(reports->count(74), 1);
    }

    void aPlateStepWithNoLiveImuSendsOnceSaysSoAndGoesOn()
    {
        // No IMU reports (every time stamp 0): nothing can confirm the command.
        control(103);
        control(102);
        QVERIFY(waitUntil([&] { return reports->setWrites(0) == 3; }));
        int attempts = 0;
        for (const PlateCmd &c : reports->plates)
            attempts += c.times && c.cmd == 56000;
        QCOMPARE(attempts, 1);
        bool said = false;
        for (const auto &l : reports->logs) {
            QVERIFY(!l.second.contains("did not take command"));
            said = said || (l.first == 74 && l.second == "DC supply: command 56000 sent to the plates; no live IMU to confirm it");
        }
        QVERIFY(said);
    }

    void abandoningTheControlDropsTheCodeInProgressAndTheQueuedOnes()
    {
        g_calib_status.writePlate(2, [](CalibImuStatus *r, uint32_t *) {
            r[0].time_ms = 1;
            r[0].calib_status = 0;
        });
        control(56001);
        control(102);
        QVERIFY(waitUntil([&] { return reports->setWrites(1) >= 1; }));
        QMetaObject::invokeMethod(worker, "abandonControl", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->logs.contains(qMakePair(74, QString("DC supply: control sequence abandoned"))); }));
        QTest::qWait(100);
        const int writes = peer->writes().size();
        const int plates = reports->plates.size();
        QTest::qWait(600);
        QCOMPARE(peer->writes().size(), writes);
        QCOMPARE(reports->plates.size(), plates);
        QCOMPARE(reports->setWrites(0), 0); // the queued switch-off never went out
        // The worker takes new codes afterwards.
        control(102);
        QVERIFY(waitUntil([&] { return reports->setWrites(0) == 3; }));
    }

    void codesRunOneAfterAnotherInArrivalOrder()
    {
        g_calib_status.writePlate(1, [](CalibImuStatus *r, uint32_t *) {
            r[0].time_ms = 1;
            r[0].calib_status = 58003;
        });
        control(102);
        control(58003);
        QVERIFY(waitUntil([&] { return !reports->plates.isEmpty(); }));
        // Every off-write of 102 went out before 58003 reached the plates.
        QCOMPARE(reports->setWrites(0), 3);
        QCOMPARE(reports->plates[0].cmd, uint16_t(58003));
    }

    void retiringTheSupplyInTheMiddleOfASequenceStopsIt()
    {
        control(56001);
        QVERIFY(waitUntil([&] { return reports->setWrites(1) >= 1; }));
        QVERIFY(TestKit::retireWorker(worker.data()));
        const int chunks = tap->chunks.size();
        const int plates = reports->plates.size();
        QTest::qWait(300);
        int fromWorker = 0;
        for (int i = chunks; i < tap->chunks.size(); ++i)
            fromWorker += tap->chunks[i].fromWorker;
        QCOMPARE(fromWorker, 0);
        QCOMPARE(reports->plates.size(), plates);
        auto *w = new WorkerThread_DC_power(tap->workerPath());
        worker = startWorkerThread(w, &WorkerThread_DC_power::openSerialConnected);
    }
};

QTEST_MAIN(TestDcPower)
#include "test_dc_power.moc"

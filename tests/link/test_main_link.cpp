// The main device link against the module simulator on a pseudo-terminal.
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>

#include "app/MetaTypes.h"
#include "link/CommandQueue.h"
#include "link/DeviceRecords.h"
#include "link/WorkerThread.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/FileSizeLimit.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
// Collects a worker's reports on the test's thread (queued, like the pages receive them).
class Reports : public QObject {
    Q_OBJECT
public:
    explicit Reports(WorkerThread *w)
    {
        connect(w, &WorkerThread::signal_connectIsSuccess, this, [this](bool ok) { connected = ok ? 1 : 0; });
        connect(w, &WorkerThread::signal_log, this, [this](uint8_t c, QString t) { logs << qMakePair(int(c), t); });
        connect(w, &WorkerThread::signal_send_735e_calib, this, [this] { ++calib; });
        connect(w, &WorkerThread::signal_recording, this, [this](bool on, QString text) {
            if (!on)
                stopped << text;
        });
    }
    bool hasLog(int code, const QString &text) const { return logs.contains(qMakePair(code, text)); }
    int connected = -1;
    int calib = 0;
    QList<QPair<int, QString>> logs;
    QStringList stopped; // why each recording ended
};

void retire(WorkerThread *w)
{
    QMetaObject::invokeMethod(w, "deleteObjAndNewNext", Qt::QueuedConnection);
}
} // namespace

class TestMainLink : public QObject {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    QPointer<WorkerThread> worker; // clears itself: a retired worker never dangles
    Reports *reports = nullptr;

    // A fresh link to the simulator, its reports collected from here on (wired right after the
    // start, as the pages wire theirs: the open waits for the owner, so none is missed).
    void openLink()
    {
        worker = createWorker(sim->portPath(), 115200);
        delete reports;
        reports = new Reports(worker);
    }

    void sendLong(uint16_t id, float cm1)
    {
        QMetaObject::invokeMethod(worker, "Send_CMD_LONG_times", Qt::QueuedConnection, Q_ARG(uint16_t, id), Q_ARG(float, cm1),
                                  Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0), Q_ARG(int32_t, 0),
                                  Q_ARG(int32_t, 0));
    }

private slots:
    void initTestCase() { registerMetaTypes(); }

    void init()
    {
        sim = new ModuleSimulator;
        QVERIFY(sim->isValid());
        openLink();
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
    }
    void cleanup()
    {
        const bool released = TestKit::retireWorker(worker.data());
        delete reports;
        reports = nullptr;
        delete sim;
        sim = nullptr;
        QVERIFY(released);
    }

    void theOpenWaitsForItsOwnerSoAReportWiredAfterTheStartIsNeverMissed()
    {
        // The owner's thread is held up right after the start (a loaded machine), long enough
        // for any open to have run and reported; only then are its reports wired.
        ModuleSimulator other;
        QVERIFY(other.isValid());
        WorkerThread *w = createWorker(other.portPath(), 115200);
        QThread::msleep(300);
        Reports late(w);
        QVERIFY(waitUntil([&] { return late.connected == 1; }));
        QVERIFY(TestKit::retireWorker(w));
    }

    void aCalibrationFrameFillsPlateOneAndItsErrorCounts()
    {
        for (int i = 0; i < 32; ++i) {
            sim->imus[size_t(i)].time_ms = 1000 + uint32_t(i);
            sim->imus[size_t(i)].calib_flag_h = 3999;
            sim->imus[size_t(i)].errors = uint16_t(i * 3);
        }
        sim->sendRaw(QByteArray::fromHex("AAAA0055") + sim->currentCalibFrame());
        QVERIFY(waitUntil([&] { return reports->calib == 1; }));
        const PlateSnapshot s = g_calib_status.plate(0);
        QCOMPARE(s.imu[31].time_ms, 1031u);
        QCOMPARE(s.imu[7].calib_flag_h, 3999u);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s.imu[2].sn)), QByteArray("SIM0003"));
        QCOMPARE(s.errors[10], 30u);
        QCOMPARE(g_calib_status.plate(1).imu[0].time_ms, 0u); // other plates untouched
    }

    void aShortCalibrationPayloadIsDroppedAndCounted()
    {
        g_calib_status.clearAll();
        QByteArray p = SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus);
        for (auto &imu : sim->imus)
            imu.time_ms = 77;
        p = SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus);
        p.chop(1);
        sim->sendFrame(DeviceMsgId::CalibB6B6, p);
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return reports->hasLog(37, "1_5_900"); }));
        QCOMPARE(reports->calib, 0);
        QCOMPARE(worker->shortFrames(), 1u);
        QCOMPARE(g_calib_status.record(0, 0).time_ms, 0u);
    }

    void theGyroReadAnswersEachValueWithItsAcknowledgement()
    {
        sim->params[8] = 0.125f;
        sim->params[9] = -2.5f;
        sim->params[10] = 7.0f;
        QMetaObject::invokeMethod(worker, "gyro_calib_result_read", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->hasLog(15, "7"); }));
        QVERIFY(reports->hasLog(13, "0.125"));
        QVERIFY(reports->hasLog(14, "-2.5"));
        QVERIFY(reports->hasLog(5, "Obtain gyro calibration x 0.125"));
        const QList<QByteArray> acks = sim->acks();
        QVERIFY(acks.contains(buildAckCommand(30013, 30004, 8)));
        QVERIFY(acks.contains(buildAckCommand(30013, 30004, 10)));
        const GyroCalibResult g = g_gyro_calib_result.load();
        QVERIFY(g.received[0] && g.received[1] && g.received[2]);
        QCOMPARE(g.xyz[1], -2.5f);
        QCOMPARE(g_user_param.load()[10], 7.0f);
    }

    void aSilentModuleEndsTheReadWithATimeOut()
    {
        sim->answerParamReads = false;
        QMetaObject::invokeMethod(worker, "read_normal_param_one_param", Qt::QueuedConnection,
                                  Q_ARG(uint8_t, uint8_t(25)));
        QVERIFY(waitUntil([&] { return reports->hasLog(5, "Failed to obtain parameters!"); }, 8000));
        int reads = 0;
        for (const auto &c : sim->commands())
            reads += c.cmd.cmd_id == DeviceCmdId::ReadParam;
        QVERIFY2(reads > 50, qPrintable(QString::number(reads))); // resent every 10 ms
    }

    void sixStrayBytesBeforeAParameterReplyDoNotHoldItBack()
    {
        // "AA 55 34 12 FF FF" looks like the start of a frame of 65,535 bytes. The module
        // answers the first request only, so the read succeeds only if that reply comes out
        // without waiting for more bytes.
        int requests = 0;
        sim->onCommand = [&](const LongCommand &c) {
            if (c.cmd_id != DeviceCmdId::ReadParam)
                return false;
            if (requests++ == 0)
                sim->sendRaw(QByteArray::fromHex("AA553412FFFF")
                             + buildDeviceFrame(DeviceMsgId::ParamValue, SimPayload::paramValuePayload(25, 4.5f)));
            return true;
        };
        float value = 0;
        bool answered = false;
        connect(worker, &WorkerThread::signal_send_normal_param, reports, [&](uint8_t index, float v) {
            answered = index == 25;
            value = v;
        });
        QElapsedTimer t;
        t.start();
        QMetaObject::invokeMethod(worker, "read_normal_param_one_param", Qt::QueuedConnection,
                                  Q_ARG(uint8_t, uint8_t(25)));
        QVERIFY(waitUntil([&] { return answered || reports->hasLog(5, "Failed to obtain parameters!"); }, 8000));
        const qint64 ms = t.elapsed();
        QVERIFY(answered);
        QCOMPARE(value, 4.5f);
        QVERIFY(!reports->hasLog(5, "Failed to obtain parameters!"));
        // Typically a few milliseconds; the bound only leaves room for a loaded machine (a held
        // reply would take the 5 s time-out).
        qInfo("parameter read with six stray bytes before the reply: %lld ms", static_cast<long long>(ms));
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        sim->onCommand = nullptr;
    }

    void repeatsOfOneIdFollowEachOtherAndAnotherIdGoesOutAtOnce()
    {
        sendLong(56004, 1);
        sendLong(56004, 2); // waits behind the first 56004's repeats
        sendLong(30007, 3); // does not wait behind another id's repeats
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 30; }, 20000));
        const auto cmds = sim->commands();
        QCOMPARE(cmds.size(), 30);
        QCOMPARE(cmds[0].cmd.cmd_id, uint16_t(56004));
        QCOMPARE(cmds[1].cmd.cmd_id, uint16_t(30007));
        QList<const ModuleSimulator::ReceivedCommand *> sameId;
        for (const auto &c : cmds)
            if (c.cmd.cmd_id == 56004)
                sameId << &c;
        QCOMPARE(sameId.size(), 20);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(sameId[i]->cmd.cm1, i < 10 ? 1.0f : 2.0f);
    }

    // Each repeat leaves its spacing after the write before, timed where it is written (the
    // reading side may take two at once).
    void eachRepeatLeavesItsSpacingAfterTheWriteBefore()
    {
        QElapsedTimer clock;
        clock.start();
        QMap<QByteArray, QList<qint64>> sentNs;
        CommandQueue queue([&](const QByteArray &b) { sentNs[b] << clock.nsecsElapsed(); });
        queue.setIntervals(30, 60);
        queue.enqueueLong({30007}, 5);
        queue.enqueueLong({56004}, 5);
        queue.enqueueText("text", 3);
        QVERIFY(waitUntil([&] { return !queue.busy(); }, 20000));
        QCOMPARE(sentNs.size(), 3);
        QVERIFY(sentNs.contains(buildLongCommand({30007})) && sentNs.contains(buildLongCommand({56004})));
        for (auto it = sentNs.cbegin(); it != sentNs.cend(); ++it) {
            const bool text = it.key() == "text";
            QCOMPARE(it.value().size(), text ? 3 : 5);
            for (int i = 1; i < it.value().size(); ++i)
                QVERIFY2(it.value()[i] - it.value()[i - 1] >= (text ? 60 : 30) * 1000000LL,
                         qPrintable(QString("%1 ns").arg(it.value()[i] - it.value()[i - 1])));
        }
    }

    // The modules take each calibration stage command as the stage they are in: a repeat of an
    // earlier stage that followed a later one would put them back.
    void aLaterStageIsNeverFollowedByARepeatOfAnEarlierOne()
    {
        QMetaObject::invokeMethod(worker, [w = worker] { w->setCommandIntervals(20, 40); }, Qt::BlockingQueuedConnection);
        sendLong(56000, 0);
        sendLong(56001, 0);
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 20; }));
        const auto cmds = sim->commands();
        QCOMPARE(cmds.size(), 20);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(cmds[i].cmd.cmd_id, uint16_t(i < 10 ? 56000 : 56001));
    }

    void advancedCalibrationEndsEarlyOnceEveryImuTookIt()
    {
        g_calib_status.clearAll();
        for (auto &imu : sim->imus)
            imu.time_ms = 5;
        // The module takes the command and then reports its status word.
        sim->onCommand = [this](const LongCommand &c) {
            if (c.cmd_id == 51000) {
                for (auto &imu : sim->imus)
                    imu.calib_status = 51000;
                sim->sendRaw(sim->currentCalibFrame());
            }
            return true;
        };
        QMetaObject::invokeMethod(worker, "Send_CMD_LONG_times", Qt::QueuedConnection, Q_ARG(uint16_t, 51000),
                                  Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0),
                                  Q_ARG(int32_t, 0), Q_ARG(int32_t, 0));
        QTest::qWait(2000);
        QCOMPARE(sim->commands().size(), 1);
    }

    void droppingThePendingRepeatsSilencesTheLinkAtOnce()
    {
        QMetaObject::invokeMethod(worker, "Send_CMD_LONG_times", Qt::QueuedConnection, Q_ARG(uint16_t, 56007),
                                  Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0),
                                  Q_ARG(int32_t, 0), Q_ARG(int32_t, 0));
        QMetaObject::invokeMethod(worker, "Send_QString_times", Qt::QueuedConnection, Q_ARG(QString, "HELLO"));
        QMetaObject::invokeMethod(worker, "Send_QString_times", Qt::QueuedConnection, Q_ARG(QString, "WORLD"));
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 1; }, 3000));
        QMetaObject::invokeMethod(worker, "dropPendingRepeats", Qt::QueuedConnection);
        QTest::qWait(100);
        const int sent = sim->commands().size();
        QTest::qWait(1500);
        QCOMPARE(sim->commands().size(), sent);
        QVERIFY(sent < 10);
        QVERIFY(!sim->rawReceived().contains("WORLD")); // waited behind HELLO's writes
        // The link goes on sending what it is asked next.
        QMetaObject::invokeMethod(worker, "Send_CMD_LONG", Qt::QueuedConnection, Q_ARG(uint16_t, 30007),
                                  Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0),
                                  Q_ARG(int32_t, 0), Q_ARG(int32_t, 0));
        QVERIFY(waitUntil([&] { return sim->commands().size() == sent + 1; }, 3000));
    }

    void retiringWhileRepeatingNeitherCrashesNorBursts()
    {
        QMetaObject::invokeMethod(worker, "Send_CMD_LONG_times", Qt::QueuedConnection, Q_ARG(uint16_t, 56007),
                                  Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0),
                                  Q_ARG(int32_t, 0), Q_ARG(int32_t, 0));
        QMetaObject::invokeMethod(worker, "Send_QString_times", Qt::QueuedConnection, Q_ARG(QString, "HELLO"));
        QMetaObject::invokeMethod(worker, "Send_QString_times", Qt::QueuedConnection, Q_ARG(QString, "WORLD"));
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 2; }, 3000));
        QPointer<WorkerThread> w = worker;
        retire(worker);
        QVERIFY(waitUntil([&] { return w.isNull(); }));
        const int sent = sim->commands().size();
        QTest::qWait(1500);
        QCOMPARE(sim->commands().size(), sent);
        QVERIFY(!sim->rawReceived().contains("WORLD")); // waited behind HELLO's writes
        // A fresh link for cleanup().
        openLink();
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
    }

    void theRecordingEqualsTheBytesSentAndIsNeverOverwritten()
    {
        const QString base = TestKit::workDir() + "/rec_test";
        QFile::remove(base + ".dat");
        QFile::remove(base + "_1.dat");
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return g_recording.load() == 1; }));
        QByteArray sent;
        for (int i = 0; i < 20; ++i) {
            QByteArray chunk = sim->currentCalibFrame();
            chunk.append(char(i)); // noise is recorded too
            sent += chunk;
            sim->sendRaw(chunk);
        }
        QVERIFY(waitUntil([&] { return reports->calib == 20; }));
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return g_recording.load() == 0; }));
        QFile f(base + ".dat");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), sent);

        // A second recording with the same name goes to a new file.
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return g_recording.load() == 1; }));
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return QFile::exists(base + "_1.dat") && g_recording.load() == 0; }));
        QCOMPARE(QFileInfo(base + ".dat").size(), qint64(sent.size()));

        // A folder that cannot be made: reported, not recording.
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection,
                                  Q_ARG(QString, "/proc/no/such/place/rec"), Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] {
            for (const auto &l : reports->logs)
                if (l.second.startsWith("Recording failed"))
                    return true;
            return false;
        }));
        QCOMPARE(g_recording.load(), 0);
    }

    void aRecordingWhoseLastBytesCannotBeWrittenEndsAsFailed()
    {
        const QString base = TestKit::workDir() + "/rec_full";
        QFile::remove(base + ".dat");
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return g_recording.load() == 1; }));
        {
            // A full disk: the frame's bytes wait in the recorder's buffer, then cannot be written.
            FileSizeLimit full(0);
            sim->sendRaw(sim->currentCalibFrame());
            QVERIFY(waitUntil([&] { return reports->calib == 1; }));
            QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                      Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(int, 0));
            QVERIFY(waitUntil([&] { return g_recording.load() == 0 && !reports->stopped.isEmpty(); }));
        }
        QVERIFY2(reports->stopped.last().startsWith("writing " + base + ".dat failed: "), qPrintable(reports->stopped.last()));
        QVERIFY(reports->logs.last().second.startsWith("Recording failed: writing "));
    }
};

QTEST_GUILESS_MAIN(TestMainLink)
#include "test_main_link.moc"

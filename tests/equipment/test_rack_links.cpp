// The rack link of one base board against the module simulator, and the base-board unit link.
#include <QFile>
#include <QPointer>
#include <QTest>

#include "app/MetaTypes.h"
#include "equipment/Creators.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_Multi.h"
#include "equipment/WorkerThread_net.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/FileSizeLimit.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
class Reports : public QObject {
    Q_OBJECT
public:
    template <class W> explicit Reports(W *w)
    {
        connect(w, &W::signal_log, this, [this](uint8_t c, QString t) { logs << qMakePair(int(c), t); });
    }
    int count(int code, const QString &text) const { return logs.count(qMakePair(code, text)); }
    QList<QPair<int, QString>> logs;
    int connected = -1;
    int connectedIndex = -1;
    int calib = 0;
    QList<float> temps;
};

void sendLong(QObject *w, uint16_t cmd)
{
    QMetaObject::invokeMethod(w, "Send_CMD_LONG_times", Qt::QueuedConnection, Q_ARG(uint16_t, cmd),
                              Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(uint32_t, 0), Q_ARG(uint32_t, 0),
                              Q_ARG(int32_t, 0), Q_ARG(int32_t, 0));
}
} // namespace

// The functions of the base-board unit link (named "baseBoard...") make their own link; every
// other function gets a rack link to a fresh module simulator.
class TestRackLinks : public QObject {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    QPointer<WorkerThread_Multi> worker; // clears itself: a retired worker never dangles
    Reports *reports = nullptr;

    static bool baseBoardFunction() { return QByteArray(QTest::currentTestFunction()).startsWith("baseBoard"); }

private slots:
    void initTestCase() { registerMetaTypes(); }

    void init()
    {
        g_calib_status.clearAll();
        if (baseBoardFunction())
            return;
        sim = new ModuleSimulator;
        QVERIFY(sim->isValid());
        auto *w = new WorkerThread_Multi(sim->portPath(), 115200, 2); // plate 4, plate index 3
        w->setCommandIntervals(20, 20);
        reports = new Reports(w);
        connect(w, &WorkerThread_Multi::signal_connectIsSuccess, reports, [this](int i, bool ok) {
            reports->connectedIndex = i;
            reports->connected = ok;
        });
        connect(w, &WorkerThread_Multi::signal_send_735e_calib, reports, [this] { ++reports->calib; });
        worker = startWorkerThread(w, &WorkerThread_Multi::openSerialConnected);
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
        QCOMPARE(reports->connectedIndex, 2);
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

    void aB6B6FrameFillsPlateIndexPlusOneWithTheRackFields()
    {
        for (int i = 0; i < 32; ++i) {
            sim->imus[size_t(i)].time_ms = 500 + uint32_t(i);
            sim->imus[size_t(i)].calib_status = 56004;
            sim->imus[size_t(i)].errors = uint16_t(i);
        }
        sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
        QVERIFY(waitUntil([&] { return reports->calib == 1; }));
        QCOMPARE(g_calib_status.record(3, 31).time_ms, 531u);
        QCOMPARE(g_calib_status.record(3, 5).calib_status, 56004u);
        QCOMPARE(g_calib_status.errorCount(3, 9), 9u);
        QCOMPARE(g_calib_status.record(2, 0).time_ms, 0u);
        QCOMPARE(g_calib_status.record(0, 0).time_ms, 0u);
    }

    void payloadBoundsAccept8273AndDrop8274()
    {
        // A B6B6 message is 8264 bytes; pad it to the two lengths around the rack bound.
        QByteArray p = SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus);
        for (auto &imu : sim->imus)
            imu.time_ms = 9;
        p = SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus);
        QByteArray tooLong = p + QByteArray(8274 - p.size(), '\0');
        sim->sendRaw(buildDeviceFrame(DeviceMsgId::CalibB6B6, tooLong));
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(1, 2));
        QVERIFY(waitUntil([&] { return reports->count(37, "4_1_200") == 1; }));
        QCOMPARE(reports->calib, 0);
        QByteArray longest = p + QByteArray(8273 - p.size(), '\0');
        sim->sendRaw(buildDeviceFrame(DeviceMsgId::CalibB6B6, longest));
        QVERIFY(waitUntil([&] { return reports->calib == 1; }));
        QCOMPARE(g_calib_status.record(3, 0).time_ms, 9u);
    }

    void aVersionMessageReportsPlateVersionAndBoardId()
    {
        QList<QVariantList> versions;
        connect(worker, &WorkerThread_Multi::signal_sendVersionValue, reports,
                [&](uint32_t v0, uint32_t, uint32_t v2, uint32_t, uint32_t, uint32_t, uint16_t, uint8_t,
                    uint8_t, uint8_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint8_t) {
                    versions << QVariantList{v0, v2};
                });
        QByteArray v = SimPayload::versionPayload(321, 77);
        writeLE<uint32_t>(reinterpret_cast<uint8_t *>(v.data()) + 12, 5);
        writeLE<uint32_t>(reinterpret_cast<uint8_t *>(v.data()) + 16, 66);
        sim->sendFrame(DeviceMsgId::Version, v);
        QVERIFY(waitUntil([&] { return reports->count(37, "4_321_77566") == 1; }));
        QVERIFY(waitUntil([&] { return versions.size() == 1; }));
        QCOMPARE(versions[0], (QVariantList{321u, 77u}));
    }

    void repeatsEndEarlyFor51000OnceThePlateShowsIt()
    {
        sim->onCommand = [this](const LongCommand &c) {
            if (c.cmd_id == 51000 && sim->commands().size() == 3) {
                for (auto &imu : sim->imus) {
                    imu.time_ms = 1;
                    imu.calib_status = 51000;
                }
                sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
            }
            return false;
        };
        sendLong(worker, 51000);
        QVERIFY(waitUntil([&] { return reports->calib >= 1; }));
        QTest::qWait(300);
        const int n = sim->commands().size();
        QVERIFY2(n >= 3 && n <= 5, qPrintable(QString::number(n)));
        sendLong(worker, 56004); // not an early-ending command: ten sends
        QVERIFY(waitUntil([&] { return sim->commands().size() == n + 10; }));
    }

    void textRepeatsGoOutThreeTimes()
    {
        QMetaObject::invokeMethod(worker, "Send_QString_times", Qt::QueuedConnection, Q_ARG(QString, "abc\r\n"));
        QVERIFY(waitUntil([&] { return sim->rawReceived() == "abc\r\nabc\r\nabc\r\n"; }));
    }

    void recordingWritesEveryByteToAFileNamedByThePlate()
    {
        const QString base = TestKit::workDir() + "/rack_rec";
        QFile::remove(base + "_4.dat");
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return reports->logs.size() == 1; }));
        sim->sendRaw("hello");
        QTest::qWait(100);
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return reports->logs.size() == 2; }));
        QFile f(base + "_4.dat");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("hello"));
    }

    void aPlateRecordingWhoseLastBytesCannotBeWrittenEndsAsFailed()
    {
        const QString base = TestKit::workDir() + "/rack_full";
        QFile::remove(base + "_4.dat");
        const int before = reports->logs.size();
        QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                  Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0));
        QVERIFY(waitUntil([&] { return reports->logs.size() == before + 1; }));
        {
            // A full disk: the frame's bytes wait in the recorder's buffer, then cannot be written.
            FileSizeLimit full(0);
            sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
            QVERIFY(waitUntil([&] { return reports->calib == 1; }));
            QMetaObject::invokeMethod(worker, "do_file_recording", Qt::QueuedConnection, Q_ARG(QString, base),
                                      Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(int, 0));
            QVERIFY(waitUntil([&] { return reports->logs.size() == before + 2; }));
        }
        QVERIFY2(reports->logs.last().second.startsWith("Plate 4: recording failed: "), qPrintable(reports->logs.last().second));
    }

    void retiringTheLinkWhileItRepeatsSendsNothingMore()
    {
        sendLong(worker, 56004);
        sendLong(worker, 56007);
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 2; }));
        QVERIFY(TestKit::retireWorker(worker.data()));
        const int n = sim->commands().size();
        QTest::qWait(200);
        QCOMPARE(sim->commands().size(), n);
        QVERIFY(n < 20);
        // cleanup() retires a worker: give it a fresh one.
        auto *w = new WorkerThread_Multi(sim->portPath(), 115200, 2);
        worker = startWorkerThread(w, &WorkerThread_Multi::openSerialConnected);
    }

    // --- the base-board unit link: a pseudo-terminal written by the test ---

    void baseBoardGoodFramesReportLivenessAndSlaveModePassesTheChamberTemperature()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        auto *w = new WorkerThread_net(pty.slavePath());
        w->setPollInterval(20);
        Reports r(w);
        connect(w, &WorkerThread_net::signal_connectIsSuccess, &r, [&](bool ok) { r.connected = ok; });
        connect(w, &WorkerThread_net::signal_show_current_temp, &r, [&](float t) { r.temps << t; });
        startWorkerThread(w, &WorkerThread_net::openSerialConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));

        QByteArray temp(4, '\0');
        const float t = -12.5f;
        memcpy(temp.data(), &t, 4);
        g_dual_computer_temp_calib_flag = 0;
        QByteArray bytes = buildDeviceFrame(BaseBoard::kChamberTempMsg, temp);
        bytes += buildDeviceFrame(0x1234, QByteArray(9999, 'x'));
        QByteArray bad = buildDeviceFrame(0x1234, QByteArray(10000, 'x'));
        bytes += bad;
        pty.write(bytes.constData(), bytes.size());
        QVERIFY(waitUntil([&] { return r.count(37, "net_0_0") == 2; }));
        QCOMPARE(r.temps.size(), 0); // not in slave mode
        g_dual_computer_temp_calib_flag = 1;
        const QByteArray again = buildDeviceFrame(BaseBoard::kChamberTempMsg, temp);
        pty.write(again.constData(), again.size());
        QVERIFY(waitUntil([&] { return r.temps.size() == 1; }));
        QCOMPARE(r.temps[0], -12.5f);
        QCOMPARE(r.count(37, "net_0_0"), 3);
        g_dual_computer_temp_calib_flag = 0;

        QMetaObject::invokeMethod(w, "closePort", Qt::QueuedConnection);
        QTest::qWait(50);
        pty.write(again.constData(), again.size());
        QTest::qWait(150);
        QCOMPARE(r.count(37, "net_0_0"), 3);
        QVERIFY(TestKit::retireWorker(w));
    }

    void baseBoardPortThatCannotOpenReportsFailure()
    {
        WorkerThread_net *w = createWorker_net("/nonexistent/tty");
        Reports r(w);
        connect(w, &WorkerThread_net::signal_connectIsSuccess, &r, [&](bool ok) { r.connected = ok; });
        QVERIFY(waitUntil([&] { return r.connected == 0; }));
        QVERIFY(TestKit::retireWorker(w));
    }
};

QTEST_GUILESS_MAIN(TestRackLinks)
#include "test_rack_links.moc"

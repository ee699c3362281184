// The chamber workers against a pymodbus server: RTU on a pseudo-terminal (through a wire tap)
// and TCP on 127.0.0.1.
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/MetaTypes.h"
#include "app/Settings.h"
#include "equipment/Creators.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/WorkerThread_hothouse.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
class Reports : public QObject {
    Q_OBJECT
public:
    explicit Reports(WorkerThread_hothouse *w)
    {
        connect(w, &WorkerThread_hothouse::signal_connectIsSuccess, this, [this](bool ok) { connected = ok; });
        connect(w, &WorkerThread_hothouse::signal_log, this, [this](uint8_t c, QString t) { logs << qMakePair(int(c), t); });
        connect(w, &WorkerThread_hothouse::signal_show_current_temp, this, [this](float t) { current << t; });
        connect(w, &WorkerThread_hothouse::signal_show_target_temp, this, [this](float t) { target << t; });
        connect(w, &WorkerThread_hothouse::signal_show_temp_slope, this, [this](float t) { slope << t; });
    }
    bool logContains(const QString &part) const
    {
        for (const auto &l : logs)
            if (l.second.contains(part))
                return true;
        return false;
    }
    int connected = -1;
    QList<QPair<int, QString>> logs;
    QList<float> current, target, slope;
};

int freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}
} // namespace

class TestChamber : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerMetaTypes(); }

    void theRtuChamberWritesReadsAndPolls()
    {
        WireTap tap;
        QVERIFY(tap.isValid());
        ModbusPeer peer({"--rtu", tap.peerPath(), "--slave", "1", "--set", "0x0744=0xFF9C", "--refuse", "0x0752"},
                        "rtu_writes.txt");
        QVERIFY(peer.waitReady());
        auto *w = new WorkerThread_hothouse1(tap.workerPath());
        w->setPollInterval(150);
        w->setReplyTimeout(500);
        Reports r(w);
        startWorkerThread<WorkerThread_hothouse>(w, &WorkerThread_hothouse::openPortConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));

        // The poll reports the chamber temperature and the liveness tag.
        QVERIFY(waitUntil([&] { return !r.current.isEmpty(); }));
        QCOMPARE(r.current.first(), -10.0f);
        QVERIFY(r.logs.contains(qMakePair(37, QString("hothouse_0_0"))));

        // Set point -40 degC: function 6 on 0x074E with -400, then read back.
        QMetaObject::invokeMethod(w, "hothouse_set_target_temp", Qt::QueuedConnection, Q_ARG(int16_t, int16_t(-40)));
        QVERIFY(waitUntil([&] { return tap.sent().contains(QByteArray::fromHex("0106074EFE70A92D")); }));
        QMetaObject::invokeMethod(w, "hothouse_read_target_temp", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return r.target.size() == 1; }));
        QCOMPARE(r.target[0], -40.0f);

        // Run and stop: the coil 0x04B0.
        QMetaObject::invokeMethod(w, "hothouse_generate_start_stop_cmd", Qt::QueuedConnection, Q_ARG(uint8_t, 1));
        QMetaObject::invokeMethod(w, "hothouse_generate_start_stop_cmd", Qt::QueuedConnection, Q_ARG(uint8_t, 0));
        QVERIFY(waitUntil([&] { return peer.writes().contains("co 1200 0"); }));
        QStringList writes = peer.writes();
        QVERIFY(writes.indexOf("co 1200 1") >= 0 && writes.indexOf("co 1200 1") < writes.indexOf("co 1200 0"));
        QVERIFY(tap.sent().contains(QByteArray::fromHex("010504B0FF00")));

        // An exception reply gives no value, only a log line.
        QMetaObject::invokeMethod(w, "hothouse_read_temp_slope", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return r.logContains("ramp rate read failed"); }));
        QVERIFY(r.slope.isEmpty());

        // The ramp rate goes out as s x 100.
        QMetaObject::invokeMethod(w, "hothouse_set_temp_slope", Qt::QueuedConnection, Q_ARG(uint8_t, 3));
        QVERIFY(waitUntil([&] { return tap.sent().contains(QByteArray::fromHex("0106075201 2C").replace(" ", "")); }));

        // Closing the port stops the poll.
        QMetaObject::invokeMethod(w, "closePort", Qt::QueuedConnection);
        QTest::qWait(100);
        const int polls = r.current.size();
        QTest::qWait(400);
        QCOMPARE(r.current.size(), polls);
        QVERIFY(TestKit::retireWorker(w));
    }

    // As the README starts it: the peer opens its own pair and names the port to open.
    void aPeerOnItsOwnPseudoTerminalsServesTheChamber()
    {
        ModbusPeer peer({"--rtu", "--slave", "1", "--set", "0x0744=0xFF9C"}, "own_pty_writes.txt");
        const QString port = peer.waitPortPath();
        QVERIFY2(port.startsWith("/dev/"), qPrintable(port));
        for (int open = 0; open < 2; ++open) { // a second link on the same port is served too
            auto *w = new WorkerThread_hothouse1(port);
            w->setPollInterval(150);
            w->setReplyTimeout(500);
            Reports r(w);
            startWorkerThread<WorkerThread_hothouse>(w, &WorkerThread_hothouse::openPortConnected);
            QVERIFY(waitUntil([&] { return r.connected == 1; }));
            QVERIFY(waitUntil([&] { return !r.current.isEmpty(); }));
            QCOMPARE(r.current.first(), -10.0f);
            QMetaObject::invokeMethod(w, "hothouse_set_target_temp", Qt::QueuedConnection, Q_ARG(int16_t, int16_t(-40 - open)));
            QVERIFY(waitUntil([&] { return peer.writes().contains(QString("hr 1870 %1").arg(65536 - 400 - 10 * open)); }));
            QMetaObject::invokeMethod(w, "closePort", Qt::QueuedConnection);
            QVERIFY(TestKit::retireWorker(w));
        }
    }

    void theTcpChamberWritesInItsOrderAndReadsBack()
    {
        const int port = freePort();
        ModbusPeer peer({"--tcp", QString::number(port), "--slave", "1", "--set", "0x0029=253"}, "tcp_writes.txt");
        QVERIFY(peer.waitReady());
        getSettings()->setValue(ChamberTcp::hostKey(), "127.0.0.1");
        getSettings()->setValue(ChamberTcp::portKey(), port);
        getSettings()->setValue("turnTableType/type", 3);
        WorkerThread_hothouse *w = createWorker_hothouse("unused", 9600);
        QVERIFY(dynamic_cast<WorkerThread_hothouse2 *>(w));
        Reports r(w);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));

        QMetaObject::invokeMethod(w, "hothouse_set_target_temp", Qt::QueuedConnection, Q_ARG(int16_t, int16_t(-40)));
        QMetaObject::invokeMethod(w, "hothouse_set_temp_slope", Qt::QueuedConnection, Q_ARG(uint8_t, 3));
        QMetaObject::invokeMethod(w, "hothouse_generate_start_stop_cmd", Qt::QueuedConnection, Q_ARG(uint8_t, 1));
        QVERIFY(waitUntil([&] { return peer.writes().size() == 5; }));
        QCOMPARE(peer.writes(), (QStringList{"co 112 1", "co 122 1", "hr 43 65136", "hr 55 30", "hr 47 1"}));

        QMetaObject::invokeMethod(w, "hothouse_read_target_temp", Qt::QueuedConnection);
        QMetaObject::invokeMethod(w, "hothouse_read_temp_slope", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return r.target.size() == 1 && r.slope.size() == 1; }));
        QCOMPARE(r.target[0], -40.0f);
        QCOMPARE(r.slope[0], 3.0f);
        // The 2000 ms poll.
        QVERIFY(waitUntil([&] { return !r.current.isEmpty(); }, 5000));
        QCOMPARE(r.current.first(), 25.3f);
        QVERIFY(TestKit::retireWorker(w));
        getSettings()->remove("turnTableType/type");
    }

    void aChamberThatIsNotThereReportsAFailedConnect()
    {
        getSettings()->setValue("turnTableType/type", 0);
        WorkerThread_hothouse *w = createWorker_hothouse("/nonexistent/tty", 9600);
        QVERIFY(dynamic_cast<WorkerThread_hothouse1 *>(w));
        Reports r(w);
        QVERIFY(waitUntil([&] { return r.connected == 0; }));
        QMetaObject::invokeMethod(w, "hothouse_set_target_temp", Qt::QueuedConnection, Q_ARG(int16_t, int16_t(20)));
        QVERIFY(waitUntil([&] { return r.logContains("not connected"); }));
        QVERIFY(TestKit::retireWorker(w));
        getSettings()->remove("turnTableType/type");
    }
};

QTEST_MAIN(TestChamber)
#include "test_chamber.moc"

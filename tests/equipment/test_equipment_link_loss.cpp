// Equipment whose line goes away while linked: the turntable, the base-board link, the chamber
// and the DC supply each report the loss once, close their line, and their thread stays idle.
#include <QPointer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>

#include "app/MetaTypes.h"
#include "app/Settings.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/WorkerThread_DC_power.h"
#include "equipment/WorkerThread_hothouse.h"
#include "equipment/WorkerThread_net.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/WorkerThreadStart.h"
#include "sim/PtyPair.h"
#include "sim/TurntableSim.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"

using TestKit::threadCpuMs;
using TestKit::waitUntil;

namespace {
// Connection and loss reports of one worker, collected on the test's thread.
struct Reports : QObject {
    template <class W> explicit Reports(W *w)
    {
        connect(w, &W::signal_connectIsSuccess, this, [this](bool ok) { connected = ok ? 1 : 0; });
        connect(w, &W::signal_linkLost, this, [this](QString r) { lost << r; });
    }
    int connected = -1;
    QStringList lost;
};

// After the loss: reported once, and the worker's thread does not spin on the dead line.
template <class W> void expectOneQuietLoss(W *w, Reports &r)
{
    QVERIFY(waitUntil([&] { return r.lost.size() == 1; }));
    const qint64 before = threadCpuMs(w);
    QTest::qWait(2000);
    const qint64 spent = threadCpuMs(w) - before;
    QVERIFY2(spent < 200, qPrintable(QString("the worker's thread used %1 ms of 2000").arg(spent)));
    QCOMPARE(r.lost.size(), 1);
}
} // namespace

class TestEquipmentLinkLoss : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerMetaTypes(); }

    void theTurntableLineGoingAwayIsReportedOnce()
    {
        TurntableSim sim;
        QVERIFY(sim.isValid());
        auto *w = new Workerthread_turn_table_TQ(sim.portPath(), QString());
        w->setPollInterval(20);
        Reports r(w);
        QPointer<WorkerThread_turn_table> worker = startWorkerThread<WorkerThread_turn_table>(w, &WorkerThread_turn_table::openSerialConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));
        sim.hangUp();
        expectOneQuietLoss(worker.data(), r);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }

    void theBaseBoardLineGoingAwayIsReportedOnce()
    {
        PtyPair pty;
        QVERIFY(pty.isValid());
        auto *w = new WorkerThread_net(pty.slavePath());
        w->setPollInterval(20);
        Reports r(w);
        QPointer<WorkerThread_net> worker = startWorkerThread(w, &WorkerThread_net::openSerialConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));
        pty.hangUp();
        expectOneQuietLoss(worker.data(), r);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }

    void aPseudoTerminalNobodyReadsDropsTheBytesInsteadOfHanging()
    {
        PtyPair pty; // its program side stays open, and nobody reads it
        QVERIFY(pty.isValid());
        pty.setStallMs(300);
        const QByteArray block(1 << 20, 'x'); // far more than the terminal holds
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("nobody read for 0.3 s, \\d+ bytes dropped"));
        QVERIFY(!pty.write(block.constData(), block.size()));
        QVERIFY(!pty.write("y", 1));
    }

    void theChamberLineGoingAwayIsReportedOnce()
    {
        WireTap tap;
        QVERIFY(tap.isValid());
        ModbusPeer peer({"--rtu", tap.peerPath(), "--slave", "1"}, "loss_chamber.txt");
        QVERIFY(peer.waitReady());
        auto *w = new WorkerThread_hothouse1(tap.workerPath());
        w->setPollInterval(100);
        w->setReplyTimeout(300);
        Reports r(w);
        QPointer<WorkerThread_hothouse> worker = startWorkerThread<WorkerThread_hothouse>(w, &WorkerThread_hothouse::openPortConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));
        tap.hangUpWorker();
        expectOneQuietLoss(worker.data(), r);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }

    void theTcpChamberGoingAwayIsReportedOnce()
    {
        int port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        auto peer = std::make_unique<ModbusPeer>(QStringList{"--tcp", QString::number(port), "--slave", "1"}, "loss_tcp.txt");
        QVERIFY(peer->waitReady());
        getSettings()->setValue(ChamberTcp::hostKey(), "127.0.0.1");
        getSettings()->setValue(ChamberTcp::portKey(), port);
        auto *w = new WorkerThread_hothouse2("unused");
        w->setPollInterval(100);
        w->setReplyTimeout(300);
        Reports r(w);
        QPointer<WorkerThread_hothouse> worker = startWorkerThread<WorkerThread_hothouse>(w, &WorkerThread_hothouse::openPortConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));
        peer.reset(); // the chamber's controller is switched off
        expectOneQuietLoss(worker.data(), r);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }

    void theDcSupplyLineGoingAwayIsReportedOnce()
    {
        WireTap tap;
        QVERIFY(tap.isValid());
        ModbusPeer peer({"--rtu", tap.peerPath(), "--slave", "17"}, "loss_dc.txt");
        QVERIFY(peer.waitReady());
        auto *w = new WorkerThread_DC_power(tap.workerPath());
        Reports r(w);
        QPointer<WorkerThread_DC_power> worker = startWorkerThread(w, &WorkerThread_DC_power::openSerialConnected);
        QVERIFY(waitUntil([&] { return r.connected == 1; }));
        tap.hangUpWorker();
        expectOneQuietLoss(worker.data(), r);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }
};

QTEST_MAIN(TestEquipmentLinkLoss)
#include "test_equipment_link_loss.moc"

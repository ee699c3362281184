// An unplugged device under the main window: the main link (plate 1 on the console page, the
// quick-test page's module) and a rack link lose their pseudo-terminals. Each port closes itself
// once, its flag is cleared, the operator is told once, nothing spins, and the links open again
// on new devices.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/WorkerThread_Multi.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/WorkerThread.h"
#include "sim/ModuleSimulator.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "tests/kit/TestKit.h"

using TestKit::threadCpuMs;
using TestKit::waitUntil;

namespace {
const QString kLost = "The serial hardware has been disconnected, please reconnect!";

template <class W> bool portOpenOn(W *worker)
{
    bool open = true;
    QMetaObject::invokeMethod(worker, [&open, worker] { open = worker->portOpen(); }, Qt::BlockingQueuedConnection);
    return open;
}

int commandsWithId(const ModuleSimulator &sim, uint16_t id)
{
    int n = 0;
    for (const auto &c : sim.commands())
        n += c.cmd.cmd_id == id;
    return n;
}
} // namespace

class TestLinkLoss : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;

    static void offerPorts(const QStringList &paths) { qputenv("KELVANTO_EXTRA_PORTS", paths.join(':').toLocal8Bit()); }

    // Links the main link on the console page with plate 2 on the rack port.
    void linkMainAndPlateTwo(MainWindow &w, const ModuleSimulator &main, const ModuleSimulator &rack)
    {
        w.findChild<QPushButton *>("pushButton_refresh")->click();
        w.multiCalib()->on_pushButton_connect_renew_com_ports_clicked();
        w.showPage(MainWindow::PageCalib);
        auto *port = w.findChild<QComboBox *>("comboBox_port");
        port->setCurrentIndex(port->findText(main.portPath() + ' ', Qt::MatchStartsWith));
        QVERIFY(port->currentIndex() >= 0);
        auto *plate2 = w.multiCalib()->findChild<QComboBox *>("comboBox_calib_multi_serial2");
        plate2->setCurrentIndex(plate2->findText(rack.portPath() + ' ', Qt::MatchStartsWith));
        QVERIFY(plate2->currentIndex() > 0);
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(waitUntil([&] { return g_link_status[0] == 1 && g_link_status[1] == 1; }, 10000));
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        SoundPlayer::install(&sound);
    }
    void cleanupTestCase()
    {
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }

    void anUnpluggedDeviceClosesItsPortOnceTellsOnceAndLinksAgain()
    {
        auto main = std::make_unique<ModuleSimulator>();
        auto rack = std::make_unique<ModuleSimulator>();
        QVERIFY(main->isValid() && rack->isValid());
        offerPorts({main->portPath(), rack->portPath()});
        g_serial_fault_count = 0;

        MainWindow w;
        w.show();
        linkMainAndPlateTwo(w, *main, *rack);
        QPointer<WorkerThread> mainWorker = w.worker();
        QPointer<WorkerThread_Multi> rackWorker = w.multiCalib()->rackWorker(0);
        QVERIFY(mainWorker && rackWorker);

        // The operator is on the quick-test page (its tick runs while it is shown).
        w.showPage(MainWindow::Page735);
        prompter.shown.clear();

        main->hangUp();
        rack->hangUp();

        // Told once on the quick-test page; the console's log window has both plates.
        QVERIFY(waitUntil([&] { return prompter.texts().contains(kLost); }));
        QVERIFY(waitUntil([&] { return g_link_status[0] == 0 && g_link_status[1] == 0; }));
        const QString log = w.multiCalib()->logWindow()->text();
        QVERIFY2(log.contains("Plate 1: link lost"), qPrintable(log));
        QVERIFY2(log.contains("Plate 2: link lost"), qPrintable(log));
        QCOMPARE(w.findChild<QPushButton *>("pushButton_connect")->text(), QString("Connect"));

        // Both ports are closed and neither link thread spins on the dead line.
        QVERIFY(mainWorker && rackWorker);
        QVERIFY(!portOpenOn(mainWorker.data()));
        QVERIFY(!portOpenOn(rackWorker.data()));
        const qint64 mainCpu = threadCpuMs(mainWorker), rackCpu = threadCpuMs(rackWorker);
        QTest::qWait(2000);
        const qint64 mainSpent = threadCpuMs(mainWorker) - mainCpu, rackSpent = threadCpuMs(rackWorker) - rackCpu;
        QVERIFY2(mainSpent < 200, qPrintable(QString("main link thread used %1 ms of 2000").arg(mainSpent)));
        QVERIFY2(rackSpent < 200, qPrintable(QString("rack link thread used %1 ms of 2000").arg(rackSpent)));
        // The quick-test page ticked all that time and told the operator no second time.
        QCOMPARE(prompter.texts().count(kLost), 1);
        QCOMPARE(w.multiCalib()->logWindow()->text().count("Plate 1: link lost"), 1);
        QCOMPARE(w.multiCalib()->logWindow()->text().count("Plate 2: link lost"), 1);

        QVERIFY2(w.statusBar()->currentMessage().startsWith("Link lost"), qPrintable(w.statusBar()->currentMessage()));

        // The devices are back on new pseudo-terminals: both links open again and carry commands.
        auto main2 = std::make_unique<ModuleSimulator>();
        auto rack2 = std::make_unique<ModuleSimulator>();
        offerPorts({main2->portPath(), rack2->portPath()});
        linkMainAndPlateTwo(w, *main2, *rack2);
        QCOMPARE(w.statusBar()->currentMessage(), QString()); // the loss is over
        QVERIFY(w.worker() != mainWorker.data() || !mainWorker);
        emit w.multiCalib()->Send_CMD_LONG_SIGNAL(DeviceCmdId::SetOutputMode, 1.0f, 0, 0, 0, 0, 0);
        QVERIFY(waitUntil([&] {
            return commandsWithId(*main2, DeviceCmdId::SetOutputMode) > 0 && commandsWithId(*rack2, DeviceCmdId::SetOutputMode) > 0;
        }));
        QCOMPARE(prompter.texts().count(kLost), 1);

        w.showPage(MainWindow::PageCalib);
        w.findChild<QPushButton *>("pushButton_connect")->click(); // closes every link
        QVERIFY(TestKit::retireWorker(w.multiCalib()->rackWorker(0)));
        QVERIFY(TestKit::retireWorker(w.worker()));
        QVERIFY(waitUntil([&] { return mainWorker.isNull() && rackWorker.isNull(); }));
    }

    void theScreeningPageTellsOnceWhenItsBoardIsUnplugged()
    {
        ModuleSimulator board;
        QVERIFY(board.isValid());
        offerPorts({board.portPath()});
        g_serial_fault_count = 0;
        MainWindow w;
        w.show();
        w.showPage(MainWindow::PageScreening);
        auto *port = w.findChild<QComboBox *>("comboBox_port");
        port->setCurrentIndex(port->findText(board.portPath() + ' ', Qt::MatchStartsWith));
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(waitUntil([&] { return g_link_status[0] == 1; }));
        QPointer<WorkerThread> worker = w.worker();
        prompter.shown.clear();

        board.hangUp();
        QVERIFY(waitUntil([&] { return prompter.texts().contains(kLost); }));
        QCOMPARE(g_link_status[0], uint8_t(0));
        QVERIFY(!portOpenOn(worker.data()));
        // A few more ticks of the page (one a second) bring no second box.
        QVERIFY(waitUntil([&] { return g_serial_fault_count.load() == 0; }));
        QTest::qWait(2500);
        QCOMPARE(prompter.texts().count(kLost), 1);
        QVERIFY(TestKit::retireWorker(worker.data()));
    }
};

QTEST_MAIN(TestLinkLoss)
#include "test_link_loss.moc"

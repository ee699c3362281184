// The main window: page stack, module selector, link controls and the console wiring.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTest>
#include <QTextEdit>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/WorkerThread.h"
#include "production/DecodeDlg.h"
#include "production/Factory_735_Dlg.h"
#include "station/MultiCalib.h"
#include "station/UploadOutbox.h"
#include "sim/ModuleSimulator.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

class TestMainWindow : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;
    ModuleSimulator *sim = nullptr;

    void connectOnPage(MainWindow &w, int page)
    {
        w.showPage(page);
        auto *port = w.findChild<QComboBox *>("comboBox_port");
        const int i = port->findText(sim->portPath() + ' ', Qt::MatchStartsWith);
        QVERIFY(i >= 0);
        port->setCurrentIndex(i);
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(waitUntil([&] { return g_link_status[0] == 1; }));
    }
    int commandsWithId(uint16_t id) const
    {
        int n = 0;
        for (const auto &c : sim->commands())
            n += c.cmd.cmd_id == id;
        return n;
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        sim = new ModuleSimulator;
        qputenv("KELVANTO_EXTRA_PORTS", sim->portPath().toLocal8Bit());
    }
    void cleanupTestCase() { delete sim; }

    void stackIndexIsThePageIndexAndTheSelectorCarriesIt()
    {
        MainWindow w;
        auto *stack = w.findChild<QStackedWidget *>("stackedWidget");
        QCOMPARE(stack->count(), 14);
        QCOMPARE(stack->widget(5), static_cast<QWidget *>(w.decodeDlg()));
        QCOMPARE(stack->widget(9), static_cast<QWidget *>(w.multiCalib()));
        QCOMPARE(stack->widget(12), static_cast<QWidget *>(w.test735Dlg()));
        auto *sel = w.findChild<QComboBox *>("comboBox_module");
        QCOMPARE(sel->count(), 5);
        QCOMPARE(sel->itemText(0), QString("Data decoding"));
        sel->setCurrentIndex(sel->findData(11));
        QCOMPARE(stack->currentIndex(), 11);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(w.versionText(i), QString("N/A"));
        auto *baud = w.findChild<QComboBox *>("comboBox_baud");
        QCOMPARE(baud->currentText(), QString("115200"));
        QCOMPARE(baud->itemText(0), QString("9600"));
        QCOMPARE(baud->itemText(baud->count() - 1), QString("2000000"));
    }

    void connectingOnTheConsolePageWiresTheConsole()
    {
        MainWindow w;
        connectOnPage(w, MainWindow::PageCalib);
        QCOMPARE(g_port_name, sim->portPath());
        sim->clearReceived();
        emit w.multiCalib()->Send_CMD_LONG_SIGNAL(30007, 1, 0, 0, 0, 0, 0);
        QVERIFY(waitUntil([&] { return commandsWithId(30007) == 1; }));
        // The link's version reaches the main window's labels through the console.
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(0x56313233, 45));
        QVERIFY(waitUntil([&] { return w.versionText(0) == "V123"; }));
        QCOMPARE(w.versionText(2), QString("45"));
        // Disconnect: link flag cleared.
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QCOMPARE(g_link_status[0], uint8_t(0));
    }

    void connectingElsewhereDoesNotWireTheConsole()
    {
        MainWindow w;
        connectOnPage(w, MainWindow::PageDecode);
        sim->clearReceived();
        emit w.multiCalib()->Send_CMD_LONG_SIGNAL(30007, 1, 0, 0, 0, 0, 0);
        emit w.test735Dlg()->Send_CMD_LONG_SIGNAL(9, 0, 0, 0, 0, 0, 0); // pages are always wired
        QVERIFY(waitUntil([&] { return commandsWithId(9) == 1; }));
        QTest::qWait(200);
        QCOMPARE(commandsWithId(30007), 0);
        w.findChild<QPushButton *>("pushButton_connect")->click();
    }

    void aConnectOnATestPageAfterTheConsoleWasLinkedOpensOnlyTheModulesPort()
    {
        ModuleSimulator rack;
        qputenv("KELVANTO_EXTRA_PORTS", (sim->portPath() + ":" + rack.portPath()).toLocal8Bit());
        MainWindow w;
        w.multiCalib()->on_pushButton_connect_renew_com_ports_clicked();
        auto *plate2 = w.multiCalib()->findChild<QComboBox *>("comboBox_calib_multi_serial2");
        plate2->setCurrentIndex(plate2->findText(rack.portPath() + ' ', Qt::MatchStartsWith));
        QVERIFY(plate2->currentIndex() > 0);
        connectOnPage(w, MainWindow::PageCalib);
        QVERIFY(waitUntil([&] { return g_link_status[1] == 1; }));
        w.findChild<QPushButton *>("pushButton_connect")->click(); // the rack closes with the link
        QCOMPARE(g_link_status[1], uint8_t(0));

        QSignalSpy console(w.multiCalib(), &MultiCalib::signalTranspondLog);
        connectOnPage(w, MainWindow::Page735);
        // The rack follows a connect synchronously; none came.
        for (const auto &args : console)
            QVERIFY2(!args[0].toString().startsWith("Main link opened"), qPrintable(args[0].toString()));
        // The version labels belong to the module: the rack's versions no longer reach them.
        emit w.multiCalib()->signal_sendVersionValue(0x5241434B, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 0, 0, 0);
        QVERIFY(w.versionText(0) != "RACK");
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(0x4D4F4431, 45));
        QVERIFY(waitUntil([&] { return w.versionText(0) == "MOD1"; }));
        QCOMPARE(g_link_status[1], uint8_t(0));
        w.findChild<QPushButton *>("pushButton_connect")->click();
        qputenv("KELVANTO_EXTRA_PORTS", sim->portPath().toLocal8Bit());
    }

    // Software and hardware versions read as the result tables show them; the other values are
    // numbers.
    void theLinksVersionsReadAsVersions()
    {
        MainWindow w;
        connectOnPage(w, MainWindow::PageDecode);
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(1446063664, 1446063664, 0x48303230));
        QVERIFY(waitUntil([&] { return w.versionText(0) != "N/A"; }));
        QCOMPARE(w.versionText(0), QString("V10")); // "V1.0": the tables show no dots either
        QCOMPARE(w.versionText(1), QString("H020"));
        QCOMPARE(w.versionText(2), QString("1446063664"));
        QCOMPARE(w.versionText(6), QString("0"));
        w.findChild<QPushButton *>("pushButton_connect")->click();
    }

    void versionsFromOtherPagesAreMarkedByTheMask()
    {
        MainWindow w;
        w.displayVersionByOtherPages("a", "b", "c", "d", "e", "f", "g", "h", "i", 0x05);
        QCOMPARE(w.versionText(8), QString("i"));
        auto *l0 = w.findChild<QLabel *>("label_version_0");
        auto *l1 = w.findChild<QLabel *>("label_version_1");
        QCOMPARE(l0->styleSheet(), QString("background-color:red"));
        QCOMPARE(l1->styleSheet(), QString("color:blue"));
    }

    // Disconnect in the middle of a temperature script: the run stops through its stop path
    // while the chamber's link is still up, so the chamber's stop reaches it.
    void disconnectingDuringAScriptRunStopsTheChamberBeforeItsLinkCloses()
    {
        WireTap chamberLine, dcLine;
        QVERIFY(chamberLine.isValid() && dcLine.isValid());
        ModbusPeer chamber({"--rtu", chamberLine.peerPath(), "--slave", "1", "--set", "0x0744=250", "--follow", "0x074E:0x0744"},
                           "disconnect_chamber_writes.txt");
        ModbusPeer supply({"--rtu", dcLine.peerPath(), "--slave", "17", "--set", "0=32767", "--set", "1=16383"},
                          "disconnect_dc_writes.txt");
        QVERIFY(chamber.waitReady() && supply.waitReady());
        qputenv("KELVANTO_EXTRA_PORTS",
                QStringList{sim->portPath(), chamberLine.workerPath(), dcLine.workerPath()}.join(":").toLocal8Bit());
        const auto restore = qScopeGuard([this] { qputenv("KELVANTO_EXTRA_PORTS", sim->portPath().toLocal8Bit()); });
        MainWindow w;
        MultiCalib *console = w.multiCalib();
        for (const auto &pick : {qMakePair(QString("comboBox_calib_multi_hot_house"), chamberLine.workerPath()),
                                 qMakePair(QString("comboBox_calib_multi_DC_power"), dcLine.workerPath())}) {
            auto *combo = console->findChild<QComboBox *>(pick.first);
            combo->setCurrentIndex(combo->findText(pick.second + ' ', Qt::MatchStartsWith));
            QVERIFY(combo->currentIndex() > 0);
        }
        getSettings()->setValue("main_index/DC_type", 1); // the supply's model, read as its link opens
        connectOnPage(w, MainWindow::PageCalib);
        QVERIFY(waitUntil([] { return g_hothouse_connected == 1 && g_dc_power_connected == 1; }, 10000));
        prompter.answers.clear();
        console->findChild<QTextEdit *>("textEdit_dc_power_supply_max_voltage")->setPlainText("12"); // the supply's set-point
        console->findChild<QTextEdit *>("textEdit_dc_power_supply_max_current")->setPlainText("2");
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::TempRetest);
        QVERIFY(waitUntil([&] { return chamber.writes().contains("co 1200 1"); }, 10000));

        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        QVERIFY2(waitUntil([&] { return chamber.writes().lastIndexOf("co 1200 0") > chamber.writes().indexOf("co 1200 1"); }, 10000),
                 qPrintable(chamber.writes().join("; ")));
        console->shutDown(3000);
    }

    // A board of 30 modules linked after one of 32: only the 30 are counted.
    void aMainLinkOpenedAgainJudgesOnlyTheModulesOfItsBoard()
    {
        MainWindow w;
        const auto sendFitted = [this](int fitted) {
            for (int k = 0; k < 32; ++k)
                sim->imus[size_t(k)].time_ms = k < fitted ? 1000u + uint32_t(k) : 0u;
            const uint64_t before = g_calib_status.generation(0);
            sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
            QVERIFY(waitUntil([&] { return g_calib_status.generation(0) > before; }));
        };
        connectOnPage(w, MainWindow::PageCalib);
        sendFitted(32);
        w.multiCalib()->check_total_imu_num_alive();
        QCOMPARE(w.multiCalib()->aliveImuCount(), 32);
        w.findChild<QPushButton *>("pushButton_connect")->click();
        connectOnPage(w, MainWindow::PageCalib);
        sendFitted(30);
        w.multiCalib()->check_total_imu_num_alive();
        QCOMPARE(w.multiCalib()->aliveImuCount(), 30);
        w.findChild<QPushButton *>("pushButton_connect")->click();
        sim->imus = {};
    }

    void closingAsksAndOnlyYesCloses()
    {
        MainWindow w;
        w.show();
        prompter.answers = {QMessageBox::No};
        QVERIFY(!w.close());
        QCOMPARE(prompter.shown.last().title, QString("Confirm Dialog"));
        prompter.answers = {QMessageBox::Yes};
        QVERIFY(w.close());
    }

    // The exit box tells of the chamber only for a run that uses it.
    void theExitBoxNamesTheRunningRunAndTheChamberOnlyWhenItIsUsed()
    {
        MainWindow w;
        RunGuard *runs = w.multiCalib()->runGuard();
        for (const RunGuard::Run run : {RunGuard::AllanStatic, RunGuard::TempRetest}) {
            QVERIFY(runs->begin(run));
            prompter.answers = {QMessageBox::No};
            QVERIFY(!w.close());
            const QString said = RunGuard::name(run) + " is running: closing the program stops it";
            QCOMPARE(prompter.shown.last().text.section('\n', 0, 0),
                     run == RunGuard::TempRetest ? said + " (the chamber is switched off)." : said + ".");
            runs->finished(run);
        }
    }

    void theExitBoxNamesAResultHeldOnlyInMemory()
    {
        // A file where the outbox folder should be: the result cannot be written.
        QDir(uploadOutboxFolder()).removeRecursively();
        QFile blocker(uploadOutboxFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const auto cleanup = qScopeGuard([] { QFile::remove(uploadOutboxFolder()); });
        QTcpServer probe; // a loopback port on which nothing listens
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        getSettings()->setValue("httpAddr/officialAddr", QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(port));
        MainWindow w;
        w.show();
        w.multiCalib()->exectuePosMethod(1);
        const QStringList held = w.multiCalib()->uploadOutbox()->heldInMemory();
        QCOMPARE(held.size(), 1);
        prompter.answers = {QMessageBox::No};
        QVERIFY(!w.close());
        QVERIFY2(prompter.shown.last().text.contains(held[0]), qPrintable(prompter.shown.last().text));
        prompter.answers = {QMessageBox::Yes};
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"

// The console's rack links against two simulated base boards on pseudo-terminals: linking,
// port conflicts, closing one plate or all, broadcasts and the plate tables filling.
#include <QDate>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "equipment/WorkerThread_net.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "station/ConsoleLogic.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;


class TestConsoleLinks : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim2 = nullptr;
    ModuleSimulator *sim3 = nullptr;
    MultiCalib *console = nullptr;

    void selectPort(int plate, ModuleSimulator *sim)
    {
        QComboBox *c = console->findChild<QComboBox *>(QString("comboBox_calib_multi_serial%1").arg(plate));
        c->setCurrentIndex(sim ? c->findText(sim->portPath() + " # simulated") : 0);
        QVERIFY(!sim || c->currentIndex() > 0);
    }
    static QList<uint16_t> ids(const ModuleSimulator *sim)
    {
        QList<uint16_t> out;
        for (const auto &c : sim->commands())
            out << c.cmd.cmd_id;
        return out;
    }
    // The repeat spacing of both plates' links (long commands; texts twice that).
    void setIntervals(int longMs)
    {
        for (int i = 0; i < 2; ++i)
            setRepeatSpacing(console->rackWorker(i), longMs, 2 * longMs);
    }
    // Plates 2 and 3 linked to their simulators (the links that are up stay), with short repeat
    // waits: each function that needs the links makes them, so it passes alone too.
    void bothPlatesLinked()
    {
        if (g_link_status[1] == 1 && g_link_status[2] == 1 && console->rackWorker(0) && console->rackWorker(1))
            return;
        selectPort(2, sim2);
        selectPort(3, sim3);
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_link_status[2] == 1; }));
        setIntervals(50);
    }
    void showTables()
    {
        clock.advance(1100);
        console->display_calib_multi();
    }

private slots:
    void initTestCase()
    {
        sim2 = new ModuleSimulator;
        sim3 = new ModuleSimulator;
        QVERIFY(sim2->isValid() && sim3->isValid());
        qputenv("KELVANTO_EXTRA_PORTS", (sim2->portPath() + ":" + sim3->portPath()).toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        console = new MultiCalib;
    }
    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete sim2;
        delete sim3;
    }

    void theSimulatedPortsAreOfferedInEveryPortList()
    {
        QComboBox *c = console->form()->comboBox_calib_multi_serial16;
        QCOMPARE(c->itemText(0), QString());
        QVERIFY(c->findText(sim2->portPath() + " # simulated") > 0);
        QVERIFY(console->form()->comboBox_calib_multi_DC_power->findText(sim3->portPath() + " # simulated") > 0);
    }

    void aPortConflictShowsItsWarningAndLinksNothing()
    {
        selectPort(2, sim2);
        selectPort(5, sim2);
        console->connect_serial_port(1);
        QCOMPARE(prompter.texts(), QStringList{"Serial port number conflict for serial port 1"});
        QCOMPARE(prompter.shown[0].title, QString("Warning"));
        for (int i = 0; i < MultiCalib::kRackLinks; ++i)
            QVERIFY(!console->rackWorker(i));
        selectPort(5, nullptr);

        // A rack combo on the main link's port: the combo's full text is compared by its port.
        prompter.shown.clear();
        g_port_name = sim3->portPath();
        selectPort(3, sim3);
        console->connect_serial_port(1);
        QCOMPARE(prompter.texts(), QStringList{"Serial port number conflict for serial port 2"});
        QVERIFY(!console->rackWorker(0));
        g_port_name = "/dev/ttyMAIN";
        prompter.shown.clear();
    }

    void connectingLinksBothPlatesOnTheirSuccessReports()
    {
        selectPort(2, sim2);
        selectPort(3, sim3);
        QSignalSpy record(console, &MultiCalib::signal_label_record_visible);
        console->connect_serial_port(1);
        QVERIFY(console->rackWorker(0) && console->rackWorker(1));
        QCOMPARE(g_link_status[1], uint8_t(0)); // not before the worker reports
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_link_status[2] == 1; }));
        QCOMPARE(record.size(), 2);
        QVERIFY(prompter.shown.isEmpty());
        setIntervals(50); // shorter repeat waits keep the broadcasts below quick

        // Connecting everything again keeps the links that are up.
        WorkerThread_Multi *w0 = console->rackWorker(0);
        console->connect_serial_port(1);
        QTest::qWait(200);
        QCOMPARE(console->rackWorker(0), w0);
        QCOMPARE(g_link_status[1], uint8_t(1));
        QCOMPARE(g_link_status[2], uint8_t(1));
    }

    void code46ReachesEveryPlateAsTheDateThenAccelerometerCalibration()
    {
        bothPlatesLinked();
        sim2->clearReceived();
        sim3->clearReceived();
        // The date's repeats at their full spacing: 56004, sent after a short wait, comes before
        // the last of them on any machine.
        setIntervals(500);
        console->rev_log_from_worker(46, QString());
        for (ModuleSimulator *sim : {sim2, sim3}) {
            QVERIFY(waitUntil([&] { return ids(sim).count(56004) == 10 && ids(sim).count(30007) == 10; }, 30000));
            const QList<ModuleSimulator::ReceivedCommand> cmds = sim->commands();
            QCOMPARE(cmds.first().cmd.cmd_id, uint16_t(30007));
            QCOMPARE(cmds.first().cmd.cm3, calibDateWord(clock.now().date()));
            QCOMPARE(cmds.first().cmd.cm1, 0.0f);
            // 56004 does not wait for the date's repeats (the turntable holds each position only
            // for a while); each id keeps its own repeats (their spacing is the link's own test).
            QVERIFY(ids(sim).indexOf(56004) < ids(sim).lastIndexOf(30007));
        }
        setIntervals(50);
    }

    void aCalibrationFrameFromPlateTwoFillsPlateTwosTable()
    {
        bothPlatesLinked();
        for (int k = 0; k < 32; ++k) {
            sim2->imus[size_t(k)].time_ms = 7000 + uint32_t(k);
            sim2->imus[size_t(k)].calib_flag_h = 3999;
            sim2->imus[size_t(k)].calib_status = 56005;
        }
        sim2->imus[9].calib_flag_h = 4095;
        const uint64_t before = g_calib_status.generation(1);
        sim2->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim2->imus));
        sim2->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return g_calib_status.generation(1) > before && console->baseBoardReported(1); }));
        showTables();
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(t->item(13, 1)->text(), QString("7000"));
        QCOMPARE(t->item(13, 32)->text(), QString("7031"));
        QCOMPARE(t->item(1, 10)->text(), QString("4095"));
        QCOMPARE(t->item(1, 10)->background().color(), QColor(Qt::yellow));
        QCOMPARE(t->item(1, 9)->background().style(), Qt::NoBrush);
        QCOMPARE(console->plateTable(2)->item(13, 1)->text(), QString("0")); // plate 3 sent nothing yet
        QCOMPARE(console->shownGeneration(1), g_calib_status.generation(1));
        QCOMPARE(console->form()->tableWidget_calib_multi_total->item(16, 2)->text(), QString("5"));
    }

    void closingOnePlateLeavesTheOtherLinked()
    {
        bothPlatesLinked();
        g_expected_calib_flag = 3999; // a run's verdict: it ends with the plate's link
        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        QCOMPARE(g_expected_calib_flag, 0u);
        QCOMPARE(g_link_status[1], uint8_t(0));
        QCOMPARE(g_link_status[2], uint8_t(1));
        QTest::qWait(200);
        const uint64_t g2 = g_calib_status.generation(1);
        const uint64_t g3 = g_calib_status.generation(2);
        sim2->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim2->imus));
        sim3->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim3->imus));
        QVERIFY(waitUntil([&] { return g_calib_status.generation(2) > g3; }));
        QTest::qWait(200);
        QCOMPARE(g_calib_status.generation(1), g2); // plate 2's port is closed

        // A late success report for the closed plate changes nothing.
        console->connectIsOk_Worker_Multi(0, true);
        QCOMPARE(g_link_status[1], uint8_t(0));
    }

    void closingEverythingClearsTheFlagsAndTellsTheCommandPage()
    {
        bothPlatesLinked();
        QSignalSpy toCmdPage(console, &MultiCalib::signal_log_from_multi_calib);
        console->connect_serial_port(0);
        for (int i = 1; i < 16; ++i)
            QCOMPARE(g_link_status[i], uint8_t(0));
        QVERIFY(!console->baseBoardReported(1));
        QCOMPARE(toCmdPage.size(), 1);
        QCOMPARE(toCmdPage[0][0].value<uint8_t>(), uint8_t(72));
        QVERIFY(console->rackWorker(1)); // workers are kept
    }

    void reconnectingMakesANewWorkerAndLinksAgain()
    {
        bothPlatesLinked();
        console->connect_serial_port(0); // closed: the next connect makes new workers
        QPointer<WorkerThread_Multi> old = console->rackWorker(0);
        console->connect_serial_port(1);
        QVERIFY(console->rackWorker(0) != old.data());
        QVERIFY(waitUntil([&] { return old.isNull(); }));
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_link_status[2] == 1; }));
    }

    void equipmentOnTheMainLinksPortIsRefusedWithItsOwnWarning()
    {
        Ui::MultiCalib *ui = console->form();
        const QString item = sim3->portPath() + " # simulated";
        ui->comboBox_calib_multi_turn_table->setCurrentIndex(ui->comboBox_calib_multi_turn_table->findText(item));
        ui->comboBox_calib_multi_serial_net->setCurrentIndex(ui->comboBox_calib_multi_serial_net->findText(item));
        g_port_name = sim3->portPath();
        prompter.shown.clear();
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        console->on_clicked_pushButton_connect_calib_multi_net();
        QCOMPARE(prompter.texts(), (QStringList{"Serial port number conflict of the turntable",
                                                "Serial port number conflicts on the network"}));
        QCOMPARE(prompter.shown[1].title, QString("warning"));
        QVERIFY(!console->turnTableWorker() && !console->netWorker());
        g_port_name = "/dev/ttyMAIN";
        ui->comboBox_calib_multi_turn_table->setCurrentIndex(0);
        prompter.shown.clear();
    }

    void theBaseBoardLinkIsLinkedOnItsSuccessReportAndClosedWithTheRest()
    {
        bothPlatesLinked();
        ModuleSimulator unit;
        QVERIFY(unit.isValid());
        console->form()->comboBox_calib_multi_serial_net->addItem(unit.portPath() + " # simulated");
        console->form()->comboBox_calib_multi_serial_net->setCurrentIndex(console->form()->comboBox_calib_multi_serial_net->count() - 1);
        console->connect_serial_port(1);
        QVERIFY(console->netWorker());
        QVERIFY(waitUntil([] { return g_net_connected == 1; }));
        console->connect_serial_port(0);
        QCOMPARE(g_net_connected, uint8_t(0));
        QVERIFY(TestKit::retireWorker(console->netWorker()));
        console->form()->comboBox_calib_multi_serial_net->setCurrentIndex(0);
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_link_status[2] == 1; }));
    }

    // Plate 2's link is closed and opened again just after its worker reported a lost line and
    // a failed open: the retired worker's reports reach the console after the new worker is made
    // (it may sit where the retired one sat) and act for nothing; the new link comes up.
    void aRetiredPlateWorkersLateReportsActForNothing()
    {
        bothPlatesLinked();
        QSignalSpy logs(console, &MultiCalib::signalTranspondLog);
        reportThenRelink(console->rackWorker(0), [this] { console->on_clicked_pushButton_connect_calib_multi_serial(0); },
                         [](WorkerThread_Multi *retired) {
                             emit retired->signal_linkLost(0, "line gone");
                             emit retired->signal_connectIsSuccess(0, false);
                         });
        QVERIFY2(waitUntil([] { return g_link_status[1] == 1; }), qPrintable(spiedTexts(logs).join(" | ")));
        QVERIFY2(spiedTexts(logs).filter("Plate 2: link").isEmpty(), qPrintable(spiedTexts(logs).join(" | ")));
        QCOMPARE(g_link_status[2], uint8_t(1));
    }

    // Plate 3's link is opened again: plate 2's worker is still current and its reports count.
    void anotherPlatesNewWorkerLeavesThisPlatesReportsCounting()
    {
        bothPlatesLinked();
        console->on_clicked_pushButton_connect_calib_multi_serial(1); // plate 3 closed
        console->on_clicked_pushButton_connect_calib_multi_serial(1); // and opened with a new worker
        QVERIFY(waitUntil([] { return g_link_status[2] == 1; }));
        WorkerThread_Multi *w = console->rackWorker(0);
        QMetaObject::invokeMethod(w, [w] { emit w->signal_linkLost(0, "line gone"); }, Qt::BlockingQueuedConnection);
        QVERIFY(waitUntil([] { return g_link_status[1] == 0; }));
    }

    // The base-board link is closed and opened again just after its worker reported a lost line
    // and a failed open: the retired worker's reports act for nothing; the new link comes up.
    void aRetiredBaseBoardWorkersLateReportsActForNothing()
    {
        ModuleSimulator unit;
        QVERIFY(unit.isValid());
        QComboBox *combo = console->form()->comboBox_calib_multi_serial_net;
        combo->addItem(unit.portPath() + " # simulated");
        combo->setCurrentIndex(combo->count() - 1);
        const auto unlinked = qScopeGuard([&] {
            if (g_net_connected || console->netWorker())
                console->on_clicked_pushButton_connect_calib_multi_net();
            TestKit::retireWorker(console->netWorker());
            combo->setCurrentIndex(0);
        });
        console->on_clicked_pushButton_connect_calib_multi_net();
        QVERIFY(waitUntil([] { return g_net_connected == 1; }));
        QSignalSpy logs(console, &MultiCalib::signalTranspondLog);
        reportThenRelink(console->netWorker(), [this] { console->on_clicked_pushButton_connect_calib_multi_net(); },
                         [](WorkerThread_net *retired) {
                             emit retired->signal_linkLost("line gone");
                             emit retired->signal_connectIsSuccess(false);
                         });
        QVERIFY2(waitUntil([] { return g_net_connected == 1; }), qPrintable(spiedTexts(logs).join(" | ")));
        QVERIFY2(spiedTexts(logs).filter("Base-board link: link").isEmpty(), qPrintable(spiedTexts(logs).join(" | ")));
    }

    void everyTickReportsTheLinkedPlates()
    {
        bothPlatesLinked();
        sim3->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(6, 10));
        QVERIFY(waitUntil([&] { return console->baseBoardReported(2); }));
        showTables();
        QSignalSpy logs(console, &MultiCalib::signal_log);
        console->calib_multi_ackTimeout();
        QStringList verdicts;
        for (const auto &a : logs)
            if (a[0].value<uint8_t>() == 73)
                verdicts << a[1].toString();
        QCOMPARE(verdicts.size(), 16);
        QCOMPARE(verdicts[1], QString("2_unconnected")); // its report was cleared with the close
        QVERIFY(verdicts[2] == "3_pass" || verdicts[2] == "3_fail");
    }
};

QTEST_MAIN(TestConsoleLinks)
#include "test_console_links.moc"

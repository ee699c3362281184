// The console's long runs end truthfully and stop when asked: a simulated plate behind a real
// rack link, the real turntable worker against the turntable simulator on pseudo-terminals, a
// fake chamber that answers the console's signals, and the loopback upload service. Times are
// scaled.
#include <QDir>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

#include "app/Settings.h"
#include "equipment/StationValues.h"
#include "link/WorkerThread.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "sim/TurntableSim.h"
#include "station/AllanRetest.h"
#include "station/ConsoleLogic.h"
#include "station/FormWorkOrderDetails.h"
#include "station/UploadOutbox.h"
#include "ConsoleSeams.h"
#include "ConsoleTurntable.h"
#include "PlateReports.h"
#include "tests/station/UploadServer.h"
#include "ui_MultiCalib.h"
#include "ui_multi_calib_cmd.h"

using TestKit::waitUntil;

class TestRunsConsole : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    TurntableSim *table = nullptr;
    TurntableSim *lostTable = nullptr; // a controller whose line goes away
    UploadServer *server = nullptr;
    MultiCalib *console = nullptr;
    float chamberTemp = 25.0f;
    // The soaks count wall-clock seconds: a minute passes every two milliseconds.
    MinuteTicker minutes{clock, [this] { console->show_heat_value(chamberTemp); }};
    QTimer chamberReports; // the fake chamber reports its temperature as a polled one would
    bool chamberFollows = true; // the fake chamber reaches each set point
    QList<int> startStop, dcCodes;
    QStringList logLines;
    int rotationsAsked = 0;
    QMetaObject::Connection rotationCounter;
    QPointer<WorkerThread> mainLink; // a main link a function opened beside the console's own
    uint8_t staticCountdownMin = 0;   // the station's value before the functions changed it

    QList<QPushButton *> startButtons() const
    {
        Ui::MultiCalib *ui = console->form();
        Ui::multi_calib_cmd *page = console->commandPage()->form();
        return {ui->pushButton_hothouse_cmd_auto_include_dc_control, ui->pushButton_temperature_retest,
                ui->pushButton_advanced_calib, ui->pushButton_advanced_calib_retest, ui->pushButton_advanced_retest,
                page->pushButton_static_retest, page->pushButton_allan_advanced_4h, ui->pushButton_one_click_calib};
    }
    void unlinkPlate()
    {
        if (g_link_status[1])
            console->on_clicked_pushButton_connect_calib_multi_serial(0);
    }
    QList<uint16_t> plateCommandIds() const
    {
        QList<uint16_t> out;
        for (const auto &c : sim->commands())
            out << c.cmd.cmd_id;
        return out;
    }
    // The log window's lines of stopped runs (the log also has the links' and reports' lines).
    QStringList stopLines() const { return logLines.filter(" stopped: "); }
    // The one-click run's stop as the table hears it: the worker stops its sequence (both axes),
    // then the outer frame's stop. Anything the table hears after it was sent after the stop.
    bool tableHeardTheStopLast() const
    {
        const QStringList heard = table->commands();
        return heard.mid(heard.size() - 3) == QStringList{"STOP X", "STOP Y", "STOP Y"};
    }
    bool allStartsEnabled() const
    {
        for (QPushButton *b : startButtons())
            if (!b->isEnabled())
                return false;
        return true;
    }
    void countRotations()
    {
        rotationCounter = connect(console, &MultiCalib::signal_turnTable_constant_heat_rotate, this, [this] { ++rotationsAsked; });
    }
    void linkTurntable(TurntableSim *controller = nullptr)
    {
        if (g_turn_table_connected)
            return;
        QVERIFY(linkConsoleTurntable(console, controller ? controller : table));
    }
    void linkPlate()
    {
        if (g_link_status[1])
            return;
        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }));
        setRepeatSpacing(console->rackWorker(0), 20, 40);
    }
    void clearRecords()
    {
        startStop.clear();
        dcCodes.clear();
        logLines.clear();
        prompter.shown.clear();
        prompter.answers.clear();
        sound.played.clear();
        rotationsAsked = 0;
        table->clearCommands();
        sim->clearReceived();
        // The links the runs need are up (the chamber and the supply are stand-ins here).
        g_hothouse_connected = 1;
        g_dc_power_connected = 1;
    }
    // Nothing more reaches the turntable or the plate once a tick has passed.
    void expectSilence()
    {
        QTest::qWait(50);
        const int turntable = table->commands().size();
        const int plate = sim->commands().size();
        const int chamber = startStop.size();
        QTest::qWait(400);
        QCOMPARE(table->commands().size(), turntable);
        QCOMPARE(sim->commands().size(), plate);
        QCOMPARE(startStop.size(), chamber);
    }

    // Clears the calibration records a function wrote (reportingPlate), whatever check ended it.
    struct ClearedRecords {
        ~ClearedRecords() { g_calib_status.clearAll(); }
    };
    // Starts the one-click run and waits until the table turns.
    void startOneClickRun()
    {
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return !table->commands().isEmpty(); }));
    }
    // Links, starts the one-click run and gives it modules to post had it completed; returns
    // how many posts the service has had before.
    int startOneClickRunWithModulesToPost()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        const int posted = server->requests().size();
        startOneClickRun();
        reportingPlate(1, 3999);
        return posted;
    }
    // The worker reports its sequence's end and a failure in its own thread, queued to the console.
    static void reportEndAndFailure(WorkerThread_turn_table *w)
    {
        emit w->signal_log(62, QString::fromUtf8("一键标定+复测 completed"));
        emit w->signal_log(59, "tracking fault");
    }
    // A late end and failure acted for nothing: no box, no alarm, no post, no tip line.
    void expectEndAndFailureIgnored(int posted)
    {
        QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.texts().join(" | ")));
        QVERIFY(!sound.played.contains(Sounds::Class));
        QCOMPARE(server->requests().size(), posted);
        QVERIFY(!logLines.contains("Tip: tracking fault"));
    }

    // The plate's IMUs report a status word (the one frame a test gives them).
    void sendStatus(uint32_t status)
    {
        for (auto &imu : sim->imus) {
            imu.time_ms = 1000;
            imu.calib_status = status;
        }
        QVERIFY(PlateReports::sendAndWait(sim, 1));
    }
    // Starts the four-hour Allan run and brings its modules through the retest to its end report.
    void runFourHourAllanToItsEndReport()
    {
        multi_calib_cmd *page = console->commandPage();
        prompter.answers = {QMessageBox::Yes};
        page->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanFourHour);
        QVERIFY(waitUntil([&] { return page->fourHourTicks() > 61; }, 60000)); // the retest command is out
        sendStatus(58416);
        const uint32_t seen = page->fourHourTicks();
        QVERIFY(waitUntil([&] { return page->fourHourTicks() > seen + 2; }));
        sendStatus(kAllanRetestEnded);
    }

    // A real main link on this simulator, wired to the console as the main window wires it:
    // it is plate 1 while it is open.
    WorkerThread *linkMainPlate(ModuleSimulator &plate)
    {
        WorkerThread *w = createWorker(plate.portPath(), 921600);
        mainLink = w;
        connect(w, &WorkerThread::signal_connectIsSuccess, this, [](bool ok) { g_link_status[0] = ok ? 1 : 0; });
        connect(w, &WorkerThread::signal_linkLost, console, &MultiCalib::linkLost_main);
        return w;
    }

private slots:
    void initTestCase()
    {
        server = new UploadServer(TestKit::workDir() + "/runs_upload");
        QVERIFY(server->port() > 0);
        getSettings()->setValue("httpAddr/officialAddr",
                                QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(server->port()));
        getSettings()->setValue("httpAddr/timeoutMs", 3000);
        getSettings()->setValue("turnTableType/type", "0");
        getSettings()->setValue("main_index/DC_type", 1); // the supply model a run needs
        getSettings()->sync();
        g_dc_power_type = 1;
        g_turn_table_move_time = 5;
        g_turn_table_acc_time = 1;
        g_turn_table_gyro_time = 1;
        g_turn_table_gyro_nonlinearity_time = 1;
        g_turn_table_acc_nonlinearity_time = 1;
        staticCountdownMin = g_static_test_countdown_min.load();

        sim = new ModuleSimulator;
        table = new TurntableSim;
        QVERIFY(sim->isValid() && table->isValid());
        table->speedUp = 400;
        lostTable = new TurntableSim;
        QVERIFY(lostTable->isValid());
        lostTable->speedUp = 400;
        qputenv("KELVANTO_EXTRA_PORTS",
                (sim->portPath() + ":" + table->portPath() + ":" + lostTable->portPath()).toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run go out
        console = new MultiCalib;
        console->form()->textEdit_dc_power_supply_max_voltage->setPlainText("12"); // a set-point a run takes
        console->form()->textEdit_dc_power_supply_max_current->setPlainText("2");
        console->setScriptTiming(2, 0.001);
        console->commandPage()->setRunSecondMs(2);
        FormWorkOrderDetails::installAnswerer([](FormWorkOrderDetails &d) { d.on_buttonBox_rejected(); });

        // The fake chamber reaches every set point a few milliseconds after it is sent and reports
        // its temperature every 200 ms.
        connect(console, &MultiCalib::hothouse_set_target_temp, this,
                [this](int16_t t) {
                    if (!chamberFollows)
                        return;
                    QTimer::singleShot(4, console, [this, t] {
                        chamberTemp = float(t);
                        console->show_heat_value(chamberTemp);
                    });
                });
        connect(&chamberReports, &QTimer::timeout, this, [this] { console->show_heat_value(chamberTemp); });
        chamberReports.start(200);
        connect(console, &MultiCalib::hothouse_generate_start_stop_cmd, this, [this](uint8_t on) { startStop << on; });
        connect(console, &MultiCalib::dc_control_cmd, this, [this](uint16_t c) { dcCodes << c; });
        connect(console, &MultiCalib::signalTranspondLog, this, [this](QString line) { logLines << line; });
        countRotations();
        console->show_heat_value(25.0f);

        QVERIFY(pickSimulatedPort(console->form()->comboBox_calib_multi_serial2, sim->portPath()));
        linkPlate();
    }

    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        FormWorkOrderDetails::installAnswerer(nullptr);
        delete console;
        delete sim;
        delete table;
        delete lostTable;
        delete server;
    }

    // Whatever check ended a function: no run holds the station, the times and stand-ins are
    // as the functions expect them, and a main link the function opened is retired.
    void cleanup()
    {
        minutes.stop();
        stopAnyRun(console);
        chamberFollows = true;
        prompter.whileShown = nullptr;
        g_recording = 0;
        g_static_test_countdown_min = staticCountdownMin;
        console->setScriptTiming(2, 0.001);
        console->commandPage()->setRunSecondMs(2);
        if (!rotationCounter)
            countRotations();
        QVERIFY(TestKit::retireWorker(mainLink.data()));
        g_link_status[0] = 0;
    }

    void anAdvancedRunWhoseTurntableLinkClosesStopsWithAMessageAndPostsNothing()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        QVERIFY(!console->runGuard()->idle());
        QVERIFY(!console->form()->pushButton_advanced_calib->isEnabled());
        // Wait for the first rotation to be on the table, then close the turntable link.
        QVERIFY(waitUntil([&] { return rotationsAsked == 1 && !table->commands().filter("POS").isEmpty(); }, 30000));
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(!console->advancedSequencePending());
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: turntable link closed"});
        QVERIFY(allStartsEnabled());
        QCOMPARE(startStop.last(), 0); // the chamber the run started is off
        expectSilence();
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        QVERIFY(server->requests().isEmpty());
    }

    void anAdvancedRunWhoseTurntableLineGoesAwayStopsAndPostsNothing()
    {
        linkPlate();
        if (g_turn_table_connected)
            console->on_clicked_pushButton_connect_calib_multi_turn_table();
        linkTurntable(lostTable);
        clearRecords();
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return rotationsAsked == 1 && !lostTable->commands().filter("POS").isEmpty(); }, 30000));
        lostTable->hangUp();
        QVERIFY(waitUntil([&] { return console->runGuard()->idle(); }));
        QCOMPARE(g_turn_table_connected, uint8_t(0));
        QCOMPARE(stopLines().size(), 1);
        QVERIFY(stopLines().first().startsWith("Advanced retest stopped: "));
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(allStartsEnabled());
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        QTest::qWait(300);
        QVERIFY(server->requests().isEmpty());
        sound.looping.clear();
    }

    void aRotationWithoutTheTurntableStopsTheRunWithTheAlarm()
    {
        linkPlate();
        linkTurntable();
        // The worker is there but its controller is closed: the rotation cannot happen.
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QCOMPARE(g_turn_table_connected, uint8_t(0));
        clearRecords();
        g_turn_table_connected = 1; // as a link whose controller went away would still show
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return console->runGuard()->idle(); }, 30000));
        QCOMPARE(rotationsAsked, 1);
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: rotation failed: turntable not connected"});
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(prompter.texts().last().contains("nothing is uploaded"));
        QCOMPARE(console->advancedRunState().step, uint8_t(0)); // no step counted as rotated
        QVERIFY(allStartsEnabled());
        QTest::qWait(200);
        QVERIFY(server->requests().isEmpty());
        g_turn_table_connected = 0;
    }

    void anAdvancedRunWithNoTurntableAtAllStopsAtItsFirstRotation()
    {
        linkPlate();
        if (g_turn_table_connected)
            console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QVERIFY(TestKit::retireWorker(console->turnTableWorker()));
        QVERIFY(!console->turnTableWorker());
        disconnect(rotationCounter); // nobody listens for rotations now
        clearRecords();
        g_turn_table_connected = 1; // as the link flag of a worker that went away would still show
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 30000);
        g_turn_table_connected = 0;
        countRotations();
        QVERIFY(stopped);
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: rotation failed: turntable not linked"});
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        QVERIFY(allStartsEnabled());
        QTest::qWait(200);
        QVERIFY(server->requests().isEmpty());
    }

    void aReLinkDuringARunNeverLeavesItWaiting()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return rotationsAsked == 1; }, 30000));
        // Closed and opened again while the run rotates: the run has ended, nothing waits.
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        linkTurntable();
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(allStartsEnabled());
        // A new run listens to the new worker: its first rotation completes and the run goes on.
        clearRecords();
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return console->advancedRunState().step >= 1; }, 30000));
        QVERIFY(console->hothouseAdvancedTimer()->isActive());
        console->stopActiveRun("stopped by the test");
        QCOMPARE(stopLines().last(), QString("Advanced retest stopped: stopped by the test"));
        QVERIFY(allStartsEnabled());
        expectSilence();
    }

    void closingTheChamberLinkInTheFirstSecondsOfAnAdvancedStartStopsIt()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        g_recording = 1;
        console->setScriptTiming(2, 0.01); // the start's 15 s wait lasts 150 ms
        console->on_pushButton_advanced_calib();
        QVERIFY(waitUntil([&] { return !sim->commands().isEmpty(); })); // the reset, 59999
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();   // during the 15 s wait
        console->setScriptTiming(2, 0.001);
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Advanced calibration stopped: chamber link closed"});
        QVERIFY(!console->advancedSequencePending());
        QVERIFY(allStartsEnabled());
        // The stop's own halt of both axes reaches the table (late on a loaded machine) before
        // the silence is counted.
        QVERIFY(waitUntil([&] { return table->commands() == QStringList({"STOP X", "STOP Y"}); }));
        expectSilence(); // the reset's repeats end with the run
        for (const auto &c : sim->commands())
            QCOMPARE(c.cmd.cmd_id, uint16_t(59999)); // neither the date nor 51000 went out
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(startStop.isEmpty() || startStop.last() == 0);
        g_recording = 0;
    }

    void anAdvancedStartWithoutItsLinksIsRefusedByNameAndSendsNothing()
    {
        linkPlate();
        if (g_turn_table_connected)
            console->on_clicked_pushButton_connect_calib_multi_turn_table();
        clearRecords();
        g_recording = 1;
        console->on_pushButton_advanced_retest();
        console->on_pushButton_advanced_calib();
        console->on_pushButton_advanced_calib_retest();
        QVERIFY(console->runGuard()->idle());
        const QString noTable = "Cannot start: not linked: turntable";
        QCOMPARE(prompter.texts(), (QStringList{noTable, noTable, noTable}));
        g_hothouse_connected = 0;
        console->on_pushButton_advanced_retest();
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(prompter.texts().last(), QString("Cannot start: not linked: chamber, turntable"));
        QCOMPARE(logLines.filter("Cannot start: not linked: ").size(), 4);
        g_recording = 0;
        if (!console->runGuard()->idle())
            console->stopActiveRun("stopped by the test");
        QTest::qWait(300);
        QVERIFY(sim->commands().isEmpty());
        QVERIFY(startStop.isEmpty());
        QVERIFY(allStartsEnabled());
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
    }

    void aStopSilencesTheCommandsAPlateLinkStillRepeats()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        // Ten sends 100 ms apart: the start's 52000 is still repeating at the stop.
        setRepeatSpacing(console->rackWorker(0), 100, 100);
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return !sim->commands().isEmpty(); }));
        console->stopActiveRun("stopped by the test");
        expectSilence();
        QVERIFY(sim->commands().size() < 10);
        setRepeatSpacing(console->rackWorker(0), 20, 40);
        QVERIFY(allStartsEnabled());
    }

    void oneRunAtATime()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        console->on_pushButton_advanced_retest();
        QVERIFY(!console->runGuard()->idle());
        for (QPushButton *b : startButtons())
            QVERIFY(!b->isEnabled());
        const QString busy = "Advanced retest is running: stop it before starting another run";
        prompter.shown.clear();
        console->on_pushButton_advanced_calib();
        console->on_pushButton_temperature_retest_clicked();
        console->commandPage()->on_pushButton_static_retest_clicked();
        console->commandPage()->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(prompter.texts(), (QStringList{busy, busy, busy, busy}));
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        QVERIFY(!console->commandPage()->staticRunTicking());
        console->stopActiveRun("stopped by the test"); // the start's 52000 repeats end with the run
        QVERIFY(allStartsEnabled());
        expectSilence();
    }

    void closingAllLinksStopsTheTemperatureScript()
    {
        linkPlate();
        clearRecords();
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::TempRetest);
        QVERIFY(console->hothouseScriptTimer()->isActive());
        QVERIFY(!allStartsEnabled());
        console->connect_serial_port(0);
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Temperature retest script stopped: all links closed"});
        QVERIFY(allStartsEnabled());
        const uint32_t seconds = console->chamberScriptState().runSeconds;
        QTest::qWait(300);
        QCOMPARE(console->chamberScriptState().runSeconds, seconds);
        QVERIFY(server->requests().isEmpty());
    }

    void theStaticAllanRunStopsWhenItsPlateLinksClose()
    {
        linkPlate();
        clearRecords();
        prompter.answers = {QMessageBox::Yes};
        console->commandPage()->on_pushButton_static_retest_clicked();
        QVERIFY(console->commandPage()->staticRunTicking());
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanStatic);
        QVERIFY(!allStartsEnabled());
        QVERIFY(waitUntil([&] { return console->commandPage()->staticTicks() > 3; }));
        console->on_clicked_pushButton_connect_calib_multi_serial(0); // the only plate link
        QVERIFY(!console->commandPage()->staticRunTicking());
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Static Allan retest stopped: base-board links closed"});
        QVERIFY(allStartsEnabled());
        const uint32_t ticks = console->commandPage()->staticTicks();
        expectSilence();
        QCOMPARE(console->commandPage()->staticTicks(), ticks);
        QVERIFY(server->requests().isEmpty());
    }

    void theFourHourAllanRunStopsWhenTheSupplyLinkCloses()
    {
        linkPlate();
        clearRecords();
        g_recording = 1;
        prompter.answers = {QMessageBox::Yes};
        console->commandPage()->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanFourHour);
        QVERIFY(waitUntil([&] { return dcCodes.contains(102); })); // power off after a (scaled) minute
        console->on_clicked_pushButton_connect_dc_power_ctrl();      // the supply link closes
        QCOMPARE(g_dc_power_connected, uint8_t(0));
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Advanced Allan retest stopped: DC supply link closed"});
        QVERIFY(allStartsEnabled());
        // The power-on after the (scaled) half hour never comes, nor does the retest command.
        QTest::qWait(4000);
        QCOMPARE(dcCodes, QList<int>{102});
        QVERIFY(!console->commandPage()->fourHourRunTicking());
        for (const auto &c : sim->commands())
            QVERIFY(c.cmd.cmd_id != 58416);
        QVERIFY(server->requests().isEmpty());
        g_recording = 0;
    }

    void theOneClickRunAndTheOtherRunsNeverShareTheStation()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        Ui::MultiCalib *ui = console->form();
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(console->oneClickRunning());
        QVERIFY(waitUntil([&] { return !table->commands().isEmpty(); })); // the table turns
        QVERIFY(!allStartsEnabled());
        const QString busy = "One-click turntable calibration is running: stop it before starting another run";
        prompter.shown.clear();
        console->on_pushButton_temperature_retest_clicked();
        console->on_pushButton_advanced_retest();
        console->commandPage()->on_pushButton_static_retest_clicked();
        QCOMPARE(prompter.texts(), (QStringList{busy, busy, busy}));
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(!plateCommandIds().contains(52000) && !plateCommandIds().contains(59999));
        QVERIFY(startStop.isEmpty() && dcCodes.isEmpty());
        console->stopActiveRun("stopped by the test");
        QCOMPARE(stopLines(), QStringList{"One-click turntable calibration stopped: stopped by the test"});
        QVERIFY(allStartsEnabled());
        QVERIFY(ui->radioButtonNormalTest->isEnabled());
        // The stop's frame stops are the last the table hears: a move heard before them was sent
        // before the worker reached the stop, even when the table reads it after the stop line.
        QVERIFY2(waitUntil([&] { return tableHeardTheStopLast(); }), qPrintable(table->commands().join(" | ")));

        // The reverse: a script holds the station, the one-click start sends nothing.
        clearRecords();
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::TempRetest);
        QSignalSpy common(console, &MultiCalib::signal_common_cmd);
        prompter.shown.clear();
        console->on_pushButton_one_click_calib_clicked();
        QCOMPARE(prompter.texts(), QStringList{"Temperature retest script is running: stop it before starting another run"});
        QCOMPARE(common.size(), 0);
        QVERIFY(!console->oneClickRunning());
        console->stopActiveRun("stopped by the test");
        QTest::qWait(300);
        QVERIFY2(table->commands().isEmpty(), qPrintable(table->commands().join(" | "))); // nothing since
        QVERIFY(allStartsEnabled());
    }

    void theOneClickButtonComesBackInEnglish()
    {
        QTranslator english;
        QVERIFY(english.load(qEnvironmentVariable("TEST_BINARY_DIR") + "/English.qm"));
        QCoreApplication::installTranslator(&english);
        linkPlate();
        linkTurntable();
        clearRecords();
        Ui::MultiCalib *ui = console->form();
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return !table->commands().isEmpty(); }));
        QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
        // The operator stops the frame: the sequence ends with its English report.
        QTest::mouseClick(ui->pushButton_neihuan_control_stop_manual, Qt::LeftButton);
        const bool back = waitUntil([&] { return ui->pushButton_one_click_calib->isEnabled(); });
        QCoreApplication::removeTranslator(&english);
        QVERIFY(back);
        QVERIFY(ui->radioButtonNormalTest->isEnabled());
        QVERIFY(console->runGuard()->idle());
    }

    void anAllanStartWithoutItsPlateOrSupplyIsRefusedByNameAndSendsNothing()
    {
        unlinkPlate();
        clearRecords();
        g_recording = 1;
        multi_calib_cmd *page = console->commandPage();
        page->on_pushButton_static_retest_clicked();
        QCOMPARE(prompter.texts(), QStringList{"Cannot start: not linked: base boards"});
        QVERIFY(!page->staticRunTicking());
        QVERIFY(console->runGuard()->idle());
        linkPlate();
        clearRecords();
        g_dc_power_connected = 0;
        page->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(prompter.texts(), QStringList{"Cannot start: not linked: DC supply"});
        QVERIFY(console->runGuard()->idle());
        QTest::qWait(300);
        QVERIFY(dcCodes.isEmpty());
        QVERIFY(sim->commands().isEmpty());
        QVERIFY(allStartsEnabled());
        g_recording = 0;
    }

    // The plate link closes while the static run's start question waits: Yes starts nothing, and
    // the refusal names the link as it would have before the question.
    void aPlateLinkClosedWhileTheStaticStartQuestionWaitsRefusesTheRunByName()
    {
        linkPlate();
        clearRecords();
        const QString question = QString("After %1min,start sending static retest commands in 5 minutes!！")
                                     .arg(g_static_test_countdown_min.load());
        const auto hook = prompter.whileEachShown([&](const QString &text) {
            if (text == question)
                unlinkPlate();
        });
        QSignalSpy logImus(console->commandPage(), &multi_calib_cmd::signal_auto_log_imu);
        prompter.answers = {QMessageBox::Yes};
        multi_calib_cmd *page = console->commandPage();
        const uint32_t ticks = page->staticTicks();
        page->on_pushButton_static_retest_clicked();
        const QStringList texts = prompter.texts(); // the work order's box comes first
        QCOMPARE(texts.mid(texts.indexOf(question)), (QStringList{question, "Cannot start: not linked: base boards"}));
        QVERIFY(logLines.contains("Cannot start: not linked: base boards"));
        QVERIFY(!page->staticRunTicking());
        QVERIFY(console->runGuard()->idle());
        QVERIFY(allStartsEnabled());
        QCOMPARE(logImus.size(), 0);
        QTest::qWait(100);
        QCOMPARE(page->staticTicks(), ticks);
        QVERIFY(sim->commands().isEmpty());
    }

    void aScriptWithNoPlateLinkedIsRefused()
    {
        unlinkPlate();
        clearRecords();
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(prompter.texts().contains("Cannot start: not linked: base boards"));
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(dcCodes.isEmpty() && startStop.isEmpty());
        linkPlate();
    }

    void losingTheMainLinkStopsARunWhoseOnlyPlateItWas()
    {
        unlinkPlate();
        ModuleSimulator mainPlate;
        QVERIFY(mainPlate.isValid());
        WorkerThread *w = linkMainPlate(mainPlate);
        QVERIFY(waitUntil([] { return g_link_status[0] == 1; }));
        clearRecords();
        prompter.answers = {QMessageBox::Yes};
        console->commandPage()->on_pushButton_static_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanStatic);
        QVERIFY(waitUntil([&] { return console->commandPage()->staticTicks() > 3; }));
        mainPlate.hangUp();
        QVERIFY(waitUntil([&] { return console->runGuard()->idle(); }));
        QCOMPARE(stopLines(), QStringList{"Static Allan retest stopped: main link lost"});
        QVERIFY(!console->commandPage()->staticRunTicking());
        QVERIFY(allStartsEnabled());
        QCOMPARE(g_link_status[0], uint8_t(0));
        QVERIFY(TestKit::retireWorker(w));
        linkPlate();
    }

    void aStaticAllanRunWithoutItsEndReportStopsAtItsBound()
    {
        linkPlate();
        clearRecords();
        const uint8_t quiet = g_static_test_countdown_min.load();
        g_static_test_countdown_min = 0; // the command at the first tick
        console->commandPage()->setRunSecondMs(1);
        prompter.answers = {QMessageBox::Yes};
        console->commandPage()->on_pushButton_static_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanStatic);
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        console->commandPage()->setRunSecondMs(2);
        g_static_test_countdown_min = quiet;
        QVERIFY(stopped);
        QCOMPARE(console->commandPage()->staticTicks(), uint32_t(91 * 60)); // 61 minutes and half as long again
        QCOMPARE(stopLines(), QStringList{"Static Allan retest stopped: no end report (58017) within 91 min of the retest command"});
        QCOMPARE(prompter.texts().last(), QString("No module reported the end of the retest (58017) within 91 min of its "
                                                  "command: the run is stopped and nothing is uploaded"));
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(!console->commandPage()->staticRunTicking());
        QVERIFY(allStartsEnabled());
        QTest::qWait(200);
        QVERIFY(server->requests().isEmpty());
    }

    void losingOnePlateOfSeveralIsToldAndNamedAtTheRunsEnd()
    {
        linkPlate();
        ModuleSimulator mainPlate;
        QVERIFY(mainPlate.isValid());
        WorkerThread *w = linkMainPlate(mainPlate);
        QVERIFY(waitUntil([] { return g_link_status[0] == 1; }));
        clearRecords();
        const uint8_t quiet = g_static_test_countdown_min.load();
        g_static_test_countdown_min = 0;
        console->commandPage()->setRunSecondMs(1);
        prompter.answers = {QMessageBox::Yes};
        console->commandPage()->on_pushButton_static_retest_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanStatic);
        // Plate 1 goes; plate 2 carries on and its modules run the retest to its end.
        QVERIFY(waitUntil([&] { return console->commandPage()->staticTicks() > 2; }));
        mainPlate.hangUp();
        QVERIFY(waitUntil([&] { return !logLines.filter("Plate 1 link lost during the run").isEmpty(); }));
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanStatic);
        QVERIFY(console->form()->textEdit_turn_table_status_auto->toHtml().contains("#ff0000"));
        sendStatus(58016);
        const uint32_t seen = console->commandPage()->staticTicks();
        QVERIFY(waitUntil([&] { return console->commandPage()->staticTicks() > seen + 2; }));
        sendStatus(kAllanRetestEnded);
        const bool ended = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        console->commandPage()->setRunSecondMs(2);
        g_static_test_countdown_min = quiet;
        QVERIFY(ended);
        QVERIFY(stopLines().isEmpty());
        QVERIFY(prompter.texts().last().endsWith("\nPlate links lost during the run: 1"));
        QVERIFY(logLines.contains("Station 2 results hold plates: 2 (plate links lost during the run: 1)"));
        QVERIFY(waitUntil([&] { return !server->requests().isEmpty(); }));
        QVERIFY(TestKit::retireWorker(w));
        for (auto &imu : sim->imus)
            imu = SimPayload::ImuValues{};
        sound.looping.clear();
    }

    void anAdvancedRunWhoseChamberNeverReachesItsTargetStopsAtTheBound()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        const int posted = server->requests().size();
        chamberFollows = false; // the chamber answers, but stays at 25 degC
        chamberTemp = 25.0f;
        console->show_heat_value(chamberTemp);
        console->on_pushButton_advanced_retest();
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        chamberFollows = true;
        QVERIFY(stopped);
        // 55 degC down to the first target at 2 degC a minute, twice, and half an hour: 85 min.
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: chamber did not reach -30 °C"});
        QCOMPARE(prompter.texts().last(), QString("The chamber did not come within 1 °C of -30 °C in 85 min: the run is "
                                                  "stopped and nothing is uploaded"));
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QCOMPARE(rotationsAsked, 0);
        QCOMPARE(startStop.last(), 0);
        QVERIFY(allStartsEnabled());
        QTest::qWait(200);
        QCOMPARE(server->requests().size(), posted);
    }

    void aManualPositionMoveRunsAtTheOperatorsRate()
    {
        linkTurntable();
        table->clearCommands();
        Ui::MultiCalib *ui = console->form();
        ui->comboBox_neihuan_manual->setCurrentIndex(0);
        ui->neihuan_target_pos_manual->setPlainText("90");
        ui->neihuan_target_vel_manual->setPlainText("30");
        QTest::mouseClick(ui->pushButton_neihuan_control_manual, Qt::LeftButton);
        ui->comboBox_waihuan_manual->setCurrentIndex(0);
        ui->waihuan_target_pos_manual->setPlainText("-12.5");
        ui->waihuan_target_vel_manual->setPlainText("7");
        QTest::mouseClick(ui->pushButton_waihuan_control_manual, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return table->commands().size() >= 2; }));
        QCOMPARE(table->commands().mid(0, 2), (QStringList{"POS X 90.0000 30.0000", "POS Y -12.5000 7.0000"}));
    }

    // The post of an advanced retest leaves as soon as the last rotation is in: a stop in the
    // cool-down that follows (the chamber link closed while the end box is up) keeps it.
    void aStopInTheAdvancedCoolDownKeepsThePost()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        sendStatus(0); // the plate's modules have reported: the run has results to post
        const int posted = server->requests().size();
        const QString endBox = "The full temperature calibration retest is completed. Please check if the retest flag is 16383";
        bool heldAtBox = false;
        prompter.whileShown = [&](const QString &text) {
            if (text != endBox)
                return;
            heldAtBox = !console->runGuard()->idle();
            console->on_clicked_pushButton_connect_calib_hot_house_ctrl(); // the chamber link closed
        };
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        const bool ended = waitUntil([&] { return prompter.texts().contains(endBox); }, 120000);
        prompter.whileShown = nullptr;
        QVERIFY(ended);
        QVERIFY(heldAtBox); // the box came during the cool-down
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: chamber link closed"});
        QCOMPARE(startStop.last(), 0);
        QVERIFY(waitUntil([&] { return server->requests().size() == posted + 1; }));
        QCOMPARE(server->requests().last().path, QString("/api/BRAPI/AdvancedCalibration"));
        QTest::qWait(1000); // past the (scaled) 600 s cool-down: posted once
        QCOMPARE(server->requests().size(), posted + 1);
        QCOMPARE(g_expected_calib_flag, 16383u);
    }

    void theChamberPagesStopEndsAnAdvancedRun()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return console->hothouseAdvancedTimer()->isActive(); }));
        console->form()->pushButton_hothouse_cmd_stop->click();
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(stopLines(), QStringList{"Advanced retest stopped: stopped by the operator"});
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(!console->advancedSequencePending());
        QVERIFY(console->form()->textEdit_turn_table_status_advanced->toPlainText().endsWith("Run stopped"));
        QVERIFY(allStartsEnabled());
        QCOMPARE(startStop.last(), 0);
        expectSilence();
    }

    void aClockSetBackMidSoakDoesNotEndIt()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        console->on_pushButton_advanced_retest();
        // The chamber is at -30 degC: the first step's 120 s soak begins.
        QVERIFY(waitUntil([&] { return console->advancedRunState().running && console->advancedRunState().phase == 1; }));
        clock.advance(10000);
        console->show_heat_value(chamberTemp); // the chamber answers in every minute
        clock.setWall(clock.now().addSecs(-11)); // a time-sync daemon sets the clock back
        const uint32_t ticks = console->advancedRunState().runSeconds;
        QVERIFY(waitUntil([&] { return console->advancedRunState().runSeconds > ticks + 20; }));
        QCOMPARE(console->advancedRunState().phase, uint8_t(1));
        clock.advance(50000);
        console->show_heat_value(chamberTemp);
        clock.advance(60000);
        console->show_heat_value(chamberTemp);
        QVERIFY(waitUntil([&] { return console->advancedRunState().phase >= 2; }));
        console->stopActiveRun("stopped by the test");
        QVERIFY(allStartsEnabled());
    }

    // Both Allan runs free the station before their completion boxes; a stop in the minute the
    // four-hour run gives its modules after their end report posts at once, flag and all.
    void theAllanRunsAreReleasedBeforeTheirBoxesAndAStopInTheLastMinuteKeepsThePost()
    {
        linkPlate();
        clearRecords();
        g_recording = 1;
        multi_calib_cmd *page = console->commandPage();
        page->setRunSecondMs(1);
        const uint8_t quiet = g_static_test_countdown_min.load();
        g_static_test_countdown_min = 0;
        const int posted = server->requests().size();
        QStringList heldAt; // the boxes shown while the run still held the station
        prompter.whileShown = [&](const QString &text) {
            if (!console->runGuard()->idle())
                heldAt << text;
        };
        prompter.answers = {QMessageBox::Yes};
        page->on_pushButton_static_retest_clicked();
        QVERIFY(waitUntil([&] { return page->staticTicks() > 1; }));
        sendStatus(58016);
        const uint32_t seen = page->staticTicks();
        QVERIFY(waitUntil([&] { return page->staticTicks() > seen + 2; }));
        sendStatus(kAllanRetestEnded);
        const QString staticBox = "ALlan static retest completed, please check the retest flag position";
        const bool staticEnded = waitUntil([&] { return prompter.texts().contains(staticBox); }, 60000);
        runFourHourAllanToItsEndReport();
        const QString fourHourBox = "Advanced ALlan static retest completed, please check if the flag is correct";
        const bool fourHourEnded = waitUntil([&] { return prompter.texts().contains(fourHourBox); }, 60000);
        prompter.whileShown = nullptr;
        g_static_test_countdown_min = quiet;
        QVERIFY(staticEnded && fourHourEnded);
        QCOMPARE(heldAt, QStringList{});
        QCOMPARE(server->requests().size(), posted + 2);

        // The four-hour run once more, stopped in the minute after the end report.
        clearRecords();
        g_expected_calib_flag = 0;
        QMetaObject::Connection c = connect(page, &multi_calib_cmd::signal_log, this, [this](uint8_t code, const QString &text) {
            if (code == 74 && text == "ALlan static retest completed")
                QTimer::singleShot(0, console, [this] { console->stopActiveRun("stopped by the test"); });
        });
        runFourHourAllanToItsEndReport();
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        disconnect(c);
        page->setRunSecondMs(2);
        g_recording = 0;
        QVERIFY(stopped);
        QCOMPARE(stopLines(), QStringList{"Advanced Allan retest stopped: stopped by the test"});
        QVERIFY(waitUntil([&] { return server->requests().size() == posted + 3; }));
        QCOMPARE(server->requests().last().path, QString("/api/BRAPI/AlanRest"));
        QCOMPARE(g_expected_calib_flag, 32767u);
        QVERIFY(!prompter.texts().contains(fourHourBox));
        QTest::qWait(300); // past the (scaled) minute: posted once
        QCOMPARE(server->requests().size(), posted + 3);
        for (auto &imu : sim->imus)
            imu = SimPayload::ImuValues{};
    }

    void aFourHourAllanRunWithoutItsEndReportStopsAt360Minutes()
    {
        linkPlate();
        clearRecords();
        g_recording = 1;
        multi_calib_cmd *page = console->commandPage();
        page->setRunSecondMs(0); // a run second per pass of the event loop
        prompter.answers = {QMessageBox::Yes};
        page->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanFourHour);
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 120000);
        page->setRunSecondMs(2);
        g_recording = 0;
        QVERIFY(stopped);
        QCOMPARE(page->fourHourTicks(), uint32_t(60 + 360 * 60)); // the command a minute in, then 240 minutes and half again
        QCOMPARE(stopLines(), QStringList{"Advanced Allan retest stopped: no end report (58017) within 360 min of the retest command"});
        QCOMPARE(prompter.texts().last(), QString("No module reported the end of the retest (58017) within 360 min of its "
                                                  "command: the run is stopped and nothing is uploaded"));
    }

    // The operator's stop reaches the console between the worker's stage line and that stage's
    // plate code: the code, already on its way, sends nothing after the stop line, and the
    // table hears nothing after the stop's frame stops.
    void aOneClickRunStoppedAsAStageBeginsSendsNothingOfThatStageAfterItsStop()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        QSignalSpy commands(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times);
        int commandsAtStop = -1;
        QObject context; // the stop hook dies with the function
        connect(console->turnTableWorker(), &WorkerThread_turn_table::signal_log, &context, [&](uint8_t code, QString text) {
            // Queued behind the console's own handling of the same report.
            if (code == 74 && text == "Accelerometer calibration started" && commandsAtStop < 0) {
                commandsAtStop = commands.size();
                console->stopActiveRun("stopped by the operator");
            }
        });
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return commandsAtStop >= 0; }));
        QCOMPARE(stopLines(), QStringList{"One-click turntable calibration stopped: stopped by the operator"});
        // The worker's own end of its sequence comes back behind the stage code.
        QVERIFY(waitUntil([&] { return logLines.contains(QString::fromUtf8("一键标定+复测 stopped")); }));
        QVERIFY2(waitUntil([&] { return tableHeardTheStopLast(); }), qPrintable(table->commands().join(" | ")));
        QTest::qWait(300); // a 56004 would follow its 30007 a tenth of a second later
        QCOMPARE(commands.size(), commandsAtStop);
        QVERIFY(!plateCommandIds().contains(30007) && !plateCommandIds().contains(56004));
        QVERIFY2(tableHeardTheStopLast(), qPrintable(table->commands().join(" | ")));
        QVERIFY(console->runGuard()->idle());
    }

    // The worker ended its sequence (a completion, a failed stage) just before it heard of the
    // stop: its 62 and 59 reach the console after the stop line and post nothing, show no box.
    void aLateEndOrFailureOfAStoppedOneClickRunPostsNothingAndShowsNoBox()
    {
        ClearedRecords records;
        const int posted = startOneClickRunWithModulesToPost();
        // The worker reports its end in its own thread, queued to the console.
        WorkerThread_turn_table *w = console->turnTableWorker();
        QMetaObject::invokeMethod(w, [w] { reportEndAndFailure(w); }, Qt::BlockingQueuedConnection);
        console->stopActiveRun("stopped by the operator"); // before the console read them
        QCOMPARE(stopLines(), QStringList{"One-click turntable calibration stopped: stopped by the operator"});
        QVERIFY(waitUntil([&] { return logLines.contains(QString::fromUtf8("一键标定+复测 stopped")); }));
        QTest::qWait(300);
        expectEndAndFailureIgnored(posted);
    }

    // The worker reported a stage, its end and a failure just before its link was closed and
    // opened again: the retired worker's reports reach the console after the new worker is made
    // (it may be made where the retired one was) and act for nothing.
    void aRetiredTurntableWorkersLateReportsActForNothing()
    {
        ClearedRecords records;
        const int posted = startOneClickRunWithModulesToPost();
        WorkerThread_turn_table *retired = console->turnTableWorker();
        QMetaObject::invokeMethod(retired, [retired] {
            emit retired->signal_log(46, "Accelerometer calibration started");
            reportEndAndFailure(retired);
        }, Qt::BlockingQueuedConnection);
        console->on_clicked_pushButton_connect_calib_multi_turn_table(); // before the console read them
        QCOMPARE(stopLines(), QStringList{"One-click turntable calibration stopped: turntable link closed"});
        QSignalSpy commands(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times);
        linkTurntable();
        QTest::qWait(300); // a 56004 would follow its 30007 a tenth of a second later
        expectEndAndFailureIgnored(posted);
        QCOMPARE(commands.size(), 0);
        QVERIFY(console->runGuard()->idle());
    }

    // The link is closed while a one-click run turns and opened again while the retired worker
    // is still busy: what that worker reports once the new run turns (a failed open, a stage,
    // a failure, its sequence's end, a lost line) acts for nothing. The new run goes on, the new
    // link stays up, nothing is posted and no box is shown.
    void aRetiredTurntableWorkerNeitherEndsTheNewRunNorClosesTheNewLink()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        ClearedRecords records;
        const int posted = server->requests().size();
        startOneClickRun();
        QPointer<WorkerThread_turn_table> retired = console->turnTableWorker();
        console->on_clicked_pushButton_connect_calib_multi_turn_table(); // closed: the run stops
        QMetaObject::invokeMethod(retired, [] {}, Qt::BlockingQueuedConnection); // its port is closed
        QVERIFY(table->comeHome()); // the controller leaves the retired worker's thread
        WorkerThread_turn_table *r = retired.data();
        BusyWorker busy(r, [r] {
            emit r->signal_connectIsSuccess(false);
            emit r->signal_log(46, "Accelerometer calibration started");
            reportEndAndFailure(r);
            emit r->signal_sequence_ended(2); // the one-click sequence
            emit r->signal_linkLost("line gone");
        });
        linkTurntable(); // the retired worker is given its time to let go of the port
        clearRecords();
        reportingPlate(1, 3999); // modules to post, had the run completed
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(console->oneClickRunning());
        QVERIFY(waitUntil([&] { return !table->commands().isEmpty(); }));
        busy.release();
        QVERIFY(waitUntil([&] { return retired.isNull(); }));
        QTest::qWait(300);
        QVERIFY(console->oneClickRunning());
        QCOMPARE(console->runGuard()->active(), RunGuard::OneClick);
        QCOMPARE(g_turn_table_connected, uint8_t(1));
        expectEndAndFailureIgnored(posted);
        QVERIFY2(logLines.filter("Turntable").isEmpty(), qPrintable(logLines.join(" | ")));
        console->stopActiveRun("stopped by the test");
    }

    // The link is closed and opened again while the retired worker is still busy; a new advanced
    // run asks the new worker for its first rotation, and only then does the retired worker
    // report a rotation's end, a completed one and a failed one: neither counts the rotation
    // nor stops the run.
    void aRetiredTurntableWorkersRotationEndNeitherCountsNorStopsTheNewRun()
    {
        linkPlate();
        linkTurntable();
        QPointer<WorkerThread_turn_table> retired = console->turnTableWorker();
        console->on_clicked_pushButton_connect_calib_multi_turn_table(); // closed
        QMetaObject::invokeMethod(retired, [] {}, Qt::BlockingQueuedConnection); // its port is closed
        QVERIFY(table->comeHome()); // the controller leaves the retired worker's thread
        WorkerThread_turn_table *r = retired.data();
        BusyWorker busy(r, [r] {
            emit r->signal_rotated_times(true, QString());
            emit r->signal_rotated_times(false, "the retired worker's rotation");
        });
        linkTurntable(); // the retired worker is given its time to let go of the port
        // The new worker never hears of the rotation: the run waits for it as long as the test needs.
        const auto relinked = qScopeGuard([this] { console->on_clicked_pushButton_connect_calib_multi_turn_table(); });
        QVERIFY(disconnect(console, &MultiCalib::signal_turnTable_constant_heat_rotate, console->turnTableWorker(), nullptr));
        clearRecords();
        minutes.start(2);
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return rotationsAsked == 1; }, 30000));
        prompter.shown.clear(); // the start's question
        busy.release();
        QVERIFY(waitUntil([&] { return retired.isNull(); }));
        QTest::qWait(100);
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        QVERIFY2(stopLines().isEmpty(), qPrintable(stopLines().join(" | ")));
        QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.texts().join(" | ")));
        console->stopActiveRun("stopped by the test");
    }

    // The link is closed and opened again while the retired worker is busy past the time its
    // port is given: the one-click stop's drop still waits for that worker's word, and the new
    // worker's stage codes reach the modules meanwhile.
    void aNewTurntableWorkersStageCodesAreNotHeldByTheRetiredOnesDrop()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        startOneClickRun();
        QPointer<WorkerThread_turn_table> retired = console->turnTableWorker();
        BusyWorker busy(retired);
        console->on_clicked_pushButton_connect_calib_multi_turn_table(); // closed: the run stops
        QCOMPARE(stopLines(), QStringList{"One-click turntable calibration stopped: turntable link closed"});
        console->on_clicked_pushButton_connect_calib_multi_turn_table(); // opened again
        WorkerThread_turn_table *w = console->turnTableWorker();
        QVERIFY(w && w != retired);
        QSignalSpy opened(w, &WorkerThread_turn_table::signal_connectIsSuccess);
        sim->clearReceived();
        QMetaObject::invokeMethod(w, [w] { emit w->signal_log(46, "Accelerometer calibration started"); },
                                  Qt::BlockingQueuedConnection);
        QVERIFY2(waitUntil([&] { return plateCommandIds().contains(56004); }), qPrintable(logLines.join(" | ")));
        QVERIFY(plateCommandIds().contains(30007));
        busy.release();
        QVERIFY(waitUntil([&] { return retired.isNull(); }));
        // The next function links afresh (the new worker may have found the port still held).
        QVERIFY(waitUntil([&] { return !opened.isEmpty(); }));
        if (g_turn_table_connected)
            console->on_clicked_pushButton_connect_calib_multi_turn_table();
    }

    // A one-click run is begun again at once after a stop: the stopped sequence's end, reported
    // after the new run began, ends nothing of it.
    void aStoppedOneClickRunsLateEndEndsNothingOfTheRunBegunAfterIt()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        startOneClickRun();
        BusyWorker busy(console->turnTableWorker()); // the worker hears of the stop after the new start
        console->stopActiveRun("stopped by the operator");
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(console->oneClickRunning());
        busy.release();
        const QString started = QString::fromUtf8("一键标定+复测 started");
        QVERIFY(waitUntil([&] { return logLines.count(started) == 2; })); // the new sequence turns
        QTest::qWait(100);
        QVERIFY(console->oneClickRunning());
        QCOMPARE(console->runGuard()->active(), RunGuard::OneClick);
        QVERIFY(!console->form()->pushButton_one_click_calib->isEnabled());
        console->stopActiveRun("stopped by the test");
    }

    // Two one-click runs stopped in a row while the worker is busy: the first stop's word, back
    // from the worker before the second's, ends nothing of the second stop's drop, and a stage
    // code the worker reported between them sends nothing.
    void aFirstStopsWordEndsNothingOfTheSecondStopsDrop()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        startOneClickRun();
        WorkerThread_turn_table *w = console->turnTableWorker();
        BusyWorker busy(w);
        console->stopActiveRun("stopped by the operator");
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(console->oneClickRunning());
        // The second run's first stage, reported before the worker heard of the second stop.
        QMetaObject::invokeMethod(w, [w] { emit w->signal_log(46, "Accelerometer calibration started"); },
                                  Qt::QueuedConnection);
        console->stopActiveRun("stopped by the operator");
        QSignalSpy commands(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times);
        busy.release();
        QVERIFY2(waitUntil([&] { return tableHeardTheStopLast(); }), qPrintable(table->commands().join(" | ")));
        QTest::qWait(300); // a 56004 would follow its 30007 a tenth of a second later
        QVERIFY2(commands.isEmpty(), qPrintable(logLines.join(" | ")));
        QVERIFY(console->runGuard()->idle());
    }

    // A manual sequence (no run) sends its stages' codes to the modules, also right after a
    // stopped run's late reports were let go.
    void aManualSequenceStillSendsItsStageCodesToTheModules()
    {
        linkPlate();
        linkTurntable();
        clearRecords();
        startOneClickRun();
        console->stopActiveRun("stopped by the operator");
        QVERIFY(console->runGuard()->idle());
        sim->clearReceived();
        emit console->signal_common_cmd(16); // the manual accelerometer calibration
        QVERIFY2(waitUntil([&] { return plateCommandIds().contains(56004); }),
                 qPrintable(logLines.join(" | ")));
        QVERIFY(plateCommandIds().contains(30007));
        QVERIFY(console->runGuard()->idle());
        QTest::mouseClick(console->form()->pushButton_neihuan_control_stop_manual, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return logLines.contains(QString::fromUtf8("Accelerometer calibration stopped")); }));
    }
};

TESTKIT_MAIN_PART(TestRunsConsole)
#include "test_runs_console.moc"

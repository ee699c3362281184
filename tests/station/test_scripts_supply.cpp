// The temperature script through the real chamber and supply workers: each on a pseudo-terminal
// to its pymodbus peer (the chamber reaches each set point at once), a simulated plate behind a
// real rack link and a loopback production-data service; times scaled.
#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTextEdit>

#include "app/Settings.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "station/ConsoleLogic.h"
#include "station/DcPowerFrames.h"
#include "station/UploadOutbox.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/station/ConsoleSeams.h"
#include "tests/station/PlateReports.h"
#include "tests/station/UploadServer.h"
#include "ui_MultiCalib.h"
#include "ui_Settings.h"

#include <cmath>
#include <fcntl.h>
#include <unistd.h>

using TestKit::waitUntil;

namespace {
const QString kEndText = "Temperature compensation calibration retest completed, please check the retest marker position";
const int kPollMs = 500; // the chamber's poll here
const double kSilenceS = 1.5; // the chamber silence that stops a run in the functions about silence (three polls)
// Every other function: no silence a loaded machine makes (a late poll) stops its run first.
const double kFarSilenceS = 600;

QStringList chamberPeerArgs(const QString &path, const QString &celsiusTenths)
{
    // Current temperature 0x0744 (1860), set point 0x074E (1870).
    return {"--rtu", path, "--slave", "1", "--set", "0x0744=" + celsiusTenths, "--follow", "0x074E:0x0744"};
}
} // namespace

class TestScriptsSupply : public QObject {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    WireTap *chamberLine = nullptr, *dcLine = nullptr;
    ModbusPeer *chamberPeer = nullptr, *dcPeer = nullptr;
    UploadServer *service = nullptr;
    MultiCalib *console = nullptr;
    Ui::MultiCalib *ui = nullptr;
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    QStringList told;      // the console's log lines
    QList<int> autoLog;

    // Output words of the supply's set frames, in the order the peer took them.
    QList<int> supplyOutputs() const
    {
        QList<int> out;
        for (const QString &w : dcPeer->writes())
            if (w.startsWith("hr 3 "))
                out << w.split(' ').last().toInt();
        return out;
    }
    void fastSupply()
    {
        WorkerThread_DC_power *w = console->dcPowerWorker();
        QVERIFY(w);
        QMetaObject::invokeMethod(w, [w] {
            WorkerThread_DC_power::Timings t;
            t.pollMs = 200;
            t.onOffGapMs = 5;
            t.settleMs = 5;
            t.plateWaitMs = 15;
            t.streamGapMs = 1;
            t.slowStreamGapMs = 1;
            t.pauseMs = 5;
            w->setTimings(t);
        }, Qt::BlockingQueuedConnection);
    }
    void setParams(const QStringList &texts)
    {
        const QList<QTextEdit *> edits{ui->textEdit_hothouse_loops_num, ui->textEdit_hothouse_start_temp,
                                       ui->textEdit_hothouse_start_temp_last_times, ui->textEdit_hothouse_stop_temp,
                                       ui->textEdit_hothouse_stop_temp_last_times, ui->textEdit_hothouse_temp_slope};
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setPlainText(texts[i]);
    }
    void sendImus(uint32_t timeMs, float temp, uint32_t status, int empty = 0, uint32_t flag = 0)
    {
        for (int k = 0; k < 32; ++k) {
            sim->imus[size_t(k)].time_ms = k < 32 - empty ? timeMs : 0;
            sim->imus[size_t(k)].fused[6] = temp;
            sim->imus[size_t(k)].calib_status = status;
            sim->imus[size_t(k)].calib_flag_h = k < 32 - empty ? flag : 0;
        }
        QVERIFY(PlateReports::sendAndWait(sim, 1));
    }
    // Plate 2 linked anew with no records: none of its IMUs has been seen reporting.
    void freshPlate()
    {
        sim->stopStreaming(); // nothing an earlier function started reports on the new link
        WorkerThread_Multi *closed = console->rackWorker(0);
        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        // The closed link has read its last frame, and its reports are in, before the records go.
        QMetaObject::invokeMethod(closed, [] {}, Qt::BlockingQueuedConnection);
        QCoreApplication::processEvents();
        // Frames the closed link left unread on the line are not the new link's.
        QVERIFY(drainLine(sim->portPath()));
        g_calib_status.clearAll();
        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        plateReady();
    }
    // Reads away whatever waits on the simulator's line while no link has it open.
    static bool drainLine(const QString &path)
    {
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            return false;
        char buf[4096];
        while (::read(fd, buf, sizeof buf) > 0) {
        }
        ::close(fd);
        return true;
    }
    // Plate 2's link is up: quick repeats, and its base board has reported.
    void plateReady()
    {
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }));
        setRepeatSpacing(console->rackWorker(0), 20, 40);
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return console->baseBoardReported(1); }));
    }
    // The statistics labels after a fresh count and verdict view: total, ok, bad, percentage.
    QStringList verdictFigures()
    {
        console->check_total_imu_num_alive();
        console->calib_multi_table_total();
        return {ui->label_result_total_num->text(), ui->label_result_ok_num->text(), ui->label_result_ng_num->text(),
                ui->label_result_ok_percent->text()};
    }
    // "<actCalibrationFlagBit> <result>" of each IMU the last post holds, told apart by count.
    QStringList postedVerdicts() const
    {
        QMap<QString, int> counts;
        for (const QJsonValue &d : QJsonDocument::fromJson(service->requests().last().body).object().value("details").toArray())
            ++counts[d.toObject().value("actCalibrationFlagBit").toString() + " " + d.toObject().value("result").toString()];
        QStringList out;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            out << QString("%1 x %2").arg(it.value()).arg(it.key());
        return out;
    }
    // The modules report as in a run (every 100 ms), and the supply waits long enough for them to
    // report a code they took.
    // replyTimeoutMs > 0: the supply's answers may also take that long.
    void supplyWaitsForReports(int plateWaitMs, int replyTimeoutMs = 0)
    {
        sim->startStreaming(100, [this] { return sim->currentCalibFrame(); });
        WorkerThread_DC_power *w = console->dcPowerWorker();
        QMetaObject::invokeMethod(w, [w, plateWaitMs, replyTimeoutMs] {
            WorkerThread_DC_power::Timings t = w->timings();
            t.plateWaitMs = plateWaitMs;
            if (replyTimeoutMs > 0)
                t.replyTimeoutMs = replyTimeoutMs;
            w->setTimings(t);
        }, Qt::BlockingQueuedConnection);
    }
    // Brings the peer's chamber to a temperature through its set point.
    void chamberAt(int celsius)
    {
        emit console->hothouse_set_target_temp(int16_t(celsius));
        QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_current_temperature->toPlainText() == QString::number(celsius); },
                          8000));
    }
    void startFull()
    {
        prompter.shown.clear();
        prompter.answers.clear();
        told.clear();
        autoLog.clear();
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QVERIFY(console->chamberScriptRunning());
    }
    // Called on the way to the stop temperature: waits for the end of the stop soak (the next
    // ramp rate 10); true when it ended early.
    bool stopSoakEndedEarly()
    {
        bool ended = false;
        QObject scope; // the connection ends with this call
        connect(console, &MultiCalib::hothouse_cmd_set_slope, &scope, [&](uint8_t r) { ended = ended || r == 10; });
        const bool seen = waitUntil([&] { return ended; }, 30000);
        [&] { QVERIFY(seen); }();
        return told.filter("Stop soak ended early").size() > 0;
    }

    // Mutes the chamber's line once the worker has asked again after it: every temperature the
    // chamber gave before is in, none comes after.
    void silenceChamber()
    {
        chamberLine->muted = true;
        const int before = chamberLine->chunks.size();
        QVERIFY(waitUntil([&] {
            for (int i = before; i < chamberLine->chunks.size(); ++i)
                if (chamberLine->chunks[i].fromWorker)
                    return true;
            return false;
        }, 8000));
        QCoreApplication::processEvents();
    }
    // A fresh temperature, then silence (the line muted, or fallSilent): on a held clock the
    // silence counts from that temperature.
    void freshTemperatureThenSilence(const std::function<void()> &fallSilent = nullptr)
    {
        freshTemperature();
        if (fallSilent)
            fallSilent();
        silenceChamber();
    }
    // The chamber falls silent on a held clock: the run goes on through the whole silence bound
    // and stops a millisecond past it (the line stays muted).
    void expectStopJustPastTheSilenceBound(const std::function<bool()> &running,
                                           const std::function<void()> &fallSilent = nullptr)
    {
        HeldClock held;
        freshTemperatureThenSilence(fallSilent);
        const int lines = told.size();
        held.clock.advance(console->chamberStaleLimitMs());
        QVERIFY(waitUntil([&] { return told.size() > lines; })); // a tick saw the silence: missed polls told
        QVERIFY(running());
        held.clock.advance(1);
        QVERIFY(waitUntil([&] { return !running(); }));
    }
    void freshTemperature()
    {
        ui->textEdit_hothouse_current_temperature->clear();
        QVERIFY(waitUntil([&] { return !ui->textEdit_hothouse_current_temperature->toPlainText().isEmpty(); }, 8000));
    }
    void unmuteChamber()
    {
        chamberLine->muted = false;
        freshTemperature();
    }

    // ---- a run stopped before, during or after its post ----------------------------------------
    enum StopBy { ByOperator, ByDisconnect, ByExit, BySupplyLoss };
    enum StopAt { BeforePost, DuringPost, AfterPost };
    static QString causeOf(int by)
    {
        switch (by) {
        case ByOperator: return "stopped by the operator";
        case ByDisconnect: return "all links closed";
        case ByExit: return "program closed";
        default: return "DC supply link lost";
        }
    }
    void stopRunBy(int by)
    {
        switch (by) {
        case ByOperator: ui->pushButton_hothouse_cmd_stop->click(); break;
        case ByDisconnect: console->connect_serial_port(0); break; // the window's Disconnect
        case ByExit: console->shutDown(2000); break;                 // the window's end
        default: emit console->dcPowerWorker()->signal_linkLost("adapter unplugged"); break;
        }
    }
    // What the console sends to the chamber, the supply, the modules and the turntable, and its
    // log lines, in the order they came ("cmd ..." and "log ...").
    // The connections end with scope (a local of the calling function, declared after trail).
    void watchTrail(QStringList *trail, QObject *scope)
    {
        const auto cmd = [this, trail](const QString &what) { return [trail, what] { *trail << "cmd " + what; }; };
        connect(console, &MultiCalib::dc_control_cmd, scope, [trail](uint16_t c) { *trail << QString("cmd supply %1").arg(c); });
        connect(console, &MultiCalib::hothouse_set_target_temp, scope, cmd("chamber target"));
        connect(console, &MultiCalib::hothouse_cmd_set_slope, scope, cmd("chamber slope"));
        connect(console, &MultiCalib::hothouse_generate_start_stop_cmd, scope, cmd("chamber start/stop"));
        connect(console, &MultiCalib::Send_CMD_LONG_SIGNAL, scope, cmd("module"));
        connect(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times, scope, cmd("module"));
        connect(console, &MultiCalib::Send_QString_times, scope, cmd("module text"));
        connect(console, &MultiCalib::signal_auto_log_imu, scope, cmd("module logging"));
        connect(console, &MultiCalib::signal_send_turn_table_cmd_general, scope, cmd("turntable"));
        connect(console, &MultiCalib::signalTranspondLog, scope, [trail](const QString &l) { *trail << "log " + l; });
    }
    // The supply's link opened again after it was lost: a new worker, which waits for the old
    // one to let go of the port first (long on a busy machine).
    void relinkSupply()
    {
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }, 20000));
        fastSupply();
    }
    // Every link of the rack up again as initTestCase left it.
    void relinkAll()
    {
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_hothouse_connected == 1 && g_dc_power_connected == 1; }, 20000));
        fastSupply();
        plateReady();
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        SoundPlayer::install(&sound);
        service = new UploadServer(TestKit::workDir() + "/service");
        QVERIFY(service->port() > 0);
        QSettings *s = getSettings();
        s->setValue("httpAddr/officialAddr",
                    QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(service->port()));
        s->setValue("httpAddr/timeoutMs", 3000);
        s->setValue("turnTableType/type", 0);
        s->setValue("main_index/DC_Max_VOLTAGE_NOW", 12.0f);
        s->setValue("main_index/DC_Max_CURRENT_NOW", 10.0f);
        s->setValue("main_index/DC_type", 1);
        s->setValue("hothouse/silence_limit_s", kFarSilenceS);
        for (const auto &k : TempScript::paramKeys())
            s->remove(k.key);
        s->sync();

        sim = new ModuleSimulator;
        chamberLine = new WireTap;
        dcLine = new WireTap;
        QVERIFY(sim->isValid() && chamberLine->isValid() && dcLine->isValid());
        chamberPeer = new ModbusPeer(chamberPeerArgs(chamberLine->peerPath(), "250"), "chamber_writes.txt");
        // The supply measures 17 V and 8.5 A on the read full scale of 34.
        dcPeer = new ModbusPeer({"--rtu", dcLine->peerPath(), "--slave", "17", "--set", "0=32767", "--set", "1=16383"},
                                "dc_writes.txt");
        QVERIFY(chamberPeer->waitReady() && dcPeer->waitReady());
        qputenv("KELVANTO_EXTRA_PORTS",
                (sim->portPath() + ":" + chamberLine->workerPath() + ":" + dcLine->workerPath()).toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run go out
        console = new MultiCalib;
        ui = console->form();
        console->setScriptTiming(2, 0.001);
        console->setChamberPollMs(kPollMs);
        connect(console, &MultiCalib::signalTranspondLog, this, [this](QString line) { told << line; });
        connect(console, &MultiCalib::signal_auto_log_imu, this, [this](uint8_t on) { autoLog << on; });

        for (auto pick : {std::make_pair(ui->comboBox_calib_multi_serial2, sim->portPath()),
                          std::make_pair(ui->comboBox_calib_multi_hot_house, chamberLine->workerPath()),
                          std::make_pair(ui->comboBox_calib_multi_DC_power, dcLine->workerPath())}) {
            QVERIFY(pickSimulatedPort(pick.first, pick.second));
        }
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_hothouse_connected == 1 && g_dc_power_connected == 1; }));
        fastSupply();
        plateReady();
        QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_current_temperature->toPlainText() == "25"; }, 8000));
    }

    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete chamberPeer;
        delete dcPeer;
        delete chamberLine;
        delete dcLine;
        delete sim;
        delete service;
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }

    // Every function starts where a run can: every IMU of the plate seen reporting.
    void init() { sendImus(50, 25.0f, 0); }

    // Whatever check ended a function: no run holds the station, and the stand-ins and times
    // are as the functions expect them.
    void cleanup()
    {
        stopAnyRun(console);
        // The simulator falls quiet: no stream an earlier function started feeds the next one.
        sim->stopStreaming();
        sim->onCommand = nullptr;
        prompter.whileShown = nullptr;
        getSettings()->setValue("httpAddr/officialAddr", service->address());
        // The supply's times as initTestCase set them (a function may have stretched them).
        if (g_dc_power_connected == 1 && console->dcPowerWorker())
            fastSupply();
        console->setScriptTiming(2, 0.001);
        g_change_temp_calib_to_temp_cycling = 0;
        g_turn_table_connected = 0;
        getSettings()->setValue("hothouse/silence_limit_s", kFarSilenceS);
        chamberLine->muted = false;
        dcLine->muted = false;
    }

    void aChamberAtTheStartTemperatureGetsNoSwitchOffInTheMiddleOfTheStep()
    {
        sendImus(100, 25.0f, 0);
        dcPeer->clearWrites();
        // One compensation step: at 25 degC at once, the start soak, up to 30 degC and its soak.
        setParams({"1", "25", "1", "30", "1", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return prompter.texts().contains(kEndText); }, 60000));
        // The two switch-ons of the step (6 writes), the step's end 56003 (off, on, off) and the
        // run's end 65530 (off, on): no other switch-off, no 102.
        const QList<int> expected{1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1};
        QVERIFY(waitUntil([&] { return supplyOutputs().size() >= expected.size(); }, 20000));
        QTest::qWait(300);
        QCOMPARE(supplyOutputs(), expected);
        QVERIFY(told.contains("Supply switch-off after the start cancelled: step switched the supply on"));
        QCOMPARE(g_expected_calib_flag, 129u);
    }

    void theStopSoakOfATemperatureCycleRunsItsFullTime()
    {
        g_change_temp_calib_to_temp_cycling = 1;
        sendImus(150, 25.0f, 0);
        setParams({"1", "25", "0", "30", "1", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::GoStop; }, 20000));
        // The IMUs still show the stage an earlier run left (56001) and are far past the stop
        // temperature: a cycle sends no stages, so nothing ends its soak early.
        sendImus(200, 40.0f, 56001);
        QVERIFY(!stopSoakEndedEarly());
        ui->pushButton_hothouse_cmd_stop->click();
        QVERIFY(!console->chamberScriptRunning());
        g_change_temp_calib_to_temp_cycling = 0;
    }

    void onACoolingRampTheStopSoakEndsEarlyOnlyBelowTheStopTemperature()
    {
        chamberAt(30);
        // Down from 30 to 20 degC; the IMUs in the compensation stage but still at 25 degC.
        setParams({"1", "30", "0", "20", "1", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::GoStop; }, 20000));
        QVERIFY(waitUntil([&] { return console->chamberScriptState().secondsInPhase > 2; })); // the tables were cleared
        sendImus(300, 25.0f, 56001);
        QVERIFY(!stopSoakEndedEarly());
        ui->pushButton_hothouse_cmd_stop->click();

        // Below the stop temperature: a 30-minute soak ends at once.
        chamberAt(30);
        setParams({"1", "30", "0", "20", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::GoStop; }, 20000));
        QVERIFY(waitUntil([&] { return console->chamberScriptState().secondsInPhase > 2; })); // the tables were cleared
        sendImus(400, 19.0f, 56001);
        QVERIFY(stopSoakEndedEarly());
        QCOMPARE(told.filter("Stop soak ended early"), QStringList{"Stop soak ended early: every live IMU passed 20 °C"});
        ui->pushButton_hothouse_cmd_stop->click();
        QVERIFY(!console->chamberScriptRunning());
    }

    void theChamberPagesStopEndsTheScriptAndSilencesTheSupply()
    {
        chamberAt(25);
        sendImus(500, 25.0f, 0);
        const int posted = service->requests().size();
        dcPeer->clearWrites();
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStart; }, 20000));
        QVERIFY(waitUntil([&] { return !supplyOutputs().isEmpty(); }, 20000)); // the step's switch-on is under way
        chamberPeer->clearWrites();
        const uint32_t ticks = console->chamberScriptState().runSeconds;
        ui->pushButton_hothouse_cmd_stop->click();
        QVERIFY(!console->chamberScriptRunning());
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        QVERIFY(ui->pushButton_temperature_retest->isEnabled());
        QCOMPARE(told.filter(" stopped: ").size(), 1);
        QCOMPARE(told.filter(" stopped: ").first(), QString("Temperature compensation and retest script stopped: stopped by the operator"));
        QCOMPARE(autoLog.last(), 0);
        QVERIFY(!console->hotHouseLogOpen());
        // The chamber was told to stop, once; the supply's queued codes were dropped.
        QVERIFY(waitUntil([&] { return chamberPeer->writes() == QStringList{"co 1200 0"}; }));
        QTest::qWait(200);
        const int writes = dcPeer->writes().size();
        QTest::qWait(1000);
        QCOMPARE(dcPeer->writes().size(), writes);
        QCOMPARE(chamberPeer->writes(), QStringList{"co 1200 0"});
        QCOMPARE(console->chamberScriptState().runSeconds, ticks);
        QCOMPARE(service->requests().size(), posted);
        QVERIFY(!prompter.texts().contains(kEndText));
    }

    void closingTheSupplyLinkEndsTheScript()
    {
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStart; }, 20000));
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(!console->chamberScriptRunning());
        QCOMPARE(told.filter(" stopped: ").value(0), QString("Temperature compensation and retest script stopped: DC supply link closed"));
        QCOMPARE(autoLog.last(), 0);
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        fastSupply();
    }

    void aSupplyThatStopsAnsweringAfterItsFirstSwitchOnStopsTheScript()
    {
        chamberAt(25);
        sendImus(800, 25.0f, 0);
        const int posted = service->requests().size();
        dcPeer->clearWrites();
        sound.played.clear();
        // Soaks of 30 minutes: thousands of script ticks lie before any result could be posted,
        // so the supply's reply time-out always ends the run first.
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        // The step's first switch-on reaches the supply; then the supply falls silent.
        QVERIFY(waitUntil([&] { return supplyOutputs().size() >= 3; }, 20000));
        dcLine->muted = true;
        const bool stopped = waitUntil([&] { return !console->chamberScriptRunning(); }, 30000);
        dcLine->muted = false;
        QVERIFY(stopped);
        const QStringList stops = told.filter(" stopped: ");
        QCOMPARE(stops.size(), 1);
        QVERIFY2(stops.first().startsWith("Temperature compensation and retest script stopped: DC supply did not confirm power"),
                 qPrintable(stops.first()));
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(prompter.texts().last().startsWith("DC supply did not confirm power"));
        QVERIFY(!prompter.texts().contains(kEndText));
        QVERIFY(console->runGuard()->idle());
        QTest::qWait(500);
        QCOMPARE(service->requests().size(), posted);
        QVERIFY(!told.contains("Temperature script completed"));
    }

    void aStopSaysTheOutputTheSupplyLastConfirmed()
    {
        chamberAt(25);
        sendImus(1000, 25.0f, 0);
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        // The step's switch-on, read back from the supply, shows on the supply page.
        const QString on = "Output: on (last confirmed by the supply)";
        QVERIFY(waitUntil([&] { return ui->label_dc_power_output_state->text() == on; }, 20000));
        ui->pushButton_hothouse_cmd_stop->click();
        QVERIFY(!console->chamberScriptRunning());
        QCOMPARE(told.filter("DC supply at the stop"), QStringList{"DC supply at the stop of Temperature compensation and retest script: " + on});
        QCOMPARE(ui->label_dc_power_output_state->text(), on); // the stop switches nothing
    }

    void aStopDuringTheFinalHoldKeepsThePostedResults()
    {
        chamberAt(25);
        sendImus(800, 25.0f, 0, 0, 129);
        const int posted = service->requests().size();
        g_expected_calib_flag = 0;
        setParams({"1", "25", "0", "30", "0", "1"});
        console->setScriptTiming(20, 0.001); // the 30-minute hold lasts 36 s
        startFull();
        // The last stop soak has ended: the results are posted before the way back and the hold.
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::HoldRoom; }, 30000));
        const bool postedInHold = waitUntil([&] { return service->requests().size() == posted + 1; });
        const bool stillHolding = console->chamberScriptState().phase == ChamberScriptPhase::HoldRoom;
        ui->pushButton_hothouse_cmd_stop->click();
        console->setScriptTiming(2, 0.001);
        QVERIFY(postedInHold);
        QVERIFY(stillHolding);
        QVERIFY(!console->chamberScriptRunning());
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: stopped by the operator"});
        QTest::qWait(300);
        QCOMPARE(service->requests().size(), posted + 1);
        QCOMPARE(service->requests().last().path, QString("/api/BRAPI/FullTemperature"));
        QCOMPARE(g_expected_calib_flag, 129u);
        QVERIFY(!prompter.texts().contains(kEndText));
    }

    void aCompletedScriptIsReleasedBeforeItsEndBox()
    {
        chamberAt(25);
        sendImus(900, 25.0f, 0, 0, 129);
        dcPeer->clearWrites();
        setParams({"1", "25", "1", "30", "1", "1"});
        bool heldAtBox = true;
        prompter.whileShown = [&](const QString &text) {
            if (text != kEndText)
                return;
            heldAtBox = !console->runGuard()->idle();
            // The chamber's line goes away while the box waits for the operator.
            emit console->hothouseWorker()->signal_linkLost("line gone");
        };
        startFull();
        const bool ended = waitUntil([&] { return prompter.texts().contains(kEndText); }, 60000);
        prompter.whileShown = nullptr;
        QVERIFY(ended);
        QVERIFY(!heldAtBox);
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        QVERIFY(told.contains("Temperature script completed"));
        QCOMPARE(told.filter(" stopped: "), QStringList());
        QCOMPARE(autoLog, (QList<int>{1, 0}));
        // The run's end power cycle (off, on) is not dropped.
        const QList<int> expected{1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1};
        QVERIFY(waitUntil([&] { return supplyOutputs().size() >= expected.size(); }, 20000));
        QTest::qWait(300);
        QCOMPARE(supplyOutputs(), expected);
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
    }

    void anImuSilentMidRunIsNgOnScreenAndInThePost()
    {
        chamberAt(25);
        sendImus(1100, 25.0f, 0, 0, 129);
        const int posted = service->requests().size();
        // A stop soak of 10 minutes (12 s at 20 ms a tick) leaves the reports below time to
        // arrive on a loaded machine before the results are posted at its end.
        setParams({"1", "25", "0", "30", "10", "1"});
        console->setScriptTiming(20, 0.001);
        startFull();
        // The start soak's end cleared the tables; all 32 report, then IMU 32 falls silent.
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::GoStop &&
                                       console->chamberScriptState().secondsInPhase > 2; }, 20000));
        for (int silent : {0, 1}) {
            sendImus(1200, 25.0f, 0, silent, 129);
            QVERIFY(waitUntil([&] { return console->shownGeneration(1) == g_calib_status.generation(1); }));
        }
        const bool postedNow = waitUntil([&] { return service->requests().size() == posted + 1; }, 40000);
        ui->pushButton_hothouse_cmd_stop->click();
        console->setScriptTiming(2, 0.001);
        QVERIFY(postedNow);
        const QJsonArray details = QJsonDocument::fromJson(service->requests().last().body).object().value("details").toArray();
        QCOMPARE(details.size(), 32);
        QStringList ng;
        for (const QJsonValue &d : details)
            if (d.toObject().value("result").toString() == "NG")
                ng << d.toObject().value("baseplateIndex").toString();
        QCOMPARE(ng, QStringList{"IMU 32 for bottom plate 2"});
        // The screen says the same.
        QCOMPARE(verdictFigures(), (QStringList{"32", "31", "1", "96.88%"}));
        QCOMPARE(ui->label_result_ng_position->text(), QString("Floor2-32; "));
    }

    // The modules write their flags when they take the run's end code: the post waits for the
    // supply's word that they took it and for their reports after it, so it carries those flags.
    // A stop after the post says when it was posted and that the service took it.
    void thePostCarriesTheFlagsTheModulesSetOnTheEndCode()
    {
        chamberAt(25);
        sendImus(1300, 25.0f, 0, 0, 1); // compensated before: flag 1, no retest flag
        supplyWaitsForReports(1000);
        const int posted = service->requests().size();
        setParams({"1", "25", "0", "30", "0", "1"});
        console->setScriptTiming(20, 0.001); // the 30-minute hold lasts 36 s
        startFull();
        const bool postedNow = waitUntil([&] { return service->requests().size() == posted + 1; }, 30000);
        const bool holding = console->chamberScriptRunning();
        // The 56003's power cycle: the supply does not confirm a switch after the post.
        emit console->dcPowerWorker()->signal_switch_read_back(1, false);
        console->setScriptTiming(2, 0.001);
        QVERIFY(postedNow);
        QVERIFY(holding);
        QCOMPARE(service->requests().last().path, QString("/api/BRAPI/FullTemperature"));
        QCOMPARE(postedVerdicts(), QStringList{"32 x 129 OK"});
        QVERIFY(told.contains("End code 56003 taken by every reporting module"));
        QVERIFY(told.contains("Results posted from the modules' reports after end code 56003"));
        QVERIFY(!console->chamberScriptRunning());
        const QRegularExpression postedNote("^its results were posted at \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d and the service "
                                         "took them$");
        QCOMPARE(prompter.texts().filter("DC supply did not confirm power on: the run is stopped and ").size(), 1);
        const QString box = prompter.texts().filter("DC supply did not confirm power on").first();
        QVERIFY2(box.section(" and ", 1).contains(postedNote), qPrintable(box));
        QCOMPARE(told.filter(QRegularExpression("^Temperature compensation and retest script: its results were posted at .* and the service took them$")).size(), 1);
        QCOMPARE(service->requests().size(), posted + 1);

        // The retest script: its end code 58003 writes the retest flag the station judges.
        chamberAt(25);
        sendImus(1400, 25.0f, 0);
        setParams({"2", "25", "0", "30", "0", "1"});
        prompter.shown.clear();
        told.clear();
        console->setScriptTiming(20, 0.001);
        console->on_pushButton_temperature_retest_clicked();
        const bool retestPosted = waitUntil([&] { return service->requests().size() == posted + 2; }, 30000);
        ui->pushButton_hothouse_cmd_stop->click();
        console->setScriptTiming(2, 0.001);
        supplyWaitsForReports(15);
        QVERIFY(retestPosted);
        QCOMPARE(service->requests().last().path, QString("/api/BRAPI/TemperatureTurntable"));
        QCOMPARE(postedVerdicts(), QStringList{"32 x 128 OK"});
        QVERIFY(told.contains("End code 58003 taken by every reporting module"));
    }

    // Modules that do not take the end code: a stop before the post posts what they last
    // reported, and the log says the end code was not confirmed.
    void aStopBeforeTheEndCodeIsConfirmedPostsTheLastReports()
    {
        chamberAt(25);
        sendImus(1500, 25.0f, 0, 0, 1);
        supplyWaitsForReports(1000);
        sim->onCommand = [](const LongCommand &c) { return c.cmd_id == 56003; };
        const int posted = service->requests().size();
        setParams({"1", "25", "0", "30", "0", "1"});
        // The operator stops the run once the end code has gone out and the modules have
        // reported after it (the records cleared at the soak's end hold their reports again).
        int64_t codeSentAt = -1;
        QObject scope; // the connection ends with the function
        connect(console, &MultiCalib::signalTranspondLog, &scope, [&](const QString &line) {
            if (line == "Results wait for the modules to take end code 56003")
                codeSentAt = int64_t(g_calib_status.generation(1));
        });
        startFull();
        const bool reported = waitUntil([&] { return codeSentAt >= 0 && int64_t(g_calib_status.generation(1)) > codeSentAt; }, 30000);
        QObject::disconnect(console, nullptr, &scope, nullptr);
        QVERIFY(reported);
        ui->pushButton_hothouse_cmd_stop->click();
        const bool waiting = waitUntil([&] { return !console->chamberScriptRunning(); }, 30000);
        sim->onCommand = nullptr;
        supplyWaitsForReports(15);
        QVERIFY(waiting);
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: stopped by the operator"});
        QVERIFY(told.contains("Results posted from the modules' last reports: end code 56003 not confirmed"));
        QCOMPARE(service->requests().size(), posted + 1);
        QCOMPARE(postedVerdicts(), QStringList{"32 x 1 NG"});
        QCOMPARE(told.filter(QRegularExpression("^Temperature compensation and retest script: its results were posted at ")).size(), 1);
    }

    // The supply gives up on the end code after its tries; the modules take it later in the
    // hold: the post waits for them and carries the flags they wrote.
    void theResultsWaitForTheModulesToShowTheEndCodeAfterTheSupplyGaveUp()
    {
        chamberAt(25);
        sendImus(1800, 25.0f, 0, 0, 1); // compensated before: flag 1
        supplyWaitsForReports(15);
        sim->onCommand = [](const LongCommand &c) { return c.cmd_id == 56003; }; // not taken now
        const int posted = service->requests().size();
        setParams({"1", "25", "0", "26", "0", "1"});
        console->setScriptTiming(20, 0.001); // the 30-minute hold lasts 36 s
        int64_t gaveUpAt = -1;
        QObject scope; // the connection ends with the function
        connect(console, &MultiCalib::signalTranspondLog, &scope, [&](const QString &line) {
            if (line == "End code 56003 not confirmed: not every reporting module took it")
                gaveUpAt = int64_t(g_calib_status.generation(1));
        });
        startFull();
        const bool gaveUp = waitUntil([&] { return gaveUpAt >= 0; }, 30000);
        // Three reports after the supply gave up: nothing is posted yet.
        const bool reported = waitUntil([&] { return int64_t(g_calib_status.generation(1)) > gaveUpAt + 3; });
        const bool postedEarly = service->requests().size() != posted;
        // The modules take the code now and show it with their flags (the later codes of the
        // hold leave them as they are).
        sim->onCommand = [](const LongCommand &) { return true; };
        for (auto &imu : sim->imus) {
            imu.calib_status = 56003;
            imu.calib_flag_h = 129;
        }
        const bool postedNow = waitUntil([&] { return service->requests().size() == posted + 1; }, 20000);
        QObject::disconnect(console, nullptr, &scope, nullptr);
        ui->pushButton_hothouse_cmd_stop->click();
        sim->onCommand = nullptr;
        console->setScriptTiming(2, 0.001);
        QVERIFY(gaveUp);
        QVERIFY(reported);
        QVERIFY(!postedEarly);
        QVERIFY2(postedNow, qPrintable(told.join("\n")));
        QCOMPARE(postedVerdicts(), QStringList{"32 x 129 OK"});
        QVERIFY(told.contains("End code 56003 shown by every reporting module"));
    }

    // The supply's link is closed and opened again while the retired worker is still busy; a
    // new run sends its end code to modules that do not take it, and only then does the retired
    // worker say that the modules took that code: the run's results still wait for the new
    // worker's word.
    void aRetiredSupplyWorkersWordOnTheEndCodeConfirmsNothing()
    {
        chamberAt(25);
        sendImus(2000, 25.0f, 0, 0, 1);
        QPointer<WorkerThread_DC_power> retired = console->dcPowerWorker();
        console->on_clicked_pushButton_connect_dc_power_ctrl(); // closed
        QMetaObject::invokeMethod(retired, [] {}, Qt::BlockingQueuedConnection); // its port is closed
        WorkerThread_DC_power *r = retired.data();
        BusyWorker busy(r, [r] { emit r->signal_plates_took(56003, true); });
        relinkSupply(); // the retired worker is given its time to let go of the port
        supplyWaitsForReports(1000);
        sim->onCommand = [](const LongCommand &c) { return c.cmd_id == 56003; }; // not taken
        setParams({"1", "25", "0", "26", "0", "1"});
        console->setScriptTiming(20, 0.001);
        startFull();
        const bool codeOut = waitUntil([&] { return told.contains("Results wait for the modules to take end code 56003"); }, 30000);
        busy.release();
        const bool gone = waitUntil([&] { return retired.isNull(); });
        QTest::qWait(50);
        const QStringList endCode = told.filter("End code 56003");
        ui->pushButton_hothouse_cmd_stop->click();
        sim->onCommand = nullptr;
        console->setScriptTiming(2, 0.001);
        supplyWaitsForReports(15);
        QVERIFY(codeOut);
        QVERIFY(gone);
        QVERIFY2(endCode.isEmpty(), qPrintable(endCode.join(" | ")));
    }

    // The only plate's link closes after the end code: its modules did report, so the log
    // says the plates were lost, not that no module reported.
    void aRunWhosePlatesWereLostSaysSo()
    {
        chamberAt(25);
        sendImus(1900, 25.0f, 0, 0, 1);
        supplyWaitsForReports(15);
        sim->onCommand = [](const LongCommand &c) { return c.cmd_id == 56003; };
        setParams({"1", "25", "0", "26", "0", "1"});
        console->setScriptTiming(20, 0.001);
        startFull();
        const bool codeOut = waitUntil([&] { return told.contains("Results wait for the modules to take end code 56003"); }, 30000);
        console->on_clicked_pushButton_connect_calib_multi_serial(0); // plate 2's link closes
        const bool stopped = !console->chamberScriptRunning();
        sim->onCommand = nullptr;
        console->setScriptTiming(2, 0.001);
        supplyWaitsForReports(15);
        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        plateReady();
        QVERIFY(codeOut);
        QVERIFY(stopped);
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: base-board links closed"});
        QVERIFY(told.filter("no module reported").isEmpty());
        QVERIFY(told.contains("Temperature compensation and retest script: the links of the plates that reported were lost (plates 2): "
                              "nothing is uploaded"));
    }

    // A supply page never filled in: the script is refused before anything is sent, and the box
    // names the field.
    void aScriptIsRefusedWithASupplySetPointTheManualSwitchWouldRefuse_data()
    {
        QTest::addColumn<QString>("voltage");
        QTest::newRow("never filled in") << "0";
        QTest::newRow("empty") << "";
        QTest::newRow("24 V") << "24";
    }
    void aScriptIsRefusedWithASupplySetPointTheManualSwitchWouldRefuse()
    {
        QFETCH(QString, voltage);
        sendImus(2000, 25.0f, 0); // every module reports: nothing else holds the start back
        const QString before = ui->textEdit_dc_power_supply_max_voltage->toPlainText();
        ui->textEdit_dc_power_supply_max_voltage->setPlainText(voltage);
        setParams({"1", "25", "0", "26", "0", "1"});
        QSignalSpy codes(console, &MultiCalib::dc_control_cmd);
        QSignalSpy chamber(console, &MultiCalib::hothouse_generate_start_stop_cmd);
        prompter.shown.clear();
        autoLog.clear();
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        const bool running = console->chamberScriptRunning() || !console->runGuard()->idle();
        if (running)
            ui->pushButton_hothouse_cmd_stop->click();
        ui->textEdit_dc_power_supply_max_voltage->setPlainText(before);
        QVERIFY(!running);
        QVERIFY(codes.isEmpty());
        QVERIFY(chamber.isEmpty());
        QVERIFY(autoLog.isEmpty());
        const QString field = ui->label_hothouse_current_temperature_5->text();
        QVERIFY2(prompter.texts().filter("\"" + field + "\"").size() == 1, qPrintable(prompter.texts().join("\n")));
    }

    // Whoever switched the supply, the manual switch's button offers the other way.
    void theSupplyLabelAndButtonAgree()
    {
        for (int on : {0, 1, 0}) {
            emit console->dcPowerWorker()->signal_switch_read_back(on, true);
            QCoreApplication::processEvents();
            QCOMPARE(ui->label_dc_power_output_state->text(),
                     on ? QString("Output: on (last confirmed by the supply)") : QString("Output: off (last confirmed by the supply)"));
            QCOMPARE(ui->pushButton_dc_power_supply_ON_OFF->text(), on ? QString("Manual power off") : QString("Manual power on"));
        }
    }

    // ---- the supply's set-point: what the page shows is what every switch-on carries ---------
private:
    // The supply model chosen as an operator does: in the settings dialog.
    void chooseSupplyModel(int model)
    {
        Settings *dialog = console->settingsDialog();
        dialog->form()->comboBox_DC_type->setCurrentIndex(model);
        dialog->on_buttonBox_accepted();
        QCOMPARE(int(g_dc_power_type), model);
    }
    // The supply page's fields and model as a function found them, put back however it ends.
    auto keepSupplyPage()
    {
        const QString volts = ui->textEdit_dc_power_supply_max_voltage->toPlainText();
        const QString amps = ui->textEdit_dc_power_supply_max_current->toPlainText();
        const int model = g_dc_power_type;
        return qScopeGuard([this, volts, amps, model] {
            stopAnyRun(console);
            ui->textEdit_dc_power_supply_max_voltage->setPlainText(volts);
            ui->textEdit_dc_power_supply_max_current->setPlainText(amps);
            chooseSupplyModel(model);
        });
    }
    void typeSetPoint(int model, const QString &volts, const QString &amps)
    {
        chooseSupplyModel(model);
        ui->textEdit_dc_power_supply_max_voltage->setPlainText(volts);
        ui->textEdit_dc_power_supply_max_current->setPlainText(amps);
    }
    // A one-step script started with every module reporting (at `timeMs`), the peers' writes
    // cleared: what the console sent and logged in the start alone.
    QStringList startWatched(uint32_t timeMs)
    {
        sendImus(timeMs, 25.0f, 0);
        setParams({"1", "25", "0", "26", "0", "1"});
        dcPeer->clearWrites();
        chamberPeer->clearWrites();
        QStringList trail;
        {
            QObject scope;
            watchTrail(&trail, &scope);
            console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        }
        return trail;
    }
    // The supply's set-point writes ("hr 3 <volts> <amps> <output>") the peer took so far.
    QStringList setPointWrites() const { return dcPeer->writes().filter(QRegularExpression("^hr 3 ")); }
    // What a refusal of the page's set-point names: its field (as its label reads), the value and the rule.
    QString setPointRefusal(const QString &volts, const QString &amps, int model) const
    {
        const QString limit = QStringList{"", "31", "21", "20.5"}.value(model);
        const QString name = QStringList{"", "3030", "3020", "4520"}.value(model);
        if (model == 0)
            return "the supply model is \"UNKNOWN\"; the supply is switched on only with its model (3030, 3020 or 4520) "
                   "chosen in the settings dialog";
        if (volts != "12" && volts != "15" && volts != "31")
            return "the DC supply page's \"" + ui->label_hothouse_current_temperature_5->text() + "\" field holds \"" + volts
                   + "\"; the supply is switched on only at 12, 15 or 31 V";
        const QString current = "the DC supply page's \"" + ui->label_hothouse_set_temperature_16->text() + "\" field holds \""
                                + amps + "\"";
        bool isNumber = false;
        const double a = amps.toDouble(&isNumber);
        if (!isNumber || !std::isfinite(a))
            return current + ", which is not a number";
        if (a > 0 && a < limit.toDouble() / 65535)
            return current + "; the smallest current the " + name + " supply can be set to is "
                   + QStringList{"", "0.00048", "0.00033", "0.00032"}.value(model) + " A";
        return current + "; the supply is switched on only at a current above 0 A and not above " + limit
               + " A, the limit of the " + name + " supply";
    }
    // A one-step script at the page's set-point, started with every module reporting (at
    // `timeMs`); `whileStarting` runs right after its start, before it switches anything. The
    // set-point writes of the peer once it took `onWrites` of them with the output on.
    QStringList writesOfARunStarted(uint32_t timeMs, int onWrites, const std::function<void()> &whileStarting = nullptr)
    {
        chamberAt(25);
        told.clear();
        startWatched(timeMs);
        [&] { QVERIFY(!console->runGuard()->idle()); }();
        if (whileStarting)
            whileStarting();
        const bool took = waitUntil([&] { return setPointWrites().filter(QRegularExpression(" 1$")).size() >= onWrites; }, 20000);
        [&] { QVERIFY2(took, qPrintable(setPointWrites().join("\n"))); }();
        return setPointWrites();
    }

private slots:
    // Typed on the page and never switched by hand: the run checks those values, stores them
    // and every switch-on of the run carries them at the chosen model's scale.
    void aScriptSwitchesTheSupplyOnAtTheSetPointTypedOnThePage_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QString>("amps");
        QTest::addColumn<QString>("registers");
        QTest::addColumn<QString>("setPoint");
        // 12 x 65535 / 31 = 25368, 2 x 65535 / 31 = 4228
        QTest::newRow("12 V, 2 A on a 3030") << 1 << "12" << "2" << "25368 4228" << "12 V, 2 A (3030)";
        // 15 x 65535 / 45.5 = 21604, 3 x 65535 / 20.5 = 9590
        QTest::newRow("15 V, 3 A on a 4520") << 3 << "15" << "3" << "21604 9590" << "15 V, 3 A (4520)";
    }
    void aScriptSwitchesTheSupplyOnAtTheSetPointTypedOnThePage()
    {
        QFETCH(int, model);
        QFETCH(QString, volts);
        QFETCH(QString, amps);
        QFETCH(QString, registers);
        QFETCH(QString, setPoint);
        const auto kept = keepSupplyPage();
        typeSetPoint(model, volts, amps);
        chamberAt(25);
        sendImus(100, 25.0f, 0);
        dcPeer->clearWrites();
        // One compensation step: its two switch-ons, its end 56003 (off, on, off) and the run's
        // end 65530 (off, on): four switch-ons of three writes each, the last write of the run.
        setParams({"1", "25", "1", "30", "1", "1"});
        startFull();
        QCOMPARE(told.filter("DC supply for this run: "), QStringList{"DC supply for this run: " + setPoint});
        QVERIFY(waitUntil([&] { return prompter.texts().contains(kEndText); }, 60000));
        QVERIFY(waitUntil([&] { return setPointWrites().filter(QRegularExpression(" 1$")).size() >= 12; }, 20000));
        const QStringList writes = setPointWrites();
        QCOMPARE(writes.filter(QRegularExpression(" 1$")).size(), 12);
        for (const QString &w : writes)
            QCOMPARE(w.section(' ', 2, 3), registers);
        QCOMPARE(getSettings()->value("main_index/DC_Max_VOLTAGE_NOW").toString(), volts);
        QCOMPARE(getSettings()->value("main_index/DC_Max_CURRENT_NOW").toString(), amps);
    }

    // A set-point outside the rule: the run is refused with a box and a log line naming the
    // field, its value and the rule, before the chamber, the supply or the modules hear of it.
    void aScriptOutsideTheSupplyRuleIsRefusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QString>("amps");
        QTest::newRow("current 0") << 1 << "12" << "0";
        QTest::newRow("current above the 3020's limit") << 2 << "12" << "21.5";
        QTest::newRow("current above the 4520's limit") << 3 << "15" << "21";
        QTest::newRow("model UNKNOWN") << 0 << "12" << "2";
        QTest::newRow("13 V") << 1 << "13" << "2";
        // Above 0, but below one step of the current register: the supply would be set to 0 A.
        QTest::newRow("0.0004 A on a 3030") << 1 << "12" << "0.0004";
        QTest::newRow("1e-300 A on a 3030") << 1 << "12" << "1e-300";
        QTest::newRow("0.0003 A on a 4520") << 3 << "15" << "0.0003";
        QTest::newRow("2,5 A") << 1 << "12" << "2,5";
    }
    void aScriptOutsideTheSupplyRuleIsRefusedBeforeAnythingIsSent()
    {
        QFETCH(int, model);
        QFETCH(QString, volts);
        QFETCH(QString, amps);
        const auto kept = keepSupplyPage();
        typeSetPoint(model, volts, amps);
        prompter.shown.clear();
        const QStringList trail = startWatched(2000);
        QVERIFY(console->runGuard()->idle());
        const QString text = "Cannot start: " + setPointRefusal(volts, amps, model);
        QCOMPARE(trail, QStringList{"log " + text});
        QCOMPARE(prompter.texts().filter(text).size(), 1);
        QVERIFY(setPointWrites().isEmpty());
        QVERIFY(chamberPeer->writes().isEmpty());
    }

    // At 31 V a run asks once more, as the manual switch does, among its start questions: No
    // leaves everything as it was.
    void aThirtyOneVoltRunAsksOnceMoreAndNoSendsNothing()
    {
        const auto kept = keepSupplyPage();
        typeSetPoint(1, "31", "2");
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::No};
        const QStringList trail = startWatched(2100);
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(prompter.texts(), (QStringList{"Do you want to start running the automatic temperature compensation+retest script?",
                                                "Are you sure you need such a high voltage? Unless using DC-DC"}));
        QVERIFY(trail.isEmpty());
        QVERIFY(setPointWrites().isEmpty());
        QVERIFY(chamberPeer->writes().isEmpty());
    }

    // The manual switch follows the same rule: a current of 0 or above the model's limit is
    // refused with a box, and nothing goes to the supply.
    void theManualSwitchRefusesACurrentOutsideTheModelsLimit_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("amps");
        QTest::newRow("0 A on a 3030") << 1 << "0";
        QTest::newRow("31.5 A on a 3030") << 1 << "31.5";
        QTest::newRow("21.5 A on a 3020") << 2 << "21.5";
        QTest::newRow("20.6 A on a 4520") << 3 << "20.6";
        QTest::newRow("0.0004 A on a 3030") << 1 << "0.0004";
        QTest::newRow("1e-300 A on a 3030") << 1 << "1e-300";
        QTest::newRow("0.0003 A on a 3020") << 2 << "0.0003";
        QTest::newRow("2,5 A on a 3030") << 1 << "2,5";
        QTest::newRow("nan A on a 3030") << 1 << "nan";
    }
    void theManualSwitchRefusesACurrentOutsideTheModelsLimit()
    {
        QFETCH(int, model);
        QFETCH(QString, amps);
        const auto kept = keepSupplyPage();
        typeSetPoint(model, "12", amps);
        const uint8_t output = g_dc_power_on;
        const auto restore = qScopeGuard([output] { g_dc_power_on = output; });
        g_dc_power_on = 0; // the switch's way on
        const QByteArray frame = g_dc_set_frame.load();
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), (QStringList{"Are you sure to turn on the power supply?",
                                                "DC supply not switched: " + setPointRefusal("12", amps, model)}));
        QVERIFY(sent.isEmpty());
        QCOMPARE(int(g_dc_power_on), 0);
        QCOMPARE(g_dc_set_frame.load(), frame);
    }

    // A current that rounds down to a register above 0 is taken: the run's switch-ons carry
    // that register, and the smallest current a refusal names is itself taken.
    void aRunSwitchesOnAtACurrentOfOneOrTwoRegisterSteps_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("amps");
        QTest::addColumn<QString>("registers");
        // 0.001 x 65535 / 31 = 2.1, 0.00048 x 65535 / 31 = 1.01
        QTest::newRow("0.001 A on a 3030") << 1 << "0.001" << "25368 2";
        QTest::newRow("0.00048 A on a 3030, the smallest it names") << 1 << "0.00048" << "25368 1";
        // 12 x 65535 / 45.5 = 17283, 0.00032 x 65535 / 20.5 = 1.02
        QTest::newRow("0.00032 A on a 4520, the smallest it names") << 3 << "0.00032" << "17283 1";
    }
    void aRunSwitchesOnAtACurrentOfOneOrTwoRegisterSteps()
    {
        QFETCH(int, model);
        QFETCH(QString, amps);
        QFETCH(QString, registers);
        const auto kept = keepSupplyPage();
        typeSetPoint(model, "12", amps);
        const QStringList writes = writesOfARunStarted(2200, 3);
        QCOMPARE(told.filter("DC supply for this run: "),
                 QStringList{"DC supply for this run: 12 V, " + amps + " A (" + DcPower::modelName(model) + ")"});
        for (const QString &w : writes)
            QCOMPARE(w.section(' ', 2, 3), registers);
    }

    // Every voltage the rule takes gives a voltage register above 0 on every model.
    void everyVoltageTakenGivesAVoltageRegisterAboveZero()
    {
        for (int model = 1; model <= 3; ++model) {
            for (const char *volts : {"12", "15", "31"}) {
                const DcPower::SetPoint p = DcPower::checkSetPoint("V", volts, "A", "1", model);
                QVERIFY2(p.ok(), qPrintable(p.problem));
                const QByteArray f = p.frame(true);
                QVERIFY2((quint8(f[7]) << 8 | quint8(f[8])) > 0, volts);
            }
        }
    }

    // A manual switch-on while a run uses the supply goes out at the page's new set-point, and
    // the run's own switch-ons keep the set-point the run started with.
    void aManualSwitchOnDuringARunLeavesTheRunsSetPointAlone()
    {
        const auto kept = keepSupplyPage();
        const uint8_t output = g_dc_power_on;
        const auto restore = qScopeGuard([output] { g_dc_power_on = output; });
        typeSetPoint(1, "12", "2");
        // 15 x 65535 / 31 = 31710, 3 x 65535 / 31 = 6342; the run's 12 V, 2 A: 25368 4228.
        const QStringList writes = writesOfARunStarted(2300, 4, [this] {
            ui->textEdit_dc_power_supply_max_voltage->setPlainText("15");
            ui->textEdit_dc_power_supply_max_current->setPlainText("3");
            g_dc_power_on = 0; // the switch's way on
            prompter.answers = {QMessageBox::Yes};
            ui->pushButton_dc_power_supply_ON_OFF->click();
        });
        QCOMPARE(writes.filter(QRegularExpression("^hr 3 31710 6342 1$")).size(), 1);
        QCOMPARE(writes.filter(QRegularExpression("^hr 3 25368 4228 1$")).size(), writes.filter(QRegularExpression(" 1$")).size() - 1);
    }

    // Switching off by hand is never refused: whatever the fields hold, the output goes off.
    void theManualSwitchOffIsNeverRefused_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QString>("amps");
        QTest::newRow("current cleared") << 1 << "12" << "0";
        QTest::newRow("current above the limit") << 1 << "12" << "40";
        QTest::newRow("voltage 13") << 1 << "13" << "2";
        QTest::newRow("model UNKNOWN") << 0 << "12" << "2";
    }
    void theManualSwitchOffIsNeverRefused()
    {
        QFETCH(int, model);
        QFETCH(QString, volts);
        QFETCH(QString, amps);
        const auto kept = keepSupplyPage();
        const uint8_t output = g_dc_power_on;
        const auto restore = qScopeGuard([output] { g_dc_power_on = output; });
        g_dc_power_on = 1; // switched on by hand before the fields changed
        typeSetPoint(model, volts, amps);
        dcPeer->clearWrites();
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), QStringList{"Are you sure to turn on the power supply?"});
        QCOMPARE(int(g_dc_power_on), 0);
        // What the supply took: one set-point write, output off.
        QVERIFY(waitUntil([this] { return !setPointWrites().isEmpty(); }, 20000));
        QCOMPARE(setPointWrites().size(), 1);
        QVERIFY2(setPointWrites().first().endsWith(" 0"), qPrintable(setPointWrites().first()));
    }

    // The four-hour Allan run switches the supply off and on again: with the page's set-point,
    // checked before it begins.
    void theFourHourAllanRunSwitchesOnAtThePagesSetPoint()
    {
        multi_calib_cmd *page = console->commandPage();
        const auto kept = keepSupplyPage();
        const auto restore = qScopeGuard([page] {
            page->setRunSecondMs(1000);
            g_recording = 0;
            FormWorkOrderDetails::installAnswerer(nullptr);
        });
        FormWorkOrderDetails::installAnswerer([](FormWorkOrderDetails &d) { d.on_buttonBox_rejected(); });
        page->setRunSecondMs(2);
        g_recording = 1;

        // A current of 0: refused before the run begins, nothing switched.
        typeSetPoint(2, "15", "0");
        dcPeer->clearWrites();
        QSignalSpy codes(console, &MultiCalib::dc_control_cmd);
        prompter.shown.clear();
        page->on_pushButton_allan_advanced_4h_clicked();
        QVERIFY(console->runGuard()->idle());
        const QString refused = "Cannot start: " + setPointRefusal("15", "0", 2);
        QCOMPARE(prompter.texts().filter(refused).size(), 1);
        QCOMPARE(told.filter(refused).size(), 1);
        QVERIFY(codes.isEmpty());

        // 15 V and 3 A on a 3020: 15 x 65535 / 31 = 31710, 3 x 65535 / 21 = 9362.
        ui->textEdit_dc_power_supply_max_current->setPlainText("3");
        told.clear();
        page->on_pushButton_allan_advanced_4h_clicked();
        QCOMPARE(console->runGuard()->active(), RunGuard::AllanFourHour);
        QCOMPARE(told.filter("DC supply for this run: "), QStringList{"DC supply for this run: 15 V, 3 A (3020)"});
        // The switch-off a minute after the start, the switch-on half an hour later.
        QVERIFY(waitUntil([&] { return setPointWrites().filter(QRegularExpression(" 1$")).size() >= 3; }, 20000));
        const QStringList writes = setPointWrites();
        QCOMPARE(writes.size(), 6);
        for (const QString &w : writes)
            QCOMPARE(w.section(' ', 2, 3), QString("31710 9362"));
    }

    // A stop of any kind, before, during or after the post of the run's results, with the
    // service answering at once or late: one stop line with the first cause (a stop asked for
    // meanwhile told after it), nothing more for the run after it, the page stopped, one post,
    // and the note tells the post's time and outcome as the service saw them.
    void aStopEndsTheRunWhereItIs_data()
    {
        QTest::addColumn<double>("answerAfterS");
        QTest::addColumn<int>("by");
        QTest::addColumn<int>("at");
        const QStringList bys{"operator", "Disconnect", "exit", "supply link lost"};
        const QStringList ats{"before the post", "during the post", "after the post"};
        // A program of some of the rows runs beside the others (see scripts.cmake).
#ifdef SUPPLY_STOP_ANSWER_DELAY
        const QList<double> delays{SUPPLY_STOP_ANSWER_DELAY};
        const QList<int> causes{SUPPLY_STOP_CAUSES};
#else
        const QList<double> delays{0.0, 0.5, 2.0};
        const QList<int> causes{ByOperator, ByDisconnect, ByExit, BySupplyLoss};
#endif
        for (double delay : delays)
            for (int by : causes)
                for (int at = BeforePost; at <= AfterPost; ++at)
                    QTest::newRow(qPrintable(QString("answer after %1 s, %2, %3").arg(delay).arg(bys[by], ats[at])))
                        << delay << by << at;
    }
    void aStopEndsTheRunWhereItIs()
    {
        QFETCH(double, answerAfterS);
        QFETCH(int, by);
        QFETCH(int, at);
        const QString run = "Temperature compensation and retest script";
        // A service of the row's own, answering after the row's delay.
        UploadServer stand(TestKit::workDir() + "/service-stop");
        QVERIFY(stand.port() > 0);
        stand.setReply(200, R"({"code":0,"msg":"ok"})", answerAfterS);
        const QString address = getSettings()->value("httpAddr/officialAddr").toString();
        getSettings()->setValue("httpAddr/officialAddr", stand.address());
        // Only the row's stop ends the run, however slow the machine: the chamber's silence and
        // the supply's answers get bounds far beyond the row's time (cleanup() restores them).
        getSettings()->setValue("hothouse/silence_limit_s", kFarSilenceS);
        chamberAt(25);
        sendImus(1700, 25.0f, 0, 0, 129);
        supplyWaitsForReports(250, 20000);
        setParams({"1", "25", "0", "26", "0", "1"});
        console->setScriptTiming(2, 0.001);

        QStringList trail;
        QDateTime postStartedAt; // when the console said it posts the results, to the second
        bool stopAsked = false, secondAsked = false;
        // A stop before the post comes once the end code is out; one during it comes from inside
        // the post's wait. Before the post, a second stop comes while the first one's post waits.
        const int second = by == BySupplyLoss ? int(ByOperator) : int(BySupplyLoss);
        QTimer secondStop;
        std::function<void()> stopNow;
        // During a late answer the stop comes while the service holds the post.
        QTimer whileHeld;
        connect(&whileHeld, &QTimer::timeout, this, [&] {
            if (stand.requests().isEmpty())
                return;
            whileHeld.stop();
            stopNow();
        });
        connect(&secondStop, &QTimer::timeout, this, [&] {
            if (stand.requests().isEmpty() || !trail.filter(" stopped: ").isEmpty())
                return;
            secondStop.stop();
            secondAsked = true;
            stopRunBy(second);
        });
        stopNow = [&] {
            if (stopAsked)
                return;
            stopAsked = true;
            if (at == BeforePost && answerAfterS > 0)
                secondStop.start(10);
            stopRunBy(by);
        };
        // Declared after every local its connections reach: it goes first, and they end with
        // it whatever check ends the function.
        QObject scope;
        watchTrail(&trail, &scope);
        connect(console, &MultiCalib::signalTranspondLog, &scope, [&](const QString &line) {
            if (at == BeforePost && line == "Results wait for the modules to take end code 56003")
                QTimer::singleShot(0, &scope, stopNow);
            if (line.startsWith("Results posted from ") && !postStartedAt.isValid()) {
                postStartedAt = QDateTime::currentDateTime();
                postStartedAt.setTime(QTime(postStartedAt.time().hour(), postStartedAt.time().minute(),
                                            postStartedAt.time().second()));
            }
            // An answer at once: the stop comes in the post's first turn of events.
            if (at == DuringPost && line.startsWith("Results posted from "))
                answerAfterS > 0 ? whileHeld.start(5) : QTimer::singleShot(0, &scope, stopNow);
        });
        startFull();
        if (at == AfterPost) {
            // The post has returned once the script ticks again after the service took it.
            QVERIFY(waitUntil([&] { return !stand.requests().isEmpty(); }, 30000));
            const uint32_t seconds = console->chamberScriptState().runSeconds;
            QVERIFY2(waitUntil([&] { return console->chamberScriptState().runSeconds > seconds + 1; }, 30000),
                     qPrintable(trail.filter("log ").join("\n")));
            stopNow();
        }
        const QRegularExpression outcome("^log " + run + ": its results were posted at (.*) and the service took them$");
        const bool told = waitUntil([&] { return stopAsked && !trail.filter(outcome).isEmpty(); }, 30000);
        secondStop.stop();
        QObject::disconnect(console, nullptr, &scope, nullptr);
        supplyWaitsForReports(15);
        getSettings()->setValue("httpAddr/officialAddr", address);
        const QString status = ui->textEdit_hothouse_current_status->toPlainText();
        const bool running = console->chamberScriptRunning() || !console->runGuard()->idle();
        if (by == ByExit)
            console->connect_serial_port(0); // the link flags the window's end leaves behind
        if (by == ByDisconnect || by == ByExit) {
            relinkAll();
        } else if (by == BySupplyLoss || (secondAsked && second == BySupplyLoss)) {
            relinkSupply();
        }
        QVERIFY2(told, qPrintable(trail.filter("log ").join("\n")));

        // One stop line, the first cause; a stop asked for meanwhile is told after it.
        const QStringList stops = trail.filter(" stopped: ");
        QCOMPARE(stops, QStringList{"log " + run + " stopped: " + causeOf(by)});
        const int stopAt = trail.indexOf(stops.first());
        if (at == BeforePost && answerAfterS > 0) {
            QVERIFY(secondAsked);
            const int joined = trail.indexOf("log " + run + " was already stopping, also asked: " + causeOf(second));
            QVERIFY2(joined > stopAt, qPrintable(trail.join("\n")));
        }
        // Nothing for the run after its stop line: the stop sequence came before it.
        const QStringList after = trail.mid(stopAt);
        QVERIFY2(after.filter(QRegularExpression("^cmd ")).isEmpty(), qPrintable(after.join("\n")));
        QVERIFY(!trail.contains("log Temperature script completed"));
        QVERIFY(!prompter.texts().contains(kEndText));
        // The page reads stopped, and stays so after the post.
        QVERIFY(!running);
        QCOMPARE(status, "Stopped: " + causeOf(by));
        // Exactly one post; the note's time is when it went out: after the console said it posts,
        // never after the service took it in (however long a loaded machine takes in between);
        // its outcome is the service's answer.
        const QVector<UploadServer::Request> posts = stand.requests();
        QCOMPARE(posts.size(), 1);
        QCOMPARE(posts.first().status, 200);
        const QStringList outcomes = trail.filter(outcome);
        QCOMPARE(outcomes.size(), 1);
        const QDateTime sentAt = QDateTime::fromString(outcome.match(outcomes.first()).captured(1), "yyyy-MM-dd hh:mm:ss");
        const QDateTime tookAt = QDateTime::fromString(posts.first().time, "yyyy-MM-dd hh:mm:ss");
        QVERIFY2(sentAt.isValid() && tookAt.isValid(), qPrintable(outcomes.first() + " / " + posts.first().time));
        QVERIFY2(postStartedAt.isValid() && postStartedAt <= sentAt && sentAt <= tookAt,
                 qPrintable(postStartedAt.toString("yyyy-MM-dd hh:mm:ss") + " / " + outcomes.first() + " / " +
                            posts.first().time));
        for (const QString &note : trail.filter(QRegularExpression("^log " + run + ": its results .*(posted|sent) at ")))
            QVERIFY2(note.contains(sentAt.toString("yyyy-MM-dd hh:mm:ss")), qPrintable(note));
    }

    void verdictFiguresCountOnlyLiveImus()
    {
        // 30 IMUs with flag 129 and 2 empty positions, on a plate linked anew.
        freshPlate();
        sendImus(600, 25.0f, 0, 2, 129);
        g_expected_calib_flag = 129;
        QCOMPARE(verdictFigures(), (QStringList{"30", "30", "0", "100.00%"}));
        // No IMU has ever reported.
        freshPlate();
        sendImus(0, 25.0f, 0, 0, 0);
        g_expected_calib_flag = 129; // closing the link cleared it
        QCOMPARE(verdictFigures(), (QStringList{"0", "0", "0", "-"}));
    }

    void aChamberSilentForLessThanItsBoundKeepsTheRunGoing()
    {
        getSettings()->setValue("hothouse/silence_limit_s", 4.0);
        chamberAt(25);
        sendImus(900, 25.0f, 0);
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStart; }, 20000));
        // Four polls (2 s) without an answer: each is told half a poll late, the run goes on.
        const QRegularExpression missedLine("^Chamber: poll \\d+ missed");
        {
            HeldClock held;
            freshTemperatureThenSilence();
            held.clock.advance(kPollMs / 2);
            for (int n = 1; n <= 4; ++n) {
                held.clock.advance(kPollMs);
                QVERIFY(waitUntil([&] { return told.filter(missedLine).size() == n; }));
            }
        }
        QVERIFY(console->chamberScriptRunning());
        QVERIFY(told.filter(" stopped: ").isEmpty());
        const QStringList missed = told.filter(missedLine);
        QVERIFY(missed.first().startsWith("Chamber: poll 1 missed (no temperature for "));
        QVERIFY(missed.last().startsWith("Chamber: poll 4 missed (no temperature for "));
        QVERIFY(missed.last().endsWith("); the run stops after 4.0 s of silence"));
        // The chamber answers again; then it stays silent past the bound and the run stops.
        chamberLine->muted = false;
        expectStopJustPastTheSilenceBound([&] { return console->chamberScriptRunning(); });
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: chamber not answering"});
        unmuteChamber();
    }

    void aChamberThatStopsAnsweringStopsAnAdvancedRunWithinTheStaleLimit()
    {
        getSettings()->setValue("hothouse/silence_limit_s", kSilenceS);
        // The turntable's link flag stands in for a linked turntable: the run does not get as far
        // as a rotation here.
        g_turn_table_connected = 1;
        prompter.shown.clear();
        prompter.answers.clear();
        told.clear();
        console->on_pushButton_advanced_retest();
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        // The chamber has reached the run's first set point: the run goes on fresh temperatures.
        QVERIFY(waitUntil([&] { return console->advancedRunState().phase >= 1; }, 20000));
        QVERIFY(console->hothouseAdvancedTimer()->isActive());
        expectStopJustPastTheSilenceBound([&] { return !console->runGuard()->idle(); });
        g_turn_table_connected = 0;
        QCOMPARE(told.filter(" stopped: "), QStringList{"Advanced retest stopped: chamber not answering"});
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(ui->pushButton_advanced_retest->isEnabled());
        unmuteChamber();
    }

    void anAdvancedRunNeitherNeedsNorStopsForTheSupplyLink()
    {
        g_turn_table_connected = 1; // stands in for a linked turntable: no rotation is reached here
        prompter.shown.clear();
        prompter.answers.clear();
        told.clear();
        console->on_clicked_pushButton_connect_dc_power_ctrl(); // the supply link closes
        QCOMPARE(g_dc_power_connected, uint8_t(0));
        console->on_pushButton_advanced_retest();
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        QVERIFY(waitUntil([&] { return console->advancedRunState().phase >= 1; }, 20000));
        // A supply link that comes and goes in the middle changes nothing for the run.
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QCOMPARE(console->runGuard()->active(), RunGuard::AdvancedRetest);
        QVERIFY(console->hothouseAdvancedTimer()->isActive());
        QVERIFY(told.filter(" stopped: ").isEmpty());
        console->stopActiveRun("stopped by the test");
        g_turn_table_connected = 0;
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        fastSupply();
    }

    void aChamberThatStopsAnsweringStopsTheRunWithinTheStaleLimit()
    {
        getSettings()->setValue("hothouse/silence_limit_s", kSilenceS);
        sendImus(700, 25.0f, 0);
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStart; }, 20000));
        expectStopJustPastTheSilenceBound([&] { return console->chamberScriptRunning(); }, [&] { chamberPeer->stop(); });
        chamberLine->muted = false;
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: chamber not answering"});
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        QCOMPARE(autoLog.last(), 0);
    }

    void anEmptyTemperatureDisplayIsNotZeroDegrees()
    {
        getSettings()->setValue("hothouse/silence_limit_s", kSilenceS);
        // The chamber stays silent: nothing is shown, and nothing reaches 0 degC.
        sendImus(1000, 25.0f, 0);
        HeldClock held;
        silenceChamber();
        ui->textEdit_hothouse_current_temperature->clear();
        QSignalSpy codes(console, &MultiCalib::dc_control_cmd);
        setParams({"2", "0", "30", "85", "30", "1"});
        startFull();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().runSeconds > 20; }));
        QCOMPARE(console->chamberScriptState().phase, ChamberScriptPhase::GoStart);
        held.clock.advance(console->chamberStaleLimitMs() + 1);
        QVERIFY(waitUntil([&] { return !console->chamberScriptRunning(); }));
        QCOMPARE(console->chamberScriptState().phase, ChamberScriptPhase::GoStart);
        for (const QList<QVariant> &c : codes) // no step ever switched the supply on
            QVERIFY(c[0].value<uint16_t>() == 103 || c[0].value<uint16_t>() == 102);
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: chamber not answering"});
        QVERIFY(ui->textEdit_hothouse_current_temperature->toPlainText().isEmpty());
        chamberLine->muted = false;
    }


    void aLostSupplyLinkEndsTheScript()
    {
        setParams({"2", "25", "30", "85", "30", "1"});
        startFull();
        dcLine->hangUpWorker(); // the supply's adapter unplugged
        QVERIFY(waitUntil([&] { return !console->chamberScriptRunning(); }, 5000));
        QCOMPARE(told.filter(" stopped: "), QStringList{"Temperature compensation and retest script stopped: DC supply link lost"});
        QCOMPARE(g_dc_power_connected, uint8_t(0));
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
    }
};

TESTKIT_MAIN_PART(TestScriptsSupply)
#include "test_scripts_supply.moc"

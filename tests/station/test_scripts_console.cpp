// The console's temperature script and advanced chamber-turntable run with scaled times: a
// simulated plate on a pseudo-terminal behind a real rack link, a fake chamber and turntable
// that answer the console's signals, and a local HTTP peer that takes the uploads.
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextEdit>

#include "app/Settings.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "sim/TurntableSim.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "station/ConsoleDialogs.h"
#include "station/ConsoleLogic.h"
#include "station/UploadBodies.h"
#include "station/UploadOutbox.h"
#include "ConsoleSeams.h"
#include "ConsoleTurntable.h"
#include "PlateReports.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;

namespace {
QString stationPath(uint8_t station)
{
    UploadStationInfo info{};
    return uploadStationInfo(station, &info) ? QString::fromLatin1(info.path) : QString();
}
} // namespace

class TestScriptsConsole : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    TurntableSim *table = nullptr;
    WireTap *chamberLine = nullptr; // between the console's chamber worker and the Modbus peer
    MultiCalib *console = nullptr;
    QTcpServer http;
    QStringList posted; // request paths the upload peer received
    QList<QByteArray> postedBodies;
    // What the fake chamber and turntable were told.
    QList<int> targets, slopes, startStop, dcCodes, autoLog;
    int rotations = 0;
    bool turntableAnswers = true;
    bool chamberFollows = true; // the fake chamber reaches each set point
    bool fakeChamberReports = true; // the fake chamber reports its temperature like a poll
    float chamberTemp = 25.0f;
    QTimer fakeChamber;

    QList<uint16_t> ids() const
    {
        QList<uint16_t> out;
        for (const auto &c : sim->commands())
            out << c.cmd.cmd_id;
        return out;
    }
    void reportChamber()
    {
        if (fakeChamberReports)
            console->show_heat_value(chamberTemp);
    }
    void clearRecords()
    {
        targets.clear();
        slopes.clear();
        startStop.clear();
        dcCodes.clear();
        autoLog.clear();
        posted.clear();
        postedBodies.clear();
        prompter.shown.clear();
        prompter.answers.clear();
        sound.played.clear();
        rotations = 0;
        sim->clearReceived();
    }
    // The links an advanced run needs, up as far as its start check sees (the fake chamber,
    // supply and turntable here stand in for linked ones).
    void advancedLinksUp()
    {
        g_hothouse_connected = 1;
        g_dc_power_connected = 1;
        g_turn_table_connected = 1;
    }
    void setParams(const QStringList &texts)
    {
        const QList<QTextEdit *> edits{console->form()->textEdit_hothouse_loops_num, console->form()->textEdit_hothouse_start_temp,
                                       console->form()->textEdit_hothouse_start_temp_last_times, console->form()->textEdit_hothouse_stop_temp,
                                       console->form()->textEdit_hothouse_stop_temp_last_times, console->form()->textEdit_hothouse_temp_slope};
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setPlainText(texts[i]);
    }
    void sendImus(uint32_t timeMs)
    {
        for (auto &imu : sim->imus) {
            imu.time_ms = timeMs;
            imu.fused[6] = 30.0f;
        }
        QVERIFY(PlateReports::sendAndWait(sim, 1));
    }
    void serveHttp()
    {
        while (QTcpSocket *s = http.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                const QByteArray head = s->peek(1 << 20);
                const int headEnd = head.indexOf("\r\n\r\n");
                if (headEnd < 0 || s->property("answered").toBool())
                    return;
                const int length = QRegularExpression("Content-Length: *(\\d+)", QRegularExpression::CaseInsensitiveOption)
                                       .match(QString::fromLatin1(head.left(headEnd)))
                                       .captured(1)
                                       .toInt();
                if (head.size() < headEnd + 4 + length)
                    return; // the whole body first
                s->setProperty("answered", true);
                postedBodies << head.mid(headEnd + 4, length);
                posted << QString::fromLatin1(head.split(' ').value(1));
                const QByteArray body = "{\"code\":0,\"msg\":\"ok\",\"data\":[]}";
                s->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                         QByteArray::number(body.size()) + "\r\n\r\n" + body);
                s->disconnectFromHost();
            });
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(http.listen(QHostAddress::LocalHost));
        connect(&http, &QTcpServer::newConnection, this, &TestScriptsConsole::serveHttp);
        getSettings()->setValue("httpAddr/officialAddr",
                                QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(http.serverPort()));
        getSettings()->setValue("httpAddr/timeoutMs", 3000);
        getSettings()->setValue("turnTableType/type", "0");
        getSettings()->setValue("main_index/DC_type", 1); // the supply model a run needs
        for (const auto &k : TempScript::paramKeys()) // stored by an earlier run of this test
            getSettings()->remove(k.key);
        getSettings()->sync();

        sim = new ModuleSimulator;
        table = new TurntableSim;
        chamberLine = new WireTap;
        QVERIFY(sim->isValid() && table->isValid() && chamberLine->isValid());
        table->speedUp = 400;
        qputenv("KELVANTO_EXTRA_PORTS",
                (sim->portPath() + ":" + table->portPath() + ":" + chamberLine->workerPath()).toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run go out
        console = new MultiCalib;
        console->form()->textEdit_dc_power_supply_max_voltage->setPlainText("12"); // a set-point a run takes
        console->form()->textEdit_dc_power_supply_max_current->setPlainText("2");
        g_dc_power_type = 1;
        console->setScriptTiming(2, 0.001);
        console->setChamberPollMs(1000);

        // The fake chamber reaches every set point a few milliseconds after it is sent and
        // reports its temperature every 10 ms.
        connect(console, &MultiCalib::hothouse_set_target_temp, this, [this](int16_t t) {
            targets << t;
            if (chamberFollows)
                QTimer::singleShot(4, console, [this, t] {
                    chamberTemp = float(t);
                    console->show_heat_value(chamberTemp);
                });
        });
        connect(&fakeChamber, &QTimer::timeout, this, &TestScriptsConsole::reportChamber);
        fakeChamber.start(10);
        connect(console, &MultiCalib::hothouse_cmd_set_slope, this, [this](uint8_t s) { slopes << s; });
        connect(console, &MultiCalib::hothouse_generate_start_stop_cmd, this, [this](uint8_t on) { startStop << on; });
        connect(console, &MultiCalib::dc_control_cmd, this, [this](uint16_t c) { dcCodes << c; });
        connect(console, &MultiCalib::signal_auto_log_imu, this, [this](uint8_t on) { autoLog << on; });
        // The fake turntable completes each constant-temperature rotation shortly after.
        connect(console, &MultiCalib::signal_turnTable_constant_heat_rotate, this, [this] {
            ++rotations;
            if (turntableAnswers)
                QTimer::singleShot(5, console, [this] { console->rev_turn_table_rotated_times(); });
        });
        console->show_heat_value(25.0f);

        QVERIFY(pickSimulatedPort(console->form()->comboBox_calib_multi_serial2, sim->portPath()));
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }));
        setRepeatSpacing(console->rackWorker(0), 20, 40);
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return console->baseBoardReported(1); }));
    }

    void cleanupTestCase()
    {
        fakeChamber.stop();
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete sim;
        delete table;
        delete chamberLine;
    }

    // Every function starts where a run can: the links up (as far as the start checks see) and
    // every IMU of the plate seen reporting.
    void init()
    {
        advancedLinksUp();
        sendImus(100);
    }

    // Whatever check ended a function: no run holds the station, the fakes answer again, and a
    // chamber worker the function linked is retired.
    void cleanup()
    {
        stopAnyRun(console);
        turntableAnswers = true;
        chamberFollows = true;
        fakeChamberReports = true;
        g_dual_computer_temp_calib_flag = 0;
        g_recording = 0;
        ConsoleDialogs::install(nullptr);
        QVERIFY(TestKit::retireWorker(console->hothouseWorker()));
    }

    void eachStartButtonAsksOnceAClickAndNoLeavesEverythingAsItWas()
    {
        clearRecords();
        advancedLinksUp();
        for (QPushButton *b : {console->form()->pushButton_temperature_retest, console->form()->pushButton_hothouse_cmd_auto_include_dc_control,
                               console->form()->pushButton_advanced_calib, console->form()->pushButton_advanced_calib_retest,
                               console->form()->pushButton_advanced_retest}) {
            prompter.shown.clear();
            prompter.answers = {QMessageBox::No};
            b->click();
            QCOMPARE(prompter.shown.size(), 1);
            QVERIFY(b->isEnabled());
        }
        QTest::qWait(50);
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(!console->advancedSequencePending());
        QVERIFY(autoLog.isEmpty() && targets.isEmpty() && startStop.isEmpty() && dcCodes.isEmpty());
        QCOMPARE(g_advanced_calib_type.load(), uint8_t(0));
    }

    void aStartWithAnImuNotInstalledIsRefusedWithItsPlateAndNumber()
    {
        clearRecords();
        sendImus(0);
        // 26 degC/min: more than a TCP chamber takes, within the RTU chamber the next link makes.
        setParams({"2", "-40", "1", "85", "1", "26"});
        g_dc_power_connected = 1;
        g_hothouse_connected = 1;
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(prompter.texts(), (QStringList{"Do you want to start running the automatic temperature retest script?",
                                                "Floor2 IMU1,not installed properly, please reinstall or disable it"}));
        QCOMPARE(prompter.shown[1].title, QString("Tip"));
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QCOMPARE(autoLog, QList<int>{1}); // the logging switched on before the checks stays on
        QVERIFY(dcCodes.isEmpty());
    }

    void aStartWithoutItsLinksIsRefusedByNameBeforeAnythingChanges()
    {
        clearRecords();
        sendImus(500);
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        g_dc_power_connected = 0;
        g_hothouse_connected = 0;
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QCOMPARE(prompter.texts().last(), QString("Cannot start: not linked: chamber, DC supply"));
        QCOMPARE(prompter.shown.first().title, QString("warning"));
        QCOMPARE(told.size(), 1);
        g_hothouse_connected = 1;
        prompter.shown.clear();
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(prompter.texts().last(), QString("Cannot start: not linked: DC supply"));
        QVERIFY(autoLog.isEmpty()); // refused before the plates were told to log
        g_dc_power_connected = 1;
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::No};
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QCOMPARE(prompter.texts().last(), QString("The power will be turned off after 1 minute of starting"));
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(dcCodes.isEmpty());
        QVERIFY(startStop.isEmpty());
    }

    void parametersThatAreNoWholeNumberOrOutOfRangeAreRefusedBeforeTheStart()
    {
        clearRecords();
        for (const QStringList &bad : {QStringList{"2", "4000", "1", "85", "1", "1"}, QStringList{"2", "-40", "abc", "85", "1", "1"},
                                       QStringList{"2", "-40", "1", "85", "-3", "1"}}) {
            setParams(bad);
            prompter.shown.clear();
            console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
            // Refused before the operator is asked to start.
            QCOMPARE(prompter.shown.size(), 1);
            QCOMPARE(prompter.shown[0].title, QString("Warning"));
            QVERIFY(prompter.texts()[0].contains("\"" + bad[bad[1] == "4000" ? 1 : bad[2] == "abc" ? 2 : 4] + "\""));
        }
        QVERIFY(prompter.texts()[0].startsWith("Stop soak"));
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(targets.isEmpty() && dcCodes.isEmpty() && autoLog.isEmpty() && startStop.isEmpty());
    }

    void aStepCountTheScriptCannotReachIsRefused()
    {
        clearRecords();
        setParams({"1", "-40", "1", "85", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QCOMPARE(prompter.texts(), QStringList{"The number of loops must be greater than 1"});
        QVERIFY(!console->hothouseScriptTimer()->isActive());
    }

    void theRetestScriptRunsItsPhasesThenEndsWithFlag128AndStation3()
    {
        clearRecords();
        setParams({"2", "-40", "1", "85", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(console->hothouseScriptTimer()->isActive());
        QCOMPARE(console->hothouseScriptTimer()->interval(), 2);
        QVERIFY(!console->form()->pushButton_temperature_retest->isEnabled());
        QVERIFY(console->chamberScriptRetestRun());
        QCOMPARE(console->chamberScriptState().step, 1u);
        const QString endText = "Temperature compensation calibration retest completed, please check the retest marker position";
        QVERIFY(waitUntil([&] { return prompter.texts().contains(endText); }, 60000));

        // Changed parameters outside administrator mode: used without a question, not stored.
        QCOMPARE(prompter.texts().filter("parameters").size(), 0);
        QVERIFY(!getSettings()->contains("main_index/WENXIANG_START_BAOWEN_TIME"));
        QCOMPARE(console->chamberScriptState().startSoak, 1);
        QCOMPARE(dcCodes.first(), 104);
        // The chamber was at the start temperature long before the (scaled) minute: the step's
        // switch-on cancelled the switch-off due after the start.
        QVERIFY(!dcCodes.contains(102));
        QCOMPARE(dcCodes, (QList<int>{104, 58001, 58001, 58003, 65530}));
        QCOMPARE(targets, (QList<int>{-40, 85, 25}));
        QCOMPARE(slopes, (QList<int>{10, 3, 10}));
        QCOMPARE(startStop, (QList<int>{1, 0})); // on at the start, off by the end box's Yes
        QCOMPARE(autoLog, (QList<int>{1, 0}));
        QCOMPARE(g_expected_calib_flag, 128u);
        QCOMPARE(posted, QStringList{stationPath(3)});
        QCOMPARE(sound.played.last(), QString(Sounds::Class));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(console->form()->pushButton_temperature_retest->isEnabled());
        QCOMPARE(console->form()->textEdit_hothouse_current_loops->toPlainText(), QString("2"));
        QCOMPARE(console->chamberScriptState().elapsedEstimate, console->chamberScriptState().totalEstimate);

        // One script line per tick in the run's chamber log.
        QFile log(console->hotHouseLogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = log.readAll().split('\n');
        // Earlier runs of the same clock second continue the same file: this run's part.
        for (int i = lines.size() - 1; i > 0; --i)
            if (lines[i].startsWith("t,")) {
                lines = lines.mid(i);
                break;
            }
        QVERIFY(lines.size() > 1800);
        QVERIFY(lines[0].startsWith("t,elapsed,current_temperature,set_temperature,temp_slope,step,user_target,temp1-0"));
        // Every line has the header's fields; the retest step reads 1, the way to 25 degC 2.
        const int fields = lines[0].split(',').size();
        QSet<QByteArray> steps;
        for (int i = 1; i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                continue;
            const QList<QByteArray> f = lines[i].split(',');
            QCOMPARE(f.size(), fields);
            steps << f[5];
        }
        QCOMPARE(steps, (QSet<QByteArray>{"1", "2"}));
        QVERIFY(!console->hotHouseLogOpen()); // closed with the end of the run
    }

    void aChamberStillOnItsWayHasTheSupplySwitchedOffAMinuteAfterTheStart()
    {
        clearRecords();
        advancedLinksUp();
        sendImus(650);
        chamberFollows = false; // the chamber never reaches -40 degC: no step switches the supply on
        // The script's seconds when the switch-off went out (its ticks count them, however late
        // they run).
        int offAt = -1;
        QObject listening;
        connect(console, &MultiCalib::dc_control_cmd, &listening, [&](uint16_t code) {
            if (code == 102 && offAt < 0)
                offAt = int(console->chamberScriptState().runSeconds);
        });
        setParams({"2", "-40", "1", "85", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(waitUntil([&] { return offAt >= 0; }));
        console->stopActiveRun("stopped by the test");
        QCOMPARE(offAt, 60);
        QCOMPARE(dcCodes, (QList<int>{104, 102}));
    }

    void reportingImusPastTheStopTemperatureEndTheStopSoakEarly()
    {
        clearRecords();
        sendImus(600);
        setParams({"1", "-40", "0", "85", "30", "1"});
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStop; }));
        auto report = [&](float temp) {
            for (auto &imu : sim->imus) {
                imu.time_ms = 900;
                imu.calib_status = 56001;
                imu.fused[6] = temp;
            }
            QVERIFY(PlateReports::sendAndWait(sim, 1));
        };
        report(85.0f); // exactly at the stop temperature: the soak goes on
        QTest::qWait(100);
        QCOMPARE(console->chamberScriptState().phase, ChamberScriptPhase::SoakStop);
        report(86.0f);
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase != ChamberScriptPhase::SoakStop; }));
        QVERIFY(console->chamberScriptState().runSeconds < 1000); // long before the 30 minutes
        const QString endText = "Temperature compensation calibration retest completed, please check the retest marker position";
        QVERIFY(waitUntil([&] { return prompter.texts().contains(endText); }, 60000));
        QVERIFY(!dcCodes.contains(102));
        QCOMPARE(dcCodes, (QList<int>{103, 56001, 56001, 56003, 65530}));
        QCOMPARE(targets, (QList<int>{-40, 85, 25}));
        QCOMPARE(g_expected_calib_flag, 129u);
        QCOMPARE(posted, QStringList{stationPath(0)});
        QVERIFY(!console->chamberScriptRetestRun());
    }

    void aChamberThatNeverReachesItsSetPointStopsTheScriptAtTheBound()
    {
        clearRecords();
        sendImus(700);
        g_hothouse_connected = 1;
        g_dc_power_connected = 1;
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        chamberTemp = 25.0f;
        console->show_heat_value(chamberTemp);
        chamberFollows = false; // the chamber answers, but stays at 25 degC
        setParams({"2", "35", "1", "40", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(console->chamberScriptRunning());
        const uint32_t bound = TempScript::rampBound(console->chamberScriptState()).seconds;
        QCOMPARE(bound, 2 * 300u + 1800u); // 10 degC at 2 degC a minute, twice, and half an hour
        const bool stopped = waitUntil([&] { return !console->chamberScriptRunning(); }, 60000);
        chamberFollows = true;
        QVERIFY(stopped);
        QCOMPARE(console->chamberScriptState().phase, ChamberScriptPhase::GoStart);
        QCOMPARE(console->chamberScriptState().secondsInPhase, bound + 1);
        QStringList lines;
        for (const QList<QVariant> &l : told)
            lines << l[0].toString();
        QCOMPARE(lines.filter(" stopped: "), QStringList{"Temperature retest script stopped: chamber did not reach 35 °C"});
        QCOMPARE(prompter.texts().last(), QString("The chamber did not come within 1 °C of 35 °C in 40 min: the run is "
                                                  "stopped and nothing is uploaded"));
        QVERIFY(sound.played.contains(Sounds::Class));
        QVERIFY(sound.looping.isEmpty());
        QCOMPARE(startStop.last(), 0);
        QVERIFY(console->runGuard()->idle());
        QTest::qWait(200);
        QVERIFY(posted.isEmpty());
    }

    void closingTheChamberLinkStopsTheScriptWhereItIs()
    {
        clearRecords();
        g_expected_calib_flag = 0;
        sendImus(700); // the last run's start soak cleared the records
        setParams({"2", "-40", "5", "85", "5", "1"});
        g_dual_computer_temp_calib_flag = 1;
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QVERIFY(waitUntil([&] { return console->chamberScriptState().phase == ChamberScriptPhase::SoakStart; }));
        g_dual_computer_temp_calib_flag = 0;
        // Chamber slave mode marks the set-point and slope displays every second.
        QCOMPARE(console->form()->textEdit_hothouse_set_temperature->toPlainText(), QString("Warm box slave mode"));
        QCOMPARE(console->form()->textEdit_hothouse_temp_slope_rev->toPlainText(), QString("Warm box slave mode"));
        QCOMPARE(dcCodes.mid(0, 2), (QList<int>{103, 56001}));
        g_hothouse_connected = 1;
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(console->form()->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        const uint32_t seconds = console->chamberScriptState().secondsInPhase;
        QTest::qWait(300);
        QCOMPARE(console->chamberScriptState().secondsInPhase, seconds);
        QVERIFY(!dcCodes.contains(102));
        QCOMPARE(dcCodes, (QList<int>{103, 56001}));
        QVERIFY(posted.isEmpty());
        QCOMPARE(g_expected_calib_flag, 0u);
        QCOMPARE(autoLog, (QList<int>{1, 0})); // the stop ends the IMUs' logging
        QVERIFY(!console->hotHouseLogOpen());
    }

    void anAdvancedCalibrationAndRetestDrivesPlatesChamberAndTurntableToStation5()
    {
        clearRecords();
        advancedLinksUp();
        g_recording = 1;
        // The soaks count wall-clock seconds: a minute passes every two milliseconds.
        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_calib_retest();
        QCOMPARE(prompter.texts(), QStringList{"Do you want to start automatic calibration and retesting of the turntable with a temperature box?"});
        QVERIFY(!console->form()->pushButton_advanced_calib_retest->isEnabled());
        QCOMPARE(console->form()->pushButton_advanced_calib_retest->styleSheet(), QString("color:grey"));
        QVERIFY(waitUntil([&] { return startStop.size() >= 1 && startStop.last() == 0; }, 60000));
        QVERIFY(waitUntil([&] { return posted.size() == 1; }, 10000));
        minutes.stop();

        QCOMPARE(rotations, 14);
        QCOMPARE(posted, QStringList{stationPath(5)});
        // The end of the chamber run (report 39): the expected flag, the end sound and box.
        QCOMPARE(g_expected_calib_flag, 16383u);
        QVERIFY(prompter.texts().contains("The full temperature calibration retest is completed. Please check if the retest flag is 16383"));
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(console->form()->textEdit_turn_table_status_advanced->toPlainText().contains("Cool to room temperature, end after 30 minutes"));
        QCOMPARE(g_advanced_calib_type.load(), uint8_t(2));
        QCOMPARE(targets.mid(0, 4), (QList<int>{80, 80, 50, 60}));
        QCOMPARE(targets.mid(12, 2), (QList<int>{-40, -40}));
        QCOMPARE(targets.mid(14, 4), (QList<int>{-30, -30, 0, -10}));
        QCOMPARE(targets.last(), 25);
        QCOMPARE(targets.size(), 14 * 2 + 1);
        QVERIFY(!console->advancedRunState().running);
        // The run is over: every start is free again.
        QVERIFY(console->runGuard()->idle());
        QVERIFY(console->form()->pushButton_advanced_calib->isEnabled());
        QVERIFY(console->form()->pushButton_advanced_retest->isEnabled());
        QVERIFY(console->form()->textEdit_turn_table_status_advanced->toPlainText().contains("Calibration completed, start retesting"));

        // The plates heard the reset, the date, the calibration and the retest twice.
        QVERIFY(waitUntil([&] { return ids().count(52000) >= 2; }));
        const QList<ModuleSimulator::ReceivedCommand> cmds = sim->commands();
        QList<uint16_t> firsts;
        for (const auto &c : cmds)
            if (!firsts.contains(c.cmd.cmd_id))
                firsts << c.cmd.cmd_id;
        QCOMPARE(firsts, (QList<uint16_t>{59999, 30007, 51000, 52000}));
        for (const auto &c : cmds)
            if (c.cmd.cmd_id == 30007)
                QCOMPARE(c.cmd.cm3, 260102u); // the manual clock's start day, yyMMdd
        g_recording = 0;
    }

    // The modules write their retest flag at the end of the last rotation: the post waits for
    // their reports after it and carries that flag.
    void anAdvancedRetestPostsTheFlagsItsModulesWroteAtTheEnd()
    {
        clearRecords();
        advancedLinksUp();
        turntableAnswers = false;
        for (auto &imu : sim->imus)
            imu.calib_flag_h = 1;
        sendImus(950);
        console->cmd_start(9); // the console page asks the modules for their stream
        // Rotations 1 to 6 end at once; the 7th is answered below, with the modules' stream held
        // until every report they sent before it is in.
        QMetaObject::Connection c = connect(console, &MultiCalib::signal_turnTable_constant_heat_rotate, this, [this] {
            if (rotations == 7)
                sim->stopStreaming();
            else
                QTimer::singleShot(5, console, [this] { console->rev_turn_table_rotated_times(); });
        });
        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_retest();
        const bool lastRotation = waitUntil([&] { return rotations == 7; }, 60000);
        sendImus(951); // reaches the console after every earlier report
        // The last rotation ends; the modules write their flag, then report again.
        for (auto &imu : sim->imus)
            imu.calib_flag_h = 16383;
        console->rev_turn_table_rotated_times();
        console->cmd_start(9);
        const bool postedOnce = waitUntil([&] { return posted.size() == 1; }, 60000);
        const bool ended = waitUntil([&] { return console->runGuard()->idle(); }, 10000);
        minutes.stop();
        disconnect(c);
        sim->stopStreaming();
        turntableAnswers = true;
        QVERIFY(lastRotation);
        QVERIFY(postedOnce && ended);
        QCOMPARE(rotations, 7);
        QCOMPARE(posted, QStringList{stationPath(5)});
        const QJsonArray details = QJsonDocument::fromJson(postedBodies.last()).object().value("details").toArray();
        QCOMPARE(details.size(), 32);
        for (const QJsonValue &d : details)
            QCOMPARE(d.toObject().value("actCalibrationFlagBit").toString() + d.toObject().value("result").toString(),
                     QString("16383OK"));
    }

    // A run whose linked plate's modules never report has nothing to post: the alarm says so,
    // and no completion box claims otherwise.
    void runsWhoseModulesNeverReportPostNothingAndSaySo()
    {
        clearRecords();
        // The plate is linked anew, its base board silent: no frame streamed before (still on
        // its way through the closing link) reaches the cleared records.
        QVERIFY(PlateReports::silenceAndDrain(sim, 1));
        console->connect_serial_port(0);
        g_calib_status.clearAll();
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }));
        setRepeatSpacing(console->rackWorker(0), 20, 40);
        advancedLinksUp();
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_retest();
        const bool ended = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        minutes.stop();
        QVERIFY(ended);
        QCOMPARE(rotations, 7);
        setParams({"2", "-40", "1", "85", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(console->chamberScriptRunning());
        QVERIFY(waitUntil([&] { return console->runGuard()->idle(); }, 60000));
        QCOMPARE(dcCodes.last(), 65530);
        const QStringList alarms{"Advanced retest: no module reported during the run: nothing is uploaded",
                                 "Temperature retest script: no module reported during the run: nothing is uploaded"};
        QCOMPARE(prompter.texts().filter("reported"), alarms);
        QVERIFY(prompter.texts().filter("completed").isEmpty());
        for (const QString &alarm : alarms)
            QVERIFY(told.contains({alarm}));
        QCOMPARE(sound.played.count(Sounds::Class), 3); // the script's end, then each alarm
        QVERIFY(sound.looping.isEmpty());
        QTest::qWait(200);
        QVERIFY(posted.isEmpty());
    }

    void aCalibrationStartNeedsRecordingOn()
    {
        clearRecords();
        advancedLinksUp();
        g_recording = 0;
        QPushButton *b = console->form()->pushButton_advanced_calib;
        b->setEnabled(true);
        console->on_pushButton_advanced_calib();
        QCOMPARE(prompter.texts().last(), QString("Please save the data first"));
        QVERIFY(b->isEnabled());
        QVERIFY(!console->advancedSequencePending());
    }

    void aRotationThatEndsAfterTheChamberLinkClosedAdvancesNothing()
    {
        clearRecords();
        advancedLinksUp();
        turntableAnswers = false;
        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return rotations == 1; }, 20000));
        minutes.stop();
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        g_hothouse_connected = 1;
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        const int sentTargets = targets.size();
        console->rev_turn_table_rotated_times();
        QCOMPARE(console->advancedRunState().step, uint8_t(0));
        QCOMPARE(targets.size(), sentTargets);
        QCOMPARE(targets, (QList<int>{-30, -30}));
        turntableAnswers = true;
    }

    void aRetestStartedWithoutAskingSends52000TwiceAMinuteApart()
    {
        clearRecords();
        advancedLinksUp();
        turntableAnswers = false;
        QElapsedTimer since;
        since.start();
        QList<qint64> retestAt; // when the console broadcast 52000
        QObject listening; // the connection ends with this function, whichever check ends it
        connect(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times, &listening,
                [&](uint16_t id, float, float, uint32_t, uint32_t, int32_t, int32_t) {
                    if (id == 52000)
                        retestAt << since.elapsed();
                });
        console->on_pushButton_advanced_retest_started_from_thread();
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(g_advanced_calib_type.load(), uint8_t(2));
        QVERIFY(!console->form()->pushButton_advanced_calib->isEnabled());
        QVERIFY(!console->form()->pushButton_advanced_retest->isEnabled());
        QVERIFY(waitUntil([&] { return startStop.size() == 2; })); // chamber on: the start, then the start slot
        QCOMPARE(targets, QList<int>{-30});
        QCOMPARE(slopes, QList<int>{10});
        QCOMPARE(retestAt.size(), 2);
        QVERIFY(retestAt[1] - retestAt[0] >= 55); // a minute, scaled to 60 ms
        QVERIFY(console->hothouseAdvancedTimer()->isActive());
        QCOMPARE(console->hothouseAdvancedTimer()->interval(), 2);
        QVERIFY(waitUntil([&] { return ids().contains(52000); }));
        g_hothouse_connected = 1;
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        turntableAnswers = true;
    }

    void anAdministratorMayStoreChangedParametersBeforeTheRun()
    {
        clearRecords();
        sendImus(800);
        ScriptedConsoleDialogs dialogs;
        dialogs.texts = QStringList{"580417"};
        ConsoleDialogs::install(&dialogs);
        console->on_pushButton_show_setting_page();
        ConsoleDialogs::install(nullptr);
        QVERIFY(console->isAdminMode());
        prompter.shown.clear();
        g_hothouse_connected = 1;
        setParams({"3", "-20", "15", "70", "20", "2"});
        // Yes to the start and to storing; No to the power question ends the start there.
        prompter.answers = {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok, QMessageBox::No};
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QCOMPARE(prompter.texts(), (QStringList{"Do you want to start running the automatic temperature compensation+retest script?",
                                                "Change in temperature compensation calibration parameters, do you want to save it?",
                                                "Temperature compensation calibration parameters have been saved",
                                                "The power will be turned off after 1 minute of starting"}));
        QSettings *st = getSettings();
        QCOMPARE(st->value("main_index/WENXIANG_LOOPS").toString(), QString("3"));
        QCOMPARE(st->value("main_index/WENXIANG_START_TEMP").toString(), QString("-20"));
        QCOMPARE(st->value("main_index/WENXIANG_START_BAOWEN_TIME").toString(), QString("15"));
        QCOMPARE(st->value("main_index/WENXIANG_STOP_TEMP").toString(), QString("70"));
        QCOMPARE(st->value("main_index/WENXIANG_STOP_BAOWEN_TIME").toString(), QString("20"));
        QCOMPARE(st->value("main_index/WENXIANG_TEMP_SLOPE").toString(), QString("2"));
        QVERIFY(!console->hothouseScriptTimer()->isActive());

        // Unchanged parameters ask nothing; No to storing keeps the stored texts.
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::No};
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QCOMPARE(prompter.texts().filter("parameters").size(), 0);
        setParams({"4", "-20", "15", "70", "20", "2"});
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::No};
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        QCOMPARE(prompter.texts()[2], QString("Temperature compensation calibration parameters do not need to be saved"));
        QCOMPARE(st->value("main_index/WENXIANG_LOOPS").toString(), QString("3"));
    }

    void theTurntableWorkerRotatesEveryStepOfAnAdvancedRetest()
    {
        clearRecords();
        turntableAnswers = false; // only the real worker reports its rotations now
        g_turn_table_move_time = 5;
        g_turn_table_acc_time = 1;
        g_turn_table_gyro_time = 1;
        g_turn_table_gyro_nonlinearity_time = 1;
        g_turn_table_acc_nonlinearity_time = 1;
        advancedLinksUp();
        g_turn_table_connected = 0; // the real worker's link now
        // A rotation that fails now stops the run: the worker runs on test time.
        WorkerThread_turn_table *w = linkConsoleTurntable(console, table);
        QVERIFY(w);
        QSignalSpy rotated(w, &WorkerThread_turn_table::signal_rotated_times);
        const uint32_t statusBefore = console->turnTableStatusCount();
        QVERIFY(waitUntil([&] { return console->turnTableStatusCount() > statusBefore + 5; }));

        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_retest();
        QVERIFY(waitUntil([&] { return posted.size() == 1; }, 120000));
        QVERIFY(waitUntil([&] { return console->runGuard()->idle(); })); // the cool-down has ended
        minutes.stop();
        QCOMPARE(rotated.size(), 7);
        QCOMPARE(rotations, 7);
        QCOMPARE(posted, QStringList{stationPath(5)});
        QCOMPARE(targets, (QList<int>{-30, -30, 0, -10, 20, 10, 40, 30, 60, 50, 80, 70, 85, 85, 25}));
        QVERIFY(table->commands().size() > 7); // the table moved for every rotation
        turntableAnswers = true;
    }

    void theScriptDrivesTheRealChamberWorkerUntilItsLinkIsClosed()
    {
        clearRecords();
        chamberFollows = false; // the peer's chamber stays at -10 degC
        fakeChamberReports = false;
        sendImus(900);
        ModbusPeer peer({"--rtu", chamberLine->peerPath(), "--slave", "1", "--set", "0x0744=0xFF9C"}, "chamber_writes.txt");
        QVERIFY(peer.waitReady());
        QVERIFY(pickSimulatedPort(console->form()->comboBox_calib_multi_hot_house, chamberLine->workerPath()));
        g_hothouse_connected = 0;
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
        // The chamber's first poll reports -10 degC, the start temperature of this run.
        QVERIFY(waitUntil([&] { return console->form()->textEdit_hothouse_current_temperature->toPlainText() == "-10"; }, 8000));

        setParams({"2", "-10", "0", "85", "1", "1"});
        console->on_pushButton_temperature_retest_clicked();
        QVERIFY(console->hothouseScriptTimer()->isActive());
        // Start, the retest step's ramp rate 3 and the stop temperature 85 reach the chamber's registers.
        QVERIFY(waitUntil([&] { return peer.writes().contains("hr 1870 850"); }, 8000));
        QCOMPARE(peer.writes().filter(QRegularExpression("^(co 1200|hr 1874|hr 1870)")),
                 (QStringList{"co 1200 1", "hr 1874 300", "hr 1870 850"}));
        QCOMPARE(int(console->chamberScriptState().phase), int(ChamberScriptPhase::GoStop));
        QCOMPARE(console->form()->textEdit_hothouse_current_status->toPlainText(), QString("Go to:85"));
        QVERIFY(!dcCodes.contains(102));
        QCOMPARE(dcCodes, (QList<int>{104, 58001, 58001}));

        // Closing the chamber link stops the script where it is; the chamber hears nothing more.
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        const int writes = peer.writes().size();
        QTest::qWait(300);
        QCOMPARE(peer.writes().size(), writes);
        QCOMPARE(console->chamberScriptState().phase, ChamberScriptPhase::GoStop);
        QVERIFY(posted.isEmpty());
        chamberFollows = true;
        fakeChamberReports = true;
    }

    // The chamber and supply links close while the operator reads the last start question:
    // Yes begins no run, the refusal names the links as it would have before the questions, and
    // nothing is sent.
    void linksClosedWhileTheLastStartQuestionWaitsRefuseTheRunByName()
    {
        clearRecords();
        sendImus(500);
        const QString last("The power will be turned off after 1 minute of starting");
        const auto hook = prompter.whileEachShown([&](const QString &text) {
            if (text == last)
                g_hothouse_connected = g_dc_power_connected = 0;
        });
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        prompter.answers = {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes};
        console->on_pushButton_temperature_retest_clicked();
        const QString refusal("Cannot start: not linked: chamber, DC supply");
        QVERIFY(prompter.texts().contains(last));
        QCOMPARE(prompter.texts().last(), refusal);
        QVERIFY(told.contains({refusal}));
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(console->form()->pushButton_temperature_retest->isEnabled());
        QTest::qWait(100);
        QVERIFY(dcCodes.isEmpty() && startStop.isEmpty() && targets.isEmpty() && slopes.isEmpty());
        for (const QList<QVariant> &line : told)
            QVERIFY2(!line[0].toString().endsWith(" started"), qPrintable(line[0].toString()));
    }

    // The same for the advanced calibration: its chamber and turntable links close while its
    // start question waits.
    // The retest's second step first aims at 0 degC: a display the chamber left empty is no
    // temperature there, so the run waits and stops for the silent chamber instead.
    void anEmptyTemperatureDisplayReachesNoAdvancedTargetOfZeroDegrees()
    {
        clearRecords();
        advancedLinksUp();
        getSettings()->setValue("hothouse/silence_limit_s", 1800); // half an hour of ticks read the display
        console->form()->textEdit_turn_table_status_advanced->clear(); // earlier runs' lines
        QObject scope;
        // At the end of the first step's rotation the chamber falls silent and its display empty.
        connect(console, &MultiCalib::signal_turnTable_constant_heat_rotate, &scope, [this] {
            chamberFollows = false;
            fakeChamberReports = false;
            console->form()->textEdit_hothouse_current_temperature->clear();
        });
        MinuteTicker minutes(clock, [this] { reportChamber(); });
        minutes.start();
        console->on_pushButton_advanced_retest();
        const bool stopped = waitUntil([&] { return console->runGuard()->idle(); }, 60000);
        minutes.stop();
        getSettings()->remove("hothouse/silence_limit_s");
        QVERIFY(stopped);
        const QString status = console->form()->textEdit_turn_table_status_advanced->toPlainText();
        QVERIFY2(status.contains("Overdue control reaches -30degrees"), qPrintable(status));
        QVERIFY2(!status.contains("reaches 0degrees"), qPrintable(status));
        QCOMPARE(rotations, 1);
        QCOMPARE(targets.mid(0, 3), (QList<int>{-30, -30, 0}));
    }

    void linksClosedWhileTheAdvancedStartQuestionWaitsRefuseTheRunByName()
    {
        clearRecords();
        advancedLinksUp();
        g_recording = 1;
        const uint8_t typeBefore = g_advanced_calib_type.load();
        const auto hook = prompter.whileEachShown([](const QString &) { g_hothouse_connected = g_turn_table_connected = 0; });
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        prompter.answers = {QMessageBox::Yes};
        console->on_pushButton_advanced_calib();
        const QString refusal("Cannot start: not linked: chamber, turntable");
        QCOMPARE(prompter.texts(), (QStringList{"Do you want to start automatic calibration of the turntable with a temperature box?",
                                                refusal}));
        QVERIFY(told.contains({refusal}));
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->advancedSequencePending());
        QVERIFY(console->form()->pushButton_advanced_calib->isEnabled());
        QTest::qWait(100);
        QVERIFY(ids().isEmpty());
        QVERIFY(startStop.isEmpty() && targets.isEmpty() && slopes.isEmpty() && rotations == 0);
        QCOMPARE(g_advanced_calib_type.load(), typeBefore);
    }
};

QTEST_MAIN(TestScriptsConsole)
#include "test_scripts_console.moc"

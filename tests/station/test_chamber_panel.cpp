// The console's chamber and DC supply panels against pymodbus peers on pseudo-terminals:
// conflicts, links, displays, manual chamber controls, the supply switch and both logs.
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTextEdit>
#include <QTest>

#include "app/OpenLogFile.h"
#include "app/Settings.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/DcPowerFrames.h"
#include "station/Settings.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_MultiCalib.h"
#include "ui_Settings.h"

using TestKit::waitUntil;

namespace {
QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestChamberPanel : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    WireTap *chamberTap = nullptr;
    WireTap *dcTap = nullptr;
    ModbusPeer *chamberPeer = nullptr;
    ModbusPeer *dcPeer = nullptr;
    MultiCalib *console = nullptr;
    Ui::MultiCalib *ui = nullptr;

    static void select(QComboBox *c, const QString &path)
    {
        c->setCurrentIndex(path.isEmpty() ? 0 : c->findText(path + ' ', Qt::MatchStartsWith));
        QVERIFY(path.isEmpty() || c->currentIndex() > 0);
    }
    void setText(QTextEdit *e, const QString &t) { e->setPlainText(t); }

    // Each function sets up what it needs itself (the links, the clock, the supply's output), so
    // it passes alone as well as after the others.

    // The console's clock shows this time of the test day from now on.
    void clockAt(int h, int m, int s) { clock.setWall(QDateTime(QDate(2026, 1, 2), QTime(h, m, s))); }

    // The chamber's link closed, its port chosen.
    void chamberUnlinked()
    {
        if (g_hothouse_connected)
            console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        select(ui->comboBox_calib_multi_hot_house, chamberTap->workerPath());
    }
    // The chamber linked and, unless not needed, its temperature (-10 degC) reported.
    void chamberLinked(bool temperatureShown = true)
    {
        if (!g_hothouse_connected) {
            chamberUnlinked();
            console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
            QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
        }
        if (temperatureShown)
            QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_current_temperature->toPlainText() == "-10"; }, 6000));
    }
    // The supply's link closed, its port chosen.
    void supplyUnlinked()
    {
        if (g_dc_power_connected)
            console->on_clicked_pushButton_connect_dc_power_ctrl();
        select(ui->comboBox_calib_multi_DC_power, dcTap->workerPath());
    }
    // The supply linked (the model stored in the settings read at the connect).
    void supplyLinked()
    {
        if (g_dc_power_connected)
            return;
        supplyUnlinked();
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
    }
    // The supply linked with its output switched on or off by the panel's switch at 12 V, 10 A.
    void supplyOutput(bool on)
    {
        supplyLinked();
        if (bool(g_dc_power_on) != on) {
            setText(ui->textEdit_dc_power_supply_max_voltage, "12");
            setText(ui->textEdit_dc_power_supply_max_current, "10");
            prompter.answers = {QMessageBox::Yes};
            ui->pushButton_dc_power_supply_ON_OFF->click();
        }
        QCOMPARE(bool(g_dc_power_on), on);
        prompter.shown.clear();
        prompter.answers.clear();
    }
    // Plate 1's first IMU reports 24.5 degC at 777 ms.
    static void imuAt24_5()
    {
        g_calib_status.clearAll();
        g_calib_status.writePlate(0, [](CalibImuStatus *r, uint32_t *) {
            r[0].temp = 24.5f;
            r[0].time_ms = 777;
        });
    }

    // The supply linked, with this model chosen in the settings dialog.
    void supplyLinkedWithModel(int model)
    {
        supplyLinked();
        Settings *dialog = console->settingsDialog();
        dialog->form()->comboBox_DC_type->setCurrentIndex(model);
        dialog->on_buttonBox_accepted();
    }

private slots:
    void initTestCase()
    {
        chamberTap = new WireTap;
        dcTap = new WireTap;
        QVERIFY(chamberTap->isValid() && dcTap->isValid());
        // The chamber measures -10.0 degC and holds the set point -40.0; the supply measures
        // 17 V and 8.5 A on its read full scale of 34.
        chamberPeer = new ModbusPeer({"--rtu", chamberTap->peerPath(), "--slave", "1", "--set", "0x0744=0xFF9C",
                                      "--set", "0x074E=0xFE70", "--set", "0x0752=250"},
                                     "chamber_writes.txt");
        dcPeer = new ModbusPeer({"--rtu", dcTap->peerPath(), "--slave", "17", "--set", "0=32767", "--set", "1=16383"},
                                "dc_writes.txt");
        QVERIFY(chamberPeer->waitReady());
        QVERIFY(dcPeer->waitReady());
        qputenv("KELVANTO_EXTRA_PORTS", (chamberTap->workerPath() + ":" + dcTap->workerPath()).toLocal8Bit());
        QSettings *s = getSettings();
        s->setValue("main_index/DC_Max_VOLTAGE_NOW", 12.0f);
        s->setValue("main_index/DC_Max_CURRENT_NOW", 10.0f);
        s->setValue("main_index/DC_type", 1);
        s->setValue("turnTableType/type", 0);
        s->sync();
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        g_dc_full_scale_voltage = 31.0f;
        g_dc_full_scale_current = 31.0f;
        for (const char *folder : {"log_heatbox", "log_dc_power"})
            QDir(logRoot() + "/" + folder).removeRecursively();
        console = new MultiCalib;
        ui = console->form();
    }

    void init()
    {
        prompter.shown.clear();
        prompter.answers.clear();
    }

    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete chamberPeer;
        delete dcPeer;
        delete chamberTap;
        delete dcTap;
    }

    void constructionPreparesBothPanels()
    {
        QCOMPARE(ui->textEdit_hothouse_start_temp->toPlainText(), QString("-40"));
        QCOMPARE(ui->textEdit_hothouse_stop_temp->toPlainText(), QString("85"));
        QCOMPARE(ui->textEdit_hothouse_temp_slope->toPlainText(), QString("1"));
        QCOMPARE(ui->textEdit_hothouse_loops_num->toPlainText(), QString("2"));
        QCOMPARE(ui->textEdit_hothouse_start_temp_last_times->toPlainText(), QString("60"));
        QCOMPARE(ui->textEdit_hothouse_stop_temp_last_times->toPlainText(), QString("60"));
        QVERIFY(!ui->textEdit_hothouse_current_temperature->isEnabled());
        QVERIFY(!ui->textEdit_hothouse_set_temperature_manual->isEnabled());
        QVERIFY(ui->textEdit_hothouse_set_temperature_by_user_manual->isEnabled());
        QVERIFY(console->hothouseScriptTimer() && console->hothouseAdvancedTimer());
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        // Their ticks belong to the scripts; both timers are joined to them.
        // (a disconnect reports whether the connection was there; it is made again at once)
        QTimer *script = console->hothouseScriptTimer();
        QTimer *advanced = console->hothouseAdvancedTimer();
        QVERIFY(QObject::disconnect(script, SIGNAL(timeout()), console, SLOT(_ackTimeout_hothouse_ctrl_normal())));
        QVERIFY(QObject::disconnect(advanced, SIGNAL(timeout()), console, SLOT(_ackTimeout_hothouse_ctrl_advanced())));
        QVERIFY(QObject::connect(script, SIGNAL(timeout()), console, SLOT(_ackTimeout_hothouse_ctrl_normal())));
        QVERIFY(QObject::connect(advanced, SIGNAL(timeout()), console, SLOT(_ackTimeout_hothouse_ctrl_advanced())));

        QCOMPARE(ui->textEdit_dc_power_supply_current_voltage->toPlainText(), QString("N/A"));
        QCOMPARE(ui->textEdit_dc_power_supply_current_current->toPlainText(), QString("N/A"));
        QCOMPARE(ui->textEdit_dc_power_supply_max_voltage->toPlainText(), QString("12"));
        QCOMPARE(ui->textEdit_dc_power_supply_max_current->toPlainText(), QString("10"));
    }

    // A silence bound that would overflow or is no number is refused with one log line, and the
    // default 60 s is used instead of stopping a run at the first late reading.
    void aChamberSilenceBoundAboveADayOrNoNumberIsRefusedFor60Seconds()
    {
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        for (const QVariant &bad : {QVariant("2147484"), QVariant("nan"), QVariant("ten")}) {
            getSettings()->setValue("hothouse/silence_limit_s", bad);
            told.clear();
            QCOMPARE(console->chamberStaleLimitMs(), 60000);
            QCOMPARE(console->chamberStaleLimitMs(), 60000);
            QCOMPARE(told.size(), 1); // told once
            QCOMPARE(told[0][0].toString(), "Chamber: \"hothouse/silence_limit_s\" = \"" + bad.toString() +
                                               "\" is not a number of seconds up to one day; 60 s used");
        }
        getSettings()->setValue("hothouse/silence_limit_s", 86400);
        told.clear();
        QCOMPARE(console->chamberStaleLimitMs(), 86400000);
        QVERIFY(told.isEmpty());
        getSettings()->remove("hothouse/silence_limit_s");
    }

    void theSupplySwitchWarnsWhileTheSupplyIsNotLinked()
    {
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), QStringList{"The power serial port is not turned on"});
        QCOMPARE(prompter.shown[0].title, QString("Warning"));
        QCOMPARE(sent.size(), 0);
    }

    void aChamberPortSharedWithAnotherLinkIsRefused()
    {
        prompter.shown.clear();
        select(ui->comboBox_calib_multi_hot_house, chamberTap->workerPath());
        g_port_name = chamberTap->workerPath();
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QCOMPARE(prompter.texts(), QStringList{"The serial port number of the incubator conflicts"});
        QVERIFY(!console->hothouseWorker());
        g_port_name = "/dev/ttyMAIN";

        prompter.shown.clear();
        select(ui->comboBox_calib_multi_DC_power, chamberTap->workerPath());
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QCOMPARE(prompter.texts(), QStringList{"The serial port number of the incubator conflicts"});
        QVERIFY(!console->hothouseWorker());
        select(ui->comboBox_calib_multi_DC_power, QString());
        prompter.shown.clear();
    }

    void theChamberLinksAndShowsItsTemperatureReports()
    {
        chamberUnlinked();
        clockAt(10, 0, 0);
        QSignalSpy record(console, &MultiCalib::signal_label_record_visible);
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(console->hothouseWorker());
        QCOMPARE(record.size(), 1);
        QCOMPARE(record[0][0].value<uint8_t>(), uint8_t(1));
        QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
        QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_current_temperature->toPlainText() == "-10"; }, 6000));
        QCOMPARE(ui->textEdit_hothouse_current_temperature_manual->toPlainText(), QString("-10"));
        QCOMPARE(ui->textEdit_hothouse_current_temperature_advanced->toPlainText(), QString("-10"));
        QCOMPARE(ui->label_wenxiang_manual_current_time->text(), QString("Update time:2026_0102 10:00:00"));
        QCOMPARE(ui->label_wenxiang_auto_current_time->text(), QString("Update time:2026_0102 10:00:00"));
        QCOMPARE(ui->label_turn_table_current_time_auto_advanced->text(), QString("2026_0102 10:00:00"));
        QVERIFY(prompter.shown.isEmpty());
    }

    void theManualSetPointIsCutTowardZeroAndReadBack()
    {
        chamberLinked();
        setText(ui->textEdit_hothouse_set_temperature_by_user_manual, "-39.7");
        ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        // -39 x 10 = -390 in the set-point register 0x074E.
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("hr 1870 65146"); }));

        ui->pushButton_hothouse_cmd_read_target_temp_manual->click();
        QCOMPARE(ui->textEdit_hothouse_set_temperature_by_user_manual->toPlainText(), QString());
        QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_set_temperature->toPlainText() == "-39"; }));
        QCOMPARE(ui->textEdit_hothouse_set_temperature_manual->toPlainText(), QString("-39"));
        QCOMPARE(ui->textEdit_hothouse_set_temperature_advanced->toPlainText(), QString("-39"));
    }

    void aSetPointOrSlopeThatIsNoNumberIsNotSent()
    {
        chamberLinked();
        QSignalSpy target(console, &MultiCalib::hothouse_set_target_temp);
        QSignalSpy slope(console, &MultiCalib::hothouse_cmd_set_slope);
        setText(ui->textEdit_hothouse_set_temperature_by_user_manual, "abc");
        ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        setText(ui->textEdit_hothouse_set_temperature_by_user_manual, "5000");
        ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        setText(ui->textEdit_hothouse_temperature_slope_manual, "");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        setText(ui->textEdit_hothouse_temperature_slope_manual, "300");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        QCOMPARE(target.size(), 0);
        QCOMPARE(slope.size(), 0);
        setText(ui->textEdit_hothouse_set_temperature_by_user_manual, "85");
        ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        QCOMPARE(target.size(), 1);
        QCOMPARE(target[0][0].value<int16_t>(), int16_t(85));
    }

    void aManualSetPointOutsideTheScriptsRangeIsRefusedWithABoxNamingTheField()
    {
        chamberLinked();
        QSignalSpy target(console, &MultiCalib::hothouse_set_target_temp);
        prompter.shown.clear();
        for (const char *text : {"151", "-70.5", "3000", "nan"}) {
            setText(ui->textEdit_hothouse_set_temperature_by_user_manual, text);
            ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        }
        QCOMPARE(target.size(), 0);
        QCOMPARE(prompter.texts(), (QStringList{"Set temperature (设定温度): \"151\" is not a number from -70 to 150",
                                                "Set temperature (设定温度): \"-70.5\" is not a number from -70 to 150",
                                                "Set temperature (设定温度): \"3000\" is not a number from -70 to 150",
                                                "Set temperature (设定温度): \"nan\" is not a number from -70 to 150"}));
        setText(ui->textEdit_hothouse_set_temperature_by_user_manual, "150");
        ui->pushButton_hothouse_cmd_set_target_temp_manual->click();
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("hr 1870 1500"); }));
        QVERIFY(!chamberPeer->writes().contains("hr 1870 1510"));
        prompter.shown.clear();
    }

    void theManualSlopeIsSentAndReadBack()
    {
        chamberLinked();
        QSignalSpy slope(console, &MultiCalib::hothouse_cmd_set_slope);
        setText(ui->textEdit_hothouse_temperature_slope_manual, "3");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        QCOMPARE(slope.size(), 1); // the form's by-name connection does not run it twice
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("hr 1874 300"); }));

        ui->pushButton_hothouse_cmd_read_slope_manual->click();
        QCOMPARE(ui->textEdit_hothouse_temperature_slope_manual->toPlainText(), QString());
        QVERIFY(waitUntil([&] { return ui->textEdit_hothouse_temperature_slope_manual->toPlainText() == "3"; }));
        QCOMPARE(ui->textEdit_hothouse_temp_slope_rev->toPlainText(), QString("3"));
        QCOMPARE(ui->textEdit_hothouse_set_slope_advanced->toPlainText(), QString("3"));
    }

    void startAndStopButtonsRunAndStopTheChamberOncePerClick()
    {
        chamberLinked();
        QSignalSpy runStop(console, &MultiCalib::hothouse_generate_start_stop_cmd);
        ui->pushButton_hothouse_cmd_start_manual->click();
        QCOMPARE(runStop.size(), 1);
        QCOMPARE(runStop[0][0].value<uint8_t>(), uint8_t(1));
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("co 1200 1"); }));
        // Stopping by hand also frees both script buttons.
        ui->pushButton_temperature_retest->setEnabled(false);
        ui->pushButton_hothouse_cmd_auto_include_dc_control->setEnabled(false);
        ui->pushButton_hothouse_cmd_stop->click();
        QVERIFY(ui->pushButton_temperature_retest->isEnabled());
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        ui->pushButton_hothouse_cmd_stop_manual->click();
        QCOMPARE(runStop.size(), 3);
        QCOMPARE(runStop[1][0].value<uint8_t>(), uint8_t(0));
        QCOMPARE(runStop[2][0].value<uint8_t>(), uint8_t(0));
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("co 1200 0"); }));
    }

    void theScriptLogRecordsEveryTemperatureReportAfterItIsOpened()
    {
        chamberLinked();
        imuAt24_5();
        clock.advance(5000);
        clockAt(10, 0, 5);
        console->create_hot_house_logfile();
        const QString path = console->hotHouseLogPath();
        QCOMPARE(QDir::cleanPath(path),
                 QDir::cleanPath(logRoot() + "/log_heatbox/2026_0102/T2026_0102_1000_05.txt"));
        QCOMPARE(ui->label_wenxiang_start_time->text(), QString("Start time:2026_0102 10:00:05"));
        QStringList lines = fileLines(path);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].startsWith("t,current_temperature,set_temperature,temp1-0,"));

        // The next chamber report adds its line.
        QVERIFY(waitUntil([&] { return fileLines(path).size() >= 2; }, 6000));
        lines = fileLines(path);
        const QStringList f = lines[1].split(',');
        QCOMPARE(f.size(), 3 + 1024);
        QCOMPARE(f[0], QString("2026_0102 10:00:05"));
        QCOMPARE(f[1], QString("-10"));
        QCOMPARE(f[2], ui->textEdit_hothouse_set_temperature_advanced->toPlainText());
        QCOMPARE(f[3], QString("24.5"));
        QCOMPARE(f[3 + 512], QString("777"));

        // A log of reports takes no script line: every line keeps the header's fields.
        const int before = fileLines(path).size();
        console->write_hot_house_script_line(42);
        QCOMPARE(fileLines(path).size(), before);

        // A later run opens a new log; the reports go there from then on. Only the open log is
        // listed as written to (the FTP upload leaves it alone).
        QVERIFY(isOpenLogFile(path));
        clock.advance(1000);
        console->create_hot_house_logfile();
        QVERIFY(console->hotHouseLogPath() != path);
        QCOMPARE(fileLines(console->hotHouseLogPath()).size(), 1);
        QVERIFY(!isOpenLogFile(path));
        QVERIFY(isOpenLogFile(console->hotHouseLogPath()));
    }

    void aScriptLogHoldsOnlyScriptLinesUnderItsOwnHeaderAndClosesWithTheRun()
    {
        chamberLinked();
        imuAt24_5();
        clock.advance(2000);
        console->create_hot_house_logfile(true);
        const QString path = console->hotHouseLogPath();
        QStringList lines = fileLines(path);
        QCOMPARE(lines.size(), 1);
        const QStringList header = lines[0].split(',');
        QCOMPARE(header.mid(0, 8), (QStringList{"t", "elapsed", "current_temperature", "set_temperature", "temp_slope",
                                                "step", "user_target", "temp1-0"}));
        console->write_hot_house_script_line(42);
        // The chamber keeps reporting: its reports do not go into a script log.
        const int reports = chamberTap->chunks.size();
        QVERIFY(waitUntil([&] { return chamberTap->chunks.size() > reports + 4; }, 8000));
        lines = fileLines(path);
        QCOMPARE(lines.size(), 2);
        const QStringList s = lines[1].split(',');
        QCOMPARE(s.size(), header.size());
        QCOMPARE(s[1], QString("42"));
        QCOMPARE(s[2], QString("-10"));
        QCOMPARE(s[5], QString("0")); // the step number, not its display text
        QCOMPARE(s[7], QString("24.5"));

        // Closed: nothing is added any more.
        console->close_hot_house_logfile();
        QVERIFY(!console->hotHouseLogOpen());
        console->write_hot_house_script_line(43);
        const int polls = chamberTap->chunks.size();
        QVERIFY(waitUntil([&] { return chamberTap->chunks.size() > polls + 4; }, 8000));
        QCOMPARE(fileLines(path).size(), 2);
    }

    void theLogOfAnyRunClosesWhenTheRunEnds()
    {
        chamberLinked();
        QVERIFY(console->runGuard()->begin(RunGuard::AdvancedRetest));
        console->create_hot_house_logfile();
        const QString path = console->hotHouseLogPath();
        QVERIFY(console->hotHouseLogOpen());
        console->runGuard()->stop("test");
        QVERIFY(!console->hotHouseLogOpen());
        const int lines = fileLines(path).size();
        const int polls = chamberTap->chunks.size();
        QVERIFY(waitUntil([&] { return chamberTap->chunks.size() > polls + 4; }, 8000));
        QCOMPARE(fileLines(path).size(), lines);
    }

    void aLogOpenedTwiceInOneSecondKeepsTheEarlierLines()
    {
        console->create_hot_house_logfile(true);
        const QString path = console->hotHouseLogPath();
        console->write_hot_house_script_line(7);
        const QStringList before = fileLines(path);
        console->create_hot_house_logfile(true); // same clock second, same name
        QCOMPARE(console->hotHouseLogPath(), path);
        const QStringList after = fileLines(path);
        QCOMPARE(after.mid(0, before.size()), before);
        QVERIFY(after.last().startsWith("t,elapsed,current_temperature,set_temperature,"));
    }

    void closingTheChamberLinkStopsBothScriptTimers()
    {
        chamberLinked();
        console->hothouseScriptTimer()->start(1000);
        console->hothouseAdvancedTimer()->start(1000);
        ui->pushButton_temperature_retest->setEnabled(false);
        ui->pushButton_hothouse_cmd_auto_include_dc_control->setEnabled(false);
        console->rev_log_from_worker(37, "net_1_1"); // the base-board link reported
        QVERIFY(console->netReported());
        QSignalSpy record(console, &MultiCalib::signal_label_record_visible);
        WorkerThread_hothouse *old = console->hothouseWorker();
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(!console->hothouseScriptTimer()->isActive());
        QVERIFY(!console->hothouseAdvancedTimer()->isActive());
        QVERIFY(ui->pushButton_temperature_retest->isEnabled());
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        QVERIFY(!console->netReported());
        QCOMPARE(record.size(), 1);
        QCOMPARE(record[0][0].value<uint8_t>(), uint8_t(0));
        QCOMPARE(console->hothouseWorker(), old); // kept until the next connect

        // The closed link polls no more.
        QTest::qWait(300);
        const int bytes = chamberTap->sent().size();
        QTest::qWait(2500);
        QCOMPARE(chamberTap->sent().size(), bytes);

        // The next press makes a new worker and links again.
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(console->hothouseWorker() && console->hothouseWorker() != old);
        QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
    }

    // The chamber's link is closed and opened again just after its worker reported a lost line
    // and a failed open: the retired worker's reports reach the console after the new worker is
    // made (it may sit where the retired one sat) and act for nothing; the new link comes up.
    void aRetiredChamberWorkersLateReportsActForNothing()
    {
        chamberLinked(false);
        QSignalSpy logs(console, &MultiCalib::signalTranspondLog);
        reportThenRelink(console->hothouseWorker(), [this] { console->on_clicked_pushButton_connect_calib_hot_house_ctrl(); },
                         [](WorkerThread_hothouse *retired) {
                             emit retired->signal_linkLost("line gone");
                             emit retired->signal_connectIsSuccess(false);
                         });
        QVERIFY2(waitUntil([] { return g_hothouse_connected == 1; }), qPrintable(spiedTexts(logs).join(" | ")));
        QVERIFY2(spiedTexts(logs).filter("Chamber: link").isEmpty(), qPrintable(spiedTexts(logs).join(" | ")));
    }

    void theSupplyPortMayNotBeTheMainPort()
    {
        prompter.shown.clear();
        select(ui->comboBox_calib_multi_DC_power, dcTap->workerPath());
        g_port_name = dcTap->workerPath();
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QCOMPARE(prompter.texts(), QStringList{"The serial port number of the power supply conflicts"});
        QVERIFY(!console->dcPowerWorker());
        g_port_name = "/dev/ttyMAIN";
        prompter.shown.clear();
    }

    void theSupplyLinksWithItsModelAndLogsEveryVoltageReport()
    {
        supplyUnlinked();
        clock.advance(58000);
        clockAt(10, 1, 6);
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(console->dcPowerWorker());
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        QCOMPARE(g_dc_power_type, uint8_t(1));
        QCOMPARE(ui->label_dc_power_type->text(), QString::fromUtf8("Power supply model:3030（限压31V,限流31A）"));
        QCOMPARE(ui->label_dc_power_type->styleSheet(), QString("background-color: red;color:black"));
        const QString path = console->dcPowerLogPath();
        QCOMPARE(QDir::cleanPath(path), QDir::cleanPath(logRoot() + "/log_dc_power/2026_0102/T2026_0102_1001_06.txt"));
        QVERIFY(isOpenLogFile(path)); // held open until the next connect: the FTP upload leaves it alone
        QVERIFY(waitUntil([&] { return fileLines(path).size() >= 2; }, 6000));
        const QStringList lines = fileLines(path);
        QCOMPARE(lines[0], QString("t,voltage,current,voltage_set,current_set"));
        const QStringList f = lines[1].split(',');
        QCOMPARE(f.size(), 5);
        QCOMPARE(f[0], QString("2026_0102 10:01:06"));
        QVERIFY(f[1].toDouble() > 16.9 && f[1].toDouble() < 17.1);
        QCOMPARE(f[3], QString("12"));
        QCOMPARE(f[4], QString("10"));
    }

    void aVoltageOtherThanTwelveFifteenOrThirtyOneIsRefused()
    {
        supplyOutput(false);
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        setText(ui->textEdit_dc_power_supply_max_voltage, "24");
        prompter.answers = {QMessageBox::Yes};
        QTest::ignoreMessage(QtDebugMsg, "电压设置有误: 24");
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), (QStringList{"Are you sure to turn on the power supply?", "Incorrect voltage value setting"}));
        QCOMPARE(prompter.shown[1].title, QString("Warning"));
        QCOMPARE(sent.size(), 0);
        QCOMPARE(g_dc_power_on, uint8_t(0));

        // No to the first question stops too.
        prompter.shown.clear();
        setText(ui->textEdit_dc_power_supply_max_voltage, "12");
        prompter.answers = {QMessageBox::No};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(sent.size(), 0);
    }

    void switchingOnSendsTheSetFrameAndStoresTheMaximumValues()
    {
        supplyOutput(false);
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        setText(ui->textEdit_dc_power_supply_max_voltage, "12");
        setText(ui->textEdit_dc_power_supply_max_current, "10");
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(sent.size(), 1); // once per click
        QCOMPARE(sent[0][0].toByteArray(), QByteArray::fromHex("11100003000306631852940001"));
        // The frame every switch-on carries from now on (each sets its own output byte).
        QCOMPARE(g_dc_set_frame.load(), QByteArray::fromHex("11100003000306631852940000"));
        QCOMPARE(g_dc_power_on, uint8_t(1));
        QCOMPARE(ui->pushButton_dc_power_supply_ON_OFF->text(), QString("Manual power off"));
        QVERIFY(waitUntil([&] { return dcPeer->writes().contains("hr 3 25368 21140 1"); }));
        QCOMPARE(getSettings()->value("main_index/DC_Max_VOLTAGE_NOW").toFloat(), 12.0f);
        QCOMPARE(getSettings()->value("main_index/DC_Max_CURRENT_NOW").toFloat(), 10.0f);
    }

    void thirtyOneVoltsWithTheOutputOnSwitchesOffWithoutTheHighVoltageQuestion()
    {
        supplyOutput(true);
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        setText(ui->textEdit_dc_power_supply_max_voltage, "31");
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), QStringList{"Are you sure to turn on the power supply?"});
        QCOMPARE(sent.size(), 1);
        QCOMPARE(uint8_t(sent[0][0].toByteArray()[12]), uint8_t(0));
        QCOMPARE(g_dc_power_on, uint8_t(0));
        QCOMPARE(ui->pushButton_dc_power_supply_ON_OFF->text(), QString("Manual power on"));
        QVERIFY(waitUntil([&] { return dcPeer->writes().contains("hr 3 65535 21140 0"); }));
    }

    void thirtyOneVoltsWithTheOutputOffAsksOnceMore()
    {
        supplyOutput(false);
        setText(ui->textEdit_dc_power_supply_max_voltage, "31");
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::No};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), (QStringList{"Are you sure to turn on the power supply?",
                                                "Are you sure you need such a high voltage? Unless using DC-DC"}));
        QCOMPARE(sent.size(), 0);
        QCOMPARE(g_dc_power_on, uint8_t(0));
    }

    void anUnchosenModelTakesEffectAfterTheNextConnectOrClose()
    {
        supplyOutput(false);
        getSettings()->setValue("main_index/DC_type", 0);
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        setText(ui->textEdit_dc_power_supply_max_voltage, "15");
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(sent.size(), 1); // the model read at the connect still holds
        QCOMPARE(g_dc_power_on, uint8_t(1));

        // Closing the link reads the model again.
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QCOMPARE(g_dc_power_connected, uint8_t(0));
        QCOMPARE(g_dc_power_type, uint8_t(0));
        QCOMPARE(ui->label_dc_power_type->text(), QString("Power supply model:UNKNOWN"));
        console->on_clicked_pushButton_connect_dc_power_ctrl();
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        // Switching off is never refused; switching on again is, without a model.
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), QStringList{"Are you sure to turn on the power supply?"});
        QCOMPARE(sent.size(), 2);
        QCOMPARE(g_dc_power_on, uint8_t(0));
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        QTest::ignoreMessage(QtDebugMsg, "电源型号未知，请重新确认");
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), (QStringList{"Are you sure to turn on the power supply?",
                                                "Unknown power supply model, please confirm again"}));
        QCOMPARE(sent.size(), 2);
        QCOMPARE(g_dc_power_on, uint8_t(0));
    }

    // Without a model the switch still tells a wrong voltage first, and asks about 31 V before
    // it tells the model; nothing is sent either way.
    void theManualSwitchTellsTheVoltageBeforeTheModel_data()
    {
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QStringList>("texts");
        const QString sure = "Are you sure to turn on the power supply?";
        const QString model = "Unknown power supply model, please confirm again";
        QTest::newRow("24 V") << "24" << QStringList{sure, "Incorrect voltage value setting"};
        QTest::newRow("2,5 V") << "2,5" << QStringList{sure, "Incorrect voltage value setting"};
        QTest::newRow("31 V") << "31" << QStringList{sure, "Are you sure you need such a high voltage? Unless using DC-DC", model};
        QTest::newRow("15 V") << "15" << QStringList{sure, model};
    }
    void theManualSwitchTellsTheVoltageBeforeTheModel()
    {
        QFETCH(QString, volts);
        QFETCH(QStringList, texts);
        supplyOutput(false);
        const auto modelBack = qScopeGuard([this] { supplyLinkedWithModel(1); });
        supplyLinkedWithModel(0);
        setText(ui->textEdit_dc_power_supply_max_voltage, volts);
        setText(ui->textEdit_dc_power_supply_max_current, "10");
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes, QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), texts);
        QCOMPARE(sent.size(), 0);
        QCOMPARE(g_dc_power_on, uint8_t(0));
    }

    // The model chosen in the settings dialog holds from its OK on, without a new connect.
    void aModelChosenInTheSettingsAppliesAtOnce()
    {
        supplyLinkedWithModel(0);
        QCOMPARE(ui->label_dc_power_type->text(), QString("Power supply model:UNKNOWN"));
        supplyLinkedWithModel(1);
        QCOMPARE(ui->label_dc_power_type->text(), QString::fromUtf8("Power supply model:3030（限压31V,限流31A）"));
        setText(ui->textEdit_dc_power_supply_max_voltage, "15");
        QSignalSpy sent(console, &MultiCalib::signal_send_modbus_mutex);
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        ui->pushButton_dc_power_supply_ON_OFF->click();
        QCOMPARE(prompter.texts(), QStringList{"Are you sure to turn on the power supply?"});
        QCOMPARE(sent.size(), 1);
    }

    // After the panel's own switch the output label says what the supply then shows.
    void aManualSwitchThatTheSupplyConfirmedIsShownBesideTheSwitch()
    {
        supplyLinkedWithModel(1);
        setText(ui->textEdit_dc_power_supply_max_voltage, "15");
        for (int i = 0; i < 2; ++i) {
            const bool on = g_dc_power_on == 0;
            prompter.answers = {QMessageBox::Yes};
            ui->pushButton_dc_power_supply_ON_OFF->click();
            const QString confirmed = on ? "Output: on (last confirmed by the supply)" : "Output: off (last confirmed by the supply)";
            QVERIFY2(waitUntil([&] { return ui->label_dc_power_output_state->text() == confirmed; }),
                     qPrintable(ui->label_dc_power_output_state->text()));
        }
    }

    // The supply's link is closed and opened again just after its worker reported a lost line,
    // a failed open, confirmed switches and codes to the modules: the retired worker's reports
    // reach the console after the new worker is made and act for nothing. The new link comes
    // up, its output is not confirmed and no code goes to the modules.
    void aRetiredSupplyWorkersLateReportsActForNothing()
    {
        supplyOutput(false);
        QSignalSpy logs(console, &MultiCalib::signalTranspondLog);
        QSignalSpy codes(console, &MultiCalib::Send_CMD_LONG_SIGNAL);
        QSignalSpy repeatedCodes(console, &MultiCalib::Send_CMD_LONG_SIGNAL_times);
        reportThenRelink(console->dcPowerWorker(), [this] { console->on_clicked_pushButton_connect_dc_power_ctrl(); },
                         [](WorkerThread_DC_power *retired) {
                             emit retired->Send_CMD_LONG_SIGNAL(56003, 0, 0, 0, 0, 0, 0);
                             emit retired->Send_CMD_LONG_SIGNAL_times(56003, 0, 0, 0, 0, 0, 0);
                             emit retired->signal_switch_read_back(1, true);
                             emit retired->signal_set_frame_read_back(1, true);
                             emit retired->signal_linkLost("line gone");
                             emit retired->signal_connectIsSuccess(false);
                         });
        QVERIFY2(waitUntil([] { return g_dc_power_connected == 1; }), qPrintable(spiedTexts(logs).join(" | ")));
        QVERIFY2(spiedTexts(logs).filter("DC supply: link").isEmpty(), qPrintable(spiedTexts(logs).join(" | ")));
        QCOMPARE(ui->label_dc_power_output_state->text(), QString("Output: not confirmed since the link opened"));
        QCOMPARE(g_dc_power_on, uint8_t(0));
        QCOMPARE(codes.size(), 0);
        QCOMPARE(repeatedCodes.size(), 0);
    }

    void logsThatCannotBeWrittenAreToldInTheLogWindowAndMarkedOnThePage()
    {
        chamberLinked();
        supplyLinked();
        // The next day's folders are taken by plain files: neither log can be opened.
        clock.advance(24 * 3600 * 1000);
        const QString day = clock.now().toString("yyyy_MMdd");
        for (const char *folder : {"log_heatbox", "log_dc_power"}) {
            QDir().mkpath(logRoot() + "/" + folder);
            QFile blocker(logRoot() + "/" + folder + "/" + day);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        QSignalSpy told(console, &MultiCalib::signalTranspondLog);
        console->create_hot_house_logfile(false);
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0][0].toString().startsWith("Chamber log line not written: "));
        QCOMPARE(ui->label_wenxiang_auto_current_time->styleSheet(), QString("background-color: red;color:black"));
        // The mark stays with every later report; the failure is told once.
        QVERIFY(waitUntil([&] { return ui->label_wenxiang_auto_current_time->text() ==
                                       "Update time:" + clock.now().toString("yyyy_MMdd HH:mm:ss") + " - chamber log not written"; },
                          8000));
        QCOMPARE(told.size(), 1);
        console->close_hot_house_logfile();

        console->on_clicked_pushButton_connect_dc_power_ctrl(); // close
        console->on_clicked_pushButton_connect_dc_power_ctrl(); // open: a new log
        QVERIFY(waitUntil([] { return g_dc_power_connected == 1; }));
        auto supplyLines = [&] {
            QStringList out;
            for (const QList<QVariant> &l : told)
                if (l[0].toString().startsWith("DC supply log line not written: "))
                    out << l[0].toString();
            return out;
        };
        QCOMPARE(supplyLines().size(), 1);
        QCOMPARE(ui->label_dc_power_current_time->styleSheet(), QString("background-color: red;color:black"));
        QVERIFY(waitUntil([&] { return ui->label_dc_power_current_time->text().endsWith(" - supply log not written"); }, 6000));
        QCOMPARE(supplyLines().size(), 1);
    }

    void aTcpChamberRefusesASlopeItsRegisterCannotHold()
    {
        const int port = [] {
            QTcpServer free;
            free.listen(QHostAddress::LocalHost, 0);
            return int(free.serverPort());
        }();
        ModbusPeer peer({"--tcp", QString::number(port), "--slave", "1", "--set", "0x0029=253"}, "tcp_writes.txt");
        QVERIFY(peer.waitReady());
        QSettings *s = getSettings();
        s->setValue(ChamberTcp::hostKey(), "127.0.0.1");
        s->setValue(ChamberTcp::portKey(), port);
        s->setValue("turnTableType/type", 3);
        auto relink = [this] {
            if (g_hothouse_connected)
                console->on_clicked_pushButton_connect_calib_hot_house_ctrl(); // close
            console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
            QVERIFY(waitUntil([] { return g_hothouse_connected == 1; }));
        };
        relink();
        QVERIFY(qobject_cast<WorkerThread_hothouse2 *>(console->hothouseWorker()));
        const QString limit = "The chamber takes a slope of at most 25 °C/min";
        prompter.shown.clear();
        setText(ui->textEdit_hothouse_temperature_slope_manual, "26");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        QCOMPARE(prompter.texts(), QStringList{limit});
        // The script's slope is refused before anything starts.
        const uint8_t supply = g_dc_power_connected;
        g_dc_power_connected = 1; // the supply's link, as far as the start check sees
        setText(ui->textEdit_hothouse_temp_slope, "26");
        console->on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
        const bool started = console->chamberScriptRunning();
        if (started)
            console->stopActiveRun("stopped by the test");
        g_dc_power_connected = supply;
        setText(ui->textEdit_hothouse_temp_slope, "1");
        QVERIFY(!started);
        QCOMPARE(prompter.texts().last(), limit);
        // Nor does the worker wrap it; what the register holds goes out.
        QMetaObject::invokeMethod(console->hothouseWorker(), "hothouse_set_temp_slope", Qt::QueuedConnection, Q_ARG(uint8_t, 26));
        setText(ui->textEdit_hothouse_temperature_slope_manual, "25");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        QVERIFY(waitUntil([&] { return !peer.writes().filter(QRegularExpression("^hr 55 ")).isEmpty(); }));
        QTest::qWait(100);
        QCOMPARE(peer.writes().filter(QRegularExpression("^hr 55 ")), QStringList{"hr 55 250"});

        // The RTU chamber keeps its range.
        s->setValue("turnTableType/type", 0);
        select(ui->comboBox_calib_multi_hot_house, chamberTap->workerPath());
        relink();
        setText(ui->textEdit_hothouse_temperature_slope_manual, "26");
        ui->pushButton_hothouse_cmd_set_slope_manual->click();
        QVERIFY(waitUntil([&] { return chamberPeer->writes().contains("hr 1874 2600"); }));
        QCOMPARE(prompter.texts().last(), limit);
        QCOMPARE(prompter.texts().count(limit), 2);
        s->remove(ChamberTcp::hostKey());
        s->remove(ChamberTcp::portKey());
    }
};

QTEST_MAIN(TestChamberPanel)
#include "test_chamber_panel.moc"

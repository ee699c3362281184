// The console's operator actions offscreen: module and turntable commands, the one-click run
// with and without the work order, the repeat-click switch, the manual uploads to a local
// web service, the administrator mode and the removable pages.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QPointer>
#include <QSettings>
#include <QThread>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app/Clock.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "link/LinkFlags.h"
#include "station/AutoTurnTableTestType.h"
#include "station/ConsoleDialogs.h"
#include "station/FormWorkOrderDetails.h"
#include "production/WorkerThread_ftp.h"
#include "station/MultiCalib.h"
#include "station/UploadBodies.h"
#include "station/Multi_calib_test.h"
#include "station/UploadOutbox.h"
#include "tests/kit/TestKit.h"
#include "tests/station/ConsoleSeams.h"
#include "tests/station/UploadServer.h"
#include "ui_FormWorkOrderDetails.h"
#include "ui_MultiCalib.h"

namespace {
QString u(const char *s) { return QString::fromUtf8(s); }
QStringList tabTexts(QTabWidget *t)
{
    QStringList out;
    for (int i = 0; i < t->count(); ++i)
        out << t->tabText(i);
    return out;
}
QList<QWidget *> tabPages(QTabWidget *t)
{
    QList<QWidget *> out;
    for (int i = 0; i < t->count(); ++i)
        out << t->widget(i);
    return out;
}
QString setting(const QString &key) { return getSettings()->value(key, "0").toString(); }
} // namespace

// Marks the turntable link open for the life of the object.
struct TurnTableLinked {
    TurnTableLinked() { g_turn_table_connected = 1; }
    ~TurnTableLinked() { g_turn_table_connected = 0; }
};

class TestActionsConsole : public QObject {
    Q_OBJECT
private:
    ManualClock clock;
    ScriptedPrompter prompter;
    ScriptedConsoleDialogs dialogs;
    RecordingSoundPlayer sound;

    std::unique_ptr<MultiCalib> makeConsole(int turnTableType)
    {
        getSettings()->setValue("turnTableType/type", turnTableType);
        getSettings()->sync();
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run go out
        return std::make_unique<MultiCalib>();
    }
    // meanwhile: what happens while the operator fills in the dialog.
    static void answerWorkOrder(bool confirm, std::function<void()> meanwhile = nullptr)
    {
        FormWorkOrderDetails::installAnswerer([confirm, meanwhile](FormWorkOrderDetails &d) {
            if (meanwhile)
                meanwhile();
            if (confirm) {
                d.form()->lineEdit_workOrderNum->setText("WO-1");
                d.form()->lineEdit_operatorId->setText("op");
                d.form()->lineEdit_equipment->setText("eq");
                d.on_buttonBox_accepted();
            } else {
                d.on_buttonBox_rejected();
            }
        });
    }
    void clearRemovalKeys()
    {
        for (int k = 1; k <= 17; ++k)
            getSettings()->remove(QString("removeTableWidget/removeName%1").arg(k));
        getSettings()->sync();
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, TestKit::workDir() + "/user");
        registerMetaTypes();
        Clock::install(&clock);
        Prompter::install(&prompter);
        ConsoleDialogs::install(&dialogs);
        SoundPlayer::install(&sound);
    }
    void cleanupTestCase()
    {
        FormWorkOrderDetails::installAnswerer(nullptr);
        Clock::install(nullptr);
        Prompter::install(nullptr);
        ConsoleDialogs::install(nullptr);
        SoundPlayer::install(nullptr);
    }
    void init()
    {
        g_link_status[0] = 1; // plate 1 (the main link) stands in for the plates a run needs
        g_calib_status.clearAll();
        prompter.shown.clear();
        prompter.answers.clear();
        dialogs.asked.clear();
        dialogs.texts.clear();
        clearRemovalKeys();
    }

    void theStreamRequestAfterARebootAlwaysGoesOut()
    {
        auto console = makeConsole(0);
        QSignalSpy sent(console.get(), &MultiCalib::Send_CMD_LONG_SIGNAL);
        console->_ackTimeout_reboot_auto_request_stream();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0][0].value<uint16_t>(), uint16_t(3));
        QCOMPARE(sent[0][1].toFloat(), 3.0f);
        QCOMPARE(sent[0][3].value<uint32_t>(), 0x1234u);
        QCOMPARE(sent[0][4].value<uint32_t>(), 0xABCDu);
        QCOMPARE(sent[0][5].value<int32_t>(), 100);
        QCOMPARE(sent[0][6].value<int32_t>(), 200);
    }

    void theAccelerometerCalibrationSendsTheDateThenTheFinishAFifthOfASecondApart()
    {
        auto console = makeConsole(0);
        clock.setWall(QDateTime(QDate(2026, 3, 9), QTime(23, 59)));
        QList<QPair<uint16_t, uint32_t>> sent;
        QList<qint64> at;
        QElapsedTimer timer;
        timer.start();
        connect(console.get(), &MultiCalib::Send_CMD_LONG_SIGNAL_times, this,
                [&](uint16_t id, float, float, uint32_t cm3, uint32_t, int32_t, int32_t) {
                    sent << qMakePair(id, cm3);
                    at << timer.elapsed();
                });
        console->on_pushButton_calib_multi_acc_calib_start_clicked();
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent[0].first, uint16_t(30007));
        QCOMPARE(sent[0].second, 260309u);
        QCOMPARE(sent[1].first, uint16_t(56004));
        QCOMPARE(sent[1].second, 0u);
        QVERIFY(at[1] - at[0] >= 100);
        console->on_pushButton_calib_multi_gyro_calib_start_clicked();
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[2].first, uint16_t(56007));
    }

    void theFrameMovesSendWhatTheOperatorTyped()
    {
        auto console = makeConsole(0);
        const TurnTableLinked linked; // the manual turntable buttons send only with the link open
        Ui::MultiCalib *ui = console->form();
        QSignalSpy cmds(console.get(), &MultiCalib::signal_send_turn_table_cmd_general);
        auto last = [&] {
            const QList<QVariant> a = cmds.takeLast();
            return QString("%1,%2,%3,%4").arg(a[0].value<uint8_t>()).arg(a[1].toFloat()).arg(a[2].toFloat()).arg(a[3].toFloat());
        };
        ui->comboBox_neihuan_manual->setCurrentIndex(0);
        ui->neihuan_target_pos_manual->setPlainText("90");
        ui->neihuan_target_vel_manual->setPlainText("30");
        QTest::mouseClick(ui->pushButton_neihuan_control_manual, Qt::LeftButton);
        QCOMPARE(cmds.size(), 1);
        QCOMPARE(last(), QString("17,90,160,30"));
        ui->comboBox_neihuan_manual->setCurrentIndex(1);
        QTest::mouseClick(ui->pushButton_neihuan_control_manual, Qt::LeftButton);
        QCOMPARE(last(), QString("19,30,0,20"));

        ui->comboBox_waihuan_manual->setCurrentIndex(0);
        ui->waihuan_target_pos_manual->setPlainText("-12.5");
        ui->waihuan_target_vel_manual->setPlainText("7");
        QTest::mouseClick(ui->pushButton_waihuan_control_manual, Qt::LeftButton);
        QCOMPARE(last(), QString("33,-12.5,160,7"));
        ui->comboBox_waihuan_manual->setCurrentIndex(1);
        QTest::mouseClick(ui->pushButton_waihuan_control_manual, Qt::LeftButton);
        QCOMPARE(last(), QString("35,7,0,20"));
        QVERIFY(prompter.shown.isEmpty());

        ui->comboBox_waihuan_manual->setCurrentIndex(-1);
        QTest::mouseClick(ui->pushButton_waihuan_control_manual, Qt::LeftButton);
        QCOMPARE(cmds.size(), 0);
    }

    void aZeroRateWarnsAndStillSends()
    {
        auto console = makeConsole(0);
        const TurnTableLinked linked; // the manual turntable buttons send only with the link open
        Ui::MultiCalib *ui = console->form();
        QSignalSpy cmds(console.get(), &MultiCalib::signal_send_turn_table_cmd_general);
        ui->comboBox_neihuan_manual->setCurrentIndex(1);
        for (const char *rate : {"0", "", "fast"}) {
            prompter.shown.clear();
            ui->neihuan_target_vel_manual->setPlainText(rate);
            console->on_pushButton_neihuan_control_manual_clicked();
            QCOMPARE(prompter.shown.size(), 1);
            QCOMPARE(prompter.shown[0].title, QString("Tip"));
            QCOMPARE(prompter.shown[0].text, QString("Rotation rate cannot be 0!"));
            QCOMPARE(cmds.takeLast()[1].toFloat(), 0.0f);
        }
    }

    void theStopsClearTheStatusLogAndStopTheirFrame()
    {
        auto console = makeConsole(0);
        const TurnTableLinked linked; // the manual turntable buttons send only with the link open
        Ui::MultiCalib *ui = console->form();
        QSignalSpy cmds(console.get(), &MultiCalib::signal_send_turn_table_cmd_general);
        ui->textEdit_turn_table_status_auto->setPlainText("running");
        QTest::mouseClick(ui->pushButton_neihuan_control_stop_manual, Qt::LeftButton);
        QVERIFY(ui->textEdit_turn_table_status_auto->toPlainText().isEmpty());
        ui->textEdit_turn_table_status_auto->setPlainText("running");
        QTest::mouseClick(ui->pushButton_waihuan_control_stop_manual, Qt::LeftButton);
        QVERIFY(ui->textEdit_turn_table_status_auto->toPlainText().isEmpty());
        QCOMPARE(cmds.size(), 2);
        QCOMPARE(cmds[0][0].value<uint8_t>(), uint8_t(31));
        QCOMPARE(cmds[1][0].value<uint8_t>(), uint8_t(47));
        QCOMPARE(cmds[1][3].toFloat(), 0.0f);
    }

    void theOneClickRunRefusesWithAMessageWhileTheTurntableIsNotLinked()
    {
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        g_turn_table_connected = 0;
        QSignalSpy common(console.get(), &MultiCalib::signal_common_cmd);
        QSignalSpy logImu(console.get(), &MultiCalib::signal_auto_log_imu);
        prompter.shown.clear();
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QCOMPARE(prompter.texts(), QStringList{"The turntable serial port is not turned on"});
        QCOMPARE(common.size(), 0);
        QCOMPARE(logImu.size(), 0);
        QVERIFY(ui->pushButton_one_click_calib->isEnabled());
        QVERIFY(ui->radioButtonNormalTest->isEnabled() && ui->radioButtonNoLineTest->isEnabled());
    }

    void theOneClickButtonComesBackAfterEveryEndOfTheRun()
    {
        // Code 62 posts the turntable station: to a closed loopback port here.
        getSettings()->setValue("httpAddr/officialAddr", "http://127.0.0.1:9/api/BRAPI/FullTemperature");
        getSettings()->setValue("httpAddr/timeoutMs", 500);
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        g_turn_table_connected = 1;
        reportingPlate(0, 3999);
        const QString name = QString::fromUtf8("一键标定+复测");
        // The reports that end it (a calibration's end, a failed stage's box), and the worker's
        // end of the sequence whatever its report text says.
        const QList<std::function<void(MultiCalib *)>> ends{
            [&](MultiCalib *c) { c->rev_log_from_worker(62, name + " completed"); },
            [](MultiCalib *c) { c->rev_log_from_worker(59, QString::fromUtf8("转台跟踪异常，取消标定!")); },
            [](MultiCalib *c) { c->oneClickSequenceEnded(2); }};
        for (const auto &end : ends) {
            prompter.answers = {QMessageBox::Yes};
            QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
            QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
            console->rev_log_from_worker(74, name + " started"); // a stage report ends nothing
            console->oneClickSequenceEnded(1);                     // nor another sequence's end
            QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
            end(console.get());
            QVERIFY(ui->pushButton_one_click_calib->isEnabled());
            QCOMPARE(ui->pushButton_one_click_calib->styleSheet(), QString());
            QVERIFY(ui->radioButtonNormalTest->isEnabled() && ui->radioButtonNoLineTest->isEnabled());
            QVERIFY(console->runGuard()->idle());
        }
        // Closing the turntable link ends it too.
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QVERIFY(ui->pushButton_one_click_calib->isEnabled());
        QCOMPARE(g_turn_table_connected, uint8_t(0));
        sound.looping.clear();
    }

    // A one-click run whose plate's modules never reported has nothing to post: the alarm says
    // so and no completion box claims otherwise. Once they report, its end posts them.
    void aOneClickRunWhoseModulesNeverReportPostsNothingAndSaysSo()
    {
        UploadServer server(TestKit::workDir() + "/service");
        server.setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        getSettings()->setValue("httpAddr/officialAddr", server.address());
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        auto console = makeConsole(0);
        const TurnTableLinked linked;
        QSignalSpy told(console.get(), &MultiCalib::signalTranspondLog);
        const QString alarm("One-click turntable calibration: no module reported during the run: nothing is uploaded");
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        console->rev_log_from_worker(62, "done");
        QCOMPARE(prompter.texts(), QStringList{alarm});
        QVERIFY(told.contains({alarm}));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(console->runGuard()->idle());
        QCOMPARE(server.requests().size(), 0);
        QCOMPARE(console->form()->label_uploadWaiting->text(), QString("No results waiting to upload"));

        reportingPlate(0, 3999);
        prompter.shown.clear();
        prompter.answers = {QMessageBox::Yes};
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        console->rev_log_from_worker(62, "done");
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(prompter.texts(), QStringList{"Turntable calibration completed, please check the calibration flag position"});
    }

    void theOneClickRunStartsWithoutAWorkOrderOnOtherTurntables()
    {
        g_turn_table_connected = 1;
        for (int type : {0, 1, 3, 4}) {
            auto console = makeConsole(type);
            FormWorkOrderDetails::installAnswerer([](FormWorkOrderDetails &) { QFAIL("no work order expected"); });
            Ui::MultiCalib *ui = console->form();
            ui->radioButtonNoLineTest->setChecked(true);
            QSignalSpy common(console.get(), &MultiCalib::signal_common_cmd);
            QSignalSpy logImu(console.get(), &MultiCalib::signal_auto_log_imu);
            QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
            QCOMPARE(common.size(), 1);
            QCOMPARE(common[0][0].value<uint8_t>(), uint8_t(2));
            QCOMPARE(logImu.size(), 1);
            QCOMPARE(logImu[0][0].value<uint8_t>(), uint8_t(1));
            QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
            QCOMPARE(ui->pushButton_one_click_calib->styleSheet(), QString("color:grey"));
            QVERIFY(!ui->radioButtonNormalTest->isEnabled() && !ui->radioButtonNoLineTest->isEnabled());
            QCOMPARE(AutoTurnTableTestType::instance()->testType(), 1);
            QCOMPARE(QSettings("Kelvanto", "Calibration").value(AutoTurnTableTestType::settingsKey()).toInt(), 1);
        }
        FormWorkOrderDetails::installAnswerer(nullptr);
    }

    void theOneClickRunOnTypeTwoNeedsTheWorkOrder()
    {
        g_turn_table_connected = 1;
        auto console = makeConsole(2);
        Ui::MultiCalib *ui = console->form();
        ui->radioButtonNormalTest->setChecked(true);
        QSignalSpy common(console.get(), &MultiCalib::signal_common_cmd);
        answerWorkOrder(false);
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QCOMPARE(common.size(), 0);
        QVERIFY(ui->pushButton_one_click_calib->isEnabled());
        QVERIFY(ui->radioButtonNormalTest->isEnabled());

        answerWorkOrder(true);
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        QCOMPARE(common.size(), 1);
        QCOMPARE(console->workOrderNumber(), QString("WO-1"));
        QCOMPARE(AutoTurnTableTestType::instance()->testType(), 0);
        QVERIFY(!ui->pushButton_one_click_calib->isEnabled());
        // Another start while a run holds the station is refused before any work order is asked.
        answerWorkOrder(false);
        prompter.shown.clear();
        console->on_pushButton_one_click_calib_clicked();
        QCOMPARE(prompter.texts(), QStringList{"One-click turntable calibration is running: stop it before starting another run"});
        QCOMPARE(common.size(), 1);
        FormWorkOrderDetails::installAnswerer(nullptr);
    }

    // The links close while the operator fills in the work order: the run does not begin and
    // the refusal names them, as it would have before the dialog.
    void linksClosedWhileTheWorkOrderIsFilledInRefuseTheOneClickRunByName()
    {
        auto console = makeConsole(2);
        Ui::MultiCalib *ui = console->form();
        const TurnTableLinked linked;
        struct Answerer {
            ~Answerer() { FormWorkOrderDetails::installAnswerer(nullptr); }
        } answerer;
        answerWorkOrder(true, [] {
            g_turn_table_connected = 0;
            g_link_status[0] = 0;
        });
        QSignalSpy common(console.get(), &MultiCalib::signal_common_cmd);
        QSignalSpy logImu(console.get(), &MultiCalib::signal_auto_log_imu);
        QSignalSpy told(console.get(), &MultiCalib::signalTranspondLog);
        QTest::mouseClick(ui->pushButton_one_click_calib, Qt::LeftButton);
        const QString refusal("Cannot start: not linked: turntable, base boards");
        QCOMPARE(prompter.texts(), QStringList{refusal});
        QVERIFY(told.contains({refusal}));
        QCOMPARE(common.size(), 0);
        QCOMPARE(logImu.size(), 0);
        QVERIFY(console->runGuard()->idle());
        QVERIFY(!console->oneClickRunning());
        QVERIFY(ui->pushButton_one_click_calib->isEnabled());
        QVERIFY(ui->radioButtonNormalTest->isEnabled() && ui->radioButtonNoLineTest->isEnabled());
    }

    // The one-click run ends with its end report (62): the post and its box come after it. A
    // stop and a Disconnect while the post waits for the service find no run to stop; the
    // results still go out and the box says the calibration completed.
    void aStopOrDisconnectDuringTheOneClickEndPostComesAfterTheRun()
    {
        UploadServer server(TestKit::workDir() + "/service");
        server.setReply(200, "{\"code\":0,\"msg\":\"ok\"}", 1.0);
        getSettings()->setValue("httpAddr/officialAddr", server.address());
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        auto console = makeConsole(0);
        const TurnTableLinked linked;
        reportingPlate(0, 3999);
        QSignalSpy told(console.get(), &MultiCalib::signalTranspondLog);
        QTest::mouseClick(console->form()->pushButton_one_click_calib, Qt::LeftButton);
        QCOMPARE(console->runGuard()->active(), RunGuard::OneClick);
        bool duringPost = false;
        RunGuard::Run stopped = RunGuard::OneClick;
        QObject context; // the timer dies with the function
        QTimer::singleShot(100, &context, [&] {
            duringPost = prompter.shown.isEmpty() && told.contains({"Station 1 results hold plates: 1"});
            stopped = console->runGuard()->stop("stopped by the operator");
            console->connect_serial_port(0);
        });
        prompter.answers = {QMessageBox::Yes};
        console->rev_log_from_worker(62, "done");
        QVERIFY(duringPost);
        QCOMPARE(stopped, RunGuard::None); // the run had ended with its end report
        for (const QList<QVariant> &line : told)
            QVERIFY2(!line[0].toString().contains(" stopped: "), qPrintable(line[0].toString()));
        QVERIFY(told.contains({"Main link closed: every link of the rack closed"}));
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.texts()[0].startsWith("Turntable calibration completed, please check the calibration flag position"));
        QVERIFY(console->runGuard()->idle());
        sound.looping.clear();
    }

    void theTurntableTypeIsStoredAtOnceButTheRunKeepsTheTypeReadAtStart()
    {
        auto console = makeConsole(0);
        console->form()->comboBox_TurnTableType->setCurrentIndex(2);
        QCOMPARE(setting("turnTableType/type"), QString("2"));
        QCOMPARE(console->turnTableType(), 0);
        FormWorkOrderDetails::installAnswerer([](FormWorkOrderDetails &) { QFAIL("no work order expected"); });
        QSignalSpy common(console.get(), &MultiCalib::signal_common_cmd);
        g_turn_table_connected = 1;
        console->on_pushButton_one_click_calib_clicked();
        QCOMPARE(common.size(), 1);
        g_turn_table_connected = 0;
        FormWorkOrderDetails::installAnswerer(nullptr);
    }

    void theFrameEnableChecksFollowTheTypeReadAtStart()
    {
        auto chamberTable = makeConsole(4);
        QCOMPARE(chamberTable->judge_turn_table_is_enabled_x(0x0080), 1);
        QCOMPARE(chamberTable->judge_turn_table_is_enabled_x(0x0100), 0);
        QCOMPARE(chamberTable->judge_turn_table_is_enabled_y(0x0100), 0);
        QCOMPARE(chamberTable->judge_turn_table_is_enabled_y(0x8081), 1);
        auto plain = makeConsole(1);
        QCOMPARE(plain->judge_turn_table_is_enabled_x(0x0100), 1);
        QCOMPARE(plain->judge_turn_table_is_enabled_y(0x0000), 1);
    }

    void theRepeatClickSwitchTogglesTheTesterAndItsImage()
    {
        auto console = makeConsole(0);
        Multi_calib_test *tester = Multi_calib_test::getInstance();
        QVERIFY(!tester->isRunning());
        console->on_pushButton_mode_switch_clicked();
        QVERIFY(tester->isRunning());
        QCOMPARE(console->form()->pushButton_mode_switch->styleSheet(),
                 QString("QPushButton {border-image:url(:/images/switch_on.png); }"));
        console->on_pushButton_mode_switch_clicked();
        QVERIFY(!tester->isRunning());
        QCOMPARE(console->form()->pushButton_mode_switch->styleSheet(),
                 QString("QPushButton {border-image:url(:/images/switch_off.png); }"));
    }

    void aManualUploadPostsItsStationOnlyWithAWorkOrder()
    {
        // A local web service that records the paths it is asked for.
        QProcess server;
        const QString log = TestKit::workDir() + "/paths.txt";
        QFile::remove(log);
        server.start(TestKit::python(), {"-c", QString(R"(
import http.server, sys
class H(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        n = int(self.headers.get('Content-Length', 0)); self.rfile.read(n)
        open(sys.argv[1], 'a').write(self.path + '\n')
        body = b'{"code":200,"msg":"ok"}'
        self.send_response(200); self.send_header('Content-Type', 'application/json')
        self.send_header('Content-Length', str(len(body))); self.end_headers(); self.wfile.write(body)
    def log_message(self, *a): pass
s = http.server.HTTPServer(('127.0.0.1', 0), H)
print(s.server_address[1], flush=True)
s.serve_forever()
)"), log});
        QVERIFY(server.waitForReadyRead(10000));
        const int port = server.readLine().trimmed().toInt();
        QVERIFY(port > 0);
        getSettings()->setValue("httpAddr/officialAddr", QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(port));
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        getSettings()->sync();

        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        auto paths = [&] {
            QFile f(log);
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
        };
        answerWorkOrder(false);
        QTest::mouseClick(ui->button_noHotHouseUpload, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(paths().isEmpty());

        answerWorkOrder(true);
        const QList<QPushButton *> buttons = {ui->button_uploadAllTemp, ui->button_noHotHouseUpload,
                                              ui->button_commonAllanUpload, ui->button_tempRetest,
                                              ui->button_advAllanUpload, ui->button_AdvCalibUpload};
        for (QPushButton *b : buttons)
            QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(TestKit::waitUntil([&] { return paths().size() == 6; }, 10000));
        // Each button posts its own station, in button order.
        QStringList expected;
        for (uint8_t station = 0; station < 6; ++station) {
            UploadStationInfo info{};
            QVERIFY(uploadStationInfo(station, &info));
            expected << QString::fromLatin1(info.path);
        }
        QCOMPARE(paths(), expected);
        FormWorkOrderDetails::installAnswerer(nullptr);
        server.kill();
        server.waitForFinished(3000);
    }

    void aWrongPasswordLeavesTheOperatorMode()
    {
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        const QStringList before = tabTexts(ui->tabWidget_top);
        dialogs.texts = QStringList{"123456", QString(""), QString()};
        QTest::mouseClick(ui->pushButton_show_setting_page, Qt::LeftButton);
        QCOMPARE(dialogs.asked.value(0), QString("Administrator Password|password:|%1").arg(int(QLineEdit::Password)));
        console->on_pushButton_show_setting_page();
        QCOMPARE(prompter.texts(), QStringList({"Password error, return to operator mode", "Password error, return to operator mode"}));
        QCOMPARE(prompter.shown[0].title, QString("Notice"));
        console->on_pushButton_show_setting_page(); // cancelled: silence
        QCOMPARE(prompter.shown.size(), 2);
        QVERIFY(!console->isAdminMode());
        QCOMPARE(tabTexts(ui->tabWidget_top), before);
        QVERIFY(!console->settingsDialog()->isVisible());
    }

    void theAdministratorModePutsItsPagesBackOnce()
    {
        getSettings()->setValue("removeTableWidget/removeName4", u("转台手动"));
        getSettings()->setValue("removeTableWidget/removeName6", u("温箱手动"));
        getSettings()->sync();
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        console->removeConfigPage();
        QCOMPARE(ui->tabWidget_top->count(), 6);
        ui->textEdit_hothouse_start_temp->setEnabled(false);
        ui->textEdit_dc_power_supply_max_current->setEnabled(false);
        ui->tabWidget_top->setCurrentWidget(ui->tab_power_dc);
        dialogs.texts = QStringList{"580417"};
        console->on_pushButton_show_setting_page();
        QCOMPARE(prompter.texts(), QStringList({"Enter administrator mode"}));
        QVERIFY(console->isAdminMode());
        QVERIFY(ui->textEdit_hothouse_start_temp->isEnabled());
        QVERIFY(ui->textEdit_dc_power_supply_max_current->isEnabled());
        QVERIFY(console->settingsDialog()->isVisible());
        // The three pages come back where the form has them, under their labels; the page the
        // operator looked at stays shown.
        const QList<QWidget *> formOrder{ui->tab,          ui->tab_2,          ui->tab_wenxiang_auto, ui->tab_wenxiang_manual,
                                         ui->tab_turntable_manual, ui->tab_turntable_auto, ui->tab_power_dc, ui->tab_imu,
                                         ui->tab_17};
        QCOMPARE(tabPages(ui->tabWidget_top), formOrder);
        QCOMPARE(ui->tabWidget_top->currentWidget(), ui->tab_power_dc);
        QCOMPARE(ui->tabWidget_top->tabText(4), QString("Turntable manual"));
        QCOMPARE(ui->tabWidget_top->tabText(3), QString("Thermobox manual"));
        QCOMPARE(ui->tabWidget_top->tabText(8), QString("Configuration"));
        QCOMPARE(setting("removeTableWidget/removeName4"), QString());
        QCOMPARE(setting("removeTableWidget/removeName6"), QString());

        // A second time leaves every page where it is, never shows one twice.
        ui->tabWidget_top->setCurrentWidget(ui->tab_wenxiang_manual);
        dialogs.texts = QStringList{"580417"};
        console->on_pushButton_show_setting_page();
        QCOMPARE(tabPages(ui->tabWidget_top), formOrder);
        QCOMPARE(ui->tabWidget_top->currentWidget(), ui->tab_wenxiang_manual);
        // Re-adding a relabelled page finds it present.
        console->addItemToTableWidgetTop(u("转台手动"));
        QCOMPARE(ui->tabWidget_top->count(), 9);
        console->settingsDialog()->hide();
    }

    void theStartUpRemovesTheStoredPages()
    {
        getSettings()->setValue("removeTableWidget/removeName6", u("温箱手动"));
        getSettings()->setValue("removeTableWidget/removeName9", "IMU");
        getSettings()->setValue("removeTableWidget/removeName11", u("底板10"));
        getSettings()->sync();
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        QCOMPARE(ui->tabWidget_top->count(), 7);
        QVERIFY(ui->tabWidget_top->indexOf(ui->tab_wenxiang_manual) < 0);
        QVERIFY(ui->tabWidget_top->indexOf(ui->tab_imu) < 0);
        QVERIFY(!tabTexts(ui->tabWidget_bottom).contains(u("底板10")));
        QCOMPARE(console->calcInsertIndex("IMU", MultiCalib::TableWidgetTop), 6);
        QCOMPARE(console->calcInsertIndex("x", MultiCalib::AddTableWidgetType(3)), -1);
        QCOMPARE(console->getCurTableWidgetName(-1), QString());
        QCOMPARE(console->getCurTableWidgetName(ui->tabWidget_top->count()), QString());
        QCOMPARE(console->getCurTableWidgetName(0), u("标定统计"));

        // Re-adding the chamber manual page: four earlier pages are present.
        console->addItemToTableWidgetTop(u("温箱手动"));
        QCOMPARE(ui->tabWidget_top->indexOf(ui->tab_wenxiang_manual), 4);
        QCOMPARE(ui->tabWidget_top->tabText(4), u("温箱手动"));
        QCOMPARE(setting("removeTableWidget/removeName6"), QString());
        console->addItemToTableWidgetTop(u("温箱手动"));
        QCOMPARE(ui->tabWidget_top->count(), 8);
    }

    void aPlatePageComesBackAfterTheEarlierPlatesPresent()
    {
        getSettings()->setValue("removeTableWidget/removeName11", u("底板10"));
        getSettings()->setValue("removeTableWidget/removeName13", u("底板12"));
        getSettings()->sync();
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        QCOMPARE(ui->tabWidget_bottom->count(), 17);
        QCOMPARE(console->calcInsertIndex(u("底板12"), MultiCalib::TableWidgetBottom), 11);
        console->addItemToTableWidgetBottom(u("底板12"));
        QCOMPARE(ui->tabWidget_bottom->tabText(11), u("底板12"));
        QWidget *page = ui->tabWidget_bottom->widget(11);
        QVERIFY(page == ui->tableWidget_calib_multi12 || page->isAncestorOf(ui->tableWidget_calib_multi12));
        QCOMPARE(setting("removeTableWidget/removeName13"), QString());
        QCOMPARE(setting("removeTableWidget/removeName11"), u("底板10"));
        // A top name is not a bottom page and the other way round.
        console->addItemToTableWidgetBottom(u("温箱手动"));
        console->addItemToTableWidgetTop(u("底板10"));
        QCOMPARE(ui->tabWidget_bottom->count(), 18);
        QCOMPARE(ui->tabWidget_top->count(), 9);
    }

    void theRemoveAndAddButtonsWorkOnTheChosenPage()
    {
        auto console = makeConsole(0);
        Ui::MultiCalib *ui = console->form();
        QComboBox *combo = ui->comboBox_remove_tableWidget_items;
        combo->setCurrentIndex(3); // the chamber manual page
        QTest::mouseClick(ui->pushButton_remove_tableWidget_top, Qt::LeftButton);
        QVERIFY(ui->tabWidget_top->indexOf(ui->tab_wenxiang_manual) < 0);
        QCOMPARE(setting("removeTableWidget/removeName6"), u("温箱手动"));
        combo->setCurrentIndex(8); // plate 9, on the bottom
        QTest::mouseClick(ui->pushButton_remove_tableWidget_top, Qt::LeftButton);
        QVERIFY(!tabTexts(ui->tabWidget_bottom).contains(u("底板9")));
        QCOMPARE(setting("removeTableWidget/removeName10"), u("底板9"));
        QCOMPARE(ui->tabWidget_top->count(), 8);

        // The next start removes them again.
        {
            auto next = makeConsole(0);
            QVERIFY(next->form()->tabWidget_top->indexOf(next->form()->tab_wenxiang_manual) < 0);
            QCOMPARE(next->form()->tabWidget_bottom->count(), 18);
        }

        QTest::mouseClick(ui->pushButton_add_tableWidget_top, Qt::LeftButton);
        QCOMPARE(ui->tabWidget_bottom->tabText(9), u("底板9"));
        QCOMPARE(setting("removeTableWidget/removeName10"), QString());
        combo->setCurrentIndex(3);
        QTest::mouseClick(ui->pushButton_add_tableWidget_top, Qt::LeftButton);
        QCOMPARE(ui->tabWidget_top->indexOf(ui->tab_wenxiang_manual), 4);
        QCOMPARE(ui->tabWidget_top->count(), 9);

        // Nothing chosen: nothing stored, nothing removed.
        combo->setCurrentIndex(-1);
        QTest::mouseClick(ui->pushButton_remove_tableWidget_top, Qt::LeftButton);
        QCOMPARE(ui->tabWidget_top->count(), 9);
        QCOMPARE(ui->tabWidget_bottom->count(), 19);
    }

    void theFtpWorkerIsReplacedAndTheOldOneReleased()
    {
        getSettings()->remove("ftp/serverAddress"); // no server: the worker sends nothing
        auto console = makeConsole(0);
        QVERIFY(!console->ftpWorker());
        console->init_ftp();
        QPointer<WorkerThread_ftp> first = console->ftpWorker();
        QVERIFY(first);
        QThread *firstThread = first->thread();
        QVERIFY(firstThread != QThread::currentThread());
        console->init_ftp();
        QVERIFY(console->ftpWorker() && console->ftpWorker() != first.data());
        QVERIFY(TestKit::waitUntil([&] { return first.isNull(); }, 5000));
        // With no server the second walk ends at once and the console retires that worker
        // itself, perhaps before this line: watch it only through a guarded pointer.
        QPointer<WorkerThread_ftp> second = console->ftpWorker();
        QVERIFY(TestKit::waitUntil([&] { return second.isNull(); }, 5000));
        QVERIFY(!console->ftpWorker());
    }

    void aSharedPlateIdentityIsFoundWhenTheLowerPlateReported()
    {
        auto console = makeConsole(0);
        QVERIFY(!console->check_mother_board_sn_unique());
        console->rev_log_from_worker(37, "5_v1_BOARD-A");
        console->rev_log_from_worker(37, "3_v1_BOARD-B");
        QVERIFY(!console->check_mother_board_sn_unique());
        console->rev_log_from_worker(37, "9_v1_BOARD-A");
        QVERIFY(console->check_mother_board_sn_unique());
    }
};

QTEST_MAIN(TestActionsConsole)
#include "test_actions_console.moc"

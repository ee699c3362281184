// The console page offscreen: its form, the report dispatcher, the result tables, the shield
// marks and the selection grid with its file.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include "app/Clock.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/ConsoleLogic.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "station/TableView.h"
#include "station/UploadOutbox.h"
#include "tests/kit/TestKit.h"
#include "tests/station/ConsoleSeams.h"
#include "tests/station/ConsoleWidgetNames.h"
#include "ui_MultiCalib.h"

namespace {
// Reads how many receivers a widget signal has (QObject::receivers is protected): the member is
// named through a class that makes it public and called on the widget as the QObject it is.
struct SignalPeek : QObject {
    using QObject::receivers;
    static int receiversOf(QObject *o, const char *signal)
    {
        int (QObject::*peek)(const char *) const = &SignalPeek::receivers;
        return (o->*peek)(signal);
    }
};

// A prompter that, while a box is open, lets the test feed more reports.
class ReentrantPrompter : public ScriptedPrompter {
public:
    std::function<void()> whileOpen;
    QMessageBox::StandardButton ask(Kind kind, QWidget *w, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons b, QMessageBox::StandardButton def) override
    {
        const auto r = ScriptedPrompter::ask(kind, w, title, text, b, def);
        if (whileOpen) {
            auto f = std::move(whileOpen);
            whileOpen = nullptr;
            f();
        }
        return r;
    }
};

QString cell(QTableWidget *t, int r, int c) { return t->item(r, c) ? t->item(r, c)->text() : QString(); }
QColor colour(QTableWidget *t, int r, int c)
{
    if (!t->item(r, c) || t->item(r, c)->background().style() == Qt::NoBrush)
        return QColor();
    return t->item(r, c)->background().color();
}
QList<QString> codeTexts(const QSignalSpy &spy, int code)
{
    QList<QString> out;
    for (const auto &args : spy)
        if (args[0].value<uint8_t>() == code)
            out << args[1].toString();
    return out;
}
} // namespace

class TestConsoleForm : public QObject {
    Q_OBJECT
private:
    ManualClock clock;
    ReentrantPrompter prompter;
    RecordingSoundPlayer sound;
    MultiCalib *console = nullptr;

    void feedPlate(int plate, const std::function<void(CalibImuStatus *, uint32_t *)> &fill)
    {
        g_calib_status.writePlate(plate, [&](CalibImuStatus *r, uint32_t *e) { fill(r, e); });
        g_calib_status.bump(plate);
    }
    void refresh()
    {
        clock.advance(1100);
        console->display_calib_multi();
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Clock::install(&clock);
        Prompter::install(&prompter);
        SoundPlayer::install(&sound);
        getSettings()->setValue("turnTableType/type", 4);
        getSettings()->remove("removeTableWidget"); // every page shown, whatever a run left
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run wait
        console = new MultiCalib;
    }
    void cleanupTestCase()
    {
        delete console;
        Clock::install(nullptr);
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }
    void init()
    {
        prompter.shown.clear();
        sound.played.clear();
        g_calib_status.clearAll();
        g_link_status.fill(0);
    }

    void everyNamedWidgetExistsOnceWithItsClass()
    {
        for (const auto &w : kConsoleWidgets) {
            const QList<QWidget *> found = console->findChildren<QWidget *>(w.first);
            QVERIFY2(found.size() == 1, w.first);
            QVERIFY2(found[0]->inherits(w.second), w.first);
        }
        QCOMPARE(console->objectName(), QString("MultiCalib"));
    }

    void thePagesAndFixedTextsAreInPlace()
    {
        Ui::MultiCalib *ui = console->form();
        QCOMPARE(ui->tabWidget_bottom->count(), 19);
        QCOMPARE(ui->tabWidget_bottom->tabText(0), QString::fromUtf8("汇总"));
        QCOMPARE(ui->tabWidget_bottom->tabText(16), QString::fromUtf8("底板16"));
        QCOMPARE(ui->tabWidget_bottom->tabText(17), QString::fromUtf8("接口"));
        QCOMPARE(ui->tabWidget_bottom->tabText(18), QString("Shield"));
        QCOMPARE(ui->tabWidget_bottom->currentIndex(), 0);
        QCOMPARE(ui->tabWidget_top->count(), 9);
        QCOMPARE(ui->tabWidget_top->tabText(8), QString::fromUtf8("配置"));
        QCOMPARE(ui->tabWidget_top->currentIndex(), 0);
        QCOMPARE(ui->comboBox_TurnTableType->count(), 5);
        QCOMPARE(ui->comboBox_TurnTableType->itemText(4), QString::fromUtf8("BR带温箱转台"));
        QCOMPARE(ui->comboBox_calib_multi_total->count(), 30);
        QCOMPARE(ui->comboBox_calib_multi_total->currentIndex(), 1);
        QCOMPARE(ui->tableWidget_calib_multi_total->rowCount(), 20);
        QCOMPARE(cell(ui->tableWidget_calib_multi_total, 3, 0), QString("calib_flag_h-4"));
        QCOMPARE(ui->tableWidget_calib_multi3->horizontalHeaderItem(0)->text(), QString("Category(3)"));
        QCOMPARE(cell(ui->tableWidget_calib_multi3, 32, 0), QString("freq"));
        QVERIFY(!ui->pushButton_log_replay_setting_continue->isEnabled());
        QVERIFY(ui->radioButtonNormalTest->isChecked());
        QCOMPARE(ui->neihuan_target_vel_manual->toPlainText(), QString("100"));
        QVERIFY(!ui->neihuan_current_pos_manual->isEnabled());
        QVERIFY(ui->pushButton_one_click_calib->styleSheet().contains("rgb(0, 85, 255)"));
        QCOMPARE(ui->pushButton_one_click_calib->font().pointSize(), 8);
        QVERIFY(ui->comboBox_calib_multi_serial2->styleSheet().contains("combobox_arrow_blue.png"));
        QCOMPARE(ui->label_port_3->font().family(), QString::fromUtf8("宋体"));
        QCOMPARE(ui->label_port_3->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(ui->horizontalSlider_Percentage->maximum(), 100);
    }

    void widgetsConnectedTwiceStillRunTheirSlotOnce()
    {
        Ui::MultiCalib *ui = console->form();
        const QList<QWidget *> once = {ui->pushButton_show_cmd_page, ui->pushButton_show_setting_page,
            ui->pushButton_advanced_calib, ui->pushButton_advanced_calib_retest, ui->pushButton_advanced_retest,
            ui->pushButton_waihuan_enable_advanced, ui->pushButton_neihuan_enable_advanced,
            ui->pushButton_neihuan_unEnable_advanced, ui->pushButton_waihuan_unEnable_advanced, ui->pushButton_log_replay,
            ui->pushButton_log_replay_setting_all, ui->pushButton_log_replay_setting_fast,
            ui->pushButton_log_replay_setting_middle, ui->pushButton_log_replay_setting_slow,
            ui->pushButton_log_replay_setting_pause, ui->pushButton_log_replay_setting_continue,
            ui->pushButton_one_click_calib};
        for (QWidget *b : once)
            QVERIFY2(SignalPeek::receiversOf(b, SIGNAL(clicked())) == 1, qPrintable(b->objectName()));
        for (QWidget *c : {static_cast<QWidget *>(ui->comboBox_neihuan_manual), static_cast<QWidget *>(ui->comboBox_waihuan_manual),
                           static_cast<QWidget *>(ui->comboBox_TurnTableType), static_cast<QWidget *>(ui->comboBox_calib_multi_total)})
            QVERIFY2(SignalPeek::receiversOf(c, SIGNAL(currentIndexChanged(int))) == 1, qPrintable(c->objectName()));

        // And the clicks do what they do, once (the turntable's buttons with its link open).
        QSignalSpy common(console, &MultiCalib::signal_common_cmd);
        g_turn_table_connected = 1;
        QTest::mouseClick(ui->pushButton_neihuan_enable_advanced, Qt::LeftButton);
        QTest::mouseClick(ui->pushButton_waihuan_unEnable_advanced, Qt::LeftButton);
        g_turn_table_connected = 0;
        QCOMPARE(common.size(), 2);
        QCOMPARE(common[0][0].value<uint8_t>(), uint8_t(30));
        QCOMPARE(common[1][0].value<uint8_t>(), uint8_t(33));
        ui->comboBox_neihuan_manual->setCurrentIndex(1);
        QVERIFY(!ui->neihuan_target_pos_manual->isEnabled());
        ui->comboBox_neihuan_manual->setCurrentIndex(0);
        QVERIFY(ui->neihuan_target_pos_manual->isEnabled());
        QTest::mouseClick(ui->pushButton_show_cmd_page, Qt::LeftButton);
        QVERIFY(console->commandPage()->isVisible());
        console->commandPage()->hide();
    }

    void theLogWindowAppendsForwardedLines()
    {
        QTest::mouseClick(console->form()->pushButton_ShowLog, Qt::LeftButton);
        QTest::mouseClick(console->form()->pushButton_ShowLog, Qt::LeftButton);
        QVERIFY(console->logWindow()->isVisible());
        QCOMPARE(console->logWindow()->windowTitle(), QString("Log display interface"));
        console->onSignalSendMsg("first");
        console->onSignalSendMsg("");
        console->onSignalSendMsg("third");
        // Each line carries its time stamp; an empty line is the stamp alone.
        const QString stamp = clock.now().toString("yyyy-MM-dd hh:mm:ss ");
        QVERIFY(console->logWindow()->text().endsWith(stamp + "first\n" + stamp + "\n" + stamp + "third"));
        console->logWindow()->hide();
    }

    void code37PutsAPlatesVersionAndBoardIdIntoTheSummary()
    {
        QSignalSpy forwarded(console, &MultiCalib::signal_log_from_multi_calib);
        QTableWidget *t = console->form()->tableWidget_calib_multi_total;
        console->rev_log_from_worker(37, "7_1446063664_5_6_7");
        QCOMPARE(cell(t, 16, 7), QString("1446063664"));
        QCOMPARE(cell(t, 17, 7), QString("5"));
        QVERIFY(console->baseBoardReported(6));
        QCOMPARE(console->baseBoardIdentity(6), QString("5"));
        console->rev_log_from_worker(37, "8_99"); // too short: ignored
        QVERIFY(!console->baseBoardReported(7));
        console->rev_log_from_worker(37, "net_0_0");
        QVERIFY(console->netReported());
        QCOMPARE(forwarded.size(), 3); // every report reaches the command page first
    }

    void code62LoopsTheSoundUntilTheBoxIsAnswered()
    {
        g_expected_calib_flag = 0;
        QSignalSpy autoLog(console, &MultiCalib::signal_auto_log_imu);
        QString loopingWhileOpen;
        uint32_t flagWhileOpen = 0;
        prompter.whileOpen = [&] {
            loopingWhileOpen = sound.looping;
            flagWhileOpen = g_expected_calib_flag;
        };
        reportingPlate(0, 3999);
        console->rev_log_from_worker(62, "done");
        QCOMPARE(loopingWhileOpen, QString(Sounds::Class));
        QCOMPARE(flagWhileOpen, 3999u);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].title, QString("Warning"));
        // No service at the default address: the box also says that the results wait on disk.
        QVERIFY(prompter.shown[0].text.startsWith("Turntable calibration completed, please check the calibration flag position\n"
                                                  "The results did not reach the service and wait on disk: "));
        QVERIFY(sound.looping.isEmpty());
        QCOMPARE(autoLog.size(), 1);
        QCOMPARE(autoLog[0][0].value<uint8_t>(), uint8_t(0));
        g_expected_calib_flag = 0;
    }

    void displayCodesFillTheirWidgets()
    {
        Ui::MultiCalib *ui = console->form();
        console->rev_log_from_worker(78, "1.25");
        console->rev_log_from_worker(77, "24.00");
        QCOMPARE(ui->textEdit_dc_power_supply_current_voltage->toPlainText(), QString("24.00"));
        QCOMPARE(ui->textEdit_dc_power_supply_current_current->toPlainText(), QString("1.25"));
        QCOMPARE(ui->label_dc_power_current_time->text(), "Update time:" + clock.now().toString("yyyy_MMdd HH:mm:ss"));
        console->rev_log_from_worker(84, "12 min");
        QCOMPARE(ui->label_turn_table_left_run_time_advanced->text(), QString("12 min"));
        console->rev_log_from_worker(74, "stage one");
        QCOMPARE(ui->textEdit_turn_table_status_auto->toPlainText(), clock.now().toString("yyyy-MM-dd hh:mm:ss ") + "stage one");
        console->rev_log_from_worker(59, "hello");
        QCOMPARE(prompter.shown.last().title, QString("Tip"));
        console->rev_log_from_worker(85, "50.0%");
        QCOMPARE(ui->label_replay_percentage->text(), QString("50.0%"));
        console->rev_log_from_worker(200, "nothing");
    }

    void turntableStatusRefreshesEveryTenthCallAndWarnsOnce()
    {
        Ui::MultiCalib *ui = console->form();
        const uint32_t start = console->turnTableStatusCount();
        QCOMPARE(start, 0u);
        for (int i = 0; i < 9; ++i)
            console->rev_signal_send_zhuantai_status(900000, 100000, 0x80, -450000, 0, 0x80);
        QVERIFY(ui->neihuan_current_pos_auto->toPlainText().isEmpty());
        console->rev_signal_send_zhuantai_status(900000, 100000, 0x80, -450000, 0, 0x80);
        QCOMPARE(ui->neihuan_current_pos_manual->toPlainText(), QString("90.0000"));
        QCOMPARE(ui->waihuan_current_pos_advanced->toPlainText(), QString("-45.0000"));
        QCOMPARE(ui->neihuan_current_status->toPlainText(), QString("128"));

        // Type 4: at the 1000th status an inner frame that is not enabled is warned about once,
        // even when more statuses arrive while the box is open.
        for (int i = 10; i < 999; ++i)
            console->rev_signal_send_zhuantai_status(0, 0, 0x80, 0, 0, 0x80);
        QVERIFY(prompter.shown.isEmpty());
        prompter.whileOpen = [&] {
            for (int i = 0; i < 1000; ++i)
                console->rev_signal_send_zhuantai_status(0, 0, 0x01, 0, 0, 0x80);
        };
        console->rev_signal_send_zhuantai_status(0, 0, 0x01, 0, 0, 0x80);
        QCOMPARE(prompter.texts(), QStringList{"The inner or outer frame is not enabled!"});
        QCOMPARE(console->turnTableStatusCount(), 2000u);
        QVERIFY(g_turn_table_status_time != kNoTurntableStatus);
    }

    void aPlateTableMarksOnlyTheOddImuAndPacketLoss()
    {
        g_link_status[1] = 1;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *e) {
            for (int k = 0; k < 32; ++k) {
                r[k].time_ms = 500;
                r[k].calib_flag_h = 3999;
                r[k].calib_status = 56005;
                e[k] = 0;
            }
            r[6].calib_flag_h = 4095;
            e[2] = 3;
        });
        refresh();
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(cell(t, 1, 7), QString("4095"));
        QCOMPARE(colour(t, 1, 7), QColor(Qt::yellow));
        QCOMPARE(colour(t, 1, 6), QColor());
        QCOMPARE(colour(t, 0, 3), QColor(Qt::red));
        QCOMPARE(cell(t, 2, 1), QString("56005 Meter calibration completed"));
        QCOMPARE(console->plateFailCount(1), 2u);
        // Summary kind 1 shows the flag words of the plate in row 1.
        QCOMPARE(cell(console->form()->tableWidget_calib_multi_total, 1, 7), QString("4095"));

        // The next refresh without a new jump leaves the packet-loss cell unmarked; the expected
        // flag adds the odd IMU once more.
        g_expected_calib_flag = 3999;
        refresh();
        QCOMPARE(colour(t, 0, 3), QColor());
        QCOMPARE(console->plateFailCount(1), 2u);
        g_expected_calib_flag = 0;

        // A plate that is not linked keeps its table.
        g_link_status[1] = 0;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *) { r[6].calib_flag_h = 1; });
        refresh();
        QCOMPARE(cell(t, 1, 7), QString("4095"));
    }

    void shieldingFollowsTheGridAtTheNextTick()
    {
        // Plate 2 starts from a clear: its records and packet-loss counts are its own.
        console->clear_calib_multi_table();
        g_expected_calib_flag = 0;
        TableView *grid = console->selectionGrid();
        grid->setCellChecked(1, 5, false);
        grid->setCellChecked(1, 6, true);
        grid->setCellChecked(4, 32, true);
        console->calib_multi_ackTimeout();
        QCOMPARE(console->shieldMark(1, 6), QString("1"));
        QCOMPARE(console->shieldMark(1, 5), QString("false"));
        for (int k = 0; k < 32; ++k)
            QCOMPARE(console->shieldMark(4, k), QString("1"));

        g_link_status[1] = 1;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *e) {
            r[6].calib_flag_h = 4095;
            e[2] = 3; // counts that arrive with the first record after a clear are no jump
        });
        refresh();
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(colour(t, 1, 7), QColor(Qt::lightGray));
        QCOMPARE(console->plateFailCount(1), 0u);
        grid->setCellChecked(1, 6, false);
        grid->setCellChecked(4, 32, false);
        console->calib_multi_ackTimeout();
    }

    void everyTickReportsEachPlatesVerdict()
    {
        // No plate has reported its base board (closing every link forgets the reports); then
        // plate 7's base board reports.
        console->connect_serial_port(0);
        console->clear_calib_multi_table();
        g_expected_calib_flag = 0;
        console->rev_log_from_worker(37, "7_1446063664_5_6_7");
        QSignalSpy logs(console, &MultiCalib::signal_log);
        g_link_status[1] = 1;
        g_link_status[6] = 1;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *e) {
            for (int k = 0; k < 32; ++k) {
                r[k] = CalibImuStatus{};
                e[k] = 0;
            }
            r[0].calib_status = 7;
        });
        refresh();
        console->calib_multi_ackTimeout();
        console->calib_multi_ackTimeout();
        const QList<QString> verdicts = codeTexts(logs, 73);
        QCOMPARE(verdicts.size(), 32);
        QCOMPARE(verdicts[0], QString("1_unconnected"));
        QCOMPARE(verdicts[1], QString("2_unconnected")); // linked, but its base board never reported
        QCOMPARE(verdicts[6], QString("7_pass"));
        QCOMPARE(verdicts[15], QString("16_unconnected"));
        console->rev_log_from_worker(37, "2_1_2");
        logs.clear();
        console->calib_multi_ackTimeout();
        QCOMPARE(codeTexts(logs, 73)[1], QString("2_fail"));
    }

    void clearingEmptiesTheValueRowsAndTheRecords()
    {
        g_link_status[1] = 1;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *) { r[0].time_ms = 42; r[0].freq = 9; });
        refresh();
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(cell(t, 13, 1), QString("42"));
        console->clear_calib_multi_table();
        QCOMPARE(cell(t, 13, 1), QString());
        QCOMPARE(cell(t, 32, 1), QString("9")); // rows 30 to 32 keep their text
        QCOMPARE(g_calib_status.record(1, 0).time_ms, 0u);
        feedPlate(1, [](CalibImuStatus *, uint32_t *) {});
        refresh();
        QCOMPARE(cell(t, 13, 1), QString("0"));
    }

    // Until a record comes after a clear, the ticks and other plates' records rebuild nothing of
    // the plate from the zeroed records: its rows 30 to 32 and its verdict stay.
    void aClearedPlateKeepsItsLastRowsAndVerdictUntilItsNextRecord()
    {
        g_link_status[1] = 1;
        console->rev_log_from_worker(37, "2_1_2");
        g_expected_calib_flag = 3999;
        feedPlate(1, [](CalibImuStatus *r, uint32_t *e) {
            for (int k = 0; k < 32; ++k) {
                r[k] = CalibImuStatus{};
                r[k].calib_flag_h = 3999;
                r[k].freq = 9;
                e[k] = 0;
            }
        });
        refresh();
        QSignalSpy logs(console, &MultiCalib::signal_log);
        console->calib_multi_ackTimeout();
        QCOMPARE(codeTexts(logs, 73)[1], QString("2_pass"));
        console->clear_calib_multi_table();
        logs.clear();
        clock.advance(1100);
        console->calib_multi_ackTimeout();
        refresh(); // another plate's record
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(cell(t, 32, 1), QString("9"));
        QCOMPARE(codeTexts(logs, 73)[1], QString("2_pass"));
        feedPlate(1, [](CalibImuStatus *, uint32_t *) {});
        refresh();
        QCOMPARE(cell(t, 32, 1), QString("0"));
        QCOMPARE(console->plateFailCount(1), 32u);
        g_expected_calib_flag = 0;
    }

    void theSelectionFileRoundTripsThroughTheGrid()
    {
        TableView *grid = console->selectionGrid();
        QVERIFY(grid->cellText(0, 0) == "false" || grid->cellText(0, 0).isEmpty());
        grid->setCellChecked(2, 11, true);
        grid->setCellChecked(15, 32, true);
        QTest::mouseClick(console->form()->pushButton_SaveSelectState, Qt::LeftButton);
        QSettings ini(console->selectFilePath(), QSettings::IniFormat);
        QVERIFY(ini.value("SelectStatus/3-12").toBool());
        QVERIFY(ini.value("SelectStatus/16-33").toBool());
        QVERIFY(console->readSelectState(2, 11));
        grid->setCellChecked(2, 11, false);
        grid->setCellChecked(0, 0, true);
        QTest::mouseClick(console->form()->pushButton_ReadLastSelectState, Qt::LeftButton);
        QCOMPARE(grid->cellText(2, 11), QString("true"));
        QCOMPARE(grid->cellText(0, 0), QString("false"));
        console->writeSelectState(15, 32, false);
        QVERIFY(!console->readSelectState(15, 32));
    }

    void theBottomTabShowsTheRecordLabelOnlyOnPlatePages()
    {
        QTabWidget *bottom = console->form()->tabWidget_bottom;
        QSignalSpy visible(console, &MultiCalib::signal_label_record_visible);
        for (int i : {1, 12, 13, 16, 17, 18, 0})
            bottom->setCurrentIndex(i);
        QList<uint8_t> shown;
        for (const auto &args : visible)
            shown << args[0].value<uint8_t>();
        // Plates 1, 13, 16: shown; the port and shield pages: hidden; the summary: shown.
        QCOMPARE(shown, (QList<uint8_t>{1, 1, 1, 1, 0, 0, 1}));
    }

    void theStreamRequestGoesOutOnlyForTheConsolePage()
    {
        QSignalSpy once(console, &MultiCalib::Send_CMD_LONG_SIGNAL);
        for (uint32_t i = 0; i < 14; ++i)
            console->cmd_start(i);
        QCOMPARE(once.size(), 1);
        QCOMPARE(once[0][0].value<uint16_t>(), uint16_t(3));
        QCOMPARE(once[0][1].toFloat(), 3.0f);
        QCOMPARE(once[0][3].value<uint32_t>(), 0x1234u);
        QCOMPARE(once[0][6].value<int32_t>(), 200);
    }

    void thePlotsKeepOnlyTheShownTenSeconds()
    {
        Ui::MultiCalib *ui = console->form();
        g_link_status[1] = 1;
        g_open_imu_plot = 1;
        clock.advance(200);
        console->display_calib_multi(); // the IMU page stays in place at index 7
        QCOMPARE(ui->tabWidget_top->indexOf(ui->tab_imu), 7);
        ui->tabWidget_top->setCurrentIndex(7);
        ui->tabWidget_bottom->setCurrentIndex(2); // plate 2
        for (int i = 0; i < 150; ++i) { // 30 s of records, 5 a second
            feedPlate(1, [i](CalibImuStatus *r, uint32_t *) { r[0].accx = float(i); r[0].temp = 20.0f; });
            clock.advance(200);
            console->display_calib_multi();
        }
        QCPGraph *acc = ui->calib_multi_plot1->graph(0);
        QVERIFY(acc->dataCount() >= 45 && acc->dataCount() <= 51);
        const double newest = (acc->data()->constEnd() - 1)->key;
        QVERIFY(acc->data()->constBegin()->key >= newest - 10.0);
        QCOMPARE((acc->data()->constEnd() - 1)->value, 149.0);
        QCOMPARE(ui->calib_multi_plot1->xAxis->range().upper, newest);
        QCOMPARE(ui->calib_multi_plot3->graph(0)->dataCount(), acc->dataCount());

        // The shield page adds no points.
        ui->tabWidget_bottom->setCurrentIndex(18);
        const int before = acc->dataCount();
        clock.advance(200);
        console->display_calib_multi();
        QCOMPARE(acc->dataCount(), before);

        g_open_imu_plot = 0;
        clock.advance(200);
        console->display_calib_multi();
        QCOMPARE(ui->tabWidget_top->indexOf(ui->tab_imu), -1);
        ui->tabWidget_bottom->setCurrentIndex(0);
    }

    void afterAnEarlierTopPageIsRemovedTheImuSwitchRemovesTheImuPageAndKeepsTheConfigurationPage()
    {
        Ui::MultiCalib *ui = console->form();
        QTabWidget *top = ui->tabWidget_top;
        g_link_status[1] = 1;
        g_open_imu_plot = 1;
        clock.advance(200);
        console->display_calib_multi();
        QVERIFY(top->indexOf(ui->tab_imu) >= 0);

        // The operator removes the chamber manual page, which stands before the IMU page.
        ui->comboBox_remove_tableWidget_items->setCurrentIndex(3);
        QTest::mouseClick(ui->pushButton_remove_tableWidget_top, Qt::LeftButton);
        auto putBack = qScopeGuard([&] {
            ui->comboBox_remove_tableWidget_items->setCurrentIndex(3);
            console->on_pushButton_add_tableWidget_top_clicked();
            g_open_imu_plot = 0;
        });
        QVERIFY(top->indexOf(ui->tab_wenxiang_manual) < 0);
        const int pages = top->count();

        g_open_imu_plot = 0;
        clock.advance(200);
        console->display_calib_multi();
        QCOMPARE(top->indexOf(ui->tab_imu), -1);
        QVERIFY(top->indexOf(ui->tab_17) >= 0);
        QCOMPARE(top->count(), pages - 1);

        // Switched on again, the IMU page comes back after the pages before it.
        g_open_imu_plot = 1;
        clock.advance(200);
        console->display_calib_multi();
        QCOMPARE(top->indexOf(ui->tab_imu), top->indexOf(ui->tab_power_dc) + 1);
        QCOMPARE(top->tabText(top->indexOf(ui->tab_imu)), QString("IMU"));
        QVERIFY(top->indexOf(ui->tab_17) >= 0);

        QTest::mouseClick(ui->pushButton_add_tableWidget_top, Qt::LeftButton);
        QVERIFY(top->indexOf(ui->tab_wenxiang_manual) >= 0);
        QCOMPARE(top->indexOf(ui->tab_imu), 7);
    }

    void afterAnEarlierPlatePageIsRemovedThePlotAndRecordLabelFollowTheOpenPlate()
    {
        Ui::MultiCalib *ui = console->form();
        QTabWidget *bottom = ui->tabWidget_bottom;
        g_link_status[8] = 1;
        g_link_status[9] = 1;
        g_open_imu_plot = 1;
        clock.advance(200);
        console->display_calib_multi();
        ui->tabWidget_top->setCurrentWidget(ui->tab_imu);

        // The operator removes plate 9's page: plate 10's page now stands where plate 9's was.
        ui->comboBox_remove_tableWidget_items->setCurrentIndex(8);
        QTest::mouseClick(ui->pushButton_remove_tableWidget_top, Qt::LeftButton);
        auto putBack = qScopeGuard([&] {
            ui->comboBox_remove_tableWidget_items->setCurrentIndex(8);
            console->on_pushButton_add_tableWidget_top_clicked();
            bottom->setCurrentIndex(0);
            ui->tabWidget_top->setCurrentIndex(0);
            g_open_imu_plot = 0;
        });
        QCOMPARE(bottom->tabText(9), QString::fromUtf8("底板10"));
        bottom->setCurrentIndex(9);
        feedPlate(8, [](CalibImuStatus *r, uint32_t *) { r[0].accx = -9.0f; });
        feedPlate(9, [](CalibImuStatus *r, uint32_t *) { r[0].accx = 9.0f; });
        clock.advance(200);
        console->display_calib_multi();
        QCPGraph *acc = ui->calib_multi_plot1->graph(0);
        QVERIFY(acc->dataCount() > 0);
        QCOMPARE((acc->data()->constEnd() - 1)->value, 9.0);

        // Plate 16's page shows the recording label, the port page (now one place earlier) not.
        QSignalSpy visible(console, &MultiCalib::signal_label_record_visible);
        int plate16 = -1;
        for (int i = 0; i < bottom->count(); ++i)
            if (bottom->widget(i)->isAncestorOf(ui->tableWidget_calib_multi16))
                plate16 = i;
        QCOMPARE(plate16, 15);
        bottom->setCurrentIndex(plate16);
        bottom->setCurrentWidget(ui->tab_11);
        QCOMPARE(bottom->currentIndex(), 16);
        QCOMPARE(visible.size(), 2);
        QCOMPARE(visible[0][0].value<uint8_t>(), uint8_t(1));
        QCOMPARE(visible[1][0].value<uint8_t>(), uint8_t(0));

        QTest::mouseClick(ui->pushButton_add_tableWidget_top, Qt::LeftButton);
        QCOMPARE(bottom->tabText(9), QString::fromUtf8("底板9"));
    }

    void aClearWithSteadyLossCountsLeavesNoImuRed()
    {
        g_expected_calib_flag = 0;
        g_link_status[1] = 1;
        auto steady = [](CalibImuStatus *r, uint32_t *e) {
            for (int k = 0; k < 32; ++k) {
                r[k] = CalibImuStatus{};
                e[k] = k < 4 ? 5 : 0;
            }
        };
        feedPlate(1, steady);
        refresh();
        feedPlate(1, steady);
        refresh();
        QTableWidget *t = console->plateTable(1);
        QCOMPARE(colour(t, 0, 1), QColor());
        QCOMPARE(console->plateFailCount(1), 0u);

        // The temperature script clears the tables at every soak end; the modules go on
        // reporting the counts they had.
        console->clear_calib_multi_table();
        refresh();
        for (int k = 1; k <= 32; ++k)
            QCOMPARE(colour(t, 0, k), QColor());
        QCOMPARE(console->plateFailCount(1), 0u);
        for (int i = 0; i < 3; ++i) {
            feedPlate(1, steady);
            refresh();
            for (int k = 1; k <= 32; ++k)
                QCOMPARE(colour(t, 0, k), QColor());
            QCOMPARE(cell(t, 0, 1), QString("5"));
            QCOMPARE(console->plateFailCount(1), 0u);
        }

        // A new loss after the clear is marked as before.
        feedPlate(1, [](CalibImuStatus *r, uint32_t *e) {
            for (int k = 0; k < 32; ++k)
                r[k] = CalibImuStatus{};
            e[0] = 9;
        });
        refresh();
        QCOMPARE(colour(t, 0, 1), QColor(Qt::red));
        QCOMPARE(console->plateFailCount(1), 1u);
    }

    void theReplaySpeedButtonShowsRed()
    {
        console->setBtnStyleSheet(2);
        QCOMPARE(console->form()->pushButton_log_replay_setting_middle->styleSheet(), QString("QPushButton{background-color:red;}"));
        QVERIFY(console->form()->pushButton_log_replay_setting_all->styleSheet().contains("rgb(0, 85, 255)"));
    }
};

QTEST_MAIN(TestConsoleForm)
#include "test_console_form.moc"

// The command page inside the console, against two simulated base boards on pseudo-terminals:
// its window and icons, its buttons' commands on the wire and to the turntable, the flag
// verdict view, and the two Allan retest runs on shortened seconds.
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "station/AutoTurnTableTestType.h"
#include "station/ConsoleLogic.h"
#include "station/TableView.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_MultiCalib.h"
#include "ui_multi_calib_cmd.h"

using TestKit::waitUntil;

class TestCmdPage : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim2 = nullptr;
    ModuleSimulator *sim3 = nullptr;
    MultiCalib *console = nullptr;
    multi_calib_cmd *page = nullptr;
    Ui::multi_calib_cmd *pui = nullptr;

    static QList<uint16_t> ids(const ModuleSimulator *sim)
    {
        QList<uint16_t> out;
        for (const auto &c : sim->commands())
            out << c.cmd.cmd_id;
        return out;
    }
    bool bothPlatesGet(uint16_t cmd, int ms = 8000)
    {
        return waitUntil([&] { return ids(sim2).contains(cmd) && ids(sim3).contains(cmd); }, ms);
    }
    void clearWire()
    {
        QTest::qWait(100);
        sim2->clearReceived();
        sim3->clearReceived();
    }
    static QStringList logTexts(const QSignalSpy &spy, int code)
    {
        QStringList out;
        for (const auto &a : spy)
            if (a[0].value<uint8_t>() == code)
                out << a[1].toString();
        return out;
    }
    void sendRecords(ModuleSimulator *sim, int plate, uint32_t status)
    {
        for (auto &r : sim->imus)
            r.calib_status = status;
        sendFrameOf(sim, plate);
    }
    void sendFrameOf(ModuleSimulator *sim, int plate)
    {
        for (auto &r : sim->imus)
            r.time_ms += 1000;
        const uint64_t before = g_calib_status.generation(plate);
        sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
        QVERIFY(waitUntil([&] { return g_calib_status.generation(plate) > before; }));
    }
    // Lets a run look at the records a few times.
    static void waitTicks(const std::function<uint32_t()> &ticks)
    {
        const uint32_t from = ticks();
        QVERIFY(waitUntil([&] { return ticks() >= from + 3; }));
    }
    void showTables()
    {
        clock.advance(1100);
        console->display_calib_multi();
    }
    // Each function sets up the plates' state it needs, so it passes alone as well.

    // Plate 2's base board has reported its version.
    void plateTwoReported()
    {
        if (console->baseBoardReported(1))
            return;
        sim2->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return console->baseBoardReported(1); }));
    }
    // Plate 2's modules report the flag word 3999, its fifth IMU 4095, against the expected
    // 3999; the tables show the flags.
    void plateTwoWithOneWrongFlag()
    {
        for (int k = 0; k < 32; ++k)
            sim2->imus[size_t(k)].calib_flag_h = 3999;
        sim2->imus[4].calib_flag_h = 4095;
        sendRecords(sim2, 1, 56005);
        plateTwoReported();
        console->form()->comboBox_calib_multi_total->setCurrentIndex(1);
        g_expected_calib_flag = 3999;
        showTables();
    }

    QTableWidgetItem *totalCell(int row, int column) const
    {
        return console->form()->tableWidget_calib_multi_total->item(row, column);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        sim2 = new ModuleSimulator;
        sim3 = new ModuleSimulator;
        QVERIFY(sim2->isValid() && sim3->isValid());
        qputenv("KELVANTO_EXTRA_PORTS", (sim2->portPath() + ":" + sim3->portPath()).toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        console = new MultiCalib;
        page = console->commandPage();
        pui = page->form();
        // A supply set-point the four-hour run takes (the supply itself is a stand-in here).
        console->form()->textEdit_dc_power_supply_max_voltage->setPlainText("12");
        console->form()->textEdit_dc_power_supply_max_current->setPlainText("2");
        g_dc_power_type = 1;
        // The work-order dialog and the upload are other windows' work; here the page's
        // requests are only counted.
        QVERIFY(QObject::disconnect(page, SIGNAL(addWorkOrderDetailsDalig()), console, SLOT(addWorkOrderDetailsDalig())));
        QVERIFY(QObject::disconnect(page, SIGNAL(exectuePosMethod(uint8_t)), console, SLOT(exectuePosMethod(uint8_t))));

        for (int plate : {2, 3}) {
            QComboBox *c = console->findChild<QComboBox *>(QString("comboBox_calib_multi_serial%1").arg(plate));
            c->setCurrentIndex(c->findText((plate == 2 ? sim2 : sim3)->portPath() + " # simulated"));
        }
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1 && g_link_status[2] == 1; }));
        for (int i = 0; i < 2; ++i)
            setRepeatSpacing(console->rackWorker(i), 50, 100);
    }

    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete sim2;
        delete sim3;
    }

    void thePageIsAWindowOfItsOwnWithEveryIconNotOk()
    {
        QVERIFY(page->isWindow());
        QCOMPARE(page->windowTitle(), QString::fromUtf8("校准命令页面"));
        QCOMPARE(page->size(), QSize(669, 881));
        QCOMPARE(pui->multi_pos_add_angle->toPlainText(), QString("10"));
        QCOMPARE(pui->multi_pos_static_time->toPlainText(), QString("80"));
        QCOMPARE(page->findChildren<QPushButton *>().size(), 27);
        console->on_pushButton_show_cmd_page();
        QVERIFY(page->isVisible());
        // The icons a page starts with: one made here, as the console's refresh (once a second,
        // however soon on a loaded machine) turns the console's own icons of unlinked plates grey.
        multi_calib_cmd fresh;
        const QList<QLabel *> icons = fresh.findChildren<QLabel *>(QRegularExpression("^label_calib_multi_board_"));
        QCOMPARE(icons.size(), 37);
        QCOMPARE(page->findChildren<QLabel *>(QRegularExpression("^label_calib_multi_board_")).size(), 37);
        for (QLabel *l : icons) {
            QCOMPARE(fresh.iconOf(l->objectName()), QString(":/images/not_ok.png"));
            QVERIFY(!l->pixmap(Qt::ReturnByValue).isNull());
        }
    }

    void reportsReachingTheConsoleTurnThePagesIcons()
    {
        console->rev_log_from_worker(37, "dcpower_0_0");
        QCOMPARE(page->iconOf("label_calib_multi_board_dc_power"), QString(":/images/not_ok.png"));
        console->rev_log_from_worker(37, "dcpower_1_1");
        QCOMPARE(page->iconOf("label_calib_multi_board_dc_power"), QString(":/images/is_ok.png"));
        console->rev_log_from_worker(37, "turntable1_0_0");
        QCOMPARE(page->iconOf("label_calib_multi_board_turn_table1"), QString(":/images/is_ok.png"));

        // The plates' own version reports name their plate number first.
        sim2->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(5, 9));
        QVERIFY(waitUntil([&] { return page->iconOf("label_calib_multi_board_alive2") == ":/images/is_ok.png"; }));
        QCOMPARE(page->iconOf("label_calib_multi_board_alive3"), QString(":/images/not_ok.png"));
    }

    void everyRefreshSetsThePlateStateIcons()
    {
        plateTwoReported();
        console->calib_multi_ackTimeout();
        QCOMPARE(page->iconOf("label_calib_multi_board_fcode5"), QString(":/images/not_ok_gray.png"));
        QCOMPARE(page->iconOf("label_calib_multi_board_fcode1"), QString(":/images/not_ok_gray.png"));
        QVERIFY(page->iconOf("label_calib_multi_board_fcode2") != ":/images/not_ok_gray.png");
        page->rev_log_from_multi_calib(73, "17_pass");
        page->rev_log_from_multi_calib(73, "0_pass");
        QCOMPARE(page->iconOf("label_calib_multi_board_fcode1"), QString(":/images/not_ok_gray.png"));
    }

    void broadcastButtonsReachEveryLinkedPlate()
    {
        const QList<QPair<QPushButton *, uint16_t>> buttons = {
            {pui->pushButton_kelvanto_reset, 59999}, {pui->pushButton_allan_imu32, 58616},
            {pui->pushButton_reset_calib_flag, 57000}, {pui->pushButton_one_click_enter_one_imu_mode, 57011}};
        for (const auto &b : buttons) {
            clearWire();
            QTest::mouseClick(b.first, Qt::LeftButton);
            QVERIFY2(bothPlatesGet(b.second), qPrintable(b.first->objectName()));
            for (const auto &c : sim2->commands()) {
                if (c.cmd.cmd_id != b.second)
                    continue;
                QCOMPARE(c.cmd.cm1, 0.0f);
                QCOMPARE(c.cmd.cm3, 0u);
                QCOMPARE(c.cmd.cm6, 0);
            }
        }
    }

    void temperatureButtonsSendOnlyAfterYes()
    {
        const QList<QPair<QPushButton *, uint16_t>> buttons = {
            {pui->calib_multi_temp_start, 56001}, {pui->calib_multi_temp_stop, 56003},
            {pui->pushButton_turn_table_retest_temp_start, 58001}, {pui->pushButton_turn_table_retest_temp_stop, 58003}};
        for (const auto &b : buttons) {
            clearWire();
            prompter.shown.clear();
            prompter.answers = {QMessageBox::No};
            QTest::mouseClick(b.first, Qt::LeftButton);
            QCOMPARE(prompter.shown.size(), 1);
            QCOMPARE(prompter.shown[0].title, QString("Warning"));
            QTest::qWait(300);
            QVERIFY(!ids(sim2).contains(b.second) && !ids(sim3).contains(b.second));
            QTest::mouseClick(b.first, Qt::LeftButton);
            QVERIFY(bothPlatesGet(b.second));
        }
        QCOMPARE(prompter.shown.last().text, QString("Please confirm that the temperature retest has ended!"));
    }

    void turntableButtonsRefuseWhileTheTurntableIsSilent()
    {
        QSignalSpy common(console, &MultiCalib::signal_common_cmd);
        g_turn_table_status_time = kNoTurntableStatus;
        prompter.shown.clear();
        for (QPushButton *b : {pui->pushButton_turn_table_calib_accel_start, pui->pushButton_turn_table_calib_accel_gyro_start,
                               pui->pushButton_turn_table_calib_gyro_start})
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(prompter.texts(), QVector<QString>(3, "Turntable serial port data timeout of more than 5 seconds, please recheck").toList());
        QVERIFY(common.isEmpty());
        // Six seconds without a status are already too many.
        g_turn_table_status_time = clock.monotonicMs() - 6000;
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_turn_table_calib_accel_start, Qt::LeftButton);
        QCOMPARE(prompter.texts(), QStringList{"Turntable serial port data timeout of more than 5 seconds, please recheck"});
        QVERIFY(common.isEmpty());

        g_turn_table_status_time = clock.monotonicMs() - 3000;
        prompter.shown.clear();
        for (QPushButton *b : {pui->pushButton_turn_table_calib_accel_start, pui->pushButton_turn_table_calib_accel_gyro_start,
                               pui->pushButton_turn_table_calib_gyro_start})
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(prompter.texts(), QVector<QString>(3, "Please ensure that the turntable is balanced and the shaft is enabled to rotate!").toList());
        QCOMPARE(common.size(), 3);
        QCOMPARE(common[0][0].value<uint8_t>(), uint8_t(16));
        QCOMPARE(common[1][0].value<uint8_t>(), uint8_t(6));
        QCOMPARE(common[2][0].value<uint8_t>(), uint8_t(17));

        prompter.answers = {QMessageBox::No};
        QTest::mouseClick(pui->pushButton_turn_table_calib_gyro_start, Qt::LeftButton);
        QCOMPARE(common.size(), 3);
    }

    // A jump of the wall clock (a time sync) neither makes a reporting turntable silent nor a
    // silent one fresh: the five seconds count on the monotonic clock.
    void theTurntableCheckCountsItsFiveSecondsOnTheMonotonicClock()
    {
        QSignalSpy common(console, &MultiCalib::signal_common_cmd);
        const QDateTime wall = clock.now();
        const auto pressAccelCalib = [&] {
            prompter.shown.clear();
            QTest::mouseClick(pui->pushButton_turn_table_calib_accel_start, Qt::LeftButton);
            return prompter.texts();
        };
        console->rev_signal_send_zhuantai_status(0, 0, 0x80, 0, 0, 0x80);
        clock.setWall(wall.addSecs(3600));
        QCOMPARE(pressAccelCalib(), QStringList{"Please ensure that the turntable is balanced and the shaft is enabled to rotate!"});
        QCOMPARE(common.size(), 1);
        clock.setWall(wall.addSecs(-3600));
        clock.advance(6000);
        QCOMPARE(pressAccelCalib(), QStringList{"Turntable serial port data timeout of more than 5 seconds, please recheck"});
        QCOMPARE(common.size(), 1);
        clock.setWall(wall.addMSecs(6000));
    }

    void theRetestSendsTodaysDateFirstAndTheTurntableCommandAfterATenthOfASecond()
    {
        clearWire();
        QElapsedTimer t;
        t.start();
        qint64 broadcastAt = -1, commonAt = -1;
        uint32_t cm3 = 0;
        auto c1 = connect(page, &multi_calib_cmd::Send_CMD_LONG_SIGNAL_times, this,
                          [&](uint16_t, float, float, uint32_t c, uint32_t, int32_t, int32_t) { broadcastAt = t.elapsed(); cm3 = c; });
        auto c2 = connect(page, &multi_calib_cmd::signal_common_cmd, this, [&](uint8_t code) {
            if (code == 7)
                commonAt = t.elapsed();
        });
        QSignalSpy hints(page, &multi_calib_cmd::signal_log);
        g_turn_table_status_time = kNoTurntableStatus; // this one has no five-second check
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_turn_table_retest_accel_gyro_start, Qt::LeftButton);
        disconnect(c1);
        disconnect(c2);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].title, QString("warning"));
        QCOMPARE(logTexts(hints, 75), QStringList{QString()});
        QVERIFY(broadcastAt >= 0 && commonAt >= broadcastAt + 100);
        QCOMPARE(cm3, calibDateWord(clock.now().date()));
        QVERIFY(bothPlatesGet(30014));
        for (const auto &c : sim2->commands())
            if (c.cmd.cmd_id == 30014)
                QCOMPARE(c.cmd.cm3, calibDateWord(clock.now().date()));
    }

    void commonCommandButtonsRepeatOnEveryPress()
    {
        QSignalSpy common(console, &MultiCalib::signal_common_cmd);
        QSignalSpy hints(page, &multi_calib_cmd::signal_log);
        const QList<QPair<QPushButton *, int>> buttons = {
            {pui->pushButton_half_click_calib, 3}, {pui->pushButton_half_click_calib, 3},
            {pui->pushButton_half_click_retest, 4}, {pui->pushButton_one_click_rotate, 1},
            {pui->pushButton_scale_factor_test, 5}, {pui->calib_multi_g_calib1, 12},
            {pui->calib_multi_g_calib2, 13}, {pui->calib_multi_g_calib3, 14}, {pui->calib_multi_g_calib4, 15},
            {pui->pushButton_turn_table_gyro_nonlinearity, 8}, {pui->pushButton_turn_table_accel_nonlinearity, 10},
            {pui->pushButton_turn_table_retest_gyro_nolinear_start, 9},
            {pui->pushButton_turn_table_retest_acc_nolinear_start, 11}};
        for (const auto &b : buttons)
            QTest::mouseClick(b.first, Qt::LeftButton);
        QCOMPARE(common.size(), buttons.size()); // each press runs its slot once
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(int(common[i][0].value<uint8_t>()), buttons[i].second);
        QCOMPARE(logTexts(hints, 75).size(), 4); // the four nonlinearity buttons clear the hint
    }

    void theMultiPositionRotationReadsItsTwoValues()
    {
        QSignalSpy rotate(console, &MultiCalib::signal_send_turn_table_rotate_side_to_side);
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_rotate_side_to_side, Qt::LeftButton);
        pui->multi_pos_add_angle->setPlainText("abc");
        pui->multi_pos_static_time->setPlainText("12.5");
        QTest::mouseClick(pui->pushButton_rotate_side_to_side, Qt::LeftButton);
        pui->multi_pos_add_angle->setPlainText("");
        QTest::mouseClick(pui->pushButton_rotate_side_to_side, Qt::LeftButton);
        pui->multi_pos_add_angle->setPlainText("nan");
        pui->multi_pos_static_time->setPlainText("inf");
        QTest::mouseClick(pui->pushButton_rotate_side_to_side, Qt::LeftButton);
        QCOMPARE(rotate.size(), 4);
        QCOMPARE(rotate[0][0].toFloat(), 10.0f);
        QCOMPARE(rotate[0][1].toFloat(), 80.0f);
        QCOMPARE(rotate[1][0].toFloat(), 0.0f);
        QCOMPARE(rotate[1][1].toFloat(), 12.5f);
        QCOMPARE(rotate[2][0].toFloat(), 0.0f);
        QCOMPARE(rotate[3][0].toFloat(), 0.0f); // "nan": no step
        QCOMPARE(rotate[3][1].toFloat(), 0.0f);
        QCOMPARE(prompter.shown[0].title, QString("Tip"));
        QCOMPARE(prompter.shown[0].text, QString("Start multi position rotation"));
    }

    void choosingTheNonlinearityTestPutsEveryPlateIntoItsMode()
    {
        clearWire();
        const int before = AutoTurnTableTestType::instance()->testType();
        AutoTurnTableTestType::instance()->setTestType(1);
        QVERIFY(bothPlatesGet(57003));
        AutoTurnTableTestType::instance()->setTestType(before);
    }

    void aWrongFlagWordIsMarkedBadAndCountedInTheStatistics()
    {
        plateTwoWithOneWrongFlag();
        Ui::MultiCalib *cui = console->form();
        QCOMPARE(totalCell(1, 5)->text(), QString("NG_4095"));
        QCOMPARE(totalCell(1, 5)->background().color(), QColor(Qt::red));
        QCOMPARE(totalCell(1, 4)->text(), QString("OK_ Transfer successful3999"));
        QCOMPARE(cui->label_result_total_num->text(), QString("32")); // plate 3 sent no record yet
        QCOMPARE(cui->label_result_ng_num->text(), QString("1"));
        QCOMPARE(cui->label_result_ok_num->text(), QString("31"));
        QCOMPARE(cui->label_result_ok_percent->text(), QString("96.88%"));
        QCOMPARE(cui->label_result_ng_position->text(), QString("Floor2-5; "));
        QCOMPARE(cui->tableWidget_calib_multi_total->item(16, 0)->text(), QString("Bottom plate version number"));
    }

    void aShieldedImuIsNeitherBadNorLive()
    {
        plateTwoWithOneWrongFlag();
        console->selectionGrid()->setCellChecked(1, 4, true);
        console->calib_multi_ackTimeout();
        QCOMPARE(console->shieldMark(1, 4), QString("1"));
        showTables();
        Ui::MultiCalib *cui = console->form();
        QCOMPARE(totalCell(1, 5)->text(), QString("4095"));
        QCOMPARE(totalCell(1, 5)->background().color(), QColor(Qt::lightGray));
        QCOMPARE(cui->label_result_total_num->text(), QString("31"));
        QCOMPARE(cui->label_result_ng_num->text(), QString("0"));
        QCOMPARE(cui->label_result_ok_percent->text(), QString("100.00%"));
        console->selectionGrid()->setCellChecked(1, 4, false);
        console->calib_multi_ackTimeout();
    }

    void withoutAnExpectationTheFlagTextsStayAndTheStatisticsKeepTheirTexts()
    {
        plateTwoWithOneWrongFlag();
        const QString percent = console->form()->label_result_ok_percent->text();
        QCOMPARE(percent, QString("96.88%"));
        g_expected_calib_flag = 0;
        console->calib_multi_table_total();
        QCOMPARE(totalCell(1, 5)->text(), QString("4095"));
        QCOMPARE(totalCell(1, 1)->text(), QString("OK_ Transfer successful3999"));
        QCOMPARE(console->form()->label_result_ok_percent->text(), percent);
    }

    void theFourBlockLayoutShowsStagesCountsAndTemperatures()
    {
        plateTwoWithOneWrongFlag();
        for (auto &r : sim2->imus)
            r.calib_status = 56005;
        sim2->imus[6].calib_status = 56004;
        sim2->imus[6].fused[6] = 31.5f;
        sendFrameOf(sim2, 1);
        QTableWidget *t = console->form()->tableWidget_calib_multi_total;
        t->setRowCount(84);
        g_expected_calib_flag = 3999;
        console->check_total_imu_num_alive();
        console->calib_multi_table_total();
        QCOMPARE(totalCell(1, 5)->text(), QString("NG_4095"));
        QCOMPARE(totalCell(1, 5)->background().color(), QColor(Qt::red));
        QCOMPARE(totalCell(2, 1)->text(), QString("0")); // plate 3 sent no record and no report
        QCOMPARE(totalCell(17, 1)->text(), QString("56005 Meter calibration completed"));
        QCOMPARE(totalCell(17, 1)->background().style(), Qt::NoBrush);
        QCOMPARE(totalCell(17, 7)->text(), QString("56004 Add meter calibration"));
        QCOMPARE(totalCell(17, 7)->background().color(), QColor(Qt::yellow));
        QCOMPARE(totalCell(33, 1)->text(), QString("0"));
        QCOMPARE(totalCell(49, 1)->text(), QString("25.0000"));
        QCOMPARE(totalCell(49, 7)->text(), QString("31.5000"));
        QCOMPARE(totalCell(49, 7)->background().style(), Qt::NoBrush);
        g_expected_calib_flag = 0;
        sim2->imus[6].fused[6] = 25.0f;
        console->form()->comboBox_calib_multi_total->setCurrentIndex(2);
        console->form()->comboBox_calib_multi_total->setCurrentIndex(1);
        QCOMPARE(t->rowCount(), 20);
    }

    void thePlainFlagCheckPaintsOnlyWhileTheFlagKindIsShown()
    {
        plateTwoWithOneWrongFlag();
        g_expected_calib_flag = 0;
        Ui::MultiCalib *cui = console->form();
        cui->comboBox_calib_multi_total->setCurrentIndex(2);
        console->calib_multi_table_total(2);
        console->checkCalibFlagResult();
        QCOMPARE(totalCell(1, 1)->background().style(), Qt::NoBrush);
        cui->comboBox_calib_multi_total->setCurrentIndex(1);
        console->calib_multi_table_total(1);
        console->checkCalibFlagResult();
        QCOMPARE(totalCell(1, 1)->text(), QString("3999"));
        QCOMPARE(totalCell(1, 1)->background().style(), Qt::NoBrush);
        QCOMPARE(totalCell(1, 5)->background().color(), QColor(Qt::red));
    }

    void theStaticRunRefusedLeavesTheButtonEnabled()
    {
        QSignalSpy workOrder(page, &multi_calib_cmd::addWorkOrderDetailsDalig);
        g_static_test_countdown_min = 1;
        prompter.shown.clear();
        prompter.answers = {QMessageBox::No};
        QTest::mouseClick(pui->pushButton_static_retest, Qt::LeftButton);
        QCOMPARE(workOrder.size(), 1);
        QCOMPARE(prompter.texts(), QStringList{QString::fromUtf8("After 1min,start sending static retest commands in 5 minutes!！")});
        QVERIFY(pui->pushButton_static_retest->isEnabled());
        QVERIFY(!page->staticRunTicking());
    }

    void theStaticRunCommandsEveryPlateAndEndsOnlyOnAFreshEndOfRetest()
    {
        g_static_test_countdown_min = 1;
        // A record left at the end word from before must not end the run.
        sendRecords(sim2, 1, 58017);
        sendRecords(sim3, 2, 58017);
        clearWire();
        QSignalSpy logs(page, &multi_calib_cmd::signal_log);
        QSignalSpy autoLog(console, &MultiCalib::signal_auto_log_imu);
        QSignalSpy post(page, &multi_calib_cmd::exectuePosMethod);
        page->setRunSecondMs(1);
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_static_retest, Qt::LeftButton);
        QVERIFY(!pui->pushButton_static_retest->isEnabled());
        QCOMPARE(pui->pushButton_static_retest->styleSheet(), QString("color:grey"));
        QVERIFY(page->staticRunTicking());
        QCOMPARE(autoLog.size(), 1);
        QCOMPARE(autoLog[0][0].value<uint8_t>(), uint8_t(1));
        QCOMPARE(logTexts(logs, 75), QStringList{"Quiet timing for 1minutes,then start sending commands. The upper computer can only be operated once at a time"});

        QVERIFY(bothPlatesGet(58016, 10000));
        QVERIFY(page->staticTicks() >= 60);
        QCOMPARE(logTexts(logs, 74).count("Dispatch orders"), 1);
        // Past the hour after the command the old end words still end nothing.
        QVERIFY(waitUntil([&] { return page->staticTicks() > 3800; }, 30000));
        QVERIFY(page->staticRunTicking());
        QVERIFY(post.isEmpty());
        QVERIFY(logTexts(logs, 80).contains("completemin"));

        sendRecords(sim2, 1, 58016); // the modules run the new retest
        waitTicks([&] { return page->staticTicks(); });
        sendRecords(sim2, 1, 58017); // and end it
        QVERIFY(waitUntil([&] { return !page->staticRunTicking(); }, 5000));
        QCOMPARE(g_expected_calib_flag, 8095u);
        QCOMPARE(post.size(), 1);
        QCOMPARE(post[0][0].value<uint8_t>(), uint8_t(2));
        QCOMPARE(autoLog.last()[0].value<uint8_t>(), uint8_t(0));
        QCOMPARE(prompter.texts().last(), QString("ALlan static retest completed, please check the retest flag position"));
        QVERIFY(sound.played.contains(":/images/class.wav"));
        QVERIFY(sound.looping.isEmpty());
        QCOMPARE(logTexts(logs, 74).count("ALlan static retest completed"), 1);
        const QStringList reckons = logTexts(logs, 74).filter("Reckon by time(s)");
        QCOMPARE(reckons.first(), QString::fromUtf8("Reckon by time(s)：0"));
        QCOMPARE(reckons[1], QString::fromUtf8("Reckon by time(s)：10"));
        QCOMPARE(logTexts(logs, 79).first(), QString("0min"));
        QCOMPARE(logTexts(logs, 80).first(), QString("61min"));
        QVERIFY(QDateTime::fromString(logTexts(logs, 81).first(), "yyyy_MMdd HH:mm:ss").isValid());

        // The run is over: both Allan starts are free again.
        QVERIFY(pui->pushButton_static_retest->isEnabled());
        QVERIFY(pui->pushButton_allan_advanced_4h->isEnabled());
        QVERIFY(console->runGuard()->idle());
    }

    void theFourHourRunRefusesWithoutRecording()
    {
        QSignalSpy workOrder(page, &multi_calib_cmd::addWorkOrderDetailsDalig);
        g_dc_power_connected = 1; // the supply link the run needs (its codes are watched on the console)
        g_recording = 0;
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_allan_advanced_4h, Qt::LeftButton);
        QCOMPARE(workOrder.size(), 1);
        QCOMPARE(prompter.texts(), QStringList{"Please save the original data"});
        QVERIFY(pui->pushButton_allan_advanced_4h->isEnabled());
        prompter.answers = {QMessageBox::No};
        g_recording = 1;
        QTest::mouseClick(pui->pushButton_allan_advanced_4h, Qt::LeftButton);
        QCOMPARE(prompter.texts().last(), QString::fromUtf8("Power off after 1min！Wait for 30 minutes after power outage"));
        QVERIFY(pui->pushButton_allan_advanced_4h->isEnabled());
    }

    void theFourHourRunCyclesTheSupplyAndEndsOnItsOwnRetest()
    {
        g_dc_power_connected = 1; // the supply link the run needs (its codes are watched on the console)
        g_expected_calib_flag = 8095; // as the static run left it: this run changes it only at its end
        sendRecords(sim2, 1, 58017); // plate 2 still shows the end word of the static run
        clearWire();
        QSignalSpy supply(console, &MultiCalib::dc_control_cmd);
        QSignalSpy logs(page, &multi_calib_cmd::signal_log);
        QSignalSpy post(page, &multi_calib_cmd::exectuePosMethod);
        page->setRunSecondMs(2);
        g_recording = 1;
        prompter.shown.clear();
        QTest::mouseClick(pui->pushButton_allan_advanced_4h, Qt::LeftButton);
        QVERIFY(!pui->pushButton_allan_advanced_4h->isEnabled());
        QCOMPARE(pui->pushButton_allan_advanced_4h->styleSheet(), QString("color:grey"));
        QVERIFY(supply.isEmpty());
        QVERIFY(waitUntil([&] { return supply.size() == 1; }, 2000));
        QCOMPARE(supply[0][0].value<uint16_t>(), uint16_t(102));
        QVERIFY(!page->fourHourRunTicking());
        QVERIFY(waitUntil([&] { return supply.size() == 2; }, 10000));
        QCOMPARE(supply[1][0].value<uint16_t>(), uint16_t(101));
        QVERIFY(page->fourHourRunTicking());
        QVERIFY(waitUntil([&] { return page->fourHourTicks() > 0; }));
        QCOMPARE(logTexts(logs, 74).mid(0, 4),
                 (QStringList{"Power off, insulation for 30 minutes after power off", "Power on",
                              QString::fromUtf8("1分钟后发送，等待calib_status状态改变后自动结束"),
                              QString::fromUtf8("Reckon by time(s)：0")}));
        QCOMPARE(logTexts(logs, 80).first(), QString("241min"));

        // Plate 2 still shows the end word of the static run: it ends nothing.
        QVERIFY(bothPlatesGet(58416, 10000));
        QTest::qWait(100);
        QVERIFY(page->fourHourRunTicking());
        QVERIFY(post.isEmpty());
        QCOMPARE(g_expected_calib_flag, 8095u);

        sendRecords(sim3, 2, 58416);
        waitTicks([&] { return page->fourHourTicks(); });
        sendRecords(sim3, 2, 58017);
        QVERIFY(waitUntil([&] { return !page->fourHourRunTicking(); }, 5000));
        QVERIFY(post.isEmpty()); // a minute for the last modules first
        QVERIFY(waitUntil([&] { return post.size() == 1; }, 5000));
        QCOMPARE(post[0][0].value<uint8_t>(), uint8_t(4));
        QCOMPARE(g_expected_calib_flag, 32767u);
        QCOMPARE(prompter.texts().last(), QString("Advanced ALlan static retest completed, please check if the flag is correct"));
        QVERIFY(sound.looping.isEmpty());
        QVERIFY(pui->pushButton_allan_advanced_4h->isEnabled());
        QVERIFY(console->runGuard()->idle());
        g_dc_power_connected = 0;
    }

    void closingEveryLinkResetsEveryIcon()
    {
        console->rev_log_from_worker(37, "net_0_0");
        QCOMPARE(page->iconOf("label_calib_multi_board_net"), QString(":/images/is_ok.png"));
        console->connect_serial_port(0);
        const QList<QLabel *> icons = page->findChildren<QLabel *>(QRegularExpression("^label_calib_multi_board_"));
        for (QLabel *l : icons)
            QCOMPARE(page->iconOf(l->objectName()), QString(":/images/not_ok.png"));
    }
};

QTEST_MAIN(TestCmdPage)
#include "test_cmdpage_page.moc"

// The station settings dialog (values, settings keys, supply models) and the work-order dialog
// (its two reports, kept texts, closes by the window frame or Escape, the answering seam).
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "app/Prompter.h"
#include "app/Settings.h"
#include "equipment/StationValues.h"
#include "station/FormWorkOrderDetails.h"
#include "station/Settings.h"
#include "tests/kit/TestKit.h"
#include "ui_FormWorkOrderDetails.h"
#include "ui_Settings.h"

namespace {
void resetStationValues()
{
    g_turn_table_move_time = 10;
    g_turn_table_acc_time = 45;
    g_turn_table_gyro_time = 45;
    g_turn_table_gyro_nonlinearity_time = 50;
    g_turn_table_acc_nonlinearity_time = 45;
    g_hot_house_temperature_down_speed = 2.0f;
    g_dual_computer_temp_calib_flag = 0;
    g_change_temp_calib_to_temp_cycling = 0;
    g_open_imu_plot = 0;
    g_static_test_countdown_min = 10;
    g_dc_full_scale_voltage = 31.0f;
    g_dc_full_scale_current = 31.0f;
    g_dc_read_full_scale_voltage = 34.0f;
    g_dc_read_full_scale_current = 34.0f;
}

// The settings file as another program would read it.
QVariant storedValue(const QString &key)
{
    getSettings()->sync();
    QSettings file(appConfigDir() + "/KelvantoConfig.ini", QSettings::IniFormat);
    return file.value(key);
}

void pressOk(QDialogButtonBox *box) { QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton); }
void pressCancel(QDialogButtonBox *box) { QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton); }
} // namespace

class TestSettingsDialogs : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;

private slots:
    void initTestCase() { Prompter::install(&prompter); }
    void cleanupTestCase() { Prompter::install(nullptr); }
    void init()
    {
        prompter.shown.clear();
        getSettings()->clear();
        getSettings()->sync();
        resetStationValues();
    }

    // Settings dialog.
    void firstStartStoresACoolDownRateOfTwo()
    {
        Settings dialog;
        QCOMPARE(dialog.windowTitle(), QString("参数设置"));
        QCOMPARE(dialog.form()->textEdit_hot_house_temperature_down_speed->toPlainText(), QString("2"));
        QCOMPARE(storedValue("main_index/global_hot_house_temperature_down_speed").toDouble(), 2.0);
        QCOMPARE(float(g_hot_house_temperature_down_speed), 2.0f);
        QCOMPARE(dialog.form()->textEdit_static_test_countdown->toPlainText(), QString("60"));
        QVERIFY(!dialog.form()->checkBox_open_imu_plot->isChecked());
        QVERIFY(!dialog.form()->checkBox_change_temp_calib_to_temp_cycling->isChecked());
    }

    void storedRateAndSlaveModeAreShown()
    {
        getSettings()->setValue("main_index/global_hot_house_temperature_down_speed", 1.25);
        getSettings()->setValue("main_index/global_dual_computer_temp_calib_flag", 1);
        Settings dialog;
        QCOMPARE(dialog.form()->textEdit_hot_house_temperature_down_speed->toPlainText(), QString("1.25"));
        QCOMPARE(float(g_hot_house_temperature_down_speed), 1.25f);
        QVERIFY(dialog.form()->checkBox_dual_computer_temp_calib_flag->isChecked());
        QCOMPARE(int(g_dual_computer_temp_calib_flag), 1);
    }

    void turntableTypeSetsTheStartStepTimes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("type 1") << 1 << QStringList{"10", "45", "45", "50", "45"};
        QTest::newRow("type 3") << 3 << QStringList{"10", "16", "21", "30", "17"};
    }
    void turntableTypeSetsTheStartStepTimes()
    {
        QFETCH(int, type);
        QFETCH(QStringList, fields);
        getSettings()->setValue("turnTableType/type", type);
        Settings dialog;
        const auto *f = dialog.form();
        QCOMPARE(QStringList({f->textEdit_calib_multi_turn_table_move_time->toPlainText(),
                              f->textEdit_calib_multi_turn_table_acc_time->toPlainText(),
                              f->textEdit_calib_multi_turn_table_gyro_time->toPlainText(),
                              f->textEdit_calib_multi_turn_table_gyro_nonlinearity->toPlainText(),
                              f->textEdit_calib_multi_turn_table_acc_nonlinearity->toPlainText()}),
                 fields);
        QCOMPARE(int(g_turn_table_acc_time), fields[1].toInt());
    }

    void quietTimeStaysTenUntilTheDialogIsConfirmed()
    {
        Settings dialog;
        QCOMPARE(int(g_static_test_countdown_min), 10);
        dialog.show();
        pressOk(dialog.form()->buttonBox);
        QCOMPARE(int(g_static_test_countdown_min), 60);
        QVERIFY(!dialog.isVisible());
    }

    void okReadsEveryField()
    {
        Settings dialog;
        auto *f = dialog.form();
        f->textEdit_calib_multi_turn_table_move_time->setText("12");
        f->textEdit_calib_multi_turn_table_acc_time->setText(" 0");
        f->textEdit_calib_multi_turn_table_gyro_time->setText("33");
        f->textEdit_calib_multi_turn_table_gyro_nonlinearity->setText("255");
        f->textEdit_calib_multi_turn_table_acc_nonlinearity->setText("40");
        f->textEdit_hot_house_temperature_down_speed->setText("1.5");
        f->textEdit_static_test_countdown->setText("7");
        f->checkBox_dual_computer_temp_calib_flag->setChecked(true);
        dialog.show();
        pressOk(f->buttonBox);
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(g_turn_table_move_time), 12);
        QCOMPARE(int(g_turn_table_acc_time), 0);
        QCOMPARE(int(g_turn_table_gyro_time), 33);
        QCOMPARE(int(g_turn_table_gyro_nonlinearity_time), 255);
        QCOMPARE(int(g_turn_table_acc_nonlinearity_time), 40);
        QCOMPARE(float(g_hot_house_temperature_down_speed), 1.5f);
        QCOMPARE(int(g_static_test_countdown_min), 7);
        QCOMPARE(int(g_open_imu_plot), 0);
        QCOMPARE(int(g_change_temp_calib_to_temp_cycling), 0);
        QCOMPARE(int(g_dual_computer_temp_calib_flag), 1);
        QCOMPARE(storedValue("main_index/global_hot_house_temperature_down_speed").toDouble(), 1.5);
        QCOMPARE(storedValue("main_index/global_dual_computer_temp_calib_flag").toInt(), 1);

        f->checkBox_open_imu_plot->setChecked(true);
        f->checkBox_change_temp_calib_to_temp_cycling->setChecked(true);
        dialog.show();
        pressOk(f->buttonBox);
        QCOMPARE(int(g_open_imu_plot), 1);
        QCOMPARE(int(g_change_temp_calib_to_temp_cycling), 1);
    }

    void aValueItsSettingCannotHoldIsRefusedWithABoxNamingTheField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("step time 300") << "textEdit_calib_multi_turn_table_acc_time" << "标定加表时间(s)" << "300";
        QTest::newRow("step time abc") << "textEdit_calib_multi_turn_table_gyro_time" << "标定陀螺时间(s)" << "abc";
        QTest::newRow("step time -1") << "textEdit_calib_multi_turn_table_move_time" << "自动标定转台运动时间(s)" << "-1";
        QTest::newRow("step time empty") << "textEdit_calib_multi_turn_table_acc_nonlinearity" << "标定加表非线性时间(s)" << "";
        QTest::newRow("quiet time 300") << "textEdit_static_test_countdown" << "静止复测倒计时（min）" << "300";
        QTest::newRow("quiet time abc") << "textEdit_static_test_countdown" << "静止复测倒计时（min）" << "abc";
        QTest::newRow("quiet time 7.9") << "textEdit_static_test_countdown" << "静止复测倒计时（min）" << "7.9";
        QTest::newRow("rate abc") << "textEdit_hot_house_temperature_down_speed" << "实际降温速率" << "abc";
    }
    void aValueItsSettingCannotHoldIsRefusedWithABoxNamingTheField()
    {
        QFETCH(QString, field);
        QFETCH(QString, label);
        QFETCH(QString, text);
        Settings dialog;
        auto *f = dialog.form();
        f->textEdit_calib_multi_turn_table_move_time->setText("20");
        dialog.findChild<QTextEdit *>(field)->setText(text);
        f->comboBox_DC_type->setCurrentIndex(3);
        f->checkBox_open_imu_plot->setChecked(true);
        dialog.show();
        pressOk(f->buttonBox);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].kind, Prompter::Kind::Warning);
        QVERIFY2(prompter.shown[0].text.startsWith(label + ": \"" + text + "\""), qPrintable(prompter.shown[0].text));
        // The dialog stays open and nothing of it is applied or stored.
        QVERIFY(dialog.isVisible());
        QCOMPARE(int(g_turn_table_move_time), 10);
        QCOMPARE(int(g_turn_table_acc_time), 45);
        QCOMPARE(int(g_turn_table_gyro_time), 45);
        QCOMPARE(int(g_static_test_countdown_min), 10);
        QCOMPARE(float(g_hot_house_temperature_down_speed), 2.0f);
        QCOMPARE(int(g_open_imu_plot), 0);
        QCOMPARE(float(g_dc_full_scale_voltage), 31.0f);
        QVERIFY(!storedValue("main_index/DC_type").isValid());

        // Mended, the same OK applies the dialog and closes it.
        dialog.findChild<QTextEdit *>(field)->setText(field.contains("down_speed") ? "1.5" : "30");
        pressOk(f->buttonBox);
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(g_turn_table_move_time), field.contains("move_time") ? 30 : 20);
        QCOMPARE(int(g_open_imu_plot), 1);
        QCOMPARE(storedValue("main_index/DC_type").toInt(), 3);
    }

    void cancelChangesNothing()
    {
        Settings dialog;
        dialog.form()->textEdit_calib_multi_turn_table_move_time->setText("99");
        dialog.form()->comboBox_DC_type->setCurrentIndex(3);
        dialog.show();
        pressCancel(dialog.form()->buttonBox);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(g_turn_table_move_time), 10);
        QCOMPARE(float(g_dc_full_scale_voltage), 31.0f);
        QVERIFY(!storedValue("main_index/DC_type").isValid());
        QCOMPARE(dialog.form()->textEdit_calib_multi_turn_table_move_time->toPlainText(), QString("99"));
    }

    void supplyModelSetsTheScalingOnOk()
    {
        Settings dialog;
        auto *combo = dialog.form()->comboBox_DC_type;
        QCOMPARE(combo->itemText(3), QString("4520（45.5V,20.5A）"));
        combo->setCurrentIndex(3);
        dialog.show();
        pressOk(dialog.form()->buttonBox);
        QCOMPARE(storedValue("main_index/DC_type").toInt(), 3);
        QCOMPARE(float(g_dc_full_scale_voltage), 45.5f);
        QCOMPARE(float(g_dc_full_scale_current), 20.5f);
        QCOMPARE(float(g_dc_read_full_scale_voltage), 50.0f);
        QCOMPARE(float(g_dc_read_full_scale_current), 20.0f);

        combo->setCurrentIndex(0);
        dialog.show();
        pressOk(dialog.form()->buttonBox);
        QCOMPARE(storedValue("main_index/DC_type").toInt(), 0);
        QCOMPARE(float(g_dc_full_scale_voltage), 45.5f); // "UNKNOWN" leaves the scaling
        QCOMPARE(float(g_dc_read_full_scale_current), 20.0f);
    }

    void storedSupplyModelScalesTheSupplyFromTheStart()
    {
        getSettings()->setValue("main_index/DC_type", 2);
        Settings dialog;
        QCOMPARE(dialog.form()->comboBox_DC_type->currentIndex(), 2);
        QCOMPARE(float(g_dc_full_scale_voltage), 31.0f);
        QCOMPARE(float(g_dc_full_scale_current), 21.0f);
        QCOMPARE(float(g_dc_read_full_scale_voltage), 34.0f);
        QCOMPARE(float(g_dc_read_full_scale_current), 24.0f);
    }

    // Work-order dialog.
    void workOrderDialogStartsWithItsDefaults()
    {
        FormWorkOrderDetails dialog;
        QCOMPARE(dialog.windowTitle(), QString("Work order information configuration"));
        QCOMPARE(dialog.size(), QSize(316, 264));
        QCOMPARE(dialog.form()->lineEdit_workOrderNum->text(), QString("WO2305120001"));
        QCOMPARE(dialog.form()->lineEdit_equipment->text(), QString("温箱"));
        QVERIFY(!dialog.form()->lineEdit_operatorId->text().isEmpty());
    }

    void okReportsTheTextsAsTypedThenFinishes()
    {
        FormWorkOrderDetails dialog;
        QStringList order;
        QList<QVariantList> params;
        connect(&dialog, &FormWorkOrderDetails::signalInputParam, this,
                [&](QString a, QString b, QString c, bool ok) {
                    order << "param";
                    params << QVariantList{a, b, c, ok};
                });
        connect(&dialog, &FormWorkOrderDetails::signalInputParamFinished, this, [&] { order << "finished"; });
        dialog.show();
        dialog.form()->lineEdit_workOrderNum->clear();
        dialog.form()->lineEdit_operatorId->setText(" li ");
        pressOk(dialog.form()->buttonBox);
        QCOMPARE(order, QStringList({"param", "finished"}));
        QCOMPARE(params[0], (QVariantList{QString(""), QString(" li "), QString("温箱"), true}));
        QVERIFY(dialog.isVisible()); // the console hides it, not the button
    }

    void cancelReportsEmptyTextsAndKeepsTheFields()
    {
        FormWorkOrderDetails dialog;
        QSignalSpy param(&dialog, &FormWorkOrderDetails::signalInputParam);
        QSignalSpy finished(&dialog, &FormWorkOrderDetails::signalInputParamFinished);
        dialog.show();
        dialog.form()->lineEdit_workOrderNum->setText("WO9");
        pressCancel(dialog.form()->buttonBox);
        QCOMPARE(param.size(), 1);
        QCOMPARE(param[0], (QVariantList{QString(), QString(), QString(), false}));
        QCOMPARE(finished.size(), 1);
        dialog.hide();
        dialog.show();
        QCOMPARE(dialog.form()->lineEdit_workOrderNum->text(), QString("WO9"));
    }

    void closingByTheWindowFrameOrEscapeAnswersLikeCancel()
    {
        FormWorkOrderDetails dialog;
        QSignalSpy param(&dialog, &FormWorkOrderDetails::signalInputParam);
        QSignalSpy finished(&dialog, &FormWorkOrderDetails::signalInputParamFinished);
        dialog.show();
        QVERIFY(dialog.close());
        QCOMPARE(param.size(), 1);
        QCOMPARE(param[0].at(3).toBool(), false);
        QCOMPARE(finished.size(), 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, 2000) || dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(param.size(), 2);
        QCOMPARE(finished.size(), 2);
        QVERIFY(!dialog.isVisible());
    }

    void showAndWaitReturnsWhenTheAnswererPressesOk()
    {
        FormWorkOrderDetails dialog;
        QSignalSpy param(&dialog, &FormWorkOrderDetails::signalInputParam);
        bool sawDialogShown = false;
        FormWorkOrderDetails::installAnswerer([&](FormWorkOrderDetails &d) {
            sawDialogShown = d.isVisible();
            d.form()->lineEdit_workOrderNum->setText("WO42");
            pressOk(d.form()->buttonBox);
        });
        dialog.showAndWait();
        FormWorkOrderDetails::installAnswerer(nullptr);
        QVERIFY(sawDialogShown);
        QCOMPARE(param.size(), 1);
        QCOMPARE(param[0].at(0).toString(), QString("WO42"));
        QCOMPARE(param[0].at(3).toBool(), true);
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "test_settings_dialogs.moc"

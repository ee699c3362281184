#include "station/Settings.h"

#include "ui_Settings.h"

#include "app/Settings.h"
#include "equipment/StationValues.h"

#include <cmath>

namespace {
const char *kTurnTableTypeKey = "turnTableType/type";
const char *kDcTypeKey = "main_index/DC_type";
const char *kDownSpeedKey = "main_index/global_hot_house_temperature_down_speed";
const char *kSlaveModeKey = "main_index/global_dual_computer_temp_calib_flag";

struct DcScaling {
    float setVoltage, setCurrent, readVoltage, readCurrent;
};
// Models 1 to 3 of the supply selector; 0 "UNKNOWN" changes nothing.
const DcScaling kDcModels[] = {
    {31.0f, 31.0f, 34.0f, 34.0f},
    {31.0f, 21.0f, 34.0f, 24.0f},
    {45.5f, 20.5f, 50.0f, 20.0f},
};

// A decimal integer field kept in 8 bits; text that is no number gives 0.
uint8_t byteOf(const QString &text) { return uint8_t(text.toInt()); }

// A decimal number cut to a whole number and kept in 8 bits ("7.9" gives 7, "300" gives 44).
uint8_t wholeByteOf(const QString &text)
{
    const double value = text.toDouble();
    return std::isfinite(value) && std::fabs(value) < 2.0e9 ? uint8_t(int(value)) : 0;
}
} // namespace

Settings::Settings(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::Settings>())
{
    ui->setupUi(this);
    setWindowTitle(tr("参数设置"));
    QSettings *settings = getSettings();

    const int turnTableType = settings->value(kTurnTableTypeKey, 0).toInt();
    if (turnTableType >= 2 && turnTableType <= 4) {
        g_turn_table_acc_time = 16;
        g_turn_table_gyro_time = 21;
        g_turn_table_gyro_nonlinearity_time = 30;
        g_turn_table_acc_nonlinearity_time = 17;
    }
    ui->textEdit_static_test_countdown->setText("60");
    ui->textEdit_calib_multi_turn_table_move_time->setText(QString::number(g_turn_table_move_time));
    ui->textEdit_calib_multi_turn_table_acc_time->setText(QString::number(g_turn_table_acc_time));
    ui->textEdit_calib_multi_turn_table_gyro_time->setText(QString::number(g_turn_table_gyro_time));
    ui->textEdit_calib_multi_turn_table_gyro_nonlinearity->setText(QString::number(g_turn_table_gyro_nonlinearity_time));
    ui->textEdit_calib_multi_turn_table_acc_nonlinearity->setText(QString::number(g_turn_table_acc_nonlinearity_time));

    // The stored supply model also sets the scaling at once: the supply worker must not scale
    // a 45.5 V model's registers with the 31 V model's values until someone confirms the dialog.
    const int dcType = settings->value(kDcTypeKey, 0).toInt();
    ui->comboBox_DC_type->setCurrentIndex(dcType >= 0 && dcType < ui->comboBox_DC_type->count() ? dcType : 0);
    applyDcModel(ui->comboBox_DC_type->currentIndex());

    float rate = settings->value(kDownSpeedKey, 0).toFloat();
    if (rate == 0.0f) {
        rate = 2.0f;
        settings->setValue(kDownSpeedKey, 2.0);
        settings->sync();
    }
    g_hot_house_temperature_down_speed = rate;
    ui->textEdit_hot_house_temperature_down_speed->setText(QString::number(double(rate), 'g', 6));

    g_dual_computer_temp_calib_flag = uint8_t(settings->value(kSlaveModeKey, 0).toInt());
    ui->checkBox_dual_computer_temp_calib_flag->setChecked(g_dual_computer_temp_calib_flag == 1);
    ui->checkBox_open_imu_plot->setChecked(false);
    ui->checkBox_change_temp_calib_to_temp_cycling->setChecked(false);
}

Settings::~Settings() = default;

bool Settings::applyDcModel(int model)
{
    if (model < 1 || model > 3)
        return false;
    const DcScaling &s = kDcModels[model - 1];
    g_dc_full_scale_voltage = s.setVoltage;
    g_dc_full_scale_current = s.setCurrent;
    g_dc_read_full_scale_voltage = s.readVoltage;
    g_dc_read_full_scale_current = s.readCurrent;
    return true;
}

void Settings::on_buttonBox_accepted()
{
    g_turn_table_move_time = byteOf(ui->textEdit_calib_multi_turn_table_move_time->toPlainText());
    g_turn_table_acc_time = byteOf(ui->textEdit_calib_multi_turn_table_acc_time->toPlainText());
    g_turn_table_gyro_time = byteOf(ui->textEdit_calib_multi_turn_table_gyro_time->toPlainText());
    g_turn_table_gyro_nonlinearity_time = byteOf(ui->textEdit_calib_multi_turn_table_gyro_nonlinearity->toPlainText());
    g_turn_table_acc_nonlinearity_time = byteOf(ui->textEdit_calib_multi_turn_table_acc_nonlinearity->toPlainText());
    const float rate = ui->textEdit_hot_house_temperature_down_speed->toPlainText().toFloat();
    g_hot_house_temperature_down_speed = rate;
    g_open_imu_plot = ui->checkBox_open_imu_plot->isChecked() ? 1 : 0;
    g_static_test_countdown_min = wholeByteOf(ui->textEdit_static_test_countdown->toPlainText());
    g_dual_computer_temp_calib_flag = ui->checkBox_dual_computer_temp_calib_flag->isChecked() ? 1 : 0;

    QSettings *settings = getSettings();
    const int model = ui->comboBox_DC_type->currentIndex();
    settings->setValue(kDcTypeKey, model);
    applyDcModel(model);
    settings->setValue(kDownSpeedKey, double(rate));
    settings->setValue(kSlaveModeKey, int(g_dual_computer_temp_calib_flag));
    g_change_temp_calib_to_temp_cycling = ui->checkBox_change_temp_calib_to_temp_cycling->isChecked() ? 1 : 0;
    settings->sync();
}

#include "station/Settings.h"

#include "ui_Settings.h"

#include "app/Prompter.h"
#include "app/Settings.h"
#include "equipment/StationValues.h"
#include "station/DcPowerFrames.h"

#include <cmath>

namespace {
const char *kTurnTableTypeKey = "turnTableType/type";
const char *kDcTypeKey = "main_index/DC_type";
const char *kDownSpeedKey = "main_index/global_hot_house_temperature_down_speed";
const char *kSlaveModeKey = "main_index/global_dual_computer_temp_calib_flag";

// A field of a whole number of seconds or minutes that its 8-bit setting can hold.
bool wholeByteOf(const QString &text, uint8_t &out)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < 0 || value > 255)
        return false;
    out = uint8_t(value);
    return true;
}

// A cool-down rate: a number of degrees per minute above 0.
bool rateOf(const QString &text, float &out)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0f)
        return false;
    out = value;
    return true;
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
    // Models 1 to 3 of the supply selector; 0 "UNKNOWN" changes nothing. The set frame is not
    // touched: a switch-on checks the page's set-point and builds its frame at the model's scale.
    const DcPower::Scale s = DcPower::modelScale(model);
    if (!(s.setVoltage > 0.0))
        return false;
    g_dc_full_scale_voltage = float(s.setVoltage);
    g_dc_full_scale_current = float(s.setCurrent);
    g_dc_read_full_scale_voltage = float(s.readVoltage);
    g_dc_read_full_scale_current = float(s.readCurrent);
    return true;
}

bool Settings::readFields(Entered &out, bool tell)
{
    const struct {
        QTextEdit *edit;
        QLabel *label;
        uint8_t *value;
    } whole[] = {
        {ui->textEdit_calib_multi_turn_table_move_time, ui->label_1, &out.moveTime},
        {ui->textEdit_calib_multi_turn_table_acc_time, ui->label_2, &out.accTime},
        {ui->textEdit_calib_multi_turn_table_gyro_time, ui->label_3, &out.gyroTime},
        {ui->textEdit_calib_multi_turn_table_gyro_nonlinearity, ui->label_4, &out.gyroNonlinearityTime},
        {ui->textEdit_calib_multi_turn_table_acc_nonlinearity, ui->label_5, &out.accNonlinearityTime},
        {ui->textEdit_static_test_countdown, ui->label_7, &out.quietTime},
    };
    for (const auto &f : whole) {
        const QString text = f.edit->toPlainText();
        if (!wholeByteOf(text, *f.value)) {
            if (tell)
                Prompter::instance().warning(this, tr("Warning"),
                    tr("%1: \"%2\" is not a whole number from 0 to 255.").arg(f.label->text(), text));
            return false;
        }
    }
    const QString rate = ui->textEdit_hot_house_temperature_down_speed->toPlainText();
    if (!rateOf(rate, out.coolDownRate)) {
        if (tell)
            Prompter::instance().warning(this, tr("Warning"),
                tr("%1: \"%2\" is not a number above 0.").arg(ui->label_6->text(), rate));
        return false;
    }
    return true;
}

void Settings::accept()
{
    Entered entered;
    if (readFields(entered, false))
        QDialog::accept();
}

void Settings::on_buttonBox_accepted()
{
    Entered v;
    if (!readFields(v, true))
        return;
    g_turn_table_move_time = v.moveTime;
    g_turn_table_acc_time = v.accTime;
    g_turn_table_gyro_time = v.gyroTime;
    g_turn_table_gyro_nonlinearity_time = v.gyroNonlinearityTime;
    g_turn_table_acc_nonlinearity_time = v.accNonlinearityTime;
    const float rate = v.coolDownRate;
    g_hot_house_temperature_down_speed = rate;
    g_open_imu_plot = ui->checkBox_open_imu_plot->isChecked() ? 1 : 0;
    g_static_test_countdown_min = v.quietTime;
    g_dual_computer_temp_calib_flag = ui->checkBox_dual_computer_temp_calib_flag->isChecked() ? 1 : 0;

    QSettings *settings = getSettings();
    const int model = ui->comboBox_DC_type->currentIndex();
    settings->setValue(kDcTypeKey, model);
    applyDcModel(model);
    settings->setValue(kDownSpeedKey, double(rate));
    settings->setValue(kSlaveModeKey, int(g_dual_computer_temp_calib_flag));
    g_change_temp_calib_to_temp_cycling = ui->checkBox_change_temp_calib_to_temp_cycling->isChecked() ? 1 : 0;
    settings->sync();
    emit dcModelStored();
}

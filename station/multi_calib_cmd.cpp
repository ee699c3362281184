#include "station/multi_calib_cmd.h"

#include "ui_multi_calib_cmd.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/TimeUtil.h"
#include "station/AutoTurnTableTestType.h"
#include "station/CmdPageReport.h"
#include "station/ConsoleActions.h"
#include "station/ConsoleLogic.h"

namespace {
const char *kIconProperty = "iconImage";
}

multi_calib_cmd::multi_calib_cmd(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::multi_calib_cmd>())
{
    ui->setupUi(this);
    ui->multi_pos_add_angle->setPlainText("10");
    ui->multi_pos_static_time->setPlainText("80");

    for (int p = 1; p <= 16; ++p) {
        m_aliveIcons << findChild<QLabel *>(QString("label_calib_multi_board_alive%1").arg(p));
        m_stateIcons << findChild<QLabel *>(QString("label_calib_multi_board_fcode%1").arg(p));
    }
    m_equipmentIcons = {ui->label_calib_multi_board_net, ui->label_calib_multi_board_turn_table1,
                        ui->label_calib_multi_board_hot_house, ui->label_calib_multi_board_turn_table2,
                        ui->label_calib_multi_board_dc_power};
    for (const QList<QLabel *> *list : {&m_aliveIcons, &m_stateIcons, &m_equipmentIcons})
        for (QLabel *l : *list)
            setIcon(l, PageImages::NotOk);

    connectButtons();
    m_staticTimer = new QTimer(this);
    m_fourHourTimer = new QTimer(this);
    connect(m_staticTimer, SIGNAL(timeout()), this, SLOT(_ackTimeout_static_retest()), Qt::UniqueConnection);
    connect(m_fourHourTimer, SIGNAL(timeout()), this, SLOT(_ackTimeout_static_retest_4h()), Qt::UniqueConnection);
    connect(AutoTurnTableTestType::instance(), &AutoTurnTableTestType::SigImuNolinearTest, this,
            [this] { SendNolinerTestCmd(); });
}

multi_calib_cmd::~multi_calib_cmd() = default;

// The form's by-name connection comes first; connecting by signature with a unique connection
// keeps a slot whose name matches its button from running twice.
void multi_calib_cmd::connectButtons()
{
    const auto u = Qt::UniqueConnection;
    connect(ui->calib_multi_temp_start, &QPushButton::clicked, this, &multi_calib_cmd::on_pushButton_calib_multi_temp_start_clicked, u);
    connect(ui->calib_multi_temp_stop, &QPushButton::clicked, this, &multi_calib_cmd::on_pushButton_calib_multi_temp_stop_clicked, u);
    connect(ui->pushButton_turn_table_retest_temp_start, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_retest_temp_start_clicked()), u);
    connect(ui->pushButton_turn_table_retest_temp_stop, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_retest_temp_stop_clicked()), u);
    connect(ui->pushButton_turn_table_calib_accel_start, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_calib_accel_start_clicked()), u);
    connect(ui->pushButton_turn_table_calib_accel_gyro_start, &QPushButton::clicked, this, &multi_calib_cmd::on_pushButton_turn_table_accel_gyro_auto_clicked, u);
    connect(ui->pushButton_turn_table_calib_gyro_start, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_calib_gyro_start_clicked()), u);
    connect(ui->pushButton_turn_table_retest_accel_gyro_start, &QPushButton::clicked, this, &multi_calib_cmd::on_pushButton_turn_table_retest_gyro_acc_start_clicked, u);
    connect(ui->pushButton_turn_table_gyro_nonlinearity, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_gyro_nonlinearity_clicked()), u);
    connect(ui->pushButton_turn_table_accel_nonlinearity, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_accel_nonlinearity_clicked()), u);
    connect(ui->pushButton_turn_table_retest_gyro_nolinear_start, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_retest_gyro_nolinear_start_clicked()), u);
    connect(ui->pushButton_turn_table_retest_acc_nolinear_start, SIGNAL(clicked()), this, SLOT(on_pushButton_turn_table_retest_acc_nolinear_start_clicked()), u);
    connect(ui->pushButton_half_click_calib, SIGNAL(clicked()), this, SLOT(on_pushButton_half_click_calib_clicked()), u);
    connect(ui->pushButton_half_click_retest, SIGNAL(clicked()), this, SLOT(on_pushButton_half_click_retest_clicked()), u);
    connect(ui->pushButton_one_click_rotate, SIGNAL(clicked()), this, SLOT(on_pushButton_one_click_rotate_clicked()), u);
    connect(ui->pushButton_kelvanto_reset, SIGNAL(clicked()), this, SLOT(on_pushButton_kelvanto_reset_clicked()), u);
    connect(ui->pushButton_allan_imu32, SIGNAL(clicked()), this, SLOT(on_pushButton_allan_imu32_clicked()), u);
    connect(ui->pushButton_allan_advanced_4h, SIGNAL(clicked()), this, SLOT(on_pushButton_allan_advanced_4h_clicked()), u);
    connect(ui->pushButton_reset_calib_flag, SIGNAL(clicked()), this, SLOT(on_pushButton_reset_calib_flag_clicked()), u);
    connect(ui->pushButton_scale_factor_test, SIGNAL(clicked()), this, SLOT(on_pushButton_scale_factor_test_clicked()), u);
    connect(ui->pushButton_one_click_enter_one_imu_mode, SIGNAL(clicked()), this, SLOT(on_pushButton_one_click_enter_one_imu_mode_clicked()), u);
    connect(ui->calib_multi_g_calib1, SIGNAL(clicked()), this, SLOT(on_calib_multi_g_calib1_clicked()), u);
    connect(ui->calib_multi_g_calib2, SIGNAL(clicked()), this, SLOT(on_calib_multi_g_calib2_clicked()), u);
    connect(ui->calib_multi_g_calib3, SIGNAL(clicked()), this, SLOT(on_calib_multi_g_calib3_clicked()), u);
    connect(ui->calib_multi_g_calib4, SIGNAL(clicked()), this, SLOT(on_calib_multi_g_calib4_clicked()), u);
    connect(ui->pushButton_rotate_side_to_side, SIGNAL(clicked()), this, SLOT(on_pushButton_rotate_side_to_side_clicked()), u);
}

void multi_calib_cmd::setIcon(QLabel *label, const QString &path)
{
    if (!label || label->property(kIconProperty).toString() == path)
        return;
    label->setProperty(kIconProperty, path);
    label->setPixmap(QPixmap(path));
}

QString multi_calib_cmd::iconOf(const QString &labelName) const
{
    const QLabel *l = findChild<QLabel *>(labelName);
    return l ? l->property(kIconProperty).toString() : QString();
}

void multi_calib_cmd::rev_log_from_multi_calib(uint8_t code, QString text)
{
    for (const IconChange &c : iconChangesOf(code, text)) {
        const QList<QLabel *> &list = c.icon == PageIcon::PlateLink   ? m_aliveIcons
                                      : c.icon == PageIcon::PlateState ? m_stateIcons
                                                                       : m_equipmentIcons;
        setIcon(list.value(c.index), c.image);
    }
}

void multi_calib_cmd::broadcast(uint16_t cmd, uint32_t cm3)
{
    emit Send_CMD_LONG_SIGNAL_times(cmd, 0.0f, 0.0f, cm3, 0, 0, 0);
}

bool multi_calib_cmd::confirm(const QString &text, const QString &title)
{
    return Prompter::instance().ask(Prompter::Kind::Warning, this, title, text, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::Yes)
           == QMessageBox::Yes;
}

bool multi_calib_cmd::turnTableCheck()
{
    if (turntableStatusStale(Clock::instance().monotonicMs())) {
        Prompter::instance().warning(this, tr("Warning"),
                                     tr("Turntable serial port data timeout of more than 5 seconds, please recheck"));
        return false;
    }
    return confirm(tr("Please ensure that the turntable is balanced and the shaft is enabled to rotate!"));
}

void multi_calib_cmd::clearHint() { log(75, QString()); }

void multi_calib_cmd::SendNolinerTestCmd()
{
    broadcast(57003);
    wait_ms(100);
}

void multi_calib_cmd::on_pushButton_calib_multi_temp_start_clicked()
{
    if (confirm(tr("Please confirm that it is a temperature compensation, not a temperature retest!")))
        broadcast(56001);
}

void multi_calib_cmd::on_pushButton_calib_multi_temp_stop_clicked()
{
    if (confirm(tr("Please confirm that the temperature compensation has ended, not the temperature retest!")))
        broadcast(56003);
}

void multi_calib_cmd::on_pushButton_turn_table_retest_temp_start_clicked()
{
    if (confirm(tr("Please confirm that temperature retesting is starting!")))
        broadcast(58001);
}

void multi_calib_cmd::on_pushButton_turn_table_retest_temp_stop_clicked()
{
    if (confirm(tr("Please confirm that the temperature retest has ended!")))
        broadcast(58003);
}

void multi_calib_cmd::on_pushButton_turn_table_calib_accel_start_clicked()
{
    if (turnTableCheck())
        emit signal_common_cmd(16);
}

void multi_calib_cmd::on_pushButton_turn_table_accel_gyro_auto_clicked()
{
    if (turnTableCheck())
        emit signal_common_cmd(6);
}

void multi_calib_cmd::on_pushButton_turn_table_calib_gyro_start_clicked()
{
    if (turnTableCheck())
        emit signal_common_cmd(17);
}

void multi_calib_cmd::on_pushButton_turn_table_retest_gyro_acc_start_clicked()
{
    if (!confirm(tr("Please ensure that the turntable is balanced and the shaft is enabled to rotate!"), tr("warning")))
        return;
    clearHint();
    broadcast(30014, calibDateWord(Clock::instance().now().date()));
    wait_ms(100);
    emit signal_common_cmd(7);
}

void multi_calib_cmd::on_pushButton_turn_table_gyro_nonlinearity_clicked()
{
    clearHint();
    emit signal_common_cmd(8);
}

void multi_calib_cmd::on_pushButton_turn_table_accel_nonlinearity_clicked()
{
    clearHint();
    emit signal_common_cmd(10);
}

void multi_calib_cmd::on_pushButton_turn_table_retest_gyro_nolinear_start_clicked()
{
    clearHint();
    emit signal_common_cmd(9);
}

void multi_calib_cmd::on_pushButton_turn_table_retest_acc_nolinear_start_clicked()
{
    clearHint();
    emit signal_common_cmd(11);
}

void multi_calib_cmd::on_pushButton_half_click_calib_clicked() { emit signal_common_cmd(3); }
void multi_calib_cmd::on_pushButton_half_click_retest_clicked() { emit signal_common_cmd(4); }
void multi_calib_cmd::on_pushButton_one_click_rotate_clicked() { emit signal_common_cmd(1); }
void multi_calib_cmd::on_pushButton_kelvanto_reset_clicked() { broadcast(59999); }
void multi_calib_cmd::on_pushButton_allan_imu32_clicked() { broadcast(58616); }
void multi_calib_cmd::on_pushButton_reset_calib_flag_clicked() { broadcast(57000); }
void multi_calib_cmd::on_pushButton_scale_factor_test_clicked() { emit signal_common_cmd(5); }
void multi_calib_cmd::on_pushButton_one_click_enter_one_imu_mode_clicked() { broadcast(57011); }
void multi_calib_cmd::on_calib_multi_g_calib1_clicked() { emit signal_common_cmd(12); }
void multi_calib_cmd::on_calib_multi_g_calib2_clicked() { emit signal_common_cmd(13); }
void multi_calib_cmd::on_calib_multi_g_calib3_clicked() { emit signal_common_cmd(14); }
void multi_calib_cmd::on_calib_multi_g_calib4_clicked() { emit signal_common_cmd(15); }

void multi_calib_cmd::on_pushButton_rotate_side_to_side_clicked()
{
    // Text that is no finite number gives 0.0: a step of 0 moves nothing, while a NaN step
    // would pass the turntable's "step is 0" check.
    const float step = manualFieldValue(ui->multi_pos_add_angle->toPlainText());
    const float staticTime = manualFieldValue(ui->multi_pos_static_time->toPlainText());
    emit signal_send_turn_table_rotate_side_to_side(step, staticTime);
    Prompter::instance().information(this, tr("Tip"), tr("Start multi position rotation"));
}

#pragma once
// The calibration command page: a separate window of buttons that each start one operation on
// the whole rack (a broadcast to every linked plate, a turntable sequence, a supply switch),
// status icons for the plates' links and results and for the equipment links, and the two
// unattended Allan retest runs. It owns no link: every request leaves through its signals,
// which the console chains to its own signals of the same names.
#include <QMap>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "station/AllanRetest.h"
#include "station/DcPowerFrames.h"
#include "station/RunGuard.h"

class QLabel;
class QTimer;
namespace Ui {
class multi_calib_cmd;
}

class multi_calib_cmd : public QWidget {
    Q_OBJECT
public:
    explicit multi_calib_cmd(QWidget *parent = nullptr);
    ~multi_calib_cmd() override;

    Ui::multi_calib_cmd *form() const { return ui.get(); }
    // Resource path of the image an icon label shows.
    QString iconOf(const QString &labelName) const;
    // Milliseconds of one run second (1000; tests shorten every wait of the Allan runs with it).
    void setRunSecondMs(int ms) { m_secondMs = ms; }
    uint32_t staticTicks() const { return m_staticTicks; }
    uint32_t fourHourTicks() const { return m_fourHourTicks; }
    bool staticRunTicking() const;
    bool fourHourRunTicking() const;
    // The station's run guard: the Allan runs claim it, and stop when it asks them to.
    void setRunGuard(RunGuard *guard);
    // The four-hour run switches the supply with the supply page's set-point: `check` reads it
    // before the run begins (false, the operator told why, refuses the run) and `use` makes it
    // the run's once it has begun. Without them the page switches nothing of its own.
    void setSupplySetPoint(std::function<bool(DcPower::SetPoint &)> check,
                           std::function<void(const DcPower::SetPoint &)> use);

public slots:
    void rev_log_from_multi_calib(uint8_t code, QString text);
    void SendNolinerTestCmd();

    void on_pushButton_turn_table_retest_temp_start_clicked();
    void on_pushButton_turn_table_retest_temp_stop_clicked();
    void on_pushButton_turn_table_calib_accel_start_clicked();
    void on_pushButton_turn_table_calib_gyro_start_clicked();
    void on_pushButton_turn_table_gyro_nonlinearity_clicked();
    void on_pushButton_turn_table_accel_nonlinearity_clicked();
    void on_pushButton_turn_table_retest_gyro_nolinear_start_clicked();
    void on_pushButton_turn_table_retest_acc_nolinear_start_clicked();
    void on_pushButton_half_click_calib_clicked();
    void on_pushButton_half_click_retest_clicked();
    void on_pushButton_one_click_rotate_clicked();
    void on_pushButton_kelvanto_reset_clicked();
    void on_pushButton_allan_imu32_clicked();
    void on_pushButton_reset_calib_flag_clicked();
    void on_pushButton_scale_factor_test_clicked();
    void on_pushButton_one_click_enter_one_imu_mode_clicked();
    void on_calib_multi_g_calib1_clicked();
    void on_calib_multi_g_calib2_clicked();
    void on_calib_multi_g_calib3_clicked();
    void on_calib_multi_g_calib4_clicked();
    void on_pushButton_rotate_side_to_side_clicked();

    // Allan runs.
    void on_pushButton_static_retest_clicked();
    void _ackTimeout_static_retest();
    void on_pushButton_allan_advanced_4h_clicked();
    void DC_POWER_OFF_function_from_allan_4h();
    void DC_POWER_ON_function_from_allan_4h();
    void _ackTimeout_static_retest_4h();

public:
    // Actions connected by pointer or called by other console code. They are no slots: no
    // widget of the form carries the name that connecting them by name would look for.
    void on_pushButton_calib_multi_temp_start_clicked();
    void on_pushButton_calib_multi_temp_stop_clicked();
    void on_pushButton_turn_table_accel_gyro_auto_clicked();
    void on_pushButton_turn_table_retest_gyro_acc_start_clicked();

signals:
    void Send_QString_times(QString text);
    void signal_log(uint8_t code, QString text);
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void signal_common_cmd(uint8_t code);
    void signal_file_recoding(QString path, int on, int, int);
    void signal_send_turn_table_rotate_side_to_side(float step, float staticTime);
    void signal_auto_log_imu(uint8_t on);
    void dc_control_cmd(uint16_t code);
    void addWorkOrderDetailsDalig();
    void exectuePosMethod(uint8_t station);

private:
    void connectButtons();
    void setIcon(QLabel *label, const QString &path);
    void broadcast(uint16_t cmd, uint32_t cm3 = 0);
    bool confirm(const QString &text, const QString &title = QStringLiteral("Warning"));
    bool turnTableCheck();
    void clearHint();
    void log(uint8_t code, const QString &text) { emit signal_log(code, text); }
    void runClockTexts(uint32_t ticks);
    void finishFourHourRun();
    // The four-hour run's expected flag and post (its retest has ended).
    void postFourHourRun();
    void callOperator(const QString &text);
    // Allan runs and the station's run guard.
    bool refuseWhileRunning();
    // True, after a log line and a box naming them, while a link the run needs is down.
    bool refuseWithoutLinks(RunGuard::Run run);
    QString lostPlatesNote() const;
    void allanEndMissed(RunGuard::Run run, uint32_t minutes);
    bool claimAllanRun(RunGuard::Run run);
    void stopAllanRun(RunGuard::Run run);
    void applyRunButtons(RunGuard::Run active);
    RunGuard *m_runs = nullptr;
    std::function<bool(DcPower::SetPoint &)> m_supplyCheck;
    std::function<void(const DcPower::SetPoint &)> m_supplyUse;
    uint32_t m_allanGeneration = 0; // a stop abandons the pending waits of the runs

    std::unique_ptr<Ui::multi_calib_cmd> ui;
    QList<QLabel *> m_aliveIcons;
    QList<QLabel *> m_stateIcons;
    QList<QLabel *> m_equipmentIcons;
    QTimer *m_staticTimer = nullptr;
    QTimer *m_fourHourTimer = nullptr;
    uint32_t m_staticTicks = 0;
    uint32_t m_fourHourTicks = 0;
    bool m_fourHourSettling = false; // the minute after the end report, before the post
    RetestWatch m_staticWatch;
    RetestWatch m_fourHourWatch;
    int m_secondMs = 1000;
};

#pragma once
// The console's separate windows that their own work fills in: the calibration command page,
// the station settings dialog and the work-order dialog. Each carries the signals and slots
// the console connects, so the console's wiring is complete.
#include <QString>
#include <QWidget>

#include <cstdint>

// The calibration command page.
class multi_calib_cmd : public QWidget {
    Q_OBJECT
public:
    explicit multi_calib_cmd(QWidget *parent = nullptr);

public slots:
    void rev_log_from_multi_calib(uint8_t code, QString text);

signals:
    void signal_log(uint8_t code, QString text);
    void addWorkOrderDetailsDalig();
    void exectuePosMethod(uint8_t station);
    void signal_send_turn_table_rotate_side_to_side(float step, float staticTime);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void signal_file_recoding(QString path, int on, int, int);
    void signal_common_cmd(uint8_t code);
    void dc_control_cmd(uint16_t code);
    void signal_auto_log_imu(uint8_t on);
};

// The station settings dialog.
class Settings : public QWidget {
    Q_OBJECT
public:
    explicit Settings(QWidget *parent = nullptr);

signals:
    void Send_QString_times(QString text);
};

// The work-order dialog.
class FormWorkOrderDetails : public QWidget {
    Q_OBJECT
public:
    explicit FormWorkOrderDetails(QWidget *parent = nullptr);

signals:
    void signalInputParam(QString workOrder, QString operatorName, QString extra, bool ok);
};

#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

// Page 9: the multi-IMU calibration console.
class MultiCalib : public QWidget {
    Q_OBJECT
public:
    explicit MultiCalib(QWidget *parent = nullptr);

public slots:
    void display_calib_multi() {}
    void clear_calib_multi_table() {}
    void rev_log_from_worker(uint8_t code, QString text) {}
    void connect_serial_port(uint8_t on) {}
    void cmd_start(uint32_t pageIndex) {}

signals:
    void signal_auto_log_imu(uint8_t on);
    void Send_QString_times(QString text);
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void signal_label_record_visible(uint8_t visible);
    void signal_file_recoding(QString path, int on, int, int);
    void signal_sendVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t, uint32_t, uint8_t);
};

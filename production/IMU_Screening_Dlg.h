#pragma once
#include <QWidget>
#include <cstdint>

// Page 10: screening of a board of 32 modules.
class IMU_Screening_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit IMU_Screening_Dlg(QWidget *parent = nullptr);
public slots:
    void display_735e_imu_screening() {}
signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
};

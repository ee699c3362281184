#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

// Page 11: quick pass/fail test of a finished K350 module.
class Factory_K350_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit Factory_K350_Dlg(QWidget *parent = nullptr);
public slots:
    void displayK350_test() {}
signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void displayVersionToMain(QString, QString, QString, QString, QString, QString, QString,
                              QString, QString, uint8_t mask);
    void signal_gyro_calib_result_read();
};

#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

// Page 12: quick pass/fail test of a finished 735 module.
class Factory_735_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit Factory_735_Dlg(QWidget *parent = nullptr);
public slots:
    void display_735e_test() {}
signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void displayVersionToMain(QString, QString, QString, QString, QString, QString, QString,
                              QString, QString, uint8_t mask);

};

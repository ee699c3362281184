#include "station/ConsoleWindows.h"

multi_calib_cmd::multi_calib_cmd(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(tr("Calibration commands"));
}

void multi_calib_cmd::rev_log_from_multi_calib(uint8_t, QString) {}

Settings::Settings(QWidget *parent) : QWidget(parent) {}

FormWorkOrderDetails::FormWorkOrderDetails(QWidget *parent) : QWidget(parent) {}

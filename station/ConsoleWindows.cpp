#include "station/ConsoleWindows.h"

Settings::Settings(QWidget *parent) : QWidget(parent) {}

FormWorkOrderDetails::FormWorkOrderDetails(QWidget *parent) : QWidget(parent) {}

#include "station/MultiCalib.h"

MultiCalib::MultiCalib(QWidget *parent) : QWidget(parent) {}

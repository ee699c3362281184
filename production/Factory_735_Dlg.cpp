#include "production/Factory_735_Dlg.h"

Factory_735_Dlg::Factory_735_Dlg(QWidget *parent) : QWidget(parent) {}

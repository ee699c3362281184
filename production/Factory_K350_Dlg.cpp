#include "production/Factory_K350_Dlg.h"

Factory_K350_Dlg::Factory_K350_Dlg(QWidget *parent) : QWidget(parent) {}

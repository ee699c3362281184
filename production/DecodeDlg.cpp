#include "production/DecodeDlg.h"

DecodeDlg::DecodeDlg(QWidget *parent) : QWidget(parent) {}

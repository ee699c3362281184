#include "production/IMU_Screening_Dlg.h"

IMU_Screening_Dlg::IMU_Screening_Dlg(QWidget *parent) : QWidget(parent) {}

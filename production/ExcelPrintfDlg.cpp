#include "production/ExcelPrintfDlg.h"

ExcelPrintfDlg::ExcelPrintfDlg(QWidget *parent) : QDialog(parent) {}

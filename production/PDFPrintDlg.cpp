#include "production/PDFPrintDlg.h"

PDFPrintDlg::PDFPrintDlg(QWidget *parent) : QDialog(parent) {}

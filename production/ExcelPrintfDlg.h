#pragma once
#include <QDialog>

class ExcelPrintfDlg : public QDialog {
    Q_OBJECT
public:
    explicit ExcelPrintfDlg(QWidget *parent = nullptr);
};

#pragma once
#include <QDialog>

class PDFPrintDlg : public QDialog {
    Q_OBJECT
public:
    explicit PDFPrintDlg(QWidget *parent = nullptr);
};

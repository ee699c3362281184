#pragma once
// The PDF report dialog: loads one folder of record files into the report document, shows
// it in a print preview and prints it to a PDF file. It does not delete itself when closed:
// its owner keeps it on the stack or deletes it.
#include <QDialog>

#include <memory>

#include "production/PdfReportPrinter.h"

class QPrintPreviewWidget;
class QPrinter;

namespace Ui {
class PDFPrintDlg;
}

class PDFPrintDlg : public QDialog {
    Q_OBJECT
public:
    explicit PDFPrintDlg(QWidget *parent = nullptr);
    ~PDFPrintDlg() override;

    // Offers a record folder in the combo box (its path is the item's user data).
    void addRecordFolder(const QString &path);
    // Prints the loaded report to a file; reports the result in a box.
    bool exportTo(const QString &target);
    PdfReportDocument *reportDocument() { return &m_document; }
    // Modules in the loaded report.
    int moduleCount() const { return m_moduleCount; }

private slots:
    void on_pushButton_chose_clicked();
    void on_pushButton_zoomIn_clicked();
    void on_pushButton_zoomOut_clicked();
    void on_pushButton_summit_clicked();
    void updatePreView(QPrinter *printer);

private:
    // Says why there is nothing to export, when there is nothing.
    bool refuseEmptyReport();

    std::unique_ptr<Ui::PDFPrintDlg> ui;
    int m_loadedIndex = -1;
    int m_moduleCount = 0;
    QStringList m_leftOut;  // record files of the loaded folder that could not be read, with why
    QString m_loadedFolder;
    PdfReportPrinter m_printer;
    PdfReportDocument m_document;
    QPrintPreviewWidget *m_preview = nullptr;
};

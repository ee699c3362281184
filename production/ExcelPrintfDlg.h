#pragma once
// The Excel statistical report dialog: the operator picks record files, the dialog merges
// them into one row per module and writes the workbook.
#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class ExcelPrintfDlg;
}

class ExcelPrintfDlg : public QDialog {
    Q_OBJECT
public:
    explicit ExcelPrintfDlg(QWidget *parent = nullptr);
    ~ExcelPrintfDlg() override;

    // Adds files to the table in the given order, skipping paths already listed and files
    // that do not exist (what the file choice does with the operator's answer).
    void addFiles(const QStringList &paths);
    QStringList filePaths() const { return m_paths; }
    // Merges the listed files and writes the workbook; reports the result in a box.
    bool exportTo(const QString &target);

private slots:
    void on_pushButton_choseFiles_clicked();
    void on_pushButton_clear_clicked();
    void on_pushButton_exportExcel_clicked();
    void on_pushButton_cancel_clicked();

private:
    // Says why nothing is exported: no file chosen, or none of them a record.
    void refuseEmptyExport(const QStringList &leftOut);

    std::unique_ptr<Ui::ExcelPrintfDlg> ui;
    QStringList m_paths;
};

#include "production/ExcelPrintfDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidgetItem>

#include "app/Prompter.h"
#include "production/ExcelReport.h"
#include "production/ProductionRecord.h"
#include "ui_ExcelPrintfDlg.h"

namespace {
QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

ExcelPrintfDlg::ExcelPrintfDlg(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ExcelPrintfDlg>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Export Excel statistical report"));
    resize(800, 600);
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

ExcelPrintfDlg::~ExcelPrintfDlg() = default;

void ExcelPrintfDlg::addFiles(const QStringList &paths)
{
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (m_paths.contains(path) || !info.exists())
            continue;
        const int row = ui->tableWidget->rowCount();
        ui->tableWidget->insertRow(row);
        ui->tableWidget->setItem(row, 0, centredItem(info.fileName()));
        ui->tableWidget->setItem(row, 1, centredItem(info.absoluteFilePath()));
        m_paths << path;
    }
}

void ExcelPrintfDlg::on_pushButton_choseFiles_clicked()
{
    addFiles(QFileDialog::getOpenFileNames(this, tr("Select multiple file dialog box!"),
                                           productionRecordStartFolder(), "csv(*csv);;"));
}

void ExcelPrintfDlg::on_pushButton_clear_clicked()
{
    ui->tableWidget->setRowCount(0);
    m_paths.clear();
}

void ExcelPrintfDlg::on_pushButton_cancel_clicked()
{
    reject();
}

void ExcelPrintfDlg::on_pushButton_exportExcel_clicked()
{
    if (m_paths.isEmpty()) {
        refuseEmptyExport({});
        return;
    }
    const QString target = QFileDialog::getSaveFileName(this, tr("Export Excel file"),
                                                        productionRecordStartFolder(), "*.xlsx");
    if (target.isEmpty())
        return;
    exportTo(target);
}

bool ExcelPrintfDlg::exportTo(const QString &target)
{
    // The table's path column is what is read, row by row.
    QStringList paths;
    for (int row = 0; row < ui->tableWidget->rowCount(); ++row)
        paths << m_paths.value(row);
    QStringList leftOut;
    const QVector<ProductionRecord> records = mergeProductionRecords(paths, &leftOut);
    if (records.isEmpty()) {
        refuseEmptyExport(leftOut);
        return false;
    }
    QString error;
    QStringList notWhole;
    const bool ok = writeExcelReport(target, records, &error, &notWhole);
    if (ok) {
        QStringList text{tr("Excel saved successfully")};
        if (!leftOut.isEmpty())
            text << leftOutNote(records.size(), leftOut);
        Prompter::instance().information(this, tr("Tip"), (text + notWhole).join("\n"));
    } else {
        qWarning("Excel export to %s failed: %s", qUtf8Printable(target), qUtf8Printable(error));
        Prompter::instance().warning(this, tr("Warning"), tr("Excel save failed"));
    }
    return ok;
}

void ExcelPrintfDlg::refuseEmptyExport(const QStringList &leftOut)
{
    const QString why = !leftOut.isEmpty()
        ? tr("Nothing to export: none of the %1 chosen files could be read as a record.").arg(leftOut.size())
              + "\n" + leftOut.join("\n")
        : tr("Nothing to export: choose the record files first.");
    Prompter::instance().warning(this, tr("Warning"), why + "\n" + tr("No file was written."));
}

#include "production/PDFPrintDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewWidget>
#include <QVBoxLayout>

#include "app/Prompter.h"
#include "production/ProductionRecord.h"
#include "ui_PDFPrintDlg.h"

PDFPrintDlg::PDFPrintDlg(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PDFPrintDlg>())
{
    ui->setupUi(this);
    m_preview = new QPrintPreviewWidget(m_printer.printer(), ui->widget_preview);
    auto *layout = new QVBoxLayout(ui->widget_preview);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PDFPrintDlg::updatePreView);

    // The record folders, one per board, kept under "IMUResults" in the working folder (and
    // beside the program).
    for (const QString &root : productionRecordRoots()) {
        const QDir results(root);
        for (const QString &name :
             results.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
            addRecordFolder(results.filePath(name));
    }
}

PDFPrintDlg::~PDFPrintDlg() = default;

void PDFPrintDlg::addRecordFolder(const QString &path)
{
    ui->comboBox_folders->addItem(QDir(path).dirName(), path);
}

void PDFPrintDlg::on_pushButton_chose_clicked()
{
    const int index = ui->comboBox_folders->currentIndex();
    if (index == m_loadedIndex)
        return;
    m_loadedIndex = index;
    const QString folder = ui->comboBox_folders->itemData(index, Qt::UserRole).toString();
    m_document.clear();
    // Each load takes the order number of its own folder, empty when the name gives none.
    m_document.setOrderNumber(orderNumberOfFolder(folder));
    m_loadedFolder = folder;
    const QVector<QStringList> records = loadFolderRecords(folder, &m_leftOut);
    m_moduleCount = records.size();
    m_document.buildReportDocument(records);
    m_preview->updatePreview();
}

void PDFPrintDlg::on_pushButton_zoomIn_clicked()
{
    m_preview->zoomIn(1.1);
}

void PDFPrintDlg::on_pushButton_zoomOut_clicked()
{
    m_preview->zoomOut(1.1);
}

void PDFPrintDlg::updatePreView(QPrinter *printer)
{
    PdfReportPrinter::paintDocument(m_document.document(), printer);
}

void PDFPrintDlg::on_pushButton_summit_clicked()
{
    if (refuseEmptyReport())
        return;
    const QString target = QFileDialog::getSaveFileName(this, tr("Export PDF file"),
                                                        productionRecordStartFolder(), "*.pdf");
    if (target.isEmpty())
        return;
    exportTo(target);
}

bool PDFPrintDlg::refuseEmptyReport()
{
    if (m_moduleCount > 0)
        return false;
    QString why;
    if (m_loadedIndex < 0)
        why = tr("Nothing to export: load a folder of record files first.");
    else if (!m_leftOut.isEmpty())
        why = tr("Nothing to export: none of the %1 record files in %2 could be read as a record.")
                  .arg(m_leftOut.size()).arg(QDir::toNativeSeparators(m_loadedFolder))
              + "\n" + m_leftOut.join("\n");
    else
        why = tr("Nothing to export: %1 holds no record files (*.csv).").arg(QDir::toNativeSeparators(m_loadedFolder));
    Prompter::instance().warning(this, tr("Warning"), why + "\n" + tr("No file was written."));
    return true;
}

bool PDFPrintDlg::exportTo(const QString &target)
{
    if (refuseEmptyReport())
        return false;
    m_document.setFileName(target);
    QString error;
    const bool ok = m_printer.printToPdf(&m_document, &error);
    if (ok && !m_leftOut.isEmpty())
        Prompter::instance().information(this, tr("Tip"),
                                         tr("Export successful") + "\n" + leftOutNote(m_moduleCount, m_leftOut));
    else if (ok)
        Prompter::instance().information(this, tr("Tip"), tr("Export successful"));
    else
        Prompter::instance().warning(this, tr("Warning"), tr("Export failed:%1").arg(error));
    return ok;
}

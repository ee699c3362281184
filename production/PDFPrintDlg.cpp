#include "production/PDFPrintDlg.h"

#include <QCoreApplication>
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

    // The record folders kept under "IMUResults" beside the program, one per board.
    const QDir results(QString("%1/%2").arg(QCoreApplication::applicationDirPath(), "IMUResults"));
    for (const QString &name :
         results.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        addRecordFolder(results.filePath(name));
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
    const QVector<QStringList> records = loadFolderRecords(folder);
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
    const QString target = QFileDialog::getSaveFileName(this, tr("Export PDF file"), QString(),
                                                        "*.pdf");
    if (target.isEmpty())
        return;
    exportTo(target);
}

bool PDFPrintDlg::exportTo(const QString &target)
{
    m_document.setFileName(target);
    QString error;
    const bool ok = m_printer.printToPdf(&m_document, &error);
    if (ok)
        Prompter::instance().information(this, tr("Warning"), tr("Export successful"));
    else
        Prompter::instance().warning(this, tr("Warning"), tr("Export failed:%1").arg(error));
    return ok;
}

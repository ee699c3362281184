#include "production/PdfReportPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QTextCursor>
#include <QTextTable>

#include <memory>

#include "production/ExcelReport.h"
#include "production/ProductionRecord.h"

namespace {
void setupA4(QPrinter *printer)
{
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}
} // namespace

PdfReportDocument::PdfReportDocument()
{
    m_document.setDefaultFont(QFont(fontFamily(), 8));
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap); // a serial number is never split inside
    m_document.setDefaultTextOption(option);
}

void PdfReportDocument::clear()
{
    m_title.clear();
    m_extraLine.clear();
    m_fileName.clear();
    m_document.clear();
}

void PdfReportDocument::insertHeaderLine(const QString &text, Qt::Alignment alignment)
{
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setAlignment(alignment);
    QTextCharFormat bold;
    bold.setFontWeight(75);
    if (!cursor.block().text().isEmpty() || cursor.position() > 0)
        cursor.insertBlock();
    cursor.setBlockFormat(block);
    cursor.insertText(text, bold);
}

void PdfReportDocument::insertBlockTable(const QVector<QStringList> &records, int first,
                                         int count)
{
    const int rows = g_production_columns.size();
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    if (cursor.position() > 0) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    QTextTableFormat format;
    format.setAlignment(Qt::AlignLeft);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    // The name column and eight equal module columns, the same widths in every block.
    QVector<QTextLength> widths;
    widths << QTextLength(QTextLength::PercentageLength, 16);
    for (int k = 0; k < count; ++k)
        widths << QTextLength(QTextLength::PercentageLength, 84.0 / kModulesPerBlock);
    format.setColumnWidthConstraints(widths);
    if (count > 0)
        format.setWidth(QTextLength(QTextLength::PercentageLength, 16 + 84.0 * count / kModulesPerBlock));
    QTextTable *table = cursor.insertTable(rows, 1 + count, format);
    for (int r = 0; r < rows; ++r) {
        table->cellAt(r, 0).firstCursorPosition().insertText(g_production_columns.at(r));
        for (int k = 0; k < count; ++k) {
            const QStringList &values = records.at(first + k);
            table->cellAt(r, k + 1).firstCursorPosition().insertText(values.value(r));
        }
    }
}

int PdfReportDocument::buildReportDocument(const QVector<QStringList> &records)
{
    m_document.clear();
    if (!m_title.isEmpty())
        insertHeaderLine(m_title, Qt::AlignHCenter | Qt::AlignVCenter);
    if (!m_orderNumber.isEmpty())
        insertHeaderLine(QString("Order number:%1").arg(m_orderNumber), Qt::AlignLeft);
    if (!m_extraLine.isEmpty())
        insertHeaderLine(m_extraLine, Qt::AlignHCenter);
    int tables = 0;
    int first = 0;
    do {
        const int count = qMin(kModulesPerBlock, records.size() - first);
        insertBlockTable(records, first, count);
        ++tables;
        first += count;
    } while (first < records.size());
    return tables;
}

PdfReportPrinter::PdfReportPrinter() : m_printer(QPrinter::HighResolution)
{
    setupA4(&m_printer);
}

bool PdfReportPrinter::paintDocument(QTextDocument *document, QPrinter *printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    std::unique_ptr<QTextDocument> copy(document->clone());
    copy->documentLayout()->setPaintDevice(printer);
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    copy->setPageSize(page.size());
    const int pages = copy->pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer->newPage();
        painter.save();
        const QRectF view(0, p * page.height(), page.width(), page.height());
        painter.translate(0, -view.top());
        copy->drawContents(&painter, view);
        painter.restore();
    }
    return painter.end();
}

bool PdfReportPrinter::printToPdf(PdfReportDocument *document, QString *error)
{
    if (!document || document->document()->isEmpty()) {
        *error = QCoreApplication::translate("PdfReport", "Please enter valid data!");
        return false;
    }
    QString target = document->fileName();
    if (target.isEmpty()) {
        *error = QCoreApplication::translate("PdfReport", "Please set a legal storage location!");
        return false;
    }
    if (QFileInfo(target).suffix().isEmpty())
        target += ".pdf";
    if (!targetFolderWritable(target, error))
        return false;
    const QString temporary = temporaryNameFor(target);
    m_printer.setOutputFileName(temporary);
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    setupA4(&m_printer);
    const bool painted = paintDocument(document->document(), &m_printer);
    if (!painted) {
        QFile::remove(temporary);
        *error = QCoreApplication::translate("PdfReport", "Cannot paint on %1").arg(target);
        return false;
    }
    return commitTemporaryFile(temporary, target, error);
}

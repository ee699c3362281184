#pragma once
// The PDF report: a text document of an optional title, the order number, an optional extra
// line and the transposed record table, printed on A4 pages. With many modules the table is
// laid out in blocks of at most eight modules, each block repeating the column of names, so
// a board of 32 modules stays readable.
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QVector>

class PdfReportDocument {
public:
    static constexpr int kModulesPerBlock = 8;
    // The CJK-capable font the report is painted with (selected by family name).
    static QString fontFamily() { return QStringLiteral("WenQuanYi Micro Hei"); }

    PdfReportDocument();

    // Empties title, extra line, output file name and the document (the order number stays).
    void clear();
    void setTitle(const QString &t) { m_title = t; }
    void setExtraLine(const QString &t) { m_extraLine = t; }
    void setOrderNumber(const QString &n) { m_orderNumber = n; }
    QString orderNumber() const { return m_orderNumber; }
    void setFileName(const QString &f) { m_fileName = f; }
    QString fileName() const { return m_fileName; }
    QTextDocument *document() { return &m_document; }

    // Lays the document out anew: header lines, then one table of the 30 column names and
    // the modules' values per block of kModulesPerBlock modules (a name column alone when
    // there is no module). Returns the number of tables.
    int buildReportDocument(const QVector<QStringList> &records);

private:
    void insertHeaderLine(const QString &text, Qt::Alignment alignment);
    void insertBlockTable(const QVector<QStringList> &records, int first, int count);

    QString m_title;
    QString m_extraLine;
    QString m_orderNumber;
    QString m_fileName;
    QTextDocument m_document;
};

class PdfReportPrinter {
public:
    PdfReportPrinter();

    QPrinter *printer() { return &m_printer; }

    // Paints the document on a printer or preview page by page. False when the painter
    // could not start on the device.
    static bool paintDocument(QTextDocument *document, QPrinter *printer);

    // Prints the document to its file name (".pdf" added when the name has no suffix),
    // through a temporary file that is renamed when complete. False with a reason in *error
    // when there is no document or file name, the folder is missing or not writable, the
    // painter does not start or the result is empty.
    bool printToPdf(PdfReportDocument *document, QString *error);

private:
    QPrinter m_printer;
};

#include "production/ExcelReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>
#include <xlsxwriter.h>

QString temporaryNameFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absoluteDir().filePath(
        QString(".%1.%2.part").arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
}

bool targetFolderWritable(const QString &target, QString *error)
{
    const QFileInfo folder(QFileInfo(target).absolutePath());
    if (!folder.exists() || !folder.isDir()) {
        *error = QCoreApplication::translate("Reports", "Folder does not exist: %1")
                     .arg(folder.filePath());
        return false;
    }
    if (!folder.isWritable()) {
        *error = QCoreApplication::translate("Reports", "Folder is not writable: %1")
                     .arg(folder.filePath());
        return false;
    }
    return true;
}

bool commitTemporaryFile(const QString &temporary, const QString &target, QString *error)
{
    const QFileInfo written(temporary);
    if (!written.exists() || written.size() == 0) {
        QFile::remove(temporary);
        *error = QCoreApplication::translate("Reports", "Nothing was written to %1").arg(target);
        return false;
    }
    // rename() replaces an existing target in one step.
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target).constData())
        != 0) {
        QFile::remove(temporary);
        *error = QCoreApplication::translate("Reports", "Cannot replace %1").arg(target);
        return false;
    }
    return true;
}

namespace {
// What one worksheet cell holds at most, in characters.
constexpr int kCellCharacters = 32767;

// "A" to "Z", then "AA", "AB", ...: the column as Excel names it.
QString columnLetters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar('A' + (n - 1) % 26));
    return letters;
}

// The value as far as a cell holds it, never ending inside a character pair.
QString cellText(const ProductionRecord &record, int column, QStringList *notWhole)
{
    const QString &value = record.values.at(column);
    if (value.size() <= kCellCharacters)
        return value;
    QString cut = value.left(kCellCharacters);
    if (cut.at(cut.size() - 1).isHighSurrogate())
        cut.chop(1);
    if (notWhole)
        *notWhole << QCoreApplication::translate("Reports", "%1: the value in column %2 (%3) has %4 characters, more "
                                                            "than a cell holds: only its first %5 are written")
                         .arg(QFileInfo(record.path).fileName(), columnLetters(column),
                              g_production_columns.value(column))
                         .arg(value.size())
                         .arg(cut.size());
    return cut;
}
} // namespace

bool writeExcelReport(const QString &target, const QVector<ProductionRecord> &records,
                      QString *error, QStringList *notWhole)
{
    if (notWhole)
        notWhole->clear();
    if (!targetFolderWritable(target, error))
        return false;
    const QString temporary = temporaryNameFor(target);
    const QByteArray tempName = QFile::encodeName(temporary);

    lxw_workbook *workbook = workbook_new(tempName.constData());
    if (!workbook) {
        *error = QCoreApplication::translate("Reports", "Cannot create the workbook");
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *header = workbook_add_format(workbook);
    format_set_font_size(header, 15);
    format_set_bold(header);
    lxw_format *data = workbook_add_format(workbook);
    format_set_align(data, LXW_ALIGN_CENTER);

    bool written = sheet != nullptr;
    for (int n = 0; written && n < g_production_columns.size(); ++n) {
        const QByteArray text = g_production_columns.at(n).toUtf8();
        written = worksheet_write_string(sheet, 0, lxw_col_t(n), text.constData(), header)
                  == LXW_NO_ERROR;
    }
    for (int r = 0; written && r < records.size(); ++r) {
        for (int j = 0; written && j < records.at(r).values.size(); ++j) {
            const QByteArray text = cellText(records.at(r), j, notWhole).toUtf8();
            written = worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(j),
                                             text.constData(), data)
                      == LXW_NO_ERROR;
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (!written || closed != LXW_NO_ERROR) {
        QFile::remove(temporary);
        *error = closed != LXW_NO_ERROR
                     ? QString::fromUtf8(lxw_strerror(closed))
                     : QCoreApplication::translate("Reports", "Cannot write a cell");
        return false;
    }
    return commitTemporaryFile(temporary, target, error);
}

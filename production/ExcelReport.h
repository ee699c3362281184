#pragma once
// The Excel statistical report: one worksheet, the production column names in row 1 and one
// row per merged module below. Every cell is written as text, so a value such as "=1+1" or
// "http://x" stays what the record file said.
#include <QString>
#include <QVector>

#include "production/ProductionRecord.h"

// Writes the workbook to a temporary name beside the target and renames it to the target
// when it is complete. Returns false with a reason in *error when the folder is missing or
// not writable, the workbook cannot be written or the result is empty; the target is then
// left as it was. A value longer than a cell holds (32,767 characters) is written cut to that
// length and named in *notWhole (when given), by its record's file name and its column.
bool writeExcelReport(const QString &target, const QVector<ProductionRecord> &records,
                      QString *error, QStringList *notWhole = nullptr);

// A temporary name in the target's folder, for writing a file before it is complete.
QString temporaryNameFor(const QString &target);
// Replaces the target by the finished temporary file; removes the temporary on failure.
// Fails when the temporary file is missing or empty.
bool commitTemporaryFile(const QString &temporary, const QString &target, QString *error);
// Checks that the folder of a target exists and is writable.
bool targetFolderWritable(const QString &target, QString *error);

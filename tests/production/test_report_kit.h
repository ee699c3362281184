#pragma once
// Record files and read-back helpers shared by the report tests.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "production/ProductionRecord.h"
#include "tests/kit/TestKit.h"

namespace ReportKit {
// The 30 values of one module; the serial number and order number as given.
inline QStringList moduleValues(const QString &sn, const QString &order, int seed = 0)
{
    QStringList v;
    for (int i = 0; i < g_production_columns.size(); ++i)
        v << QString("v%1_%2").arg(i).arg(seed);
    v[serialColumn()] = sn;
    v[orderNumberColumn()] = order;
    return v;
}

// Writes a record file of "name,value" lines (names from the column list).
inline bool writeRecord(const QString &path, const QStringList &values,
                        const QByteArray &lineBreak = "\n")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int i = 0; i < values.size(); ++i)
        f.write(g_production_columns.value(i, "extra").toUtf8() + "," + values.at(i).toUtf8()
                + lineBreak);
    return true;
}

// A fresh empty folder under the test's working folder.
inline QString freshDir(const QString &name)
{
    QDir dir(TestKit::workDir() + "/" + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.absolutePath();
}

// The first worksheet read back by openpyxl: rows of cells {v, t, size, bold, h, link}.
inline QJsonArray readWorkbook(const QString &path)
{
    QString out;
    const int rc = TestKit::runProgram(TestKit::python(),
                                       {TestKit::sourcePath("tests/production/read_xlsx.py"), path},
                                       &out, 30000);
    if (rc != 0)
        return {};
    return QJsonDocument::fromJson(out.toUtf8()).object().value("rows").toArray();
}

// pdftotext -layout of a PDF.
inline QString pdfText(const QString &path)
{
    QString out;
    if (TestKit::runProgram("pdftotext", {"-layout", path, "-"}, &out, 30000) != 0)
        return {};
    return out;
}
} // namespace ReportKit

#include "production/ProductionRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "app/FileRead.h"

const QStringList g_production_columns = {
    "times_ms",     "software_ver",     "hardware_ver",    "board_ver",    "sn",
    "gyro_num",     "accel_num",        "Ip_type",         "stream_mode",  "calib_flag",
    "imu_fCode",    "cofig_fCode",      "calibParam_fCode", "slave_status", "acc_norm",
    "sys_clk",      "zupt",             "串口1",           "串口2",        "串口3",
    "SPI",          "磁罗盘",           "max_min_diff",    "max_min_diff", "max_min_diff",
    "max_min_diff", "max_min_diff",     "max_min_diff",    "生产序列号",   "订单号",
};

int productionColumnIndex(const QString &name)
{
    return g_production_columns.indexOf(name);
}

int serialColumn()
{
    static const int i = productionColumnIndex("sn");
    return i;
}

int orderNumberColumn()
{
    static const int i = productionColumnIndex("订单号");
    return i;
}

bool readProductionRecord(const QString &path, QStringList *values, QString *why)
{
    QByteArray bytes;
    QString reason;
    if (readWholeFile(path, &bytes, &reason) != WholeFile::Read) {
        if (why)
            *why = reason;
        return false;
    }
    const QString text = QString::fromUtf8(bytes);
    static const QRegularExpression lineBreak("\r\n|\r|\n");
    QStringList found;
    for (const QString &raw : text.split(lineBreak)) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const QStringList pieces = line.split(',', Qt::KeepEmptyParts);
        if (pieces.size() == 2)
            found << pieces.at(1);
    }
    if (found.isEmpty() || found.size() != g_production_columns.size()) {
        if (why)
            *why = QCoreApplication::translate("ProductionRecord", "%1 values where a record has %2")
                       .arg(found.size())
                       .arg(g_production_columns.size());
        return false;
    }
    *values = found;
    return true;
}

QDateTime recordFileTime(const QString &path)
{
    const QFileInfo info(path);
    const QDateTime born = info.birthTime();
    return born.isValid() ? born : info.lastModified();
}

void mergeProductionRecord(QVector<ProductionRecord> &merged, const ProductionRecord &record)
{
    const int sn = serialColumn();
    const int order = orderNumberColumn();
    if (sn >= 0 && order >= 0 && !record.values.at(sn).isEmpty()) {
        for (int i = 0; i < merged.size(); ++i) {
            const QStringList &old = merged.at(i).values;
            if (old.at(sn) != record.values.at(sn) || old.at(order) != record.values.at(order))
                continue;
            if (merged.at(i).created < record.created) {
                merged.remove(i);
                merged.append(record);
            }
            return;
        }
    }
    merged.append(record);
}

namespace {
// Reads one record file; a file that is none goes to *leftOut (when given) with its reason.
bool readOrLeaveOut(const QString &path, QStringList *values, QStringList *leftOut)
{
    QString why;
    if (readProductionRecord(path, values, &why))
        return true;
    if (leftOut)
        *leftOut << QString("%1: %2").arg(QFileInfo(path).fileName(), why);
    return false;
}
} // namespace

QVector<ProductionRecord> mergeProductionRecords(const QStringList &paths, QStringList *leftOut)
{
    QVector<ProductionRecord> merged;
    if (leftOut)
        leftOut->clear();
    for (const QString &path : paths) {
        ProductionRecord record;
        if (!readOrLeaveOut(path, &record.values, leftOut))
            continue;
        record.created = recordFileTime(path);
        record.path = path;
        mergeProductionRecord(merged, record);
    }
    return merged;
}

int moduleNumberOfFileName(const QString &fileName)
{
    QString head = fileName.section('_', 0, 0);
    head.remove("IMU");
    bool ok = false;
    const int n = head.toInt(&ok, 10);
    return ok ? n : 0;
}

QStringList sortByModuleNumber(const QStringList &fileNames)
{
    QStringList sorted = fileNames;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return moduleNumberOfFileName(a) < moduleNumberOfFileName(b);
    });
    return sorted;
}

QStringList recordFilesOfFolder(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(QStringList{"*.csv"}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    return sortByModuleNumber(names);
}

QVector<QStringList> loadFolderRecords(const QString &folder, QStringList *leftOut)
{
    QVector<QStringList> records;
    const int sn = serialColumn();
    if (leftOut)
        leftOut->clear();
    for (const QString &name : recordFilesOfFolder(folder)) {
        QStringList values;
        if (!readOrLeaveOut(QString("%1/%2").arg(folder, name), &values, leftOut))
            continue;
        if (sn >= 0 && !values.at(sn).isEmpty()) {
            for (int i = 0; i < records.size(); ++i) {
                if (records.at(i).at(sn) == values.at(sn)) {
                    records.remove(i);
                    break;
                }
            }
        }
        records.append(values);
    }
    return records;
}

QStringList productionRecordRoots()
{
    QStringList roots;
    for (const QString &base : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
        const QFileInfo info(QDir(base).absoluteFilePath("IMUResults"));
        if (info.isDir() && !roots.contains(info.canonicalFilePath()))
            roots << info.canonicalFilePath();
    }
    return roots;
}

QString productionRecordStartFolder()
{
    const QStringList roots = productionRecordRoots();
    return roots.isEmpty() ? QDir::currentPath() : roots.first();
}

QString leftOutNote(int modules, const QStringList &leftOut)
{
    return QCoreApplication::translate("ProductionRecord",
                                       "%1 modules in the report; %2 files that could not be read as records are left out.")
               .arg(modules)
               .arg(leftOut.size())
           + "\n" + leftOut.join("\n");
}

QString orderNumberOfFolder(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const QString name = path.section('/', -1);
    const int cut = name.lastIndexOf('_');
    return cut < 0 ? name : name.mid(cut + 1);
}

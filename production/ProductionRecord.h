#pragma once
// Production record files: one finished module per file, "name,value" lines, one line per
// production column. Read by the Excel and PDF reports; written outside this program.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// The 30 production column names, in file order. "max_min_diff" stands six times in a row.
extern const QStringList g_production_columns;

// Position of a column name in g_production_columns, -1 when absent.
int productionColumnIndex(const QString &name);
// Positions of the two columns the reports look up by name.
int serialColumn();       // "sn"
int orderNumberColumn();  // "订单号"

// Reads a record file: UTF-8, line breaks of either kind, each line trimmed, empty lines
// skipped; a line of exactly two comma-separated pieces gives its second piece as the next
// value. Values match columns by their order in the file. Returns false (and leaves *values
// alone, the reason in *why when given) when the file cannot be read, is larger than any record
// can be, or does not give exactly one value per column.
bool readProductionRecord(const QString &path, QStringList *values, QString *why = nullptr);

// The time that orders two files of one module: the file's creation time where the file
// system keeps it, else its modification time.
QDateTime recordFileTime(const QString &path);

struct ProductionRecord {
    QStringList values;  // one per production column
    QDateTime created;   // recordFileTime() of its file
    QString path;
};

// Reads the files in order and merges them into one record per module: records with the
// same serial number and the same order number are one module, and the one whose file is
// younger wins; it then moves to the end of the list. An empty serial number never matches
// (each such record is a module of its own). Invalid files are skipped; *leftOut (when given)
// gets one line per skipped file, "<file name>: <reason>".
QVector<ProductionRecord> mergeProductionRecords(const QStringList &paths, QStringList *leftOut = nullptr);
// One merge step of mergeProductionRecords().
void mergeProductionRecord(QVector<ProductionRecord> &merged, const ProductionRecord &record);

// The module number of a record file name: the part before the first "_" with every "IMU"
// removed, read as a decimal number; 0 when it is not one.
int moduleNumberOfFileName(const QString &fileName);
// Stable ascending order by module number (equal numbers keep the given order).
QStringList sortByModuleNumber(const QStringList &fileNames);
// The names matching "*.csv" in a folder, in name order ignoring case, then by module number.
QStringList recordFilesOfFolder(const QString &folder);

// Reads a folder of record files for the PDF report: files in module-number order; a record
// whose serial number an earlier record already has replaces it and goes to the end (the
// last file wins). Records with an empty serial number are all kept. *leftOut (when given) gets
// one line per record file that is not a record that can be read, "<file name>: <reason>".
QVector<QStringList> loadFolderRecords(const QString &folder, QStringList *leftOut = nullptr);

// The folders that hold the record folders, "IMUResults": the one in the working folder
// (where the station's logs and results are written) first, then the one beside the program;
// only those that exist, each once.
QStringList productionRecordRoots();
// Where the report dialogs start: the first record root, else the working folder.
QString productionRecordStartFolder();
// The lines a report's success box adds when files were left out: their count, then each
// file's reason.
QString leftOutNote(int modules, const QStringList &leftOut);

// The order number of a record folder: the part of the folder's own name after its last
// "_", or the whole name when it has none. Empty for an empty path.
QString orderNumberOfFolder(const QString &folder);

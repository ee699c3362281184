// Record files, the merge of the Excel report, the folder order of the PDF report and the
// two writers, read back with openpyxl and pdftotext.
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "production/ExcelReport.h"
#include "production/PdfReportPrinter.h"
#include "production/ProductionRecord.h"
#include "tests/production/test_report_kit.h"

using namespace ReportKit;

namespace {
ProductionRecord record(const QString &sn, const QString &order, int seed, qint64 created)
{
    return {moduleValues(sn, order, seed), QDateTime::fromSecsSinceEpoch(created), QString()};
}
} // namespace

class TestReportRecords : public QObject {
    Q_OBJECT
private slots:
    void columnListHasThirtyNamesWithSerialAndOrderNumber()
    {
        QCOMPARE(g_production_columns.size(), 30);
        QCOMPARE(serialColumn(), 4);
        QCOMPARE(orderNumberColumn(), 29);
        QCOMPARE(g_production_columns.count("max_min_diff"), 6);
        QCOMPARE(g_production_columns.at(21), QString("磁罗盘"));
    }

    void recordReaderTakesSecondPiecesOfTwoPieceLinesInFileOrder()
    {
        const QString dir = freshDir("reader");
        const QString path = dir + "/1_a.csv";
        QByteArray text = "\r\n  \n";
        for (int i = 0; i < 30; ++i)
            text += QString("  anything%1,val%1  \r\n").arg(i).toUtf8();
        text += "one piece only\nthree,pieces,here\n";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        QStringList values;
        QVERIFY(readProductionRecord(path, &values));
        QCOMPARE(values.size(), 30);
        QCOMPARE(values.first(), QString("val0"));
        QCOMPARE(values.last(), QString("val29"));
    }

    void recordReaderRejectsWrongCountsAndKeepsEmptyValues()
    {
        const QString dir = freshDir("counts");
        QStringList v = moduleValues("SN1", "O1");
        QStringList values;
        QVERIFY(writeRecord(dir + "/29.csv", v.mid(0, 29)));
        QString why;
        QVERIFY(!readProductionRecord(dir + "/29.csv", &values, &why));
        QCOMPARE(why, QString("29 values where a record has 30"));
        QVERIFY(writeRecord(dir + "/31.csv", v + QStringList{"x"}));
        QVERIFY(!readProductionRecord(dir + "/31.csv", &values));
        QVERIFY(!readProductionRecord(dir + "/missing.csv", &values));
        v[7] = QString();  // "Ip_type," counts as an empty value
        QVERIFY(writeRecord(dir + "/ok.csv", v, "\r"));
        QVERIFY(readProductionRecord(dir + "/ok.csv", &values));
        QCOMPARE(values.at(7), QString());
        QCOMPARE(values.at(4), QString("SN1"));
        QVERIFY(writeRecord(dir + "/cn.csv", moduleValues("串号", "订单")));
        QVERIFY(readProductionRecord(dir + "/cn.csv", &values));
        QCOMPARE(values.at(4), QString("串号"));
    }

    void aRecordFileLargerThanAnyRecordIsRefusedUnreadWithItsReason_data() { TestKit::oversizedFileRows(); }
    void aRecordFileLargerThanAnyRecordIsRefusedUnreadWithItsReason()
    {
        QFETCH(bool, zeroDevice);
        const QString dir = freshDir("huge");
        const QString huge = dir + "/IMU1_huge.csv";
        QVERIFY(TestKit::makeOversizedFile(huge, zeroDevice));
        QVERIFY(writeRecord(dir + "/IMU2_good.csv", moduleValues("G", "O")));
        QStringList values;
        QString why;
        QVERIFY(!readProductionRecord(huge, &values, &why));
        QVERIFY(values.isEmpty());
        // A device is refused as such before it is opened.
        const QString reason = zeroDevice ? "a device, not a regular file" : "larger than 64 MB, more than such a file can hold";
        QCOMPARE(why, reason);
        QStringList leftOut;
        QCOMPARE(mergeProductionRecords({huge, dir + "/IMU2_good.csv"}, &leftOut).size(), 1);
        QCOMPARE(leftOut, QStringList{"IMU1_huge.csv: " + reason});
        QCOMPARE(leftOutNote(1, leftOut), QString("1 modules in the report; 1 files that could not be read as records are left out.\n"
                                                  "IMU1_huge.csv: ") + reason);
        QCOMPARE(loadFolderRecords(dir).size(), 1);
    }

    // A FIFO or a folder handed over as a record, by name or in a board's folder, is left out
    // with its reason at once: opening a FIFO would wait for a writer for good.
    void aRecordThatIsNoRegularFileIsLeftOutUnopened()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString dir = tmp.path();
        QVERIFY(TestKit::makeFifo(dir + "/pipe"));
        QVERIFY(QFile::link(dir + "/pipe", dir + "/IMU1_pipe.csv"));
        QVERIFY(QDir().mkpath(dir + "/IMU2_folder.csv"));
        QVERIFY(writeRecord(dir + "/IMU3_good.csv", moduleValues("G", "O")));
        QElapsedTimer took;
        took.start();
        QStringList values;
        QString why;
        QVERIFY(!readProductionRecord(dir + "/pipe", &values, &why));
        QCOMPARE(why, QString("a named pipe (FIFO), not a regular file"));
        QStringList leftOut;
        QCOMPARE(mergeProductionRecords({dir + "/pipe", dir + "/IMU2_folder.csv", dir + "/IMU3_good.csv"}, &leftOut).size(), 1);
        QCOMPARE(leftOut, (QStringList{"pipe: a named pipe (FIFO), not a regular file",
                                       "IMU2_folder.csv: a folder, not a regular file"}));
        // The PDF report's folder: the link to the FIFO is listed, and left out.
        QCOMPARE(loadFolderRecords(dir, &leftOut).size(), 1);
        QCOMPARE(leftOut, QStringList{"IMU1_pipe.csv: a named pipe (FIFO), not a regular file"});
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString("%1 ms").arg(took.elapsed())));
    }

    void mergeKeepsTheYoungerRecordOfOneModuleAtTheEnd()
    {
        QVector<ProductionRecord> merged;
        mergeProductionRecord(merged, record("A", "O", 1, 100));
        mergeProductionRecord(merged, record("B", "O", 2, 100));
        mergeProductionRecord(merged, record("A", "O", 3, 200)); // younger: replaces, moves
        QCOMPARE(merged.size(), 2);
        QCOMPARE(merged.at(0).values.at(4), QString("B"));
        QCOMPARE(merged.at(1).values.at(0), QString("v0_3"));
        mergeProductionRecord(merged, record("A", "O", 4, 150)); // older: dropped
        mergeProductionRecord(merged, record("A", "O", 5, 200)); // equal: first kept
        QCOMPARE(merged.size(), 2);
        QCOMPARE(merged.at(1).values.at(0), QString("v0_3"));
    }

    void mergeKeepsDifferentOrderNumbersAndEmptySerialNumbersApart()
    {
        QVector<ProductionRecord> merged;
        mergeProductionRecord(merged, record("A", "O1", 1, 100));
        mergeProductionRecord(merged, record("A", "O2", 2, 200));
        mergeProductionRecord(merged, record("", "O1", 3, 100));
        mergeProductionRecord(merged, record("", "O1", 4, 200));
        QCOMPARE(merged.size(), 4);
    }

    void mergeOfFilesKeepsTheFileWrittenLast()
    {
        const QString dir = freshDir("merge_files");
        QVERIFY(writeRecord(dir + "/first.csv", moduleValues("S", "O", 1)));
        QTest::qWait(30);
        QVERIFY(writeRecord(dir + "/second.csv", moduleValues("S", "O", 2)));
        QVERIFY(writeRecord(dir + "/bad.csv", QStringList{"1", "2"}));
        QVERIFY(recordFileTime(dir + "/first.csv") < recordFileTime(dir + "/second.csv"));
        auto merged = mergeProductionRecords({dir + "/first.csv", dir + "/bad.csv", dir + "/second.csv"});
        QCOMPARE(merged.size(), 1);
        QCOMPARE(merged.at(0).values.at(0), QString("v0_2"));
        merged = mergeProductionRecords({dir + "/second.csv", dir + "/first.csv"});
        QCOMPARE(merged.size(), 1);
        QCOMPARE(merged.at(0).values.at(0), QString("v0_2"));
    }

    void folderRecordsFollowModuleNumbersAndLastSerialWins()
    {
        QCOMPARE(moduleNumberOfFileName("IMU10_x.csv"), 10);
        QCOMPARE(moduleNumberOfFileName("abc_x.csv"), 0);
        QCOMPARE(sortByModuleNumber({"IMU10_a.csv", "IMU2_b.csv", "x_c.csv", "2_d.csv"}),
                 QStringList({"x_c.csv", "IMU2_b.csv", "2_d.csv", "IMU10_a.csv"}));
        const QString dir = freshDir("folder_ABC_4711");
        QVERIFY(writeRecord(dir + "/IMU10_r.csv", moduleValues("S10", "O", 10)));
        QVERIFY(writeRecord(dir + "/IMU2_r.csv", moduleValues("DUP", "O", 2)));
        QVERIFY(writeRecord(dir + "/IMU3_r.csv", moduleValues("S3", "O", 3)));
        QVERIFY(writeRecord(dir + "/IMU4_r.csv", moduleValues("DUP", "O", 4)));
        QVERIFY(writeRecord(dir + "/IMU5_r.csv", moduleValues("", "O", 5)));
        QVERIFY(writeRecord(dir + "/IMU6_r.csv", moduleValues("", "O", 6)));
        QVERIFY(writeRecord(dir + "/IMU7_r.txt", moduleValues("TXT", "O", 7)));
        const QVector<QStringList> records = loadFolderRecords(dir);
        QStringList seeds;
        for (const QStringList &r : records)
            seeds << r.at(0);
        QCOMPARE(seeds, QStringList({"v0_3", "v0_4", "v0_5", "v0_6", "v0_10"}));
    }

    void orderNumberComesFromTheFolderOwnName()
    {
        QCOMPARE(orderNumberOfFolder("/data/run_2024/board_A_123"), QString("123"));
        QCOMPARE(orderNumberOfFolder("/data/run_2024/board"), QString("board"));
        QCOMPARE(orderNumberOfFolder("/data/run_2024/board_"), QString());
        QCOMPARE(orderNumberOfFolder("/data/x_1/ORDER9/"), QString("ORDER9"));
    }

    void workbookHoldsEveryValueAsTextWithHeaderAndCentredData()
    {
        const QString dir = freshDir("xlsx");
        QStringList a = moduleValues("SN-A", "订单1", 1);
        a[0] = "=1+1";
        a[1] = "http://x";
        a[2] = "0012";
        a[21] = "磁罗盘正常";
        QVector<ProductionRecord> records{{a, {}, {}}, {moduleValues("SN-B", "订单1", 2), {}, {}}};
        QString error;
        QVERIFY2(writeExcelReport(dir + "/r.xlsx", records, &error), qPrintable(error));
        const QJsonArray rows = readWorkbook(dir + "/r.xlsx");
        QCOMPARE(rows.size(), 3);
        const QJsonArray header = rows.at(0).toArray();
        QCOMPARE(header.size(), 30);
        for (int n = 0; n < 30; ++n) {
            const QJsonObject c = header.at(n).toObject();
            QCOMPARE(c.value("v").toString(), g_production_columns.at(n));
            QCOMPARE(c.value("size").toDouble(), 15.0);
            QVERIFY(c.value("bold").toBool());
        }
        const QJsonArray first = rows.at(1).toArray();
        QCOMPARE(first.at(0).toObject().value("v").toString(), QString("=1+1"));
        QCOMPARE(first.at(0).toObject().value("t").toString(), QString("s"));
        QCOMPARE(first.at(1).toObject().value("v").toString(), QString("http://x"));
        QVERIFY(first.at(1).toObject().value("link").isNull());
        QCOMPARE(first.at(2).toObject().value("t").toString(), QString("s"));
        QCOMPARE(first.at(2).toObject().value("v").toString(), QString("0012"));
        QCOMPARE(first.at(21).toObject().value("v").toString(), QString("磁罗盘正常"));
        QCOMPARE(first.at(29).toObject().value("v").toString(), QString("订单1"));
        for (const QJsonValue &c : first)
            QCOMPARE(c.toObject().value("h").toString(), QString("center"));
        QCOMPARE(rows.at(2).toArray().at(4).toObject().value("v").toString(), QString("SN-B"));
        QVERIFY(QDir(dir).entryList(QDir::Files | QDir::Hidden).size() == 1); // no temporary left
    }

    void aValueLongerThanACellHoldsIsCutAndNamedAndTheRestIsWritten()
    {
        const QString dir = freshDir("xlsx_long");
        QStringList a = moduleValues("SN-A", "O", 1);
        a[23] = QString(40000, 'x'); // the second "max_min_diff"
        const QVector<ProductionRecord> records{{a, {}, dir + "/IMU3_long.csv"},
                                                {moduleValues("SN-B", "O", 2), {}, dir + "/IMU4_rec.csv"}};
        QString error;
        QStringList notWhole;
        QVERIFY2(writeExcelReport(dir + "/r.xlsx", records, &error, &notWhole), qPrintable(error));
        QCOMPARE(notWhole, QStringList{"IMU3_long.csv: the value in column X (max_min_diff) has 40000 characters, more "
                                       "than a cell holds: only its first 32767 are written"});
        const QJsonArray rows = readWorkbook(dir + "/r.xlsx");
        QCOMPARE(rows.size(), 3);
        const QJsonArray first = rows.at(1).toArray();
        QCOMPARE(first.size(), 30);
        QCOMPARE(first.at(23).toObject().value("v").toString(), QString(32767, 'x'));
        QCOMPARE(first.at(22).toObject().value("v").toString(), QString("v22_1"));
        QCOMPARE(first.at(29).toObject().value("v").toString(), QString("O"));
        QCOMPARE(rows.at(2).toArray().at(4).toObject().value("v").toString(), QString("SN-B"));
    }

    void workbookIntoAMissingOrUnwritableFolderFailsAndLeavesNothing()
    {
        QString error;
        QVERIFY(!writeExcelReport(TestKit::workDir() + "/no_such_folder/r.xlsx", {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(TestKit::workDir() + "/no_such_folder"));
        const QString dir = freshDir("xlsx_ro");
        QVERIFY(writeRecord(dir + "/plain_file", {"x"}));
        QVERIFY(!writeExcelReport(dir + "/plain_file/r.xlsx", {}, &error));
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        const bool readOnly = !QFileInfo(dir).isWritable(); // root may write anyway
        const bool ok = writeExcelReport(dir + "/r.xlsx", {}, &error);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (readOnly) {
            QVERIFY(!ok);
            QVERIFY(!QFile::exists(dir + "/r.xlsx"));
        }
    }

    void anEmptyOrMissingResultNeverReplacesTheTarget()
    {
        const QString dir = freshDir("commit");
        QVERIFY(writeRecord(dir + "/target.xlsx", {"old"}));
        const QString temporary = temporaryNameFor(dir + "/target.xlsx");
        QVERIFY(temporary.startsWith(dir + "/."));
        QFile(temporary).open(QIODevice::WriteOnly); // painted nothing
        QString error;
        QVERIFY(!commitTemporaryFile(temporary, dir + "/target.xlsx", &error));
        QVERIFY(!QFile::exists(temporary));
        QVERIFY(!commitTemporaryFile(temporary, dir + "/target.xlsx", &error));
        QCOMPARE(QFileInfo(dir + "/target.xlsx").size(), qint64(QByteArray("times_ms,old\n").size()));
    }

    void pdfOfThirtyTwoModulesShowsOrderNumberNamesAndWholeSerialNumbers()
    {
        const QString dir = freshDir("pdf");
        QVector<QStringList> records;
        for (int m = 1; m <= 32; ++m)
            records << moduleValues(QString("KV735E2406%1").arg(m, 4, 10, QChar('0')), "4711", m);
        records[0][21] = "正常";
        PdfReportDocument document;
        document.setOrderNumber("4711");
        QCOMPARE(document.buildReportDocument(records), 4);
        document.setFileName(dir + "/report"); // no suffix: ".pdf" is added
        PdfReportPrinter printer;
        QString error;
        QVERIFY2(printer.printToPdf(&document, &error), qPrintable(error));
        QVERIFY(QFile::exists(dir + "/report.pdf"));
        const QString text = pdfText(dir + "/report.pdf");
        QVERIFY(text.contains("Order number:4711"));
        for (const QString &name : g_production_columns)
            QVERIFY2(text.contains(name), qPrintable(name));
        QCOMPARE(text.count("max_min_diff"), 6 * 4); // the name column in each of four blocks
        for (const QStringList &r : records)
            QVERIFY2(text.contains(r.at(4)), qPrintable(r.at(4)));
        QVERIFY(text.contains("正常"));
    }

    void pdfExportFailsWithoutDocumentNameOrFolder()
    {
        PdfReportPrinter printer;
        PdfReportDocument document;
        QString error;
        document.setFileName(TestKit::workDir() + "/x.pdf");
        QVERIFY(!printer.printToPdf(&document, &error));
        QCOMPARE(error, QString("Please enter valid data!"));
        document.buildReportDocument({});
        document.setFileName(QString());
        QVERIFY(!printer.printToPdf(&document, &error));
        QCOMPARE(error, QString("Please set a legal storage location!"));
        document.setFileName(TestKit::workDir() + "/no_such_folder/x.pdf");
        QVERIFY(!printer.printToPdf(&document, &error));
        QVERIFY(!QFile::exists(TestKit::workDir() + "/no_such_folder"));
        const QString dir = freshDir("pdf_suffix");
        document.setFileName(dir + "/x.report");
        QVERIFY2(printer.printToPdf(&document, &error), qPrintable(error));
        QVERIFY(QFile::exists(dir + "/x.report"));
    }
};

QTEST_MAIN(TestReportRecords)
#include "test_report_records.moc"

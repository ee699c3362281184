// The Excel and PDF report dialogs: file table, export through the dialogs, the boxes they
// show, and the folder loading of the PDF report.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/Prompter.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "tests/production/test_report_kit.h"

using namespace ReportKit;
using TestKit::waitUntil;

class TestReportDialogs : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;

private slots:
    void initTestCase() { Prompter::install(&prompter); }
    void cleanupTestCase() { Prompter::install(nullptr); }
    void init() { prompter.shown.clear(); }

    void excelDialogListsEachExistingFileOnceAndClears()
    {
        const QString dir = freshDir("excel_table");
        QVERIFY(writeRecord(dir + "/a.csv", moduleValues("A", "O")));
        QVERIFY(writeRecord(dir + "/b.csv", moduleValues("B", "O")));
        auto *dlg = new ExcelPrintfDlg;
        QVERIFY(dlg->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(dlg->windowTitle(), QString("Export Excel statistical report"));
        dlg->addFiles({dir + "/a.csv", dir + "/missing.csv", dir + "/b.csv", dir + "/a.csv"});
        auto *table = dlg->findChild<QTableWidget *>("tableWidget");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 0)->text(), QString("b.csv"));
        QCOMPARE(table->item(1, 1)->text(), dir + "/b.csv");
        dlg->findChild<QPushButton *>("pushButton_clear")->click();
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(dlg->filePaths().isEmpty());
        delete dlg;
    }

    // A FIFO chosen by name, as the file dialog allows, is left out with its reason at once:
    // the export never waits for a writer on the GUI thread.
    void excelDialogLeavesOutAFifoWithoutWaiting()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(TestKit::makeFifo(tmp.path() + "/IMU1.csv"));
        QVERIFY(writeRecord(tmp.path() + "/IMU2.csv", moduleValues("B", "O")));
        ExcelPrintfDlg dlg;
        dlg.addFiles({tmp.path() + "/IMU1.csv", tmp.path() + "/IMU2.csv"});
        QElapsedTimer took;
        took.start();
        QVERIFY(dlg.exportTo(tmp.path() + "/report.xlsx"));
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString("%1 ms").arg(took.elapsed())));
        QCOMPARE(prompter.texts(), QStringList{"Excel saved successfully\n1 modules in the report; 1 files that "
                                               "could not be read as records are left out.\n"
                                               "IMU1.csv: a named pipe (FIFO), not a regular file"});
    }

    void excelDialogExportsOneRowPerMergedModule()
    {
        const QString dir = freshDir("excel_export");
        QVERIFY(writeRecord(dir + "/1.csv", moduleValues("A", "O1", 1)));
        QVERIFY(writeRecord(dir + "/2.csv", moduleValues("B", "O1", 2)));
        QVERIFY(writeRecord(dir + "/3.csv", moduleValues("A", "O2", 3)));
        QTest::qWait(30);
        QVERIFY(writeRecord(dir + "/4.csv", moduleValues("A", "O1", 4)));
        QVERIFY(writeRecord(dir + "/5.csv", {"too", "short"}));
        ExcelPrintfDlg dlg;
        dlg.addFiles({dir + "/1.csv", dir + "/2.csv", dir + "/3.csv", dir + "/4.csv", dir + "/5.csv"});
        QVERIFY(dlg.exportTo(dir + "/report.xlsx"));
        QCOMPARE(prompter.texts(), QStringList{"Excel saved successfully\n3 modules in the report; 1 files that "
                                               "could not be read as records are left out.\n"
                                               "5.csv: 2 values where a record has 30"});
        QCOMPARE(prompter.shown.at(0).title, QString("Tip"));
        const QJsonArray rows = readWorkbook(dir + "/report.xlsx");
        QCOMPARE(rows.size(), 4);
        QStringList seeds;
        for (int r = 1; r < rows.size(); ++r)
            seeds << rows.at(r).toArray().at(0).toObject().value("v").toString();
        QCOMPARE(seeds, QStringList({"v0_2", "v0_3", "v0_4"}));
    }

    void excelDialogNamesTheValueTooLongForACellAndExportsTheRest()
    {
        const QString dir = freshDir("excel_long");
        QStringList values = moduleValues("A", "O1", 1);
        values[0] = QString(32768, '7');
        QVERIFY(writeRecord(dir + "/IMU1_long.csv", values));
        QVERIFY(writeRecord(dir + "/IMU2_rec.csv", moduleValues("B", "O1", 2)));
        ExcelPrintfDlg dlg;
        dlg.addFiles({dir + "/IMU1_long.csv", dir + "/IMU2_rec.csv"});
        QVERIFY(dlg.exportTo(dir + "/report.xlsx"));
        QCOMPARE(prompter.texts(), QStringList{"Excel saved successfully\nIMU1_long.csv: the value in column A (times_ms) "
                                               "has 32768 characters, more than a cell holds: only its first 32767 are written"});
        QCOMPARE(readWorkbook(dir + "/report.xlsx").size(), 3);
    }

    void excelDialogExportIntoAMissingFolderReportsFailure()
    {
        const QString dir = freshDir("excel_fail");
        QVERIFY(writeRecord(dir + "/1.csv", moduleValues("A", "O1", 1)));
        ExcelPrintfDlg dlg;
        dlg.addFiles({dir + "/1.csv"});
        QVERIFY(!dlg.exportTo(dir + "/missing/report.xlsx"));
        QCOMPARE(prompter.texts(), QStringList{"Excel save failed"});
        QCOMPARE(prompter.shown.at(0).kind, Prompter::Kind::Warning);
        QVERIFY(!QFile::exists(dir + "/missing"));
    }

    void excelExportWithNothingToPutInWritesNothingAndSaysSo()
    {
        const QString dir = freshDir("excel_empty");
        ExcelPrintfDlg dlg;
        QVERIFY(!dlg.exportTo(dir + "/none.xlsx"));
        QVERIFY(!QFile::exists(dir + "/none.xlsx"));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown.at(0).kind, Prompter::Kind::Warning);
        QVERIFY2(prompter.shown.at(0).text.startsWith("Nothing to export: choose the record files first."),
                 qPrintable(prompter.shown.at(0).text));
        // Files of which none is a record: the same.
        QVERIFY(writeRecord(dir + "/short.csv", {"too", "short"}));
        QVERIFY(writeRecord(dir + "/long.csv", moduleValues("A", "O") << "extra"));
        dlg.addFiles({dir + "/short.csv", dir + "/long.csv"});
        QVERIFY(!dlg.exportTo(dir + "/none.xlsx"));
        QVERIFY(!QFile::exists(dir + "/none.xlsx"));
        QVERIFY(prompter.shown.at(1).text.startsWith("Nothing to export: none of the 2 chosen files could be read"));
        // With one record among them the workbook holds it and the box names what was left out.
        QVERIFY(writeRecord(dir + "/good.csv", moduleValues("G", "O", 7)));
        dlg.addFiles({dir + "/good.csv"});
        QVERIFY(dlg.exportTo(dir + "/one.xlsx"));
        QCOMPARE(prompter.shown.at(2).kind, Prompter::Kind::Information);
        QCOMPARE(prompter.shown.at(2).text, QString("Excel saved successfully\n1 modules in the report; 2 files that "
                                                      "could not be read as records are left out.\n"
                                                      "short.csv: 2 values where a record has 30\n"
                                                      "long.csv: 31 values where a record has 30"));
        const QJsonArray rows = readWorkbook(dir + "/one.xlsx");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(1).toArray().at(serialColumn()).toObject().value("v").toString(), QString("G"));
    }

    void pdfExportOfAFolderWithoutReadableRecordsWritesNothingAndSaysSo()
    {
        const QString target = freshDir("pdf_unreadable") + "/out.pdf";
        const QString board = freshDir("pdf_unreadable/board_5");
        QVERIFY(writeRecord(board + "/IMU1_a.csv", {"too", "short"}));
        QVERIFY(writeRecord(board + "/IMU2_a.csv", moduleValues("A", "5").mid(1)));
        const QString empty = freshDir("pdf_unreadable/board_6");
        PDFPrintDlg dlg;
        QVERIFY(!dlg.exportTo(target)); // nothing loaded yet
        dlg.addRecordFolder(board);
        dlg.addRecordFolder(empty);
        auto *combo = dlg.findChild<QComboBox *>("comboBox_folders");
        auto *load = dlg.findChild<QPushButton *>("pushButton_chose");
        load->click();
        QVERIFY(!dlg.exportTo(target));
        combo->setCurrentIndex(1);
        load->click();
        QVERIFY(!dlg.exportTo(target));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(prompter.shown.size(), 3);
        for (const auto &box : prompter.shown)
            QCOMPARE(box.kind, Prompter::Kind::Warning);
        QVERIFY(prompter.shown.at(0).text.startsWith("Nothing to export: load a folder of record files first."));
        QVERIFY2(prompter.shown.at(1).text.startsWith("Nothing to export: none of the 2 record files in " + board),
                 qPrintable(prompter.shown.at(1).text));
        QVERIFY(prompter.shown.at(1).text.contains(
            "\nIMU1_a.csv: 2 values where a record has 30\nIMU2_a.csv: 29 values where a record has 30\n"));
        QVERIFY(prompter.shown.at(2).text.startsWith("Nothing to export: " + empty + " holds no record files"));
    }

    void reportsStartInTheWorkingFoldersRecords()
    {
        const QString work = freshDir("station_work");
        QVERIFY(writeRecord(work + "/IMUResults/board_77/IMU1_a.csv", moduleValues("S1", "77", 1)));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const QString start = productionRecordStartFolder();
        PDFPrintDlg dlg;
        QDir::setCurrent(before);
        QCOMPARE(start, work + "/IMUResults");
        auto *combo = dlg.findChild<QComboBox *>("comboBox_folders");
        QCOMPARE(combo->itemText(0), QString("board_77"));
        dlg.findChild<QPushButton *>("pushButton_chose")->click();
        QCOMPARE(dlg.moduleCount(), 1);
        QCOMPARE(dlg.reportDocument()->orderNumber(), QString("77"));
    }

    void pdfDialogLoadsAFolderOnceAndResetsTheOrderNumber()
    {
        const QString boardA = freshDir("reports_2024/board_A123");
        const QString boardB = freshDir("reports_2024/board");
        const QString boardC = freshDir("reports_2024/board_");
        QVERIFY(writeRecord(boardA + "/IMU10_x.csv", moduleValues("S10", "A123", 10)));
        QVERIFY(writeRecord(boardA + "/IMU2_x.csv", moduleValues("S2", "A123", 2)));
        QVERIFY(writeRecord(boardB + "/IMU1_x.csv", moduleValues("S1", "B", 1)));
        PDFPrintDlg dlg;
        dlg.addRecordFolder(boardA);
        dlg.addRecordFolder(boardB);
        dlg.addRecordFolder(boardC);
        auto *combo = dlg.findChild<QComboBox *>("comboBox_folders");
        auto *load = dlg.findChild<QPushButton *>("pushButton_chose");
        combo->setCurrentIndex(0);
        load->click();
        QCOMPARE(dlg.reportDocument()->orderNumber(), QString("A123"));
        QCOMPARE(dlg.moduleCount(), 2);
        const QString text = dlg.reportDocument()->document()->toPlainText();
        QVERIFY(text.indexOf("S2") < text.indexOf("S10"));
        // The same folder again is not reloaded.
        QVERIFY(writeRecord(boardA + "/IMU3_x.csv", moduleValues("S3", "A123", 3)));
        load->click();
        QCOMPARE(dlg.moduleCount(), 2);
        combo->setCurrentIndex(1);
        load->click();
        QCOMPARE(dlg.reportDocument()->orderNumber(), QString("board"));
        combo->setCurrentIndex(2);
        load->click();
        QCOMPARE(dlg.reportDocument()->orderNumber(), QString());
        QCOMPARE(dlg.moduleCount(), 0);
        combo->setCurrentIndex(0);
        load->click();
        QCOMPARE(dlg.moduleCount(), 3);
    }

    void pdfDialogExportsThirtyTwoModulesAndReportsAMissingFolder()
    {
        const QString board = freshDir("boards/board_9981");
        for (int m = 1; m <= 32; ++m)
            QVERIFY(writeRecord(QString("%1/IMU%2_rec.csv").arg(board).arg(m),
                                moduleValues(QString("SNX%1ABCDEFG").arg(m, 3, 10, QChar('0')), "9981", m)));
        PDFPrintDlg dlg;
        dlg.addRecordFolder(board);
        dlg.findChild<QPushButton *>("pushButton_chose")->click();
        QCOMPARE(dlg.moduleCount(), 32);
        dlg.show();
        auto *preview = dlg.findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        preview->updatePreview();
        QVERIFY(waitUntil([&] { return preview->pageCount() >= 2; }, 5000));
        dlg.findChild<QPushButton *>("pushButton_zoomIn")->click();
        dlg.findChild<QPushButton *>("pushButton_zoomOut")->click();

        QVERIFY(!dlg.exportTo(TestKit::workDir() + "/boards/missing/out.pdf"));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown.at(0).kind, Prompter::Kind::Warning);
        QVERIFY(prompter.shown.at(0).text.startsWith("Export failed:"));

        const QString target = TestKit::workDir() + "/boards/out.pdf";
        QFile::remove(target);
        QVERIFY(dlg.exportTo(target));
        QCOMPARE(prompter.shown.at(1).text, QString("Export successful"));
        QCOMPARE(prompter.shown.at(1).kind, Prompter::Kind::Information);
        QCOMPARE(prompter.shown.at(1).title, QString("Tip"));
        const QString text = pdfText(target);
        QVERIFY(text.contains("Order number:9981"));
        for (const QString &name : g_production_columns)
            QVERIFY2(text.contains(name), qPrintable(name));
        for (int m = 1; m <= 32; ++m) {
            const QString sn = QString("SNX%1ABCDEFG").arg(m, 3, 10, QChar('0'));
            QVERIFY2(text.contains(sn), qPrintable(sn));
        }
    }
};

QTEST_MAIN(TestReportDialogs)
#include "test_report_dialogs.moc"

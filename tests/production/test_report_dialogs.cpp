// The Excel and PDF report dialogs: file table, export through the dialogs, the boxes they
// show, and the folder loading of the PDF report.
#include <QApplication>
#include <QComboBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableWidget>
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
        QCOMPARE(prompter.texts(), QStringList{"Excel saved successfully"});
        QCOMPARE(prompter.shown.at(0).title, QString("Tip"));
        const QJsonArray rows = readWorkbook(dir + "/report.xlsx");
        QCOMPARE(rows.size(), 4);
        QStringList seeds;
        for (int r = 1; r < rows.size(); ++r)
            seeds << rows.at(r).toArray().at(0).toObject().value("v").toString();
        QCOMPARE(seeds, QStringList({"v0_2", "v0_3", "v0_4"}));
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

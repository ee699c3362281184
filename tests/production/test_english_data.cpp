// What the program writes is data: an upload body, a database row, a result line, a decoded
// file and an exported workbook come out the same with "English.qm" loaded as without it.
#include <QDir>
#include <QJsonArray>
#include <QLineEdit>
#include <QTest>
#include <QTranslator>

#include <cstring>

#include "app/Settings.h"
#include "production/DecodeFormats.h"
#include "production/ExcelReport.h"
#include "production/Factory_735_Dlg.h"
#include "station/FormWorkOrderDetails.h"
#include "station/UploadBodies.h"
#include "tests/production/DecodeTestKit.h"
#include "tests/production/Module735.h"
#include "tests/production/QuickTestRig.h"
#include "tests/production/test_report_kit.h"

using namespace DecodeTestKit;
using namespace ReportKit;

namespace {
struct Written {
    QByteArray uploadBody;
    QStringList uploadLog;
    QStringList dbRows;
    QStringList resultLines;
    QByteArray decoded;
    QJsonArray workbook;
};

// The turntable station's body for plate 1 with three IMUs, the work order as the dialog
// offers it (its default texts are posted as they stand).
void writeUpload(Written *out)
{
    FormWorkOrderDetails dialog;
    auto text = [&dialog](const char *name) { return dialog.findChild<QLineEdit *>(name)->text(); };
    PlateSnapshot plate;
    for (int i = 0; i < 3; ++i) {
        std::memset(plate.imu[size_t(i)].sn, 0x31 + i, sizeof(plate.imu[size_t(i)].sn));
        plate.imu[size_t(i)].calib_flag_h = i == 1 ? 4000 : 3999;
    }
    UploadContext c;
    c.workOrder = text("lineEdit_workOrderNum");
    c.operatorId = text("lineEdit_operatorId");
    c.equipment = text("lineEdit_equipment");
    c.startTime = "2026_0102 10:00:00";
    c.endTime = "2026_0102 11:00:00";
    c.plateOpen = [](int p) { return p <= 1; };
    c.shielded = [](int, int i) { return i >= 4; };
    c.plateRecords = [plate](int) { return plate; };
    CalibUploadTable table;
    out->uploadBody = buildUploadBody(1, c, table, &out->uploadLog);
}

// One passed 735 quick test: its database row and its result line.
void writeQuickTest(Written *out)
{
    QFile::remove("imu1123.db");
    QDir(logRoot()).removeRecursively();
    QuickTestRig rig;
    QVERIFY(rig.start());
    Module735 module;
    {
        Factory_735_Dlg page;
        page.tickTimer().stop();
        QObject::connect(rig.worker, &WorkerThread::signal_send_735e_test, &page, &Factory_735_Dlg::display_735e_test);
        QObject::connect(&page, &Factory_735_Dlg::Send_CMD_LONG_SIGNAL, rig.worker, &WorkerThread::Send_CMD_LONG);
        rig.countAfter(&WorkerThread::signal_send_735e_test);
        rig.sim->onCommand = [&module](const LongCommand &c) { return module.obey(c); };
        page.setOperatorName(QString::fromUtf8("林工"));
        page._ackTimeout_735e();
        for (int i = 0; i < 103 && !QTest::currentTestFailed(); ++i) {
            const QByteArray record = module.step();
            if (!record.isEmpty())
                QVERIFY(rig.sendRecord(DeviceMsgId::Test735, record));
            rig.clock.advance(100);
            page._ackTimeout_735e();
            if (i == 52)
                QVERIFY(TestKit::waitUntil([&] { return module.restarted; }));
        }
        QCOMPARE(page.statusText(), QCoreApplication::translate("StatusText", "Test passed"));
        out->resultLines = fileLines(page.resultLog().currentPath());
    }
    rig.sim->onCommand = nullptr;
    rig.stop();
    out->dbRows = sqliteLines(QDir::current().absoluteFilePath("imu1123.db"), "select sn, result from imu1123");
}

// An INS recording whose position type has a Chinese name in the decoded text.
void writeDecoded(Written *out)
{
    Payload a(86), b(59), c(24);
    a.at<uint32_t>(0, 345600).at<float>(18, 0.5f);
    b.at<uint32_t>(0, 999).at<uint8_t>(14, 50).at<uint8_t>(15, 17);
    c.at<uint8_t>(4, 4).at<float>(9, 0.02f);
    const Outcome o = decodeBytes(DecodeFormat::InsRtk, frame(DecodeFormat::Msg::Ins1, a) + frame(DecodeFormat::Msg::Ins2, b)
                                    + frame(DecodeFormat::Msg::Ins3, c));
    out->decoded = o.text;
}

void writeWorkbook(Written *out, const QString &tag)
{
    const QString dir = freshDir("xlsx_" + tag);
    QStringList a = moduleValues("SN-A", QString::fromUtf8("订单1"), 1);
    a[21] = QString::fromUtf8("磁罗盘正常");
    QString error;
    const QVector<ProductionRecord> records{{a, {}, {}}, {moduleValues("SN-B", "O2", 2), {}, {}}};
    QVERIFY2(writeExcelReport(dir + "/r.xlsx", records, &error),
             qPrintable(error));
    out->workbook = readWorkbook(dir + "/r.xlsx");
}

Written writeEverything(const QString &tag)
{
    Written w;
    writeUpload(&w);
    writeQuickTest(&w);
    writeDecoded(&w);
    writeWorkbook(&w, tag);
    return w;
}
} // namespace

class TestEnglishData : public QObject {
    Q_OBJECT
private slots:
    void filesBodiesAndRowsAreTheSameWithTheEnglishTranslation()
    {
        const Written plain = writeEverything("plain");
        QVERIFY(!QTest::currentTestFailed());

        QTranslator english;
        QVERIFY(english.load(qEnvironmentVariable("TEST_BINARY_DIR") + "/English.qm"));
        QVERIFY(QCoreApplication::installTranslator(&english));
        // The translation is live: a shown text changes.
        QCOMPARE(QCoreApplication::translate("MultiCalib", "底板1"), QString("Plate 1"));
        const Written english_ = writeEverything("english");
        QCoreApplication::removeTranslator(&english);
        QVERIFY(!QTest::currentTestFailed());

        // Chinese data stays Chinese.
        QVERIFY(english_.uploadBody.contains(QString::fromUtf8("温箱").toUtf8()));
        QVERIFY(english_.decoded.contains(QString::fromUtf8("窄巷固定").toUtf8()));
        QVERIFY(english_.resultLines.value(0).contains(QString::fromUtf8("林工")));

        QCOMPARE(english_.uploadBody, plain.uploadBody);
        QCOMPARE(english_.uploadLog, plain.uploadLog);
        QCOMPARE(english_.dbRows, plain.dbRows);
        QCOMPARE(english_.dbRows, QStringList{"112233|1"});
        QCOMPARE(english_.resultLines, plain.resultLines);
        QCOMPARE(english_.resultLines.size(), 1);
        QCOMPARE(english_.decoded, plain.decoded);
        QCOMPARE(english_.workbook, plain.workbook);
        QCOMPARE(english_.workbook.at(0).toArray().at(29).toObject().value("v").toString(), QString::fromUtf8("订单号"));
    }
};

QTEST_MAIN(TestEnglishData)
#include "test_english_data.moc"

// The console's widget-free decisions: report parsing, port conflicts, verdict texts, the
// plate rows with their marks, the selection file, and the drain of a worker's late reports.
#include <QFile>
#include <QSemaphore>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <memory>

#include "station/ConsoleLogic.h"
#include "station/PlateView.h"
#include "station/WorkerDrain.h"
#include "tests/kit/TestKit.h"

namespace {
PlateSnapshot uniformPlate()
{
    PlateSnapshot s;
    for (auto &r : s.imu) {
        r.time_ms = 1000;
        r.calib_flag_h = 3999;
        r.calib_status = 56004;
        r.software_ver = 0x56312E30;
        r.harware_ver = 0x56312E30;
        r.pos6_count = 6;
        r.imu_range = 4;
    }
    return s;
}
const ShieldRow kNone{};
} // namespace

class TestConsoleLogic : public QObject {
    Q_OBJECT
private slots:
    void stageAndFlagTextsFollowTheirTables()
    {
        QCOMPARE(get_string_calib_status(56004), QString(" Add meter calibration"));
        QCOMPARE(get_string_calib_status(58003), QString(" Temperature retest completed"));
        QCOMPARE(get_string_calib_status(99999), QString(" Unstable or shaking rotation of the turntable"));
        QCOMPARE(get_string_calib_status(12), QString());
        QCOMPARE(get_string_calib_flag(3999), QString("OK_ Transfer successful"));
        QCOMPARE(get_string_calib_flag(4095), QString());
    }

    void theCalibrationDateIsYearFirstSixDigits()
    {
        QCOMPARE(calibDateWord(QDate(2026, 12, 7)), 261207u);
        QCOMPARE(calibDateWord(QDate(2030, 1, 9)), 300109u);
    }

    void aBaseBoardReportNeedsThreeParts()
    {
        BaseBoardReport r = parseBaseBoardReport("7_1446063664_1_2_3");
        QVERIFY(r.valid);
        QCOMPARE(r.plate, 7);
        QCOMPARE(r.value1, QString("1446063664"));
        QCOMPARE(r.value2, QString("1"));
        QVERIFY(parseBaseBoardReport("net_0_0").net);
        QVERIFY(!parseBaseBoardReport("7_5").valid);
        QVERIFY(!parseBaseBoardReport("net").valid);
        QCOMPARE(parseBaseBoardReport("17_1_2").plate, 0);
        QCOMPARE(parseBaseBoardReport("turntable1_0_0").plate, 0);
        QCOMPARE(parseBaseBoardReport("+7_0_0").plate, 0);
    }

    void onlyTheTextReportsBecomeLogLines()
    {
        QCOMPARE(reportLogLine(74, "Inner axis enabled"), QString("Inner axis enabled"));
        QCOMPARE(reportLogLine(5, "Plate 3: failed to open /dev/ttyUSB2: no such file"),
                 QString("Plate 3: failed to open /dev/ttyUSB2: no such file"));
        QCOMPARE(reportLogLine(38, "Calibration completed"), QString("Calibration completed"));
        QCOMPARE(reportLogLine(59, "tracking fault"), QString("Tip: tracking fault"));
        for (uint8_t everySecond : {37, 73, 77, 78, 79, 80, 81, 83, 84, 85})
            QVERIFY(reportLogLine(everySecond, "12.00").isEmpty());
    }

    void portConflictsCompareThePortNames()
    {
        // Combo texts carry a description; the main link's name is the bare port.
        QCOMPARE(firstPortConflict({"", "/dev/pts/3 # simulated", "/dev/pts/4 # simulated"}, "/dev/pts/3"), 1);
        QCOMPARE(firstPortConflict({"/dev/pts/5 # a", "", "/dev/pts/5 # b"}, "/dev/pts/1"), 0);
        QCOMPARE(firstPortConflict({"/dev/pts/5 # a", "/dev/pts/6 # a", ""}, "/dev/pts/1"), -1);
        QCOMPARE(firstPortConflict({"", ""}, ""), -1);
    }

    void aClosedPlateIsNeverReportedAsPassing()
    {
        QCOMPARE(plateVerdictText(3, false, true, 0), QString("3_unconnected"));
        QCOMPARE(plateVerdictText(3, true, false, 0), QString("3_unconnected"));
        QCOMPARE(plateVerdictText(3, true, true, 0), QString("3_pass"));
        QCOMPARE(plateVerdictText(16, true, true, 2), QString("16_fail"));
    }

    void onlyTheOddImuIsMarkedNotTheWholeRow()
    {
        PlateSnapshot s = uniformPlate();
        s.imu[4].calib_status = 56005;
        std::array<uint32_t, 32> loss{};
        const PlateTableView v = buildPlateTable(s, kNone, 0, loss);
        for (int k = 0; k < 32; ++k)
            QCOMPARE(v.cells[2][size_t(k)].colour, k == 4 ? CellColour::Yellow : CellColour::None);
        QCOMPARE(v.failCount, 1u);
        QCOMPARE(v.cells[2][4].text, QString("56005 Meter calibration completed"));
    }

    void versionWordsAreComparedExactlyAsIntegers()
    {
        // Two words that single precision cannot tell apart still differ.
        PlateSnapshot s = uniformPlate();
        s.imu[9].software_ver = 0x56312E31;
        QCOMPARE(float(s.imu[9].software_ver), float(s.imu[0].software_ver));
        std::array<uint32_t, 32> loss{};
        const PlateTableView v = buildPlateTable(s, kNone, 0, loss);
        QCOMPARE(v.cells[14][9].colour, CellColour::Yellow);
        QCOMPARE(v.cells[14][8].colour, CellColour::None);
        QCOMPARE(v.cells[14][9].text, QString::number(0x56312E31u));
        QCOMPARE(v.failCount, 1u);
    }

    void aDifferingSixPositionCountIsPaintedButDoesNotFail()
    {
        PlateSnapshot s = uniformPlate();
        s.imu[0].pos6_count = 5;
        std::array<uint32_t, 32> loss{};
        const PlateTableView v = buildPlateTable(s, kNone, 0, loss);
        QCOMPARE(v.cells[10][0].colour, CellColour::Yellow);
        QCOMPARE(v.failCount, 0u);
    }

    void packetLossJumpsOfMoreThanTwoMarkAndBecomeTheReference()
    {
        PlateSnapshot s = uniformPlate();
        std::array<uint32_t, 32> loss{};
        s.errors[3] = 2;
        QCOMPARE(buildPlateTable(s, kNone, 0, loss).failCount, 0u);
        s.errors[3] = 3;
        PlateTableView v = buildPlateTable(s, kNone, 0, loss);
        QCOMPARE(v.cells[0][3].colour, CellColour::Red);
        QCOMPARE(v.failCount, 1u);
        QCOMPARE(loss[3], 3u);
        v = buildPlateTable(s, kNone, 0, loss); // no new jump
        QCOMPARE(v.cells[0][3].colour, CellColour::None);
        s.errors[3] = 0; // the module restarted: the unsigned difference is large
        QCOMPARE(buildPlateTable(s, kNone, 0, loss).cells[0][3].colour, CellColour::Red);
    }

    void theExpectedFlagFailsEveryUnshieldedImuThatMissesIt()
    {
        PlateSnapshot s = uniformPlate();
        s.imu[5].calib_flag_h = 4095;
        ShieldRow shielded{};
        std::array<uint32_t, 32> loss{};
        QCOMPARE(buildPlateTable(s, shielded, 0, loss).failCount, 1u);    // consensus only
        QCOMPARE(buildPlateTable(s, shielded, 3999, loss).failCount, 2u); // plus the flag check
        shielded[5] = true;
        const PlateTableView v = buildPlateTable(s, shielded, 3999, loss);
        QCOMPARE(v.failCount, 0u);
        QCOMPARE(v.cells[1][5].colour, CellColour::LightGray);
        QCOMPARE(v.cells[28][5].colour, CellColour::LightGray);
        QCOMPARE(v.cells[29][5].colour, CellColour::None);
    }

    void aFullyShieldedPlateNeitherPaintsNorFails()
    {
        PlateSnapshot s = uniformPlate();
        s.imu[1].calib_status = 1;
        ShieldRow all;
        all.fill(true);
        std::array<uint32_t, 32> loss{};
        s.errors[1] = 50;
        const PlateTableView v = buildPlateTable(s, all, 3999, loss);
        QCOMPARE(v.failCount, 0u);
        QCOMPARE(v.cells[2][1].colour, CellColour::LightGray);
    }

    void cellFormatsFollowTheRows()
    {
        PlateSnapshot s = uniformPlate();
        s.imu[0].accz = -9.80665f;
        s.imu[0].roll = -1234;
        s.imu[0].sn[0] = 0x0a;
        std::array<uint32_t, 32> loss{};
        const PlateTableView v = buildPlateTable(s, kNone, 0, loss);
        QCOMPARE(v.cells[1][0].text, QString("3999"));
        QCOMPARE(v.cells[18][0].text, QString("-9.8067"));
        QCOMPARE(v.cells[24][0].text, QString("-12.34"));
        QCOMPARE(v.cells[23][0].text, QString("0a") + QString(62, '0'));
        QCOMPARE(v.cells[9][0].text, QString("V10")); // "." is not a version character;
        QCOMPARE(summaryCellText(2, s.imu[0], 0), QString("56004 Add meter calibration"));
        QCOMPARE(summaryCellText(0, s.imu[0], 17), QString("17"));
        QCOMPARE(summaryCellText(30, s.imu[0], 0), QString());
    }

    void theSelectionFileRoundTripsInOneGroup()
    {
        const QString dir = TestKit::workDir() + "/sel/Config";
        const QString path = dir + "/selectStateConfig.ini";
        QFile::remove(path);
        SelectionFile f(path);
        QVector<bool> cells = f.readAll(); // makes folder and empty file
        QVERIFY(QFile::exists(path));
        QCOMPARE(cells.count(true), 0);
        cells[2 * 33 + 11] = true;  // plate 3, IMU 12
        cells[15 * 33 + 32] = true; // plate 16, whole plate
        QCOMPARE(f.save(cells), 2);
        QCOMPARE(f.save(cells), 0); // nothing changed, nothing written
        QSettings ini(path, QSettings::IniFormat);
        QCOMPARE(ini.childGroups(), QStringList{"SelectStatus"});
        QVERIFY(ini.value("SelectStatus/3-12").toBool());
        QVERIFY(ini.value("SelectStatus/16-33").toBool());
        QVERIFY(f.read(2, 11));
        QVERIFY(!f.read(2, 12));
        QCOMPARE(f.readAll(), cells);
    }

    // Each report a worker posts is dropped exactly when a drop was made before the worker got
    // to it: the word of the first of two drops, back between them, ends nothing of the second.
    void anEarlierDropsWordEndsNothingOfALaterOne()
    {
        QThread thread;
        QObject worker;
        worker.moveToThread(&thread);
        QObject here; // the reports' receiver in this thread (gone, nothing of them is left)
        WorkerDrain drain;
        QList<bool> dropped;
        struct Ends { // the worker's thread ends first, whatever check ended the function
            QThread &t;
            ~Ends() { t.quit(), t.wait(); }
        } ends{thread};
        thread.start();
        const auto report = [&] {
            QMetaObject::invokeMethod(&worker, [&] {
                QMetaObject::invokeMethod(&here, [&] { dropped << drain.dropping(); }, Qt::QueuedConnection);
            }, Qt::QueuedConnection);
        };
        // The worker is busy until every drop is made: the first drop's word comes back after them.
        auto busy = std::make_shared<QSemaphore>();
        QMetaObject::invokeMethod(&worker, [busy] { busy->acquire(); }, Qt::QueuedConnection);
        report();
        drain.drop(&worker);
        report(); // posted behind the first word, before the worker reached the second drop
        drain.drop(&worker);
        report();
        busy->release();
        QVERIFY(TestKit::waitUntil([&] { return dropped.size() == 3; }));
        QCOMPARE(dropped, (QList<bool>{true, true, false}));
        QVERIFY(!drain.dropping());
    }
};

QTEST_GUILESS_MAIN(TestConsoleLogic)
#include "test_console_logic.moc"

// Record layouts, grading rules, verdicts and the quick-test sequence, without any page.
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

#include "app/Clock.h"
#include "app/MeasuredValues.h"
#include "link/CommandFrames.h"
#include "production/QuickTestEngine.h"
#include "production/QuickTestRecords.h"
#include "production/ScreeningRecords.h"

class TestQuickGrades : public QObject {
    Q_OBJECT
private slots:
    void the735RecordFieldsSitAtTheirOffsets()
    {
        Test735Bytes b{};
        writeLE<uint32_t>(b.data() + 0, 211021);
        writeLE<int32_t>(b.data() + 8, -5);
        writeLE<uint32_t>(b.data() + 20, 99);
        writeLE<uint32_t>(b.data() + 25, 123456);
        writeLE<int16_t>(b.data() + 29 + 14 * 3 + 12, -7);
        writeLE<uint16_t>(b.data() + 89 + 12 * 2 + 10, 30500);
        writeLE<uint32_t>(b.data() + 137, 84000000);
        b[145] = 1;
        b[149] = 200;
        const Test735Fields f = Test735Fields::parse(b);
        QCOMPARE(f.firmware_date, 211021u);
        QCOMPARE(f.model_code, -5);
        QCOMPARE(f.sn_word[2], 99u);
        QCOMPARE(f.time_ms, 123456u);
        QCOMPARE(f.unit_values[3][6], int16_t(-7));
        QCOMPARE(f.unit_spreads[2][5], uint16_t(30500));
        QCOMPARE(f.clock_hz, 84000000u);
        QCOMPARE(f.flag_145, uint8_t(1));
        QCOMPARE(f.status_149, uint8_t(200));
        QCOMPARE(f.serialNumber(), QString("0099"));
    }

    void theK350RecordFieldsSitAtTheirOffsets()
    {
        TestK350Bytes b{};
        writeLE<int16_t>(b.data() + 8, -1);
        writeLE<uint32_t>(b.data() + 10, 4);
        writeLE<float>(b.data() + 51, 36.5f);
        b[83] = 0xFF;
        writeLE<float>(b.data() + 125, 0.3f);
        writeLE<uint32_t>(b.data() + 133, 168000000);
        writeLE<float>(b.data() + 137, 3.3f);
        b[142] = 2;
        const TestK350Fields f = TestK350Fields::parse(b);
        QCOMPARE(uint16_t(f.model_code), uint16_t(65535));
        QCOMPARE(f.temperature, 36.5f);
        QCOMPARE(f.raw_values[6], 36.5f);
        QCOMPARE(int8_t(f.fault_code), int8_t(-1));
        QCOMPARE(f.std_values[10], 0.3f);
        QCOMPARE(f.floatAt(125), 0.3f);
        QCOMPARE(f.clock_hz, 168000000u);
        QCOMPARE(f.cpu_voltage, 3.3f);
        QCOMPARE(f.serial_port_2, uint8_t(2));
        QCOMPARE(f.serialNumber(), QString("400"));
    }

    void spreadsAreGradedAtTheirLimitsOnlyBetweenFourAndFiveSeconds()
    {
        QVERIFY(Grade735::spreadFails(0, 100, 4.5));   // 0.1f lies above 0.1
        QVERIFY(Grade735::spreadFails(2, 100, 4.0));
        QVERIFY(Grade735::spreadFails(4, 1200, 4.5));  // 1.2f lies above 1.2
        QVERIFY(!Grade735::spreadFails(3, 1500, 4.5)); // compared in single precision
        QVERIFY(!Grade735::spreadFails(5, 1000, 4.5));
        QVERIFY(Grade735::spreadFails(5, 1001, 4.5));
        QVERIFY(!Grade735::spreadFails(0, 30999, 4.5)); // 30000..30999 never graded
        QVERIFY(Grade735::spreadFails(0, 31000, 4.5));
        QVERIFY(!Grade735::spreadFails(0, 120, 3.99));
        QVERIFY(!Grade735::spreadFails(0, 120, 5.0));
        QVERIFY(!Grade735::spreadFails(0, 99, 4.5));
    }

    void clockAndStatusRulesOfThe735()
    {
        QVERIFY(Grade735::clockAccepted(100000000));
        QVERIFY(Grade735::clockAccepted(168000000));
        QVERIFY(!Grade735::clockAccepted(168000001));
        QVERIFY(Grade735::statusByteFails(2, 5001));
        QVERIFY(!Grade735::statusByteFails(2, 5000));
        QVERIFY(!Grade735::statusByteFails(1, 9000));
    }

    void theModelTextReadsDigitPairsAsCharacters()
    {
        QCOMPARE(Grade735::modelText(735), QString("735"));
        QCOMPARE(Grade735::modelText(0x41424344), QString("DCBA"));
        QCOMPARE(Grade735::modelText(0x414B4344), QString("DCA")); // "4B" gives 64: no character
        QCOMPARE(GradeK350::modelText(7481), QString("VO350(7481)"));
        QCOMPARE(GradeK350::modelText(12), QString("12"));
    }

    void theK350LimitsAtTheirEdges()
    {
        const float accAtLimit[3] = {0.01f, 0.01f, 0.03f};
        QCOMPARE(GradeK350::accelNoise(accAtLimit), GradeK350::Noise::Good);
        const float gyroAtLimit[3] = {0.4f, 0.1f, 0.1f};
        QCOMPARE(GradeK350::gyroNoise(gyroAtLimit), GradeK350::Noise::Poor);
        QCOMPARE(GradeK350::noiseText(gyroAtLimit), QString("Poor:0.4\r\n0.1,0.1"));
        QVERIFY(!GradeK350::cpuVoltageFails(0.0f));
        QVERIFY(!GradeK350::cpuVoltageFails(-1.0f)); // not measured: not graded
        QVERIFY(GradeK350::cpuVoltageFails(3.1f));
        QVERIFY(!GradeK350::cpuVoltageFails(3.5f));
        QVERIFY(GradeK350::cpuVoltageFails(3.51f));
        QVERIFY(GradeK350::temperatureFails(-0.1f));
        QVERIFY(!GradeK350::temperatureFails(50.0f));
        QVERIFY(GradeK350::temperatureFails(50.1f));
        QCOMPARE(GradeK350::expectedClock(-1), 200000000u);
        QCOMPARE(GradeK350::expectedClock(0), 168000000u);
        QCOMPARE(GradeK350::expectedClock(1), 84000000u);
        QCOMPARE(GradeK350::expectedClock(2), 200000000u);
    }

    // A comparison with NaN is false, so "fails when above the limit" would pass it: every
    // check passes only a number within its limits.
    void aValueThatIsNotANumberFailsEveryK350Check_data()
    {
        QTest::addColumn<float>("value");
        QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("inf") << std::numeric_limits<float>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<float>::infinity();
    }
    void aValueThatIsNotANumberFailsEveryK350Check()
    {
        QFETCH(float, value);
        QVERIFY(GradeK350::cpuVoltageFails(value));
        QVERIFY(GradeK350::temperatureFails(value));
        const bool all[3] = {true, true, true};
        const float calib[3] = {value, value, value};
        const float oneOfThree[3] = {0.5f, value, 0.5f};
        QVERIFY(GradeK350::gyroCalibFails(calib, all));
        QVERIFY(GradeK350::gyroCalibFails(oneOfThree, all));
        QCOMPARE(judgeK350(true, calib, all, 0).passed(), false);
        const float noise[3] = {0.001f, value, 0.001f};
        QCOMPARE(GradeK350::accelNoise(noise), GradeK350::Noise::Poor);
        QCOMPARE(GradeK350::gyroNoise(noise), GradeK350::Noise::Poor);
        QCOMPARE(GradeK350::noiseText(noise), "Poor:0.001\r\n" + shortNumber(double(value)) + ",0.001");
    }

    void theLargestValueKeepsANanThenAnInfinityOnceSeen()
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QVERIFY(std::isnan(largestKept(0.0f, nan)));
        QVERIFY(std::isnan(largestKept(nan, 0.5f)));
        QVERIFY(std::isnan(largestKept(inf, nan)));
        QVERIFY(std::isnan(largestKept(nan, -inf)));
        QCOMPARE(largestKept(0.1f, 0.2f), 0.2f);
        QCOMPARE(largestKept(0.2f, 0.1f), 0.2f);
        QCOMPARE(largestKept(0.1f, inf), inf);
        QCOMPARE(largestKept(0.1f, -inf), -inf); // a record that sent -inf never reads 0.1
        QCOMPARE(largestKept(-inf, 5.0f), -inf);
    }

    void theGyroCalibrationResultAtItsEdges()
    {
        const bool all[3] = {true, true, true};
        const float zeros[3] = {0, 0, 0};
        const float two[3] = {2.0f, -2.0f, 0.5f};
        const float beyond[3] = {0.1f, -2.1f, 0.5f};
        QVERIFY(GradeK350::gyroCalibFails(zeros, all));
        QVERIFY(!GradeK350::gyroCalibFails(two, all));
        QVERIFY(GradeK350::gyroCalibFails(beyond, all));
        const bool missingZ[3] = {true, true, false};
        QVERIFY(GradeK350::gyroCalibFails(two, missingZ));
        QCOMPARE(judgeK350(false, zeros, missingZ, 0).passed(), true); // box unchecked: not judged
        QCOMPARE(judgeK350(true, zeros, all, 0).passed(), false);
    }

    void serialPortsFollowTheTwoBoxes()
    {
        QVERIFY(GradeK350::serialPortFails(1, 2, false, false));
        QVERIFY(!GradeK350::serialPortFails(1, 2, true, false));
        QVERIFY(GradeK350::serialPortFails(2, 2, true, false));
        QVERIFY(!GradeK350::serialPortFails(2, 2, true, true));
        QVERIFY(!GradeK350::serialPortFails(1, 1, false, false));
    }

    void the735VerdictCountsTheRestartAndTheSeenFlag()
    {
        QVERIFY(judge735(100, 9000, true, 0).passed());
        QCOMPARE(judge735(9000, 9000, true, 0).errors, 1);   // no restart
        QCOMPARE(judge735(100, 9000, false, 0).errors, 1);   // never saw flag 145
        QCOMPARE(judge735(9000, 9000, false, 2).errors, 4);
    }

    void theEngineKeepsATestAliveThroughTheRestartGap()
    {
        ManualClock clock;
        Clock::install(&clock);
        QuickTestEngine e(QuickTestConfig::for735());
        QSignalSpy verdicts(&e, &QuickTestEngine::verdictDue);
        int restarts = 0;
        connect(&e, &QuickTestEngine::command, this, [&restarts](uint16_t id) { restarts += id == 9 ? 1 : 0; });
        const QuickTestEngine::Inputs in{false, true, true};
        e.tick(in);
        QCOMPARE(e.statusText(), QString("No connection, waiting"));
        for (int i = 0; i < 120 && verdicts.isEmpty(); ++i) {
            if (i < 55 || i > 70) // silent for 1.6 s after the restart
                e.acceptRecord(false, true);
            clock.advance(100);
            e.tick(in);
            if (verdicts.count())
                e.beginVerdict();
        }
        QCOMPARE(verdicts.count(), 1);
        QCOMPARE(e.elapsedS(), 10.0);
        QCOMPARE(restarts, 1);
        // Judged: records only refresh the data time; unplugged: waiting for the next module.
        QVERIFY(!e.acceptRecord(false, true));
        clock.advance(1600);
        e.tick(in);
        QCOMPARE(e.statusText(), QString("Waiting for the next test"));
        e.acceptRecord(false, true);
        e.tick(in);
        QCOMPARE(e.statusText(), QString("During testing, please keep it stationary!"));
        QCOMPARE(e.elapsedS(), 0.0);
        Clock::install(nullptr);
    }

    void aK350SilenceAfterTheCalibrationKeepsTheTest()
    {
        ManualClock clock;
        Clock::install(&clock);
        QuickTestEngine e(QuickTestConfig::forK350());
        QSignalSpy second(&e, &QuickTestEngine::secondPhase);
        QuickTestEngine::Inputs in{false, true, true};
        e.tick(in);
        e.acceptRecord(false, true);
        e.tick(in); // test start: 16 s, the calibration latched
        QCOMPARE(e.lengthS(), 16.0);
        in.phasesWanted = false; // unticking now changes nothing
        for (int i = 0; i < 80; ++i) {
            if (i < 50)
                e.acceptRecord(false, true);
            clock.advance(100);
            e.tick(in);
        }
        QVERIFY(e.running());
        QCOMPARE(second.count(), 1);
        QCOMPARE(e.lengthS(), 16.0);
        Clock::install(nullptr);
    }

    void screeningPlacesWithoutAModule()
    {
        std::array<uint8_t, kScreeningRecordBytes> r{};
        QVERIFY(ScreeningModule::parse(r.data()).isEmptyPlace());
        for (int i = 0; i < 3; ++i)
            writeLE<uint32_t>(r.data() + 22 + 4 * i, 0xFFFFFFFFu);
        const ScreeningModule m = ScreeningModule::parse(r.data());
        QCOMPARE(m.serialNumber(), QString("429496729542949672954294967295"));
        QVERIFY(m.isEmptyPlace());
        writeLE<uint32_t>(r.data() + 26, 5);
        QVERIFY(!ScreeningModule::parse(r.data()).isEmptyPlace());
    }
};

QTEST_MAIN(TestQuickGrades)
#include "test_quick_grades.moc"

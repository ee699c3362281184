// The chamber script's phase machine and estimate, and the advanced run's tables, soaks and
// phases, driven tick by tick without widgets.
#include <QTest>

#include <limits>

#include "station/AdvancedCalibPlan.h"
#include "station/TempScript.h"

namespace {
using K = ScriptAction::Kind;

QList<int> valuesOf(const QVector<ScriptAction> &all, K kind)
{
    QList<int> out;
    for (const auto &a : all)
        if (a.kind == kind)
            out << a.value;
    return out;
}
QStringList textsOf(const QVector<ScriptAction> &all, K kind)
{
    QStringList out;
    for (const auto &a : all)
        if (a.kind == kind)
            out << a.text;
    return out;
}
ChamberScriptParams quick(int loops)
{
    ChamberScriptParams p;
    p.loops = loops;
    p.startTemp = -40;
    p.stopTemp = 85;
    p.startSoakMin = 1;
    p.stopSoakMin = 1;
    return p;
}
// Runs ticks with a chamber that follows the last set point at once; stops at Finish.
QVector<ScriptAction> runToEnd(ChamberScriptState &s, bool cycling, int maxTicks = 20000)
{
    QVector<ScriptAction> all;
    double tc = s.t0;
    for (int i = 0; i < maxTicks; ++i) {
        const QVector<ScriptAction> a = TempScript::tick(s, tc, cycling, false);
        all += a;
        for (const auto &x : a) {
            if (x.kind == K::SetTarget)
                tc = x.value;
            if (x.kind == K::Finish)
                return all;
        }
    }
    return all;
}
} // namespace

class TestScriptsLogic : public QObject {
    Q_OBJECT
private slots:
    void theSixParameterKeysKeepTheirDefaults()
    {
        const auto &k = TempScript::paramKeys();
        QCOMPARE(QString(k[0].key), QString("main_index/WENXIANG_LOOPS"));
        QCOMPARE(QString(k[2].defaultText), QString("30"));
        QCOMPARE(QString(k[5].key), QString("main_index/WENXIANG_TEMP_SLOPE"));
        const ChamberScriptParams p = TempScript::parseParams({"3", "-20", "5", "70", "7", "2"});
        QCOMPARE(p.loops, 3);
        QCOMPARE(p.startTemp, -20);
        QCOMPARE(p.stopSoakMin, 7);
        QCOMPARE(p.slope, 2.0f);
        QCOMPARE(TempScript::parseParams({"x"}).loops, 0);
    }

    void theEstimateAddsTheLeadTheCyclesAndHalfAnHour()
    {
        ChamberScriptParams p; // -40 .. 85, soaks 60, slope 1, two loops
        ChamberScriptState s = TempScript::startState(p, 0, 25.0f, 2.0f);
        TempScript::estimateTotal(s);
        // lead 65/2*60 = 1950; cycle 3600 + 7500 + 3600 + 3750 = 18450;
        // last cycle 3600 + 7500 + 3600 + 60/2*60 = 16500.
        QCOMPARE(s.cycleSeconds, 18450u);
        QCOMPARE(s.totalEstimate, 1950u + 18450u + 16500u + 1800u);
        QCOMPARE(TempScript::hoursMinutes(s.totalEstimate), QString("10 hours 45 minutes"));
    }

    void aZeroFallRateGivesAFiniteEstimate()
    {
        ChamberScriptState s = TempScript::startState(ChamberScriptParams{}, 0, 25.0f, 0.0f);
        TempScript::estimateTotal(s);
        QCOMPARE(s.totalEstimate, 3600u + 7500u + 3600u + 3600u + 7500u + 3600u + 1800u);
    }

    void theFullScriptRunsACompensationThenARetestStepAndEndsAt25()
    {
        ChamberScriptState s = TempScript::startState(quick(2), 0, 25.0f, 2.0f);
        TempScript::estimateTotal(s);
        const auto all = runToEnd(s, false);
        QVERIFY(all.last().kind == K::Finish);
        QCOMPARE(valuesOf(all, K::DcCode), (QList<int>{56001, 56001, 56003, 58001, 58001, 58003}));
        QCOMPARE(valuesOf(all, K::SetTarget), (QList<int>{-40, 85, -40, 85, 25}));
        QCOMPARE(valuesOf(all, K::SetSlope), (QList<int>{10, 2, 10, 10, 3, 10}));
        QCOMPARE(valuesOf(all, K::ClearTables).size(), 2);
        QCOMPARE(s.step, 2u);
        QCOMPARE(s.elapsedEstimate, s.totalEstimate);
        QVERIFY(textsOf(all, K::Status).contains("Insulation: 25. Remaining time:1s"));
        QVERIFY(textsOf(all, K::Debug).contains("设定温度:25"));
    }

    void theRetestOnlyScriptRunsOneRetestStep()
    {
        ChamberScriptState s = TempScript::startState(quick(2), 1, 25.0f, 2.0f);
        const auto all = runToEnd(s, false);
        QVERIFY(all.last().kind == K::Finish);
        QCOMPARE(valuesOf(all, K::DcCode), (QList<int>{58001, 58001, 58003}));
        QCOMPARE(valuesOf(all, K::SetSlope), (QList<int>{10, 3, 10}));
    }

    void temperatureCyclingSendsNoStepCodesAndKeepsTheRampRate()
    {
        ChamberScriptState s = TempScript::startState(quick(1), 0, 25.0f, 2.0f);
        const auto all = runToEnd(s, true);
        QVERIFY(all.last().kind == K::Finish);
        QVERIFY(valuesOf(all, K::DcCode).isEmpty());
        QCOMPARE(valuesOf(all, K::SetSlope), (QList<int>{10, 10}));
    }

    // Each ramp's bound (twice the expected time and half an hour) follows the rate the chamber
    // was told for it (10 out and back, 2 or 3 to the stop temperature), not the estimate's
    // slope field; a chamber that is slower by its own setting stretches it.
    void eachRampBoundFollowsTheRateTheChamberWasTold()
    {
        ChamberScriptParams p = quick(2);
        p.slope = 10.0f; // the estimate's field, never told to the chamber
        ChamberScriptState s = TempScript::startState(p, 0, 25.0f, 20.0f);
        const auto boundIn = [&s](ChamberScriptPhase phase, bool cycling = false) {
            s.phase = phase;
            return TempScript::rampBound(s, cycling).seconds;
        };
        QCOMPARE(boundIn(ChamberScriptPhase::GoStart), 2 * 750u + 1800u);  // 125 degC at 10
        QCOMPARE(boundIn(ChamberScriptPhase::GoStop), 2 * 3750u + 1800u);  // compensation: 2
        QCOMPARE(boundIn(ChamberScriptPhase::GoStop, true), 2 * 750u + 1800u); // a cycle keeps 10
        QCOMPARE(boundIn(ChamberScriptPhase::GoRoom), 2 * 390u + 1800u);   // 65 degC at 10
        s.step = 1;
        QCOMPARE(boundIn(ChamberScriptPhase::GoStop), 2 * 2500u + 1800u);  // retest: 3
        s.fallRate = 1.0f; // the chamber's own rate is slower than any told
        QCOMPARE(boundIn(ChamberScriptPhase::GoStop), 2 * 7500u + 1800u);
        QCOMPARE(boundIn(ChamberScriptPhase::GoRoom), 2 * 3900u + 1800u);
        QCOMPARE(boundIn(ChamberScriptPhase::SoakStop), 0u);
    }

    void aChamberAlreadyAtTheStartTemperatureSoaksFromSecondOne()
    {
        ChamberScriptState s = TempScript::startState(quick(1), 0, -40.0f, 2.0f);
        const auto a = TempScript::tick(s, -39.0, false, false); // exactly 1.0 away counts
        QCOMPARE(s.phase, ChamberScriptPhase::SoakStart);
        QVERIFY(valuesOf(a, K::SetTarget).isEmpty());
        QVERIFY(valuesOf(a, K::SetSlope).isEmpty());
        QCOMPARE(valuesOf(a, K::DcCode), QList<int>{56001});
        QCOMPARE(textsOf(a, K::Status), QStringList{"Insulation:-40。剩余：60s"});
    }

    void theSetPointGoesOutAtSecondTwoOfTheRamp()
    {
        ChamberScriptState s = TempScript::startState(quick(1), 0, 25.0f, 2.0f);
        QVERIFY(TempScript::tick(s, 25.0, false, false).isEmpty());
        const auto a = TempScript::tick(s, 25.0, false, false);
        QCOMPARE(valuesOf(a, K::SetTarget), QList<int>{-40});
        QCOMPARE(textsOf(a, K::UserTarget), QStringList{"-40"});
        QVERIFY(TempScript::tick(s, 10.0, false, false).isEmpty());
        QCOMPARE(s.phase, ChamberScriptPhase::GoStart);
    }

    void theEarlyEndEndsTheStopSoakOnceAndSkipsTheSoakEnd()
    {
        ChamberScriptParams p = quick(3);
        p.stopSoakMin = 0;
        ChamberScriptState s = TempScript::startState(p, 0, 85.0f, 2.0f);
        s.phase = ChamberScriptPhase::SoakStop;
        const auto a = TempScript::tick(s, 85.0, false, true);
        QCOMPARE(valuesOf(a, K::DcCode), QList<int>{56003});
        QCOMPARE(s.step, 1u);
        QCOMPARE(s.phase, ChamberScriptPhase::GoStart);
        QVERIFY(textsOf(a, K::Debug).contains("每个IMU模块都达到温度85发送结束命令"));
    }

    void theEarlyEndOnTheLastStepGoesTo25()
    {
        ChamberScriptState s = TempScript::startState(quick(1), 0, 85.0f, 2.0f);
        s.phase = ChamberScriptPhase::SoakStop;
        const auto a = TempScript::tick(s, 85.0, false, true);
        QCOMPARE(s.phase, ChamberScriptPhase::GoRoom);
        QCOMPARE(s.step, 2u);
        QCOMPARE(valuesOf(a, K::SetTarget), QList<int>{25});
    }

    void theEarlyEndNeedsEveryLiveImuInTheStepsStagePastTheStopTemperature()
    {
        ChamberScriptState heat = TempScript::startState(quick(2), 0, 25.0f, 2.0f); // -40 -> 85
        TempScript::RackView r;
        QVERIFY(!TempScript::imusReachedStop(r, false, heat)); // nobody reports
        r.linkOpen[2] = true;
        r.firstField[2][4] = 100;
        r.status[2][4] = 56001;
        r.temp[2][4] = 85.0f; // exactly at the stop temperature holds it back
        QVERIFY(!TempScript::imusReachedStop(r, false, heat));
        r.temp[2][4] = 85.5f;
        QVERIFY(TempScript::imusReachedStop(r, false, heat));
        QVERIFY(!TempScript::imusReachedStop(r, true, heat)); // base-board link up
        r.firstField[2][5] = 7;
        r.status[2][5] = 59000; // a live IMU outside the step's stage holds it back
        r.temp[2][5] = 86.0f;
        QVERIFY(!TempScript::imusReachedStop(r, false, heat));
        r.shielded[2][5] = true; // unless it is shielded
        QVERIFY(TempScript::imusReachedStop(r, false, heat));
        heat.step = 1; // a retest step waits for the retest stage
        QVERIFY(!TempScript::imusReachedStop(r, false, heat));
        r.status[2][4] = 58002;
        QVERIFY(TempScript::imusReachedStop(r, false, heat));
    }

    void theEarlyEndNeverFiresOnTheTemperatureCyclesStagelessPlates()
    {
        // With cycling the plates only ever hear 56000: no IMU is in a step's stage.
        const ChamberScriptState s = TempScript::startState(quick(2), 0, 25.0f, 2.0f);
        TempScript::RackView r;
        r.linkOpen[0] = true;
        r.firstField[0].fill(9);
        r.status[0].fill(56000);
        r.temp[0].fill(90.0f);
        QVERIFY(!TempScript::imusReachedStop(r, false, s));
    }

    void onACoolingRampTheImusMustBeBelowTheStopTemperature()
    {
        ChamberScriptParams p = quick(2);
        p.startTemp = 85;
        p.stopTemp = -40;
        const ChamberScriptState s = TempScript::startState(p, 0, 25.0f, 2.0f);
        TempScript::RackView r;
        r.linkOpen[1] = true;
        r.firstField[1].fill(9);
        r.status[1].fill(56001);
        r.temp[1].fill(20.0f); // still far above -40
        QVERIFY(!TempScript::imusReachedStop(r, false, s));
        r.temp[1].fill(-40.0f);
        QVERIFY(!TempScript::imusReachedStop(r, false, s));
        r.temp[1].fill(-40.5f);
        QVERIFY(TempScript::imusReachedStop(r, false, s));
    }

    void anImuTemperatureThatIsNotANumberHoldsTheEarlyEndBack()
    {
        ChamberScriptParams cool = quick(2);
        cool.startTemp = 85;
        cool.stopTemp = -40;
        for (const ChamberScriptParams &p : {quick(2), cool}) {
            const ChamberScriptState s = TempScript::startState(p, 0, 25.0f, 2.0f);
            TempScript::RackView r;
            r.linkOpen[1] = true;
            r.firstField[1][3] = 9;
            r.status[1][3] = 56001;
            r.temp[1][3] = p.stopTemp > p.startTemp ? 86.0f : -41.0f;
            QVERIFY(TempScript::imusReachedStop(r, false, s));
            for (float t : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()}) {
                r.temp[1][3] = t;
                QVERIFY2(!TempScript::imusReachedStop(r, false, s), qPrintable(QString::number(double(t))));
            }
        }
    }

    void parametersThatAreNoWholeNumberOrOutsideTheChambersRangeAreRefusedByName()
    {
        const TempScript::ParamCheck good = TempScript::checkParams({"2", "-40", "60", "85", "60", "1"});
        QVERIFY(good.ok);
        QCOMPARE(good.params.stopTemp, 85);
        QVERIFY(good.problem.isEmpty());
        const TempScript::ParamCheck hot = TempScript::checkParams({"2", "4000", "60", "85", "60", "1"});
        QVERIFY(!hot.ok);
        QVERIFY(hot.problem.startsWith("Start temperature"));
        QVERIFY(hot.problem.contains("\"4000\""));
        QVERIFY(TempScript::checkParams({"2", "-40", "abc", "85", "60", "1"}).problem.startsWith("Start soak"));
        QVERIFY(TempScript::checkParams({"2", "-40", "60", "85", "-5", "1"}).problem.startsWith("Stop soak"));
        QVERIFY(TempScript::checkParams({"2", "-40", "60", "85.5", "60", "1"}).problem.startsWith("Stop temperature"));
        QVERIFY(TempScript::checkParams({"", "-40", "60", "85", "60", "1"}).problem.startsWith("Loops"));
        QVERIFY(TempScript::checkParams({"2", "-40", "60", "85", "60", "0"}).problem.startsWith("Temperature slope"));
        QVERIFY(TempScript::checkParams({"2", "-71", "60", "151", "60", "1"}).problem.startsWith("Start temperature"));
        QVERIFY(TempScript::checkParams({"2", "-70", "0", "150", "0", "1"}).ok);
    }

    void noTemperatureReachesNoTarget()
    {
        ChamberScriptParams p = quick(2);
        p.startTemp = 0;
        ChamberScriptState s = TempScript::startState(p, 0, 25.0f, 2.0f);
        for (int i = 0; i < 5; ++i)
            TempScript::tick(s, std::numeric_limits<double>::quiet_NaN(), false, false);
        QCOMPARE(s.phase, ChamberScriptPhase::GoStart);
    }

    // A chamber temperature that is not a number (the other computer's in slave mode) reaches
    // no advanced target, and a wait that began with it still has a bound.
    void noTemperatureReachesNoAdvancedTargetNorLiftsTheWaitBound()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        AdvancedCalib::RunState s;
        AdvancedCalib::load(s, AdvancedCalib::retestTables());
        AdvancedCalib::begin(s);
        for (uint32_t now = 1000; now < 1005; ++now)
            QVERIFY(AdvancedCalib::tick(s, nan, now, AdvancedCalib::RetestOnly).isEmpty());
        QCOMPARE(s.phase, uint8_t(0));
        const double widest = TempScript::kChamberMaxC - TempScript::kChamberMinC;
        QCOMPARE(TempScript::rampBoundSeconds(nan, 10), TempScript::rampBoundSeconds(widest, 10));
        QCOMPARE(TempScript::rampBoundSeconds(-std::numeric_limits<double>::infinity(), 10),
                 TempScript::rampBoundSeconds(widest, 10));
    }

    void theInstallationCheckFindsTheFirstMissingUnshieldedImu()
    {
        TempScript::RackView r;
        for (auto &plate : r.firstField)
            plate.fill(5);
        r.firstField[3][7] = 0;
        r.firstField[5][0] = 0;
        QCOMPARE(TempScript::firstUninstalledImu(r), std::make_pair(0, 0)); // no plate open
        r.linkOpen[3] = r.linkOpen[5] = true;
        r.reported[5] = true;
        QCOMPARE(TempScript::firstUninstalledImu(r), std::make_pair(6, 1));
        r.reported[3] = true;
        QCOMPARE(TempScript::firstUninstalledImu(r), std::make_pair(4, 8));
        r.shielded[3][7] = true;
        QCOMPARE(TempScript::firstUninstalledImu(r), std::make_pair(6, 1));
        QVERIFY(!TempScript::loopsReachable(1, 1));
        QVERIFY(TempScript::loopsReachable(1, 0));
    }

    void advancedTablesSoaksAndEstimates()
    {
        QCOMPARE(AdvancedCalib::calibTables(4).overTemps[0], 100.0f);
        QCOMPARE(AdvancedCalib::calibTables(1).overTemps[0], 80.0f);
        QCOMPARE(AdvancedCalib::retestTables().stepTemps[6], 85.0f);
        QCOMPARE(AdvancedCalib::keepHeatSeconds(0, AdvancedCalib::RetestOnly), 120u);
        QCOMPARE(AdvancedCalib::keepHeatSeconds(0, AdvancedCalib::CalibThenRetest), 1800u);
        QCOMPARE(AdvancedCalib::keepHeatSeconds(3, AdvancedCalib::RetestOnly), 600u);
        QCOMPARE(AdvancedCalib::keepHeatMinutes(0, AdvancedCalib::CalibOnly), 30);
        const uint32_t c = AdvancedCalib::turntableCalibTime(10, 45, 45);
        QCOMPARE(c, 21u * 11 + 6u * 46 + 12u * 46);
        const uint32_t r = AdvancedCalib::turntableRetestTime(10, 45, 45, 50, 45);
        QCOMPARE(r, 53u * 11 + 6u * 46 + 12u * 46 + 24u * 50 + 44 + 26u * 46);
        QCOMPARE(AdvancedCalib::totalEstimate(3, c, r), 38280 + 7 * (c + r));
        QCOMPARE(AdvancedCalib::totalEstimate(2, c, r), 19680 + 7 * r);
    }

    void anAdvancedStepSoaksTwiceThenRotatesOnce()
    {
        AdvancedCalib::RunState s;
        AdvancedCalib::load(s, AdvancedCalib::retestTables());
        AdvancedCalib::begin(s);
        const uint8_t type = AdvancedCalib::RetestOnly;
        QVERIFY(AdvancedCalib::tick(s, 20.0, 1000, type).isEmpty());
        auto a = AdvancedCalib::tick(s, -29.0, 1001, type); // T2 + 1.0 counts as reached
        QCOMPARE(s.phase, uint8_t(1));
        QCOMPARE(a[0].text, QString("Overdue control reaches -30degrees,Current temperature:-29degrees,Start insulation for2minutes."));
        QVERIFY(AdvancedCalib::tick(s, -30.0, 1120, type).isEmpty());
        a = AdvancedCalib::tick(s, -30.0, 1121, type);
        QCOMPARE(a.size(), 3);
        QCOMPARE(a[1].kind, AdvancedCalib::Action::SetTarget);
        QCOMPARE(a[1].value, -30);
        QCOMPARE(s.phase, uint8_t(2));
        AdvancedCalib::tick(s, -30.0, 1122, type);
        QCOMPARE(s.phase, uint8_t(3));
        a = AdvancedCalib::tick(s, -30.0, 1242, type);
        QCOMPARE(a.last().kind, AdvancedCalib::Action::Rotate);
        // Ticks during the rotation count time but never rotate again.
        QVERIFY(AdvancedCalib::tick(s, -30.0, 1243, type).isEmpty());
        QVERIFY(AdvancedCalib::tick(s, -30.0, 1244, type).isEmpty());
        QCOMPARE(s.runSeconds, 8u);
        QCOMPARE(AdvancedCalib::rotationDone(s, type), AdvancedCalib::StepEnd::NextStep);
        QCOMPARE(s.step, uint8_t(1));
        QCOMPARE(s.phase, uint8_t(0));
    }

    void theSeventhRotationEndsEachKindOfRun()
    {
        for (uint8_t type : {uint8_t(1), uint8_t(2), uint8_t(3)}) {
            AdvancedCalib::RunState s;
            AdvancedCalib::load(s, AdvancedCalib::calibTables(0));
            AdvancedCalib::begin(s);
            AdvancedCalib::StepEnd end = AdvancedCalib::StepEnd::NextStep;
            for (int i = 0; i < AdvancedCalib::kSteps; ++i)
                end = AdvancedCalib::rotationDone(s, type);
            QCOMPARE(int(end), int(type == 1 ? AdvancedCalib::StepEnd::CalibDone
                                   : type == 2 ? AdvancedCalib::StepEnd::RetestDone
                                               : AdvancedCalib::StepEnd::SwitchToRetest));
            QCOMPARE(s.running, uint8_t(type == 3 ? 1 : 0));
            // Past the tables nothing acts.
            QVERIFY(AdvancedCalib::tick(s, 85.0, 99999, type).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestScriptsLogic)
#include "test_scripts_logic.moc"

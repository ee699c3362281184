// The command page's and the verdicts' decisions without widgets: flag cells and bad marks,
// the statistics, the icon changes of reports, and the Allan runs' texts and end watch.
#include <QTest>

#include <cmath>

#include "link/DeviceRecords.h"
#include "station/AllanRetest.h"
#include "station/CalibVerdicts.h"
#include "station/CmdPageReport.h"

class TestCmdPageLogic : public QObject {
    Q_OBJECT
private:
    static PlateSnapshot plateWithFlag(uint32_t word)
    {
        PlateSnapshot s;
        for (int k = 0; k < kImusPerPlate; ++k) {
            s.imu[size_t(k)].time_ms = 100 + uint32_t(k);
            s.imu[size_t(k)].calib_flag_h = word;
        }
        return s;
    }
    static PlateSnapshot plateWithStatus(uint32_t status, uint32_t time = 1000)
    {
        PlateSnapshot s;
        for (auto &r : s.imu) {
            r.time_ms = time;
            r.calib_status = status;
        }
        return s;
    }

private slots:
    void flagCellsShowTheFlagTextDirectlyBeforeTheWord()
    {
        QCOMPARE(flagCellText(3999), QString("OK_ Transfer successful3999"));
        QCOMPARE(flagCellText(8095), QString("OK_ All successful8095"));
        QCOMPARE(flagCellText(129), QString("OK_ Thermobox successful129"));
        QCOMPARE(flagCellText(4095), QString("4095"));
    }

    void anImuWhoseWordMissesTheExpectationIsMarkedBadWithItsPosition()
    {
        PlateSnapshot s = plateWithFlag(3999);
        s.imu[4].calib_flag_h = 4095;
        const FlagBlockRow row = buildFlagBlockRow(1, s, ShieldRow{}, 3999, true);
        QCOMPARE(row.bad, 1);
        QCOMPARE(row.cells[4].text, QString("NG_4095"));
        QCOMPARE(row.cells[4].colour, CellColour::Red);
        QCOMPARE(row.positions, QString("Floor2-5; "));
        QCOMPARE(row.cells[0].text, QString("OK_ Transfer successful3999"));
        QCOMPARE(row.cells[0].colour, CellColour::None);
    }

    void aShieldedImuIsNeitherBadNorLiveAndIsGray()
    {
        PlateSnapshot s = plateWithFlag(3999);
        s.imu[4].calib_flag_h = 4095;
        ShieldRow shielded{};
        shielded[4] = true;
        const FlagBlockRow row = buildFlagBlockRow(1, s, shielded, 3999, true);
        QCOMPARE(row.bad, 0);
        QCOMPARE(row.cells[4].text, QString("4095"));
        QCOMPARE(row.cells[4].colour, CellColour::LightGray);
        QCOMPARE(countJudgedImus(true, s, shielded), 31);
    }

    void withoutAReportFromTheBaseBoardOrAnExpectationNothingIsBad()
    {
        PlateSnapshot s = plateWithFlag(3999);
        s.imu[7].calib_flag_h = 1;
        QCOMPARE(buildFlagBlockRow(0, s, ShieldRow{}, 3999, false).bad, 0);
        const FlagBlockRow none = buildFlagBlockRow(0, s, ShieldRow{}, 0, true);
        QCOMPARE(none.bad, 0);
        QCOMPARE(none.cells[7].text, QString("1"));
        QCOMPARE(none.cells[7].colour, CellColour::Yellow); // differs from the plate's usual word
    }

    void liveImusNeedALinkedPlateAndATimeStamp()
    {
        PlateSnapshot s = plateWithFlag(3999);
        s.imu[0].time_ms = 0;
        QCOMPARE(countJudgedImus(true, s, ShieldRow{}), 31);
        QCOMPARE(countJudgedImus(false, s, ShieldRow{}), 0);
    }

    void theStatisticsClampBadMarksToTheLiveCount()
    {
        const VerdictStats s = verdictStats(5, 3);
        QCOMPARE(s.badText, QString("3"));
        QCOMPARE(s.okText, QString("0"));
        QCOMPARE(s.percentText, QString("0.00%"));
        const VerdictStats t = verdictStats(1, 64);
        QCOMPARE(t.okText, QString("63"));
        QCOMPARE(t.percentText, QString("98.44%"));
    }

    void withNoLiveImuThePercentageReadsADash()
    {
        const VerdictStats s = verdictStats(2, 0);
        QCOMPARE(s.badText, QString("0"));
        QCOMPARE(s.okText, QString("0"));
        QCOMPARE(s.percentText, QString("-"));
    }

    void anEmptyPositionIsNeitherLiveNorBad()
    {
        // 30 good IMUs and 2 empty positions: ok 30 of 30.
        PlateSnapshot s = plateWithFlag(129);
        s.imu[30].time_ms = 0;
        s.imu[30].calib_flag_h = 0;
        s.imu[31].time_ms = 0;
        s.imu[31].calib_flag_h = 0;
        const FlagBlockRow row = buildFlagBlockRow(0, s, ShieldRow{}, 129, true);
        QCOMPARE(row.bad, 0);
        QVERIFY(row.positions.isEmpty());
        const int alive = countJudgedImus(true, s, ShieldRow{});
        QCOMPARE(alive, 30);
        const VerdictStats v = verdictStats(row.bad, alive);
        QCOMPARE(v.okText, QString("30"));
        QCOMPARE(v.percentText, QString("100.00%"));
    }

    void onlyThreeNineNineNineAndEightZeroNineFivePassThePlainCheck()
    {
        QVERIFY(plainFlagTextPasses("3999"));
        QVERIFY(plainFlagTextPasses("8095"));
        QVERIFY(!plainFlagTextPasses("OK_ Transfer successful3999"));
        QVERIFY(!plainFlagTextPasses(""));
    }

    void liveReportsTurnTheirIconsGood()
    {
        QCOMPARE(iconChangesOf(37, "5_1_0"), (QList<IconChange>{{PageIcon::PlateLink, 4, PageImages::Ok}}));
        QCOMPARE(iconChangesOf(37, "16_0_0"), (QList<IconChange>{{PageIcon::PlateLink, 15, PageImages::Ok}}));
        QCOMPARE(iconChangesOf(37, "turntable2_0_0"), (QList<IconChange>{{PageIcon::Equipment, TurnTable2Icon, PageImages::Ok}}));
        QCOMPARE(iconChangesOf(37, "hothouse_0_0"), (QList<IconChange>{{PageIcon::Equipment, HotHouseIcon, PageImages::Ok}}));
        QCOMPARE(iconChangesOf(37, "net_0_0"), (QList<IconChange>{{PageIcon::Equipment, NetIcon, PageImages::Ok}}));
    }

    void theSupplyIconFollowsItsFirstValue()
    {
        QCOMPARE(iconChangesOf(37, "dcpower_0_0"), (QList<IconChange>{{PageIcon::Equipment, DcPowerIcon, PageImages::NotOk}}));
        QCOMPARE(iconChangesOf(37, "dcpower_1_1"), (QList<IconChange>{{PageIcon::Equipment, DcPowerIcon, PageImages::Ok}}));
        QVERIFY(iconChangesOf(37, "dcpower_2_1").isEmpty());
    }

    void verdictReportsSetThePlateStateIcon()
    {
        QCOMPARE(iconChangesOf(73, "5_unconnected"), (QList<IconChange>{{PageIcon::PlateState, 4, PageImages::Gray}}));
        QCOMPARE(iconChangesOf(73, "1_pass"), (QList<IconChange>{{PageIcon::PlateState, 0, PageImages::Ok}}));
        QCOMPARE(iconChangesOf(73, "2_fail"), (QList<IconChange>{{PageIcon::PlateState, 1, PageImages::NotOk}}));
    }

    void malformedReportsAndOtherCodesChangeNothing()
    {
        QVERIFY(iconChangesOf(73, "17_pass").isEmpty());
        QVERIFY(iconChangesOf(73, "0_pass").isEmpty());
        QVERIFY(iconChangesOf(73, "05_pass").isEmpty());
        QVERIFY(iconChangesOf(73, "pass").isEmpty());
        QVERIFY(iconChangesOf(37, "chamber_1_1").isEmpty());
        QVERIFY(iconChangesOf(37, "").isEmpty());
        QVERIFY(iconChangesOf(74, "5_1_1").isEmpty());
    }

    void theResetTurnsAllThirtySevenIconsBad()
    {
        const QList<IconChange> all = iconChangesOf(72, QString());
        QCOMPARE(all.size(), 37);
        for (const IconChange &c : all)
            QCOMPARE(c.image, QString(PageImages::NotOk));
    }

    void theStaticRunsRemainingTimeReadsCompleteAtTheEndOfItsHour()
    {
        QCOMPARE(staticRemainingText(10, 0), QString("70min"));
        QCOMPARE(staticRemainingText(10, 4199), QString("1min"));
        QCOMPARE(staticRemainingText(10, 4200), QString("completemin"));
        QCOMPARE(staticRemainingText(10, 4259), QString("completemin"));
        QCOMPARE(staticRemainingText(10, 9000), QString("completemin")); // never a wrapped count
        QCOMPARE(allanElapsedText(119), QString("1min"));
        QCOMPARE(reckonText(20), QString::fromUtf8("Reckon by time(s)：20"));
    }

    void theFourHourRunCountsDownFromTwoHundredFortyOneMinutes()
    {
        QCOMPARE(fourHourRemainingText(0), QString("241min"));
        QCOMPARE(fourHourRemainingText(61), QString("240min"));
        QCOMPARE(fourHourRemainingText(241 * 60), QString("0min"));
        QCOMPARE(fourHourRemainingText(300 * 60), QString("0min"));
    }

    void theWatchLooksAtNothingBeforeTheCommand()
    {
        RetestWatch w;
        QVERIFY(!w.observe(0, plateWithStatus(58000)));
        QVERIFY(!w.observe(0, plateWithStatus(kAllanRetestEnded)));
    }

    void aRecordLeftAtTheEndWordByAnEarlierRunDoesNotEndTheRun()
    {
        RetestWatch w;
        w.commandSent();
        for (int i = 0; i < 3; ++i)
            QVERIFY(!w.observe(3, plateWithStatus(kAllanRetestEnded)));
        // Its module runs the new retest and ends it.
        QVERIFY(!w.observe(3, plateWithStatus(58016)));
        QVERIFY(w.observe(3, plateWithStatus(kAllanRetestEnded)));
    }

    void aRecordWithoutATimeStampNeverCounts()
    {
        RetestWatch w;
        w.commandSent();
        QVERIFY(!w.observe(0, plateWithStatus(58016, 0)));
        QVERIFY(!w.observe(0, plateWithStatus(kAllanRetestEnded, 0)));
        PlateSnapshot s = plateWithStatus(0, 0);
        s.imu[9].time_ms = 5;
        s.imu[9].calib_status = 58016;
        QVERIFY(!w.observe(0, s));
        s.imu[9].calib_status = kAllanRetestEnded;
        QVERIFY(w.observe(0, s));
    }

    void aNewCommandForgetsWhatWasSeenBefore()
    {
        RetestWatch w;
        w.commandSent();
        QVERIFY(!w.observe(0, plateWithStatus(58016)));
        w.commandSent();
        QVERIFY(!w.observe(0, plateWithStatus(kAllanRetestEnded)));
        QVERIFY(!w.observe(99, plateWithStatus(58016)));
    }
};

QTEST_APPLESS_MAIN(TestCmdPageLogic)
#include "test_cmdpage_logic.moc"

// The operator actions' decisions without widgets: manual turntable commands, the frame-enable
// check, the administrator password, the removable-page table and the plate identity check.
#include <QTest>

#include "station/ConsoleActions.h"

namespace {
QString u(const char *s) { return QString::fromUtf8(s); }
QStringList allTopNames()
{
    // The form's top tab order (configuration last).
    return {u("标定统计"), u("带转台温箱-自动"), u("温箱自动"), u("温箱手动"), u("转台手动"),
            u("转台自动"), u("电源控制"), u("IMU"), u("配置")};
}
} // namespace

class TestActionsLogic : public QObject {
    Q_OBJECT
private slots:
    void aPositionMoveCarriesPositionFixedValueAndRate()
    {
        const TurnTableCommand inner = frameMoveCommand(false, 0, 90.0f, 30.0f);
        QVERIFY(inner.send);
        QCOMPARE(int(inner.code), 17);
        QCOMPARE(inner.p1, 90.0f);
        QCOMPARE(inner.p2, 160.0f);
        QCOMPARE(inner.p3, 30.0f);
        const TurnTableCommand outer = frameMoveCommand(true, 0, -45.5f, 12.0f);
        QCOMPARE(int(outer.code), 33);
        QCOMPARE(outer.p1, -45.5f);
        QCOMPARE(outer.p3, 12.0f);
    }

    void aRateMoveCarriesRateZeroAndTwenty()
    {
        const TurnTableCommand inner = frameMoveCommand(false, 1, 90.0f, 30.0f);
        QCOMPARE(int(inner.code), 19);
        QCOMPARE(inner.p1, 30.0f);
        QCOMPARE(inner.p2, 0.0f);
        QCOMPARE(inner.p3, 20.0f);
        QCOMPARE(int(frameMoveCommand(true, 1, 0.0f, 5.0f).code), 35);
    }

    void noModeSelectedSendsNothing()
    {
        QVERIFY(!frameMoveCommand(false, -1, 1.0f, 1.0f).send);
        QVERIFY(!frameMoveCommand(true, 2, 1.0f, 1.0f).send);
    }

    void stopsAreThirtyOneAndFortySeven()
    {
        QCOMPARE(int(frameStopCommand(false).code), 31);
        QCOMPARE(int(frameStopCommand(true).code), 47);
        QCOMPARE(frameStopCommand(true).p1, 0.0f);
    }

    void fieldsThatAreNoNumberReadAsZero()
    {
        QCOMPARE(manualFieldValue("30"), 30.0f);
        QCOMPARE(manualFieldValue(" 12.5 "), 12.5f);
        QCOMPARE(manualFieldValue(""), 0.0f);
        QCOMPARE(manualFieldValue("abc"), 0.0f);
        QCOMPARE(manualFieldValue("3x"), 0.0f);
        QCOMPARE(manualFieldValue("nan"), 0.0f); // a rate of NaN would pass the "cannot be 0" check
        QCOMPARE(manualFieldValue("-inf"), 0.0f);
    }

    void onlyTheChamberTurntableLooksAtBitSevenOfTheLowByte()
    {
        QVERIFY(turnTableFrameEnabled(4, 0x0080));
        QVERIFY(!turnTableFrameEnabled(4, 0x0100));
        QVERIFY(!turnTableFrameEnabled(4, 0xFF7F));
        QVERIFY(turnTableFrameEnabled(4, 0x00FF));
        for (int type : {0, 1, 2, 3})
            QVERIFY(turnTableFrameEnabled(type, 0x0100));
    }

    void theAdministratorPasswordIsComparedAsText()
    {
        QVERIFY(isAdministratorPassword("580417"));
        QVERIFY(!isAdministratorPassword(""));
        QVERIFY(!isAdministratorPassword("0580417"));
        QVERIFY(!isAdministratorPassword("580417 "));
        QVERIFY(!isAdministratorPassword("580418"));
    }

    void thePageTableHasItsSeventeenKeys()
    {
        QCOMPARE(ConsolePages::settingsKey(6), QString("removeTableWidget/removeName6"));
        QCOMPARE(ConsolePages::pageName(1), u("标定统计"));
        QCOMPARE(ConsolePages::pageName(9), QString("IMU"));
        QCOMPARE(ConsolePages::pageName(10), u("底板9"));
        QCOMPARE(ConsolePages::pageName(17), u("底板16"));
        QCOMPARE(ConsolePages::pageName(18), QString());
        QVERIFY(!ConsolePages::hasPage(2));
        QVERIFY(ConsolePages::isTopKey(9) && !ConsolePages::isTopKey(10));
        QCOMPARE(ConsolePages::keyOfName(u("温箱手动")), 6);
        QCOMPARE(ConsolePages::keyOfName("x"), 0);
    }

    void theComboItemsMapToTheirPagesKeys()
    {
        // Items in the form's tab order: statistics, chamber turntable auto, chamber auto,
        // chamber manual, turntable manual, turntable auto, power, IMU, plates 9 to 16.
        const QList<int> expected = {1, 3, 7, 6, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(ConsolePages::keyOfComboItem(i), expected[i]);
        QCOMPARE(ConsolePages::keyOfComboItem(-1), 0);
        QCOMPARE(ConsolePages::keyOfComboItem(16), 0);
    }

    void theInsertPositionCountsEarlierPagesPresent()
    {
        QStringList shown = allTopNames();
        // "IMU" with every page present: seven earlier names ("带转台温箱-手动" has no page).
        QCOMPARE(ConsolePages::pagesBefore(shown, "IMU", true, 0), 7);
        shown.removeAll(u("温箱手动"));
        QCOMPARE(ConsolePages::pagesBefore(shown, u("温箱手动"), true, 0), 4);
        QCOMPARE(ConsolePages::pagesBefore(shown, u("标定统计"), true, 5), 0);
        QCOMPARE(ConsolePages::pagesBefore({}, u("标定统计"), true, 5), 5);
        QCOMPARE(ConsolePages::pagesBefore(shown, "x", true, 0), 0);
    }

    void theBottomInsertPositionStartsAfterTheFixedPages()
    {
        QStringList bottom = {u("汇总")};
        for (int p = 1; p <= 16; ++p)
            if (p != 10 && p != 12)
                bottom << u("底板") + QString::number(p);
        bottom << u("接口");
        QCOMPARE(ConsolePages::pagesBefore(bottom, u("底板12"), false, 9), 11);
        QCOMPARE(ConsolePages::pagesBefore(bottom, u("底板9"), false, 3), 9);
        QCOMPARE(ConsolePages::pagesBefore(bottom, u("底板10"), false, 9), 10);
    }

    void theStartUpWalkRemovesEveryStoredPage()
    {
        const QStringList stored = {u("温箱手动"), "0", "", "IMU"};
        const QVector<int> removed = ConsolePages::startupRemovals(allTopNames(), stored);
        QCOMPARE(removed, QVector<int>({3, 6}));
        QVERIFY(ConsolePages::startupRemovals(allTopNames(), {"0", ""}).isEmpty());
        // Neighbouring stored pages are both found although the walk starts again.
        QCOMPARE(ConsolePages::startupRemovals({"a", "b", "c"}, {"b", "c", "a"}), QVector<int>({0, 0, 0}));
    }

    void aSharedIdentityCountsOnlyWhenTheLowerPlateReported()
    {
        QVector<bool> reported(16, false);
        QStringList identity;
        for (int p = 0; p < 16; ++p)
            identity << QString("id%1").arg(p);
        QVERIFY(!duplicatePlateIdentity(reported, identity));
        identity[3] = identity[9] = "same";
        reported[9] = true;
        QVERIFY(!duplicatePlateIdentity(reported, identity));
        reported[3] = true;
        QVERIFY(duplicatePlateIdentity(reported, identity));
        reported.fill(true);
        identity[9] = "other";
        QVERIFY(!duplicatePlateIdentity(reported, identity));
    }
};

QTEST_APPLESS_MAIN(TestActionsLogic)
#include "test_actions_logic.moc"

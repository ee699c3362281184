// The automatic turntable test type, the click tester and the turntable sequence plans.
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "equipment/TurntableSequence.h"
#include "station/AutoTurnTableTestType.h"
#include "station/Multi_calib_test.h"
#include "tests/kit/TestKit.h"

class TestTestTypeAndPlans : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The per-user store lives in the test's folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, TestKit::workDir() + "/user");
        QSettings store("Kelvanto", "Calibration");
        store.setValue("m_auto_turntable_test_type", 2);
        store.sync();
    }

    void aStoredTypeOutsideZeroAndOneReadsAsNormal()
    {
        AutoTurnTableTestType *t = AutoTurnTableTestType::instance();
        QCOMPARE(t, AutoTurnTableTestType::instance());
        QCOMPARE(t->testType(), 0);
        QVERIFY(t->isNormalTest());
        QCOMPARE(QCoreApplication::organizationName(), QString("Kelvanto"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Calibration"));
    }

    void settingOneSignalsEveryTimeAndZeroNever()
    {
        AutoTurnTableTestType *t = AutoTurnTableTestType::instance();
        QSignalSpy spy(t, &AutoTurnTableTestType::SigImuNolinearTest);
        t->setTestType(1);
        t->setTestType(1);
        QCOMPARE(spy.count(), 2);
        QVERIFY(!t->isNormalTest());
        t->setTestType(0);
        QCOMPARE(spy.count(), 2);
        QVERIFY(t->isNormalTest());
    }

    void savingWritesTheTypeToThePerUserStore()
    {
        AutoTurnTableTestType *t = AutoTurnTableTestType::instance();
        t->setTestType(1);
        t->saveTestType();
        QCOMPARE(QSettings("Kelvanto", "Calibration").value("m_auto_turntable_test_type").toInt(), 1);
        t->setTestType(0);
    }

    void theClickTesterTicksWhileRunningAndShowsItsSwitch()
    {
        Multi_calib_test *c = Multi_calib_test::getInstance();
        QCOMPARE(c->interval(), 1000);
        QCOMPARE(c->icon(), QString(":/images/switch_off.png"));
        c->stop(); // stopping a stopped tester changes nothing
        QVERIFY(!c->isRunning());
        c->setInterval(20);
        QSignalSpy spy(c, &Multi_calib_test::popClickTest);
        c->start();
        c->start();
        QVERIFY(c->isRunning());
        QCOMPARE(c->icon(), QString(":/images/switch_on.png"));
        QVERIFY(TestKit::waitUntil([&] { return spy.count() >= 3; }));
        c->stop();
        const int n = spy.count();
        QTest::qWait(80);
        QCOMPARE(spy.count(), n);
    }

    void codeTwoPlansFollowTheTestType()
    {
        const StepTimes t;
        QCOMPARE(SequencePlans::reportCodes(SequencePlans::forCommonCmd(2, true, t)),
                 (QList<int>{46, 47, 50, 51, 65, 68, 66, 67, 62}));
        QCOMPARE(SequencePlans::reportCodes(SequencePlans::forCommonCmd(2, false, t)),
                 (QList<int>{46, 47, 65, 66, 62}));
        QCOMPARE(SequencePlans::reportCodes(SequencePlans::forCommonCmd(4, true, t)), (QList<int>{65, 68, 66, 67}));
        QCOMPARE(SequencePlans::reportCodes(SequencePlans::forCommonCmd(8, true, t)), (QList<int>{50}));
        QVERIFY(SequencePlans::forCommonCmd(18, true, t).isEmpty());
        QVERIFY(SequencePlans::forCommonCmd(30, true, t).isEmpty());
    }

    void rotationPlansDependOnTheAdvancedType()
    {
        StepTimes t;
        t.move = 1;
        t.acc = 2;
        t.gyro = 3;
        t.gyroNonlinearity = 4;
        t.accNonlinearity = 5;
        QVERIFY(SequencePlans::forRotation(0, t).isEmpty());
        QVERIFY(SequencePlans::forRotation(4, t).isEmpty());
        const SequencePlan one = SequencePlans::forRotation(1, t);
        const SequencePlan two = SequencePlans::forRotation(2, t);
        QVERIFY(SequencePlans::reportCodes(one).isEmpty()); // no plate commands during a rotation
        // Gyro at rate 60 first, then the accelerometer positions.
        bool sawRate60 = false;
        for (const SeqAction &a : one.actions)
            sawRate60 |= a.kind == SeqAction::Spin && a.inner == 60;
        QVERIFY(sawRate60);
        QVERIFY(SequencePlans::expectedSeconds(two, t) > SequencePlans::expectedSeconds(one, t));
        QCOMPARE(SequencePlans::expectedSeconds(SequencePlans::forRotation(3, t), t),
                 SequencePlans::expectedSeconds(one, t));
    }

    void aSequenceWaitsForThePositionAndFailsWhenItIsNotReached()
    {
        StepTimes t;
        t.move = 2;
        SequencePlan plan;
        plan.name = "p";
        SeqAction move;
        move.kind = SeqAction::Move;
        move.inner = 90;
        plan.actions << move;
        TurntableSequence seq;
        QList<SeqAction> applied;
        const auto apply = [&](const SeqAction &a) { applied << a; };
        seq.start(plan, t, 10, 0);
        AxisStatus in, out;
        in.status = out.status = TurntableStatusBit::InPosition;
        QCOMPARE(seq.advance(1, in, out, 1, apply), SequenceOutcome::Running);
        QCOMPARE(applied.size(), 1);
        in.position = 90;
        QCOMPARE(seq.advance(5, in, out, 0, apply), SequenceOutcome::Running); // stale status
        QCOMPARE(seq.advance(6, in, out, 6, apply), SequenceOutcome::Done);

        seq.start(plan, t, 10, 100);
        in.position = 0;
        QCOMPARE(seq.advance(101, in, out, 101, apply), SequenceOutcome::Running);
        QCOMPARE(seq.advance(115, in, out, 115, apply), SequenceOutcome::Running);
        QCOMPARE(seq.advance(122, in, out, 122, apply), SequenceOutcome::Failed);
        QCOMPARE(seq.failure(), QString("转台跟踪异常，取消标定!"));

        // At full time a controller without a status for three seconds fails the sequence, not
        // sooner (a hold waits in between).
        SeqAction hold;
        hold.kind = SeqAction::Hold;
        hold.seconds = 60;
        plan.actions = {hold};
        seq.start(plan, t, 1000, 0);
        QCOMPARE(seq.advance(10, in, out, 10, apply), SequenceOutcome::Running);
        QCOMPARE(seq.advance(3010, in, out, 10, apply), SequenceOutcome::Running);
        QCOMPARE(seq.advance(3011, in, out, 10, apply), SequenceOutcome::Failed);
        QCOMPARE(seq.failure(), QString("转台无响应，取消标定!"));
    }
};

QTEST_MAIN(TestTestTypeAndPlans)
#include "test_testtype_and_plans.moc"

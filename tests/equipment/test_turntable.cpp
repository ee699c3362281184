// The turntable worker against the simulated controller on a pseudo-terminal.
#include <QPointer>
#include <QTest>
#include <QThread>

#include "app/MetaTypes.h"
#include "app/Settings.h"
#include "equipment/Creators.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_turn_table.h"
#include "sim/TurntableSim.h"
#include "station/AutoTurnTableTestType.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

namespace {
class Reports : public QObject {
    Q_OBJECT
public:
    explicit Reports(WorkerThread_turn_table *w)
    {
        connect(w, &WorkerThread_turn_table::signal_connectIsSuccess, this, [this](bool ok) { connected = ok ? 1 : 0; });
        connect(w, &WorkerThread_turn_table::signal_log, this, [this](uint8_t c, QString t) { logs << qMakePair(int(c), t); });
        connect(w, &WorkerThread_turn_table::signal_rotated_times, this, [this](bool completed, QString why) {
            ++rotated;
            rotations << qMakePair(completed, why);
        });
        connect(w, &WorkerThread_turn_table::signal_send_zhuantai_status, this,
                [this](int32_t ip, int32_t, uint16_t is, int32_t, int32_t, uint16_t) {
                    ++statuses;
                    lastInnerPos = ip;
                    lastInnerStatus = is;
                });
    }
    // The stage codes reported (progress, hints and remaining time left out).
    QList<int> stageCodes() const
    {
        QList<int> c;
        for (const auto &l : logs)
            if (l.first != 74 && l.first != 75 && l.first != 84 && l.first != 37 && l.first != 5)
                c << l.first;
        return c;
    }
    bool has(int code, const QString &text) const { return logs.contains(qMakePair(code, text)); }
    bool hasCode(int code) const
    {
        for (const auto &l : logs)
            if (l.first == code)
                return true;
        return false;
    }
    int connected = -1;
    int rotated = 0;
    QList<QPair<bool, QString>> rotations; // each rotation's outcome
    int statuses = 0;
    int32_t lastInnerPos = 0;
    uint16_t lastInnerStatus = 0;
    QList<QPair<int, QString>> logs;
};

void invoke(QObject *w, const char *slot, uint8_t code)
{
    QMetaObject::invokeMethod(w, slot, Qt::QueuedConnection, Q_ARG(uint8_t, code));
}
} // namespace

class TestTurntable : public QObject {
    Q_OBJECT
private:
    TurntableSim *sim = nullptr;
    QPointer<WorkerThread_turn_table> worker; // clears itself: a retired worker never dangles
    Reports *reports = nullptr;

    void stopGeneral(uint8_t code)
    {
        QMetaObject::invokeMethod(worker, "on_send_turn_table_cmd_general", Qt::QueuedConnection,
                                  Q_ARG(uint8_t, code), Q_ARG(float, 0), Q_ARG(float, 0), Q_ARG(float, 0));
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        // One "second" of the station's step times lasts 250 ms here, so a controller that answers
        // late on a loaded machine still answers within three of them; motions get 4.
        g_turn_table_move_time = 4;
        g_turn_table_acc_time = 1;
        g_turn_table_gyro_time = 1;
        g_turn_table_gyro_nonlinearity_time = 1;
        g_turn_table_acc_nonlinearity_time = 1;
    }

    void init()
    {
        AutoTurnTableTestType::instance()->setTestType(0);
        sim = new TurntableSim;
        QVERIFY(sim->isValid());
        sim->speedUp = 200;
        auto *w = new Workerthread_turn_table_TQ(sim->portPath(), QString());
        w->setTimeScale(250);
        w->setTickInterval(2);
        w->setPollInterval(5);
        reports = new Reports(w);
        worker = startWorkerThread<WorkerThread_turn_table>(w, &WorkerThread_turn_table::openSerialConnected);
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
        // The controller moves and answers on the worker's thread, where the worker counts its
        // ticks: a busy test thread holds back neither.
        sim->shareThreadOf(worker);
    }

    void cleanup()
    {
        const bool released = TestKit::retireWorker(worker.data());
        delete reports;
        reports = nullptr;
        delete sim; // back from the worker's ended thread first
        sim = nullptr;
        QVERIFY(released);
    }

    // However long the test's thread is held up (a loaded machine), the worker's bounds count
    // only ticks on which the controller could move and answer.
    void aHeldTestThreadNeverTripsAMoveBound()
    {
        invoke(worker, "rev_common_cmd", 13); // G-value position 2: the inner axis to 180
        // Longer than a move's bound (four run seconds of 250 ms) and the silent limit.
        QThread::msleep(2000);
        QVERIFY(waitUntil([&] { return reports->has(74, "G-value position 2 completed") || reports->hasCode(59); }, 10000));
        QVERIFY(!reports->has(59, "转台跟踪异常，取消标定!"));
        QVERIFY(!reports->has(59, "转台无响应，取消标定!"));
        QVERIFY(reports->has(74, "G-value position 2 completed"));
        QCOMPARE(sim->axis(0).position, 180.0);
    }

    void statusFramesReachTheConsoleScaledBy10000WithALivenessTag()
    {
        sim->setPosition(0, 12.5);
        QVERIFY(waitUntil([&] { return reports->statuses >= 5 && reports->lastInnerPos == 125000; }));
        QVERIFY(reports->lastInnerStatus & 0x80);
        QVERIFY(reports->has(37, "turntable1_0_0"));
    }

    void codeTwoNormalTestReportsEveryStageInOrderThenSixtyTwo()
    {
        invoke(worker, "rev_common_cmd", 2);
        QVERIFY(waitUntil([&] { return reports->hasCode(62); }, 30000));
        QCOMPARE(reports->stageCodes(), (QList<int>{46, 47, 50, 51, 65, 68, 66, 67, 62}));
        QVERIFY(reports->has(74, "一键标定+复测 completed"));
        QVERIFY(reports->hasCode(84));
        QVERIFY(!worker->sequenceRunning());
        // The table really went through the accelerometer positions and the gyro rates.
        QVERIFY(sim->commands().contains("POS X 180.0000 20.0000"));
        QVERIFY(sim->commands().contains("RATE Y -100.0000"));
    }

    void codeTwoNonlinearityTestLeavesOutTheNonlinearityStages()
    {
        AutoTurnTableTestType::instance()->setTestType(1);
        invoke(worker, "rev_common_cmd", 2);
        QVERIFY(waitUntil([&] { return reports->hasCode(62); }, 30000));
        QCOMPARE(reports->stageCodes(), (QList<int>{46, 47, 65, 66, 62}));
    }

    void anInnerStopDuringASequenceStopsBothAxesAndEndsItWithAReport()
    {
        invoke(worker, "rev_common_cmd", 2);
        QVERIFY(waitUntil([&] { return reports->hasCode(47); }, 10000));
        QVERIFY(waitUntil([&] { return sim->axis(0).spinning || sim->axis(1).spinning; }, 5000));
        sim->clearCommands();
        stopGeneral(31);
        QVERIFY(waitUntil([&] { return reports->has(74, "一键标定+复测 stopped"); }));
        QVERIFY(waitUntil([&] { return sim->commands().contains("STOP X") && sim->commands().contains("STOP Y"); }));
        QTest::qWait(200);
        QVERIFY(!sim->axis(0).spinning && !sim->axis(1).spinning);
        QVERIFY(!reports->hasCode(50));
        QVERIFY(!reports->hasCode(62));
        QVERIFY(!worker->sequenceRunning());
    }

    void closingThePortDuringASequenceStopsTheTableAndReports()
    {
        invoke(worker, "rev_common_cmd", 6);
        QVERIFY(waitUntil([&] { return reports->hasCode(46); }, 10000));
        sim->clearCommands();
        QMetaObject::invokeMethod(worker, "closePort", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->has(74, "加速度计+陀螺仪标定 stopped"); }));
        QVERIFY(waitUntil([&] { return sim->commands().contains("STOP X") && sim->commands().contains("STOP Y"); }));
    }

    void aTrackingFaultEndsTheCalibrationWithABox()
    {
        invoke(worker, "rev_common_cmd", 6);
        QVERIFY(waitUntil([&] { return reports->hasCode(46); }, 10000));
        sim->trackingFault = true;
        QVERIFY(waitUntil([&] { return reports->has(59, "转台跟踪异常，取消标定!"); }));
        QVERIFY(!reports->hasCode(47));
        QVERIFY(!worker->sequenceRunning());
    }

    void aSilentControllerFailsTheSequenceInsteadOfHoldingIt()
    {
        sim->silent = true;
        invoke(worker, "rev_common_cmd", 16);
        QVERIFY(waitUntil([&] { return reports->has(59, "转台无响应，取消标定!"); }, 5000));
        QVERIFY(!reports->hasCode(46) || reports->stageCodes().last() != 62);
    }

    void eachRotationCallReportsRotatedTimesExactlyOnce()
    {
        g_advanced_calib_type = 1;
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->rotated == 1; }, 20000));
        QVERIFY(reports->has(74, "Constant-temperature rotation completed"));
        QTest::qWait(100);
        QCOMPARE(reports->rotated, 1);
        QCOMPARE(worker->rotatedTimes(), 1);
        QCOMPARE(reports->rotations[0], qMakePair(true, QString()));

        // No sequence for type 0: still one report, not completed.
        g_advanced_calib_type = 0;
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->rotated == 2; }));
        QCOMPARE(reports->rotations[1], qMakePair(false, QString("no sequence for advanced type 0")));

        // Stopped in the middle: one report; a second call while the first runs: one report
        // each, neither of them completed.
        g_advanced_calib_type = 2;
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->rotated == 3; }));
        QCOMPARE(reports->rotations[2], qMakePair(false, QString("Constant-temperature rotation is running")));
        QVERIFY(worker->sequenceRunning());
        stopGeneral(47);
        QVERIFY(waitUntil([&] { return reports->rotated == 4; }));
        QCOMPARE(reports->rotations[3], qMakePair(false, QString("stopped")));
        QTest::qWait(100);
        QCOMPARE(reports->rotated, 4);
        QCOMPARE(worker->rotatedTimes(), 4);
        QMetaObject::invokeMethod(worker, "turn_table_reset_rotated_times", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return worker->rotatedTimes() == 0; }));
    }

    void aFailedRotationReportsThatItDidNotComplete()
    {
        g_advanced_calib_type = 3;
        sim->trackingFault = true;
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->rotated == 1; }));
        QVERIFY(reports->has(59, "转台跟踪异常，取消标定!"));
        QCOMPARE(reports->rotations[0], qMakePair(false, QString("转台跟踪异常，取消标定!")));
    }

    void aRotationWithTheControllerClosedReportsThatItDidNotComplete()
    {
        g_advanced_calib_type = 2;
        QMetaObject::invokeMethod(worker, "closePort", Qt::QueuedConnection);
        QMetaObject::invokeMethod(worker, "turn_table_constant_heat_rotate", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return reports->rotated == 1; }));
        QCOMPARE(reports->rotations[0], qMakePair(false, QString("turntable not connected")));
        QVERIFY(sim->commands().isEmpty());
    }

    void enableAndDisableCodesReachTheController()
    {
        invoke(worker, "rev_common_cmd", 30);
        invoke(worker, "rev_common_cmd", 33);
        QVERIFY(waitUntil([&] { return sim->commands() == QStringList({"EN X 1", "EN Y 0"}); }));
        QVERIFY(waitUntil([&] { return reports->has(74, "Inner axis enabled") && reports->has(74, "Outer axis disabled"); }));
        QVERIFY(!sim->axis(1).enabled);
        // The log says what the controller answered.
        sim->refuseEnable = true;
        invoke(worker, "rev_common_cmd", 31);
        QVERIFY(waitUntil([&] { return reports->has(74, "Outer axis enable refused: enable refused"); }));
        sim->refuseEnable = false;
        QVERIFY(!reports->has(74, "Outer axis enabled"));
        QVERIFY(!sim->axis(1).enabled);
    }

    void enablingWithTheControllerNotLinkedLogsThatNothingWasSent()
    {
        QMetaObject::invokeMethod(worker, "closePort", Qt::QueuedConnection);
        invoke(worker, "rev_common_cmd", 30);
        invoke(worker, "rev_common_cmd", 33);
        QVERIFY(waitUntil([&] { return reports->has(74, "Outer axis disable not sent: turntable not connected"); }));
        QVERIFY(reports->has(74, "Inner axis enable not sent: turntable not connected"));
        QVERIFY(!reports->has(74, "Inner axis enabled"));
        QVERIFY(!reports->has(74, "Outer axis disabled"));
        QVERIFY(sim->commands().isEmpty());
    }

    void generalCommandsMoveAndSpinTheAxes()
    {
        // The console's layout: position, the fixed 160, the operator's rate.
        QMetaObject::invokeMethod(worker, "on_send_turn_table_cmd_general", Qt::QueuedConnection,
                                  Q_ARG(uint8_t, 17), Q_ARG(float, 45), Q_ARG(float, 160), Q_ARG(float, 10));
        QMetaObject::invokeMethod(worker, "on_send_turn_table_cmd_general", Qt::QueuedConnection,
                                  Q_ARG(uint8_t, 35), Q_ARG(float, -30), Q_ARG(float, 0), Q_ARG(float, 0));
        QVERIFY(waitUntil([&] { return sim->commands() == QStringList({"POS X 45.0000 10.0000", "RATE Y -30.0000"}); }));
        QVERIFY(waitUntil([&] { return reports->lastInnerPos == 450000; }));
    }

    void theSideToSideRotationSwingsTheInnerAxisBothWays()
    {
        QMetaObject::invokeMethod(worker, "on_clicked_turn_table_12pos", Qt::QueuedConnection,
                                  Q_ARG(float, 30), Q_ARG(float, 1));
        QVERIFY(waitUntil([&] { return sim->commands().size() >= 3; }, 5000));
        const QStringList c = sim->commands();
        QCOMPARE(c[0], QString("POS X 30.0000 20.0000"));
        QCOMPARE(c[1], QString("POS X -30.0000 20.0000"));
        stopGeneral(31);
        QTest::qWait(100);
        const int n = sim->commands().size();
        QTest::qWait(300);
        QCOMPARE(sim->commands().size(), n);
    }

    void aSecondSequenceIsRefusedWhileOneRuns()
    {
        invoke(worker, "rev_common_cmd", 17);
        invoke(worker, "rev_common_cmd", 16);
        QVERIFY(waitUntil([&] { return reports->hasCode(75); }));
        QVERIFY(waitUntil([&] { return reports->has(74, "Gyro calibration completed"); }, 10000));
        QVERIFY(!reports->hasCode(46));
    }

    void retiringTheWorkerDuringASequenceStopsTheTableWithoutABurst()
    {
        invoke(worker, "rev_common_cmd", 2);
        QVERIFY(waitUntil([&] { return reports->hasCode(46); }, 10000));
        QVERIFY(TestKit::retireWorker(worker.data()));
        QVERIFY(waitUntil([&] { return sim->commands().contains("STOP X") && sim->commands().contains("STOP Y"); }));
        QVERIFY(waitUntil([&] { return reports->has(74, "一键标定+复测 stopped"); })); // its last report
        const int logs = reports->logs.size();
        const int cmds = sim->commands().size();
        QTest::qWait(300);
        QCOMPARE(reports->logs.size(), logs);
        QCOMPARE(sim->commands().size(), cmds);
        // cleanup() retires again: make a fresh worker for it.
        auto *nw = new Workerthread_turn_table_TQ(sim->portPath(), QString());
        delete reports;
        reports = new Reports(nw);
        worker = startWorkerThread<WorkerThread_turn_table>(nw, &WorkerThread_turn_table::openSerialConnected);
        QVERIFY(waitUntil([&] { return reports->connected == 1; }));
    }

    void theCreatorChoosesTheFamilyByTheTurntableType()
    {
        getSettings()->setValue("turnTableType/type", 4);
        WorkerThread_turn_table *w = createWorker_turn_table("/nonexistent/port", "x");
        QVERIFY(dynamic_cast<Workerthread_turn_table_brint_hotheat *>(w));
        QCOMPARE(w->tag(), QString("turntable2"));
        QPointer<WorkerThread_turn_table> p = w;
        Reports r(w);
        QVERIFY(waitUntil([&] { return r.connected == 0; }));
        QMetaObject::invokeMethod(w, "deleteObjAndNewNext", Qt::QueuedConnection);
        QVERIFY(waitUntil([&] { return p.isNull(); }));
        getSettings()->remove("turnTableType/type");
    }
};

QTEST_MAIN(TestTurntable)
#include "test_turntable.moc"

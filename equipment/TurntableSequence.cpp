#include "equipment/TurntableSequence.h"

#include <QCoreApplication>

#include <cmath>

#include "equipment/StationValues.h"

StepTimes StepTimes::current()
{
    StepTimes t;
    t.move = g_turn_table_move_time.load();
    t.acc = g_turn_table_acc_time.load();
    t.gyro = g_turn_table_gyro_time.load();
    t.gyroNonlinearity = g_turn_table_gyro_nonlinearity_time.load();
    t.accNonlinearity = g_turn_table_acc_nonlinearity_time.load();
    return t;
}

namespace {
constexpr double kPositionRate = 20;   // deg/s for every positioning move
constexpr double kPositionTolerance = 0.05;
constexpr int kSilentSeconds = 3;
// Status frames come and go through event loops: however short a run second is made, a
// controller counts as silent only after a full second of the worker's time without one.
constexpr qint64 kSilentFloorMs = 1000;

class Builder {
public:
    explicit Builder(const StepTimes &t) : t(t) {}
    void report(uint8_t code, const QString &text)
    {
        SeqAction a;
        a.kind = SeqAction::Report;
        a.code = code;
        a.text = text;
        actions << a;
    }
    void move(double inner, double outer)
    {
        SeqAction a;
        a.kind = SeqAction::Move;
        a.inner = inner;
        a.outer = outer;
        a.rate = kPositionRate;
        actions << a;
    }
    void spin(TurntableAxis axis, double rate)
    {
        SeqAction a;
        a.kind = SeqAction::Spin;
        a.axis = axis;
        a.inner = rate;
        actions << a;
    }
    void hold(int seconds)
    {
        SeqAction a;
        a.kind = SeqAction::Hold;
        a.seconds = seconds;
        actions << a;
    }
    void stopAll()
    {
        SeqAction a;
        a.kind = SeqAction::StopAll;
        actions << a;
    }
    // A stage: progress line, then the plates' command code (0: none) once the table is in place.
    void stageStart(uint8_t plateCode, const char *name)
    {
        move(0, 0);
        const QString shown = QCoreApplication::translate("TurntableSequence", name);
        report(74, QCoreApplication::translate("TurntableSequence", "%1 started").arg(shown));
        if (plateCode)
            report(plateCode, shown);
    }
    void accStage(uint8_t code, const char *name)
    {
        stageStart(code, name);
        static const double pos[6][2] = {{0, 0}, {180, 0}, {90, 0}, {270, 0}, {0, 90}, {0, 270}};
        for (const auto &p : pos) {
            move(p[0], p[1]);
            hold(t.acc);
        }
    }
    void gyroStage(uint8_t code, const char *name, double rate)
    {
        stageStart(code, name);
        for (TurntableAxis axis : {TurntableAxis::Inner, TurntableAxis::Outer}) {
            spin(axis, rate);
            hold(t.gyro);
            spin(axis, -rate);
            hold(t.gyro);
            stopAll();
        }
        move(0, 0);
    }
    void gyroNonlinearityStage(uint8_t code, const char *name)
    {
        stageStart(code, name);
        for (double rate : {50.0, 200.0, 400.0}) {
            spin(TurntableAxis::Inner, rate);
            hold(t.gyroNonlinearity);
        }
        stopAll();
        move(0, 0);
    }
    void accNonlinearityStage(uint8_t code, const char *name)
    {
        stageStart(code, name);
        static const double pos[4][2] = {{30, 0}, {60, 0}, {0, 30}, {0, 60}};
        for (const auto &p : pos) {
            move(p[0], p[1]);
            hold(t.accNonlinearity);
        }
        move(0, 0);
    }
    void scaleFactorStage()
    {
        stageStart(0, QT_TRANSLATE_NOOP("TurntableSequence", "Scale-factor test"));
        for (TurntableAxis axis : {TurntableAxis::Inner, TurntableAxis::Outer})
            for (double rate : {50.0, -50.0, 100.0, -100.0, 200.0, -200.0, 300.0, -300.0}) {
                spin(axis, rate);
                hold(t.gyro);
            }
        stopAll();
        move(0, 0);
    }

    const StepTimes &t;
    QList<SeqAction> actions;
};

const char kAccCal[] = QT_TRANSLATE_NOOP("TurntableSequence", "Accelerometer calibration");
const char kGyroCal[] = QT_TRANSLATE_NOOP("TurntableSequence", "Gyro calibration");
const char kGyroNlCal[] = QT_TRANSLATE_NOOP("TurntableSequence", "Gyro nonlinearity calibration");
const char kAccNlCal[] = QT_TRANSLATE_NOOP("TurntableSequence", "Accelerometer nonlinearity calibration");
const char kAccRe[] = QT_TRANSLATE_NOOP("TurntableSequence", "Accelerometer retest");
const char kGyroRe[] = QT_TRANSLATE_NOOP("TurntableSequence", "Gyro retest");
const char kGyroNlRe[] = QT_TRANSLATE_NOOP("TurntableSequence", "Gyro nonlinearity retest");
const char kAccNlRe[] = QT_TRANSLATE_NOOP("TurntableSequence", "Accelerometer nonlinearity retest");
} // namespace

namespace SequencePlans {

SequencePlan forCommonCmd(uint8_t code, bool normalTest, const StepTimes &t)
{
    Builder b(t);
    SequencePlan plan;
    switch (code) {
    case 1:
        plan.name = QCoreApplication::translate("MultiCalib", "一键转台测试");
        b.accStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Turntable position test"));
        b.gyroStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Turntable rate test"), 100);
        break;
    case 2:
        plan.name = QCoreApplication::translate("MultiCalib", "一键标定+复测");
        plan.endWith62 = true;
        b.accStage(46, kAccCal);
        b.gyroStage(47, kGyroCal, 100);
        if (normalTest) {
            b.gyroNonlinearityStage(50, kGyroNlCal);
            b.accNonlinearityStage(51, kAccNlCal);
        }
        b.accStage(65, kAccRe);
        if (normalTest)
            b.accNonlinearityStage(68, kAccNlRe);
        b.gyroStage(66, kGyroRe, 100);
        if (normalTest)
            b.gyroNonlinearityStage(67, kGyroNlRe);
        break;
    case 3:
        plan.name = QCoreApplication::translate("MultiCalib", "一键转台标定");
        plan.endWith62 = true;
        b.accStage(46, kAccCal);
        b.gyroStage(47, kGyroCal, 100);
        b.gyroNonlinearityStage(50, kGyroNlCal);
        b.accNonlinearityStage(51, kAccNlCal);
        break;
    case 4:
        plan.name = QCoreApplication::translate("MultiCalib", "一键转台复测");
        b.accStage(65, kAccRe);
        b.accNonlinearityStage(68, kAccNlRe);
        b.gyroStage(66, kGyroRe, 100);
        b.gyroNonlinearityStage(67, kGyroNlRe);
        break;
    case 5:
        plan.name = QCoreApplication::translate("MultiCalib", "标度因子测试");
        b.scaleFactorStage();
        break;
    case 6:
        plan.name = QCoreApplication::translate("MultiCalib", "加速度计+陀螺仪标定");
        b.accStage(46, kAccCal);
        b.gyroStage(47, kGyroCal, 100);
        break;
    case 7:
        plan.name = QCoreApplication::translate("MultiCalib", "加速度计+陀螺仪复测");
        b.accStage(65, kAccRe);
        b.gyroStage(66, kGyroRe, 100);
        break;
    case 8: plan.name = QCoreApplication::translate("MultiCalib", "陀螺非线性标定"); b.gyroNonlinearityStage(50, kGyroNlCal); break;
    case 9: plan.name = QCoreApplication::translate("MultiCalib", "陀螺非线性复测"); b.gyroNonlinearityStage(67, kGyroNlRe); break;
    case 10: plan.name = QCoreApplication::translate("MultiCalib", "加表非线性标定"); b.accNonlinearityStage(51, kAccNlCal); break;
    case 11: plan.name = QCoreApplication::translate("MultiCalib", "加表非线性复测"); b.accNonlinearityStage(68, kAccNlRe); break;
    case 12: case 13: case 14: case 15: {
        static const double pos[4][2] = {{0, 0}, {180, 0}, {90, 0}, {0, 90}};
        plan.name = QCoreApplication::translate("MultiCalib", "G-value position %1").arg(code - 11);
        b.move(pos[code - 12][0], pos[code - 12][1]);
        break;
    }
    case 16: plan.name = QCoreApplication::translate("MultiCalib", "Accelerometer calibration"); b.accStage(46, kAccCal); break;
    case 17: plan.name = QCoreApplication::translate("MultiCalib", "Gyro calibration"); b.gyroStage(47, kGyroCal, 100); break;
    default:
        return {};
    }
    plan.actions = b.actions;
    plan.commonCode = code;
    return plan;
}

SequencePlan forRotation(uint8_t advancedType, const StepTimes &t)
{
    if (advancedType < 1 || advancedType > 3)
        return {};
    Builder b(t);
    SequencePlan plan;
    plan.name = QCoreApplication::translate("MultiCalib", "Constant-temperature rotation");
    b.gyroStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Automatic gyro sequence"), 60);
    b.accStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Automatic accelerometer sequence"));
    if (advancedType == 2) {
        b.gyroNonlinearityStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Advanced gyro nonlinearity sequence"));
        b.accNonlinearityStage(0, QT_TRANSLATE_NOOP("TurntableSequence", "Advanced accelerometer nonlinearity sequence"));
    }
    plan.actions = b.actions;
    return plan;
}

QList<int> reportCodes(const SequencePlan &plan)
{
    QList<int> codes;
    for (const SeqAction &a : plan.actions)
        if (a.kind == SeqAction::Report && a.code != 74)
            codes << a.code;
    if (plan.endWith62)
        codes << 62;
    return codes;
}

int expectedSeconds(const SequencePlan &plan, const StepTimes &t)
{
    int s = 0;
    for (const SeqAction &a : plan.actions) {
        if (a.kind == SeqAction::Hold)
            s += a.seconds;
        else if (a.kind == SeqAction::Move)
            s += t.move;
    }
    return s;
}
} // namespace SequencePlans

void TurntableSequence::start(const SequencePlan &plan, const StepTimes &times, int msPerSecond, qint64 nowMs)
{
    m_plan = plan;
    m_times = times;
    m_msPerSecond = msPerSecond;
    m_index = 0;
    m_waiting = false;
    m_startMs = m_stepStartMs = nowMs;
    m_totalSeconds = SequencePlans::expectedSeconds(plan, times);
    m_outcome = plan.isEmpty() ? SequenceOutcome::Done : SequenceOutcome::Running;
    m_failure.clear();
}

void TurntableSequence::stop()
{
    if (m_outcome == SequenceOutcome::Running)
        m_outcome = SequenceOutcome::Stopped;
}

int TurntableSequence::remainingSeconds(qint64 nowMs) const
{
    const int elapsed = int((nowMs - m_startMs) / qMax(1, m_msPerSecond));
    return qMax(0, m_totalSeconds - elapsed);
}

bool TurntableSequence::axisReached(const AxisStatus &s, double target) const
{
    if (!(s.status & TurntableStatusBit::InPosition) || (s.status & TurntableStatusBit::Moving))
        return false;
    double d = std::fmod(std::fabs(s.position - target), 360.0);
    d = std::min(d, 360.0 - d);
    return d < kPositionTolerance;
}

SequenceOutcome TurntableSequence::advance(qint64 nowMs, const AxisStatus &inner, const AxisStatus &outer,
                                           qint64 statusAtMs, const Apply &apply)
{
    if (m_outcome != SequenceOutcome::Running)
        return m_outcome;
    const auto fail = [this](const QString &why) {
        m_failure = why;
        m_outcome = SequenceOutcome::Failed;
        return m_outcome;
    };
    if (nowMs - qMax(statusAtMs, m_startMs) > qMax(kSilentFloorMs, qint64(kSilentSeconds) * m_msPerSecond))
        return fail(QCoreApplication::translate("MultiCalib", "转台无响应，取消标定!"));
    if (statusAtMs >= m_startMs
        && ((inner.status | outer.status) & TurntableStatusBit::TrackingFault))
        return fail(QCoreApplication::translate("MultiCalib", "转台跟踪异常，取消标定!"));
    while (m_index < m_plan.actions.size()) {
        const SeqAction &a = m_plan.actions[m_index];
        switch (a.kind) {
        case SeqAction::Report:
        case SeqAction::Spin:
        case SeqAction::StopAll:
            apply(a);
            ++m_index;
            continue;
        case SeqAction::Move:
            if (!m_waiting) {
                apply(a);
                m_waiting = true;
                m_stepStartMs = nowMs;
                return m_outcome;
            }
            if (statusAtMs > m_stepStartMs && axisReached(inner, a.inner) && axisReached(outer, a.outer)) {
                m_waiting = false;
                ++m_index;
                continue;
            }
            if (nowMs - m_stepStartMs > qint64(qMax(1, m_times.move)) * m_msPerSecond)
                return fail(QCoreApplication::translate("MultiCalib", "转台跟踪异常，取消标定!"));
            return m_outcome;
        case SeqAction::Hold:
            if (!m_waiting) {
                m_waiting = true;
                m_stepStartMs = nowMs;
                return m_outcome;
            }
            if (nowMs - m_stepStartMs >= qint64(a.seconds) * m_msPerSecond) {
                m_waiting = false;
                ++m_index;
                continue;
            }
            return m_outcome;
        }
    }
    m_outcome = SequenceOutcome::Done;
    return m_outcome;
}

#include "station/TempScript.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace TempScript {
namespace {
// Cut toward zero into a u32; a value that is not finite or is negative gives 0, so a zero
// rate in the settings cannot turn the estimate into an undefined conversion.
uint32_t cut(double v)
{
    if (!std::isfinite(v) || v <= 0.0)
        return 0;
    if (v >= 4294967295.0)
        return 4294967295u;
    return uint32_t(v);
}
// x / rate * 60, with a rate that is zero or negative contributing nothing.
double perMinute(double x, double rate) { return rate > 0.0 ? x / rate * 60.0 : 0.0; }

uint32_t leadSeconds(const ChamberScriptState &s)
{
    return cut(perMinute(std::fabs(double(s.t0) - s.startTemp), s.fallRate));
}
double delta(const ChamberScriptState &s) { return double(s.stopTemp - s.startTemp); }

uint32_t elapsedAtSoakStart(const ChamberScriptState &s)
{
    return cut(perMinute(std::fabs(double(s.t0) - s.startTemp), s.fallRate) + double(s.cycleSeconds) * s.step);
}
uint32_t elapsedAtRampToStop(const ChamberScriptState &s)
{
    return cut(perMinute(std::fabs(double(s.t0) - s.startTemp), s.fallRate) + double(s.cycleSeconds) * s.step +
               s.startSoak * 60.0);
}
uint32_t elapsedAtStopSoak(const ChamberScriptState &s)
{
    return cut(double(elapsedAtRampToStop(s)) + perMinute(delta(s), s.rampSlope));
}
bool reached(double tc, int target) { return std::fabs(tc - target) <= 1.0; }
ScriptAction act(ScriptAction::Kind k, int v = 0, const QString &t = QString()) { return ScriptAction{k, v, t}; }
ScriptAction debug(const QString &t) { return act(ScriptAction::Debug, 0, t); }
ScriptAction status(const QString &t) { return act(ScriptAction::Status, 0, t); }

// Into the go-to-25 phase after the last step.
void toRoom(ChamberScriptState &s, QVector<ScriptAction> &out)
{
    // The last stop soak has ended: the results are posted now, before the way back to 25 degC
    // and its hold, which a stop may cut short.
    out << act(ScriptAction::Post);
    out << act(ScriptAction::UserTarget, 0, "25");
    s.phase = ChamberScriptPhase::GoRoom;
    out << act(ScriptAction::SetTarget, 25) << status(QCoreApplication::translate("MultiCalib", "Set temperature: 25"));
    s.step = 2;
}
} // namespace

const std::array<ParamKey, 6> &paramKeys()
{
    static const std::array<ParamKey, 6> keys{{{"main_index/WENXIANG_LOOPS", "2"},
                                               {"main_index/WENXIANG_START_TEMP", "-40"},
                                               {"main_index/WENXIANG_START_BAOWEN_TIME", "30"},
                                               {"main_index/WENXIANG_STOP_TEMP", "85"},
                                               {"main_index/WENXIANG_STOP_BAOWEN_TIME", "30"},
                                               {"main_index/WENXIANG_TEMP_SLOPE", "1"}}};
    return keys;
}

ChamberScriptParams parseParams(const QStringList &texts)
{
    auto num = [&](int i) { return i < texts.size() ? texts[i].trimmed().toInt(nullptr, 10) : 0; };
    ChamberScriptParams p;
    p.loops = num(0);
    p.startTemp = num(1);
    p.startSoakMin = num(2);
    p.stopTemp = num(3);
    p.stopSoakMin = num(4);
    p.slope = float(num(5));
    return p;
}

ParamCheck checkParams(const QStringList &texts)
{
    struct Field {
        const char *name;
        int min, max;
    };
    // In the order of the edits; the names as the chamber page labels them.
    static const Field fields[6] = {
        {QT_TRANSLATE_NOOP("TempScript", "Loops (循环次数)"), 1, 1000},
        {QT_TRANSLATE_NOOP("TempScript", "Start temperature (起始温度)"), kChamberMinC, kChamberMaxC},
        {QT_TRANSLATE_NOOP("TempScript", "Start soak minutes (达到起始温度后停留)"), 0, 10000},
        {QT_TRANSLATE_NOOP("TempScript", "Stop temperature (停止温度)"), kChamberMinC, kChamberMaxC},
        {QT_TRANSLATE_NOOP("TempScript", "Stop soak minutes (达到停止温度后停留)"), 0, 10000},
        {QT_TRANSLATE_NOOP("TempScript", "Temperature slope (温度斜率)"), 1, 255},
    };
    ParamCheck c;
    int values[6] = {};
    for (int i = 0; i < 6; ++i) {
        const QString text = i < texts.size() ? texts[i].trimmed() : QString();
        bool ok = false;
        values[i] = text.toInt(&ok, 10);
        if (!ok || values[i] < fields[i].min || values[i] > fields[i].max) {
            c.problem = QCoreApplication::translate("TempScript", "%1: \"%2\" is not a whole number from %3 to %4")
                            .arg(QCoreApplication::translate("TempScript", fields[i].name), text)
                            .arg(fields[i].min)
                            .arg(fields[i].max);
            return c;
        }
    }
    c.params = parseParams(texts);
    c.ok = true;
    return c;
}

ChamberScriptState startState(const ChamberScriptParams &p, uint32_t firstStep, float t0, float fallRate)
{
    ChamberScriptState s;
    s.step = firstStep;
    s.loops = p.loops;
    s.startTemp = p.startTemp;
    s.stopTemp = p.stopTemp;
    s.startSoak = p.startSoakMin;
    s.stopSoak = p.stopSoakMin;
    s.rampSlope = p.slope;
    s.t0 = t0;
    s.fallRate = fallRate;
    return s;
}

void estimateTotal(ChamberScriptState &s)
{
    const double d = delta(s);
    auto cycle = [&](double x, double lastFall) {
        return cut(double(cut(x + s.startSoak * 60.0 + perMinute(d, s.rampSlope))) + s.stopSoak * 60.0 +
                   perMinute(lastFall, s.fallRate));
    };
    s.cycleSeconds = cycle(0.0, d);
    uint32_t x = leadSeconds(s);
    for (int i = 0; i < s.loops - 1; ++i)
        x = cycle(x, d);
    x = cycle(x, double(s.stopTemp - 25));
    s.totalEstimate = x + 1800;
}

QString hoursMinutes(uint32_t seconds)
{
    return QCoreApplication::translate("TempScript", "%1 hours %2 minutes").arg(seconds / 3600).arg((seconds % 3600) / 60);
}

QString stepText(uint32_t step)
{
    if (step == 0)
        return QCoreApplication::translate("TempScript", "Temperature compensation");
    if (step == 1)
        return QCoreApplication::translate("TempScript", "Retest");
    return QString::number(step);
}

bool loopsReachable(int loops, uint32_t firstStep) { return loops > int(firstStep); }

void countTick(ChamberScriptState &s)
{
    ++s.secondsInPhase;
    ++s.elapsedEstimate;
    ++s.runSeconds;
}

QVector<ScriptAction> tick(ChamberScriptState &s, double tc, bool cycling, bool earlyEndReady)
{
    countTick(s);
    return phaseTick(s, tc, cycling, [earlyEndReady] { return earlyEndReady; });
}

QVector<ScriptAction> earlyEnd(ChamberScriptState &s, bool cycling)
{
    QVector<ScriptAction> out;
    out << debug("每个IMU模块都达到温度" + QString::number(s.stopTemp) + "发送结束命令")
        << act(ScriptAction::Log, 0,
               QCoreApplication::translate("TempScript", "Stop soak ended early: every live IMU passed %1 °C").arg(s.stopTemp))
        << act(ScriptAction::SetSlope, kFastSlope);
    if (!cycling)
        out << act(ScriptAction::DcCode, s.step % 2 == 0 ? 56003 : 58003);
    s.phase = ChamberScriptPhase::GoStart;
    s.secondsInPhase = 0;
    ++s.step;
    if (int(s.step) == s.loops)
        toRoom(s, out);
    return out;
}

QVector<ScriptAction> phaseTick(ChamberScriptState &s, double tc, bool cycling, const std::function<bool()> &earlyEndReady)
{
    QVector<ScriptAction> out;
    const bool even = s.step % 2 == 0;
    const QString start = QString::number(s.startTemp), stop = QString::number(s.stopTemp);

    if (s.phase == ChamberScriptPhase::GoStart) {
        if (s.secondsInPhase == 2) {
            out << act(ScriptAction::SetSlope, kFastSlope) << status(QCoreApplication::translate("MultiCalib", "Go to:%1").arg(start)) << act(ScriptAction::UserTarget, 0, start)
                << act(ScriptAction::SetTarget, s.startTemp);
        }
        if (reached(tc, s.startTemp)) {
            s.phase = ChamberScriptPhase::SoakStart;
            s.secondsInPhase = 0;
            s.elapsedEstimate = elapsedAtSoakStart(s);
            out << debug("开始保温:" + start);
            if (!cycling)
                out << act(ScriptAction::DcCode, even ? 56001 : 58001);
        }
    }
    if (s.phase == ChamberScriptPhase::SoakStart) {
        const int left = s.startSoak * 60 - int(s.secondsInPhase);
        out << status(QCoreApplication::translate("MultiCalib", "Insulation:%1。剩余：%2s").arg(start).arg(left));
        if (left <= 0) {
            out << debug("保温结束:" + start) << status(QCoreApplication::translate("MultiCalib", "End of insulation:%1").arg(start));
            s.phase = ChamberScriptPhase::GoStop;
            s.secondsInPhase = 0;
            s.elapsedEstimate = elapsedAtRampToStop(s);
            out << act(ScriptAction::ClearTables);
            if (!cycling)
                out << act(ScriptAction::DcCode, even ? 56001 : 58001);
        }
    }
    if (s.phase == ChamberScriptPhase::GoStop) {
        if (s.secondsInPhase == 2) {
            out << status(QCoreApplication::translate("MultiCalib", "Go to:%1").arg(stop)) << act(ScriptAction::UserTarget, 0, stop);
            if (!cycling)
                out << act(ScriptAction::SetSlope, int(stopRampSlope(s, cycling)));
            out << act(ScriptAction::SetTarget, s.stopTemp) << debug("前往：" + stop);
        }
        if (reached(tc, s.stopTemp)) {
            s.phase = ChamberScriptPhase::SoakStop;
            s.secondsInPhase = 0;
            s.elapsedEstimate = elapsedAtStopSoak(s);
            out << debug("达到温度" + stop + ",开始保温");
        }
    }
    if (s.phase == ChamberScriptPhase::SoakStop) {
        const int left = s.stopSoak * 60 - int(s.secondsInPhase);
        out << status(QCoreApplication::translate("MultiCalib", "Insulation:%1。剩余：%2s").arg(stop).arg(left));
        // A bare temperature cycle sends the IMUs no stage: whatever stage they show is left
        // from an earlier run, so its soak always runs its full time.
        if (!cycling && earlyEndReady()) {
            // Only one of the early end and the soak end acts in a tick.
            out += earlyEnd(s, cycling);
        } else if (left <= 0) {
            out << status(QCoreApplication::translate("MultiCalib", "End of insulation:%1").arg(stop)) << debug("保温结束：" + stop) << act(ScriptAction::SetSlope, kFastSlope);
            if (!cycling)
                out << act(ScriptAction::DcCode, even ? 56003 : 58003);
            const uint32_t elapsed = elapsedAtStopSoak(s) + uint32_t(s.stopSoak * 60);
            s.phase = ChamberScriptPhase::GoStart;
            s.secondsInPhase = 0;
            s.elapsedEstimate = elapsed;
            ++s.step;
            if (int(s.step) != s.loops)
                return out;
            out << debug("设定温度:25");
            toRoom(s, out);
        }
    }
    if (s.phase == ChamberScriptPhase::GoRoom && reached(tc, 25)) {
        out << debug("保温温度:25") << status(QCoreApplication::translate("MultiCalib", "Insulation temperature: 25"));
        s.phase = ChamberScriptPhase::HoldRoom;
        s.secondsInPhase = 0;
    }
    if (s.phase == ChamberScriptPhase::HoldRoom) {
        const int left = 1800 - int(s.secondsInPhase);
        out << status(QCoreApplication::translate("MultiCalib", "Insulation: 25. Remaining time:%1s").arg(left));
        if (left <= 0) {
            s.elapsedEstimate = s.totalEstimate;
            out << act(ScriptAction::Finish);
        }
    }
    return out;
}

std::pair<int, int> firstUninstalledImu(const RackView &r)
{
    for (int p = 0; p < 16; ++p) {
        if (!r.linkOpen[size_t(p)] || !r.reported[size_t(p)])
            continue;
        for (int i = 0; i < 32; ++i)
            if (r.firstField[size_t(p)][size_t(i)] == 0 && !r.shielded[size_t(p)][size_t(i)])
                return {p + 1, i + 1};
    }
    return {0, 0};
}

bool inStepStage(uint32_t status, uint32_t step)
{
    const uint32_t first = step % 2 == 0 ? 56001 : 58001;
    return status >= first && status <= first + 2;
}

bool imusReachedStop(const RackView &r, bool baseBoardLink, const ChamberScriptState &s)
{
    if (baseBoardLink || s.stopTemp == s.startTemp)
        return false;
    const bool heating = s.stopTemp > s.startTemp;
    bool anyLive = false;
    for (int p = 0; p < 16; ++p) {
        if (!r.linkOpen[size_t(p)])
            continue;
        for (int i = 0; i < 32; ++i) {
            if (r.firstField[size_t(p)][size_t(i)] == 0 || r.shielded[size_t(p)][size_t(i)])
                continue;
            const double t = double(r.temp[size_t(p)][size_t(i)]);
            // Only a number passes the stop temperature: NaN and the infinities a broken
            // sensor sends hold the early end back.
            const bool passed = std::isfinite(t) && (heating ? t > s.stopTemp : t < s.stopTemp);
            if (!inStepStage(r.status[size_t(p)][size_t(i)], s.step) || !passed)
                return false;
            anyLive = true;
        }
    }
    return anyLive;
}

namespace {
constexpr double kRampMarginS = 1800; // half an hour over twice the expected time
}


uint8_t stopRampSlope(const ChamberScriptState &s, bool cycling)
{
    if (cycling)
        return kFastSlope; // a bare cycle keeps the rate set on the way to the start temperature
    return s.step % 2 == 0 ? kCompensationSlope : kRetestSlope;
}

RampBound rampBound(const ChamberScriptState &s, bool cycling)
{
    const double fromStart = std::max(std::fabs(double(s.t0) - s.startTemp), std::fabs(delta(s)));
    RampBound b;
    double span = 0;
    double told = kFastSlope;
    switch (s.phase) {
    case ChamberScriptPhase::GoStart:
        b.target = s.startTemp;
        span = fromStart;
        break;
    case ChamberScriptPhase::GoStop:
        b.target = s.stopTemp;
        span = std::fabs(delta(s));
        told = stopRampSlope(s, cycling);
        break;
    case ChamberScriptPhase::GoRoom:
        b.target = 25;
        span = std::max(std::fabs(double(s.stopTemp) - 25), std::fabs(double(s.startTemp) - 25));
        break;
    default:
        return b;
    }
    b.seconds = rampBoundSeconds(span, rampRate(told, s.fallRate));
    return b;
}

double rampRate(double told, double chamberRate)
{
    return chamberRate > 0 ? std::min(told, chamberRate) : told;
}

uint32_t rampBoundSeconds(double span, double ratePerMinute)
{
    // A ramp from no temperature (NaN) is bounded as the widest the chamber can go: cut would
    // make its bound 0, which is no bound at all.
    if (!std::isfinite(span))
        span = kChamberMaxC - kChamberMinC;
    return cut(2 * perMinute(std::fabs(span), ratePerMinute) + kRampMarginS);
}
} // namespace TempScript

#include "station/AdvancedCalibPlan.h"

#include <cmath>

namespace AdvancedCalib {

Tables calibTables(int turnTableType)
{
    Tables t;
    t.stepTemps = {80, 60, 40, 20, 0, -20, -40};
    t.overTemps = {turnTableType == 4 ? 100.0f : 80.0f, 50, 30, 10, -10, -30, -40};
    return t;
}

Tables retestTables()
{
    Tables t;
    t.stepTemps = {-30, -10, 10, 30, 50, 70, 85};
    t.overTemps = {-30, 0, 20, 40, 60, 80, 85};
    return t;
}

uint32_t keepHeatSeconds(int step, uint8_t type)
{
    if (step != 0)
        return 600;
    return type == RetestOnly ? 120 : 1800;
}

int keepHeatMinutes(int step, uint8_t type)
{
    if (step != 0)
        return 10;
    return type == RetestOnly ? 2 : 30;
}

uint32_t turntableCalibTime(uint8_t move, uint8_t gyro, uint8_t acc)
{
    const uint32_t m = move + 1u, g = gyro + 1u, a = acc + 1u;
    return 21 * m + 6 * g + 12 * a;
}

uint32_t turntableRetestTime(uint8_t move, uint8_t gyro, uint8_t acc, uint8_t gyroNonlin, uint8_t accNonlin)
{
    const uint32_t m = move + 1u, g = gyro + 1u, a = acc + 1u;
    return 53 * m + 6 * g + 12 * a + 24u * gyroNonlin + 44 + 26 * (accNonlin + 1u);
}

uint32_t totalEstimate(uint8_t type, uint32_t calibTime, uint32_t retestTime)
{
    switch (type) {
    case CalibOnly: return 19680 + 7 * calibTime;
    case RetestOnly: return 19680 + 7 * retestTime;
    case CalibThenRetest: return 38280 + 7 * (calibTime + retestTime);
    default: return 0;
    }
}

QString temp(double t) { return QString::number(t, 'g', 6); }

void load(RunState &s, const Tables &t)
{
    s.stepTemps = t.stepTemps;
    s.overTemps = t.overTemps;
}

void begin(RunState &s)
{
    s.step = 0;
    s.running = 1;
    s.phase = 0;
    s.busy = false;
}

QVector<Action> tick(RunState &s, double tc, uint32_t now, uint8_t type)
{
    QVector<Action> out;
    s.now = now;
    if (!s.running)
        return out;
    ++s.runSeconds;
    if (s.busy || s.step >= kSteps)
        return out;
    const size_t k = s.step;
    const double t2 = s.overTemps[k], t1 = s.stepTemps[k];
    const QString m = QString::number(keepHeatMinutes(s.step, type));
    const uint32_t soak = keepHeatSeconds(s.step, type);
    // On reaching a target: note the arrival, announce the soak, go to the soak phase.
    auto arrive = [&](double target, uint32_t &arrival, const char *prefix) {
        if (!(std::fabs(tc - target) <= 1.0)) // no temperature (NaN) reaches nothing
            return;
        arrival = s.now;
        out.append({Action::Log, 0,
                    prefix + temp(target) + "degrees,Current temperature:" + temp(tc) + "degrees,Start insulation for" +
                        m + "minutes."});
        ++s.phase;
    };
    switch (s.phase) {
    case 0:
        arrive(t2, s.overArrival[k], "Overdue control reaches ");
        break;
    case 1:
        if (s.now - s.overArrival[k] >= soak) {
            out.append({Action::Log, 0,
                        "Advance control " + temp(t2) + "degrees,End of insulation for" + m + "minutes" +
                            ",Current temperature:" + temp(tc) + "degrees."});
            out.append({Action::SetTarget, int(t1), QString()});
            out.append({Action::Log, 0, "Go to " + temp(t1) + "degrees."});
            s.phase = 2;
        }
        break;
    case 2:
        arrive(t1, s.stepArrival[k], "Reaching");
        break;
    case 3:
        if (s.now - s.stepArrival[k] >= soak) {
            out.append({Action::Log, 0,
                        temp(t1) + "degrees insulation for " + m + "minutes ends" + ",Current temperature:" +
                            temp(tc) + "degrees."});
            out.append({Action::Rotate, 0, QString()});
            s.busy = true; // one rotation per step: later ticks wait for it
        }
        break;
    default: break;
    }
    return out;
}

StepEnd rotationDone(RunState &s, uint8_t type)
{
    ++s.step;
    s.phase = 0;
    if (s.step < kSteps) {
        s.busy = false;
        return StepEnd::NextStep;
    }
    // Past the last entry: the tables are not read again until begin() loads new ones.
    s.step = kSteps;
    if (type == CalibThenRetest)
        return StepEnd::SwitchToRetest;
    s.running = 0;
    return type == RetestOnly ? StepEnd::RetestDone : StepEnd::CalibDone;
}
} // namespace AdvancedCalib

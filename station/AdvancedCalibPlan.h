#pragma once
// The advanced chamber-turntable run without widgets: the two seven-step temperature tables,
// the soak times, the run-time estimate and the per-tick phase machine. The console feeds it
// the chamber temperature and the time each tick and carries out what it returns.
#include <QString>
#include <QVector>

#include <array>
#include <cstdint>

namespace AdvancedCalib {
constexpr int kSteps = 7;

enum Type : uint8_t { None = 0, CalibOnly = 1, RetestOnly = 2, CalibThenRetest = 3 };

struct Tables {
    std::array<float, kSteps> stepTemps{};
    std::array<float, kSteps> overTemps{};
};
// Calibration tables; the first over-control temperature is 100 on turntable type 4.
Tables calibTables(int turnTableType);
Tables retestTables();

// Soak in seconds and as announced in minutes.
uint32_t keepHeatSeconds(int step, uint8_t type);
int keepHeatMinutes(int step, uint8_t type);

// Turntable time of one step (seconds), from the settings waits.
uint32_t turntableCalibTime(uint8_t move, uint8_t gyro, uint8_t acc);
uint32_t turntableRetestTime(uint8_t move, uint8_t gyro, uint8_t acc, uint8_t gyroNonlin, uint8_t accNonlin);
// Whole-run estimate of a run of the given type.
uint32_t totalEstimate(uint8_t type, uint32_t calibTime, uint32_t retestTime);

// Temperature with up to six significant digits, as the log writes it.
QString temp(double t);

struct RunState {
    uint8_t phase = 0; // 0 over-control, 1 soak there, 2 step temperature, 3 soak and rotate
    uint8_t step = 0;
    uint8_t running = 0;
    uint32_t now = 0;
    std::array<uint32_t, kSteps> overArrival{};
    std::array<uint32_t, kSteps> stepArrival{};
    std::array<float, kSteps> stepTemps{};
    std::array<float, kSteps> overTemps{};
    uint32_t runSeconds = 0;
    // A rotation or a step-end sequence is under way: ticks count time but do not act.
    bool busy = false;
};

struct Action {
    enum Kind {
        Log,       // log_heatBox(text)
        SetTarget, // hothouse_set_target_temp(value)
        Rotate,    // signal_turnTable_constant_heat_rotate, then wait for the rotation
    };
    Kind kind;
    int value = 0;
    QString text;
};

// Takes a pair of tables for the next start.
void load(RunState &s, const Tables &t);
// Restart at step 0, phase 0 (running set).
void begin(RunState &s);
// One tick: refreshes now, counts the run second and acts on the phase.
QVector<Action> tick(RunState &s, double tc, uint32_t now, uint8_t type);

// What follows a completed rotation.
enum class StepEnd {
    NextStep,      // set the next step's over-control temperature
    SwitchToRetest, // calibration half done: start the retest
    RetestDone,    // to 25 degC, chamber off, upload
    CalibDone,     // a calibration-only run after its seventh step
};
// Advances the step after the rotation and says what comes next (busy stays set for the
// end sequences; cleared for the next step).
StepEnd rotationDone(RunState &s, uint8_t type);
} // namespace AdvancedCalib

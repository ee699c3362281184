#pragma once
// The chamber temperature script without widgets: parameters, the run-time estimate, the
// one-second phase machine and the start and early-end checks over the IMU records. The console
// feeds it the chamber temperature each tick and carries out the actions it returns.
#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <functional>

enum class ChamberScriptPhase : uint8_t {
    GoStart = 0,  // go to the start temperature
    SoakStart = 1, // soak at the start temperature
    GoStop = 2,   // go to the stop temperature
    SoakStop = 3, // soak at the stop temperature
    GoRoom = 4,   // go to 25 degC
    HoldRoom = 5, // hold 25 degC
};

// Parameter texts of the automatic chamber page, in table order.
struct ChamberScriptParams {
    int loops = 2;
    int startTemp = -40;
    int startSoakMin = 60;
    int stopTemp = 85;
    int stopSoakMin = 60;
    float slope = 1.0f;
};

struct ChamberScriptState {
    ChamberScriptPhase phase = ChamberScriptPhase::GoStart;
    uint32_t secondsInPhase = 0;
    uint32_t step = 0; // even: compensation step, odd: retest step
    int32_t loops = 0;
    int32_t startTemp = 0, stopTemp = 0;
    int32_t startSoak = 0, stopSoak = 0; // minutes
    uint32_t runSeconds = 0;
    uint32_t totalEstimate = 0;
    uint32_t elapsedEstimate = 0;
    float t0 = 25.0f;       // chamber temperature at the start
    float fallRate = 2.0f;  // degC per minute
    float rampSlope = 1.0f; // degC per minute
    uint32_t cycleSeconds = 0;
};

// One thing the console must do for a tick, in order.
struct ScriptAction {
    enum Kind {
        SetSlope,      // emit hothouse_cmd_set_slope(value)
        SetTarget,     // emit hothouse_set_target_temp(value)
        DcCode,        // emit dc_control_cmd(value)
        Status,        // text of textEdit_hothouse_current_status
        UserTarget,    // text of textEdit_hothouse_user_temp_target
        Debug,         // a debug line
        Log,           // a line of the console's log window
        ClearTables,   // clear_calib_multi_table
        Post,          // the last measurement is in: the verdict flag and the upload
        Finish,        // the end of the run
    };
    Kind kind;
    int value = 0;
    QString text;
    bool operator==(const ScriptAction &o) const { return kind == o.kind && value == o.value && text == o.text; }
};

namespace TempScript {
// The six settings keys with their defaults, in the order of ChamberScriptParams.
struct ParamKey {
    const char *key;
    const char *defaultText;
};
const std::array<ParamKey, 6> &paramKeys();
// Texts in the same order -> numbers (whole numbers base 10; a text that is no number gives 0).
ChamberScriptParams parseParams(const QStringList &texts);

// What the chamber can be set to, whole degC (the script's start and stop temperatures).
constexpr int kChamberMinC = -70;
constexpr int kChamberMaxC = 150;
// The parameters checked before a start: every text a whole number within its field's range.
struct ParamCheck {
    bool ok = false;
    ChamberScriptParams params;
    QString problem; // names the field and says what is wrong; empty when ok
};
ParamCheck checkParams(const QStringList &texts);

// State at the start of a script (step 0 full script, 1 retest only).
ChamberScriptState startState(const ChamberScriptParams &p, uint32_t firstStep, float t0, float fallRate);
// Fills the total estimate and cycle seconds.
void estimateTotal(ChamberScriptState &s);
// "<H>hours<M>minutes".
QString hoursMinutes(uint32_t seconds);
// Text of the step display: "Temperature compensation", "Retest" or the number.
QString stepText(uint32_t step);

// A step count the counter can never reach from its first step repeats the steps for ever.
bool loopsReachable(int loops, uint32_t firstStep);

// First thing of a tick: seconds in phase, elapsed estimate and run seconds + 1.
void countTick(ChamberScriptState &s);
// The phase blocks of a tick, in order. tc is the chamber temperature, NaN while there is none
// (no temperature never reaches a target). earlyEndReady is asked in the stop soak only, before
// the soak-end test: whether every live IMU has passed the stop temperature.
QVector<ScriptAction> phaseTick(ChamberScriptState &s, double tc, bool cycling,
                                const std::function<bool()> &earlyEndReady);
// The early end of the stop soak (the next step, or the way to 25 degC after the last one).
QVector<ScriptAction> earlyEnd(ChamberScriptState &s, bool cycling);
// countTick and phaseTick with a fixed early-end answer.
QVector<ScriptAction> tick(ChamberScriptState &s, double tc, bool cycling, bool earlyEndReady);

// Snapshot of what the start and early-end checks read of the rack.
struct RackView {
    std::array<bool, 16> linkOpen{};
    std::array<bool, 16> reported{}; // the plate's link tag arrived
    std::array<std::array<uint32_t, 32>, 16> firstField{};
    std::array<std::array<float, 32>, 16> temp{};
    std::array<std::array<uint32_t, 32>, 16> status{};
    std::array<std::array<bool, 32>, 16> shielded{};
};
// First IMU (1-based plate, IMU) on an open, reporting plate that is neither installed nor
// shielded; {0, 0} when there is none.
std::pair<int, int> firstUninstalledImu(const RackView &r);
// The stage codes of a step's IMUs: 56001..56003 on a compensation (even) step, 58001..58003 on
// a retest (odd) step.
bool inStepStage(uint32_t status, uint32_t step);
// The early end of the stop soak: true only when at least one IMU is live (open plate, time
// stamp, not shielded) and every live IMU is in the step's stage and has passed the stop
// temperature in the direction the chamber moves (above it on a heating ramp, below it on a
// cooling ramp). Never with the base-board link up or a ramp of no height.
bool imusReachedStop(const RackView &r, bool baseBoardLink, const ChamberScriptState &s);

// The ramp rates the script tells the chamber, degC per minute: on the way to the start
// temperature and back to 25 degC, and on the way to the stop temperature of a compensation
// (even) or a retest (odd) step.
constexpr uint8_t kFastSlope = 10;
constexpr uint8_t kCompensationSlope = 2;
constexpr uint8_t kRetestSlope = 3;
// The rate told on the way to the stop temperature of the current step.
uint8_t stopRampSlope(const ChamberScriptState &s, bool cycling);

// The wait of a ramp phase for the chamber to come within 1 degC of its set point: the target
// and the longest the phase may take (seconds: the ramp's expected time twice over plus half an
// hour, at the rate the chamber was told for that ramp, or at the chamber's own rate where that
// is slower); seconds 0 outside a ramp phase.
struct RampBound {
    int target = 0;
    uint32_t seconds = 0;
};
RampBound rampBound(const ChamberScriptState &s, bool cycling = false);
// The rate a ramp is bounded at: the rate the chamber was told, or the chamber's own rate (the
// settings' cool-down rate) where that is slower.
double rampRate(double told, double chamberRate);
// That bound for a ramp of span degC at a rate in degC per minute.
uint32_t rampBoundSeconds(double span, double ratePerMinute);
} // namespace TempScript

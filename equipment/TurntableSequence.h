#pragma once
// The automatic turntable sequences as data and a state machine (Qt Core only): a plan is a list
// of actions (report, move both axes, spin an axis, hold, stop); advance() is called on every
// tick of the worker's timer with the latest controller status and hands the actions due to the
// worker. Motion waits are bounded by the station's move time; a tracking fault, a missed
// position or a silent controller fails the sequence.
#include <QList>
#include <QString>

#include <functional>

#include "equipment/TurntableController.h"

struct StepTimes {
    int move = 10, acc = 45, gyro = 45, gyroNonlinearity = 50, accNonlinearity = 45; // seconds
    // The station's current values (read from the shared settings values).
    static StepTimes current();
};

struct SeqAction {
    enum Kind { Report, Move, Spin, Hold, StopAll } kind = Report;
    uint8_t code = 0;      // Report
    QString text;          // Report
    double inner = 0;      // Move: inner position; Spin: rate
    double outer = 0;      // Move: outer position
    double rate = 0;       // Move: positioning rate
    TurntableAxis axis = TurntableAxis::Inner; // Spin
    int seconds = 0;       // Hold
};

struct SequencePlan {
    QString name;
    QList<SeqAction> actions;
    bool endWith62 = false; // a calibration run: code 62 at its end
    uint8_t commonCode = 0; // the rev_common_cmd code it stands for (0: a rotation)
    bool isEmpty() const { return actions.isEmpty(); }
};

enum class SequenceOutcome { Running, Done, Failed, Stopped };

namespace SequencePlans {
// The plan of rev_common_cmd for codes 1 to 17 (empty for other codes); normalTest chooses
// the nonlinearity stages of code 2.
SequencePlan forCommonCmd(uint8_t code, bool normalTest, const StepTimes &t);
// The constant-temperature rotation for an advanced calibration type (empty for types other
// than 1, 2 and 3).
SequencePlan forRotation(uint8_t advancedType, const StepTimes &t);
// The report codes a plan sends, in order (tests and the debug output).
QList<int> reportCodes(const SequencePlan &plan);
// Seconds the plan is expected to take (holds and motions).
int expectedSeconds(const SequencePlan &plan, const StepTimes &t);
} // namespace SequencePlans

class TurntableSequence {
public:
    using Apply = std::function<void(const SeqAction &)>;

    void start(const SequencePlan &plan, const StepTimes &times, int msPerSecond, qint64 nowMs);
    bool running() const { return m_outcome == SequenceOutcome::Running && !m_plan.isEmpty(); }
    const SequencePlan &plan() const { return m_plan; }
    // Advances as far as it can at nowMs; returns the outcome (Running while not at an end).
    SequenceOutcome advance(qint64 nowMs, const AxisStatus &inner, const AxisStatus &outer,
                            qint64 statusAtMs, const Apply &apply);
    // Ends the sequence as stopped (the worker stops the axes).
    void stop();
    QString failure() const { return m_failure; }
    // Seconds left by the plan's estimate at nowMs.
    int remainingSeconds(qint64 nowMs) const;
    int index() const { return m_index; }

private:
    bool axisReached(const AxisStatus &s, double target) const;

    SequencePlan m_plan;
    StepTimes m_times;
    int m_msPerSecond = 1000;
    int m_index = 0;
    bool m_waiting = false;   // the current Move/Spin/Hold has been applied
    qint64 m_stepStartMs = 0;
    qint64 m_startMs = 0;
    int m_totalSeconds = 0;
    SequenceOutcome m_outcome = SequenceOutcome::Done;
    QString m_failure;
};

#include "equipment/TurntableSequence.h"

StepTimes StepTimes::current() { return {}; }
namespace SequencePlans {
SequencePlan forCommonCmd(uint8_t, bool, const StepTimes &) { return {}; }
SequencePlan forRotation(uint8_t, const StepTimes &) { return {}; }
QList<int> reportCodes(const SequencePlan &) { return {}; }
int expectedSeconds(const SequencePlan &, const StepTimes &) { return 0; }
} // namespace SequencePlans
void TurntableSequence::start(const SequencePlan &, const StepTimes &, int, qint64) {}
SequenceOutcome TurntableSequence::advance(qint64, const AxisStatus &, const AxisStatus &, qint64, const Apply &) { return SequenceOutcome::Done; }
void TurntableSequence::stop() {}
int TurntableSequence::remainingSeconds(qint64) const { return 0; }
bool TurntableSequence::axisReached(const AxisStatus &, double) const { return false; }

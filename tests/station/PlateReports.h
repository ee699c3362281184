#pragma once
// Reports of a simulated plate that a test waits for by their content: each report the test
// sends carries a mark of its own, so a frame sent or streamed before it (still on its way
// through the link) never passes for it.
#include "link/DeviceRecords.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/TestKit.h"

namespace PlateReports {
// The field that carries the mark: the gyroscopes' z value, which no verdict reads.
inline float markOf(const CalibImuStatus &r) { return r.gyroz; }

// Sends the simulator's IMU values as one calibration report (0xB6B6) and waits until the
// records of plate index `plate` hold that very report; false when they do not in time.
inline bool sendAndWait(ModuleSimulator *sim, int plate, int timeoutMs = 5000)
{
    static float lastMark = 0.0f;
    const float mark = (lastMark += 1.0f);
    for (auto &imu : sim->imus)
        imu.fused[5] = mark;
    sim->sendFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, sim->imus));
    return TestKit::waitUntil([&] { return markOf(g_calib_status.record(plate, 0)) == mark; }, timeoutMs);
}

// The simulator's modules fall silent (their stream stops) and every frame they sent before is
// in the records of plate index `plate` (a marked report after them is): records cleared now
// stay empty, whatever was still on its way through the link.
inline bool silenceAndDrain(ModuleSimulator *sim, int plate)
{
    sim->stopStreaming();
    return sendAndWait(sim, plate);
}
} // namespace PlateReports

#pragma once
// A simulated 735 module for the quick-test page.
#include <QByteArray>

#include <array>

#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "sim/ModuleSimulator.h"

// A simulated 735 module: its clock runs with the test's ticks; command 9 restarts it (when it
// obeys), after which it stays silent for a second.
struct Module735 {
    uint32_t timeMs = 40000;
    bool obeysRestart = true;
    bool restarted = false;
    int silentSteps = 0;
    uint32_t sn[3] = {11, 22, 33};
    uint16_t spread = 50;
    uint8_t flag145 = 1;
    uint8_t status86 = 32;

    // The simulator's command hook: a restart (when obeyed) silences the module for a second.
    bool obey(const LongCommand &c)
    {
        if (c.cmd_id == DeviceCmdId::Restart && obeysRestart) {
            restarted = true;
            timeMs = 0;
            silentSteps = 10;
        }
        return false;
    }
    // One 100 ms step: the record sent, or nothing while the module is silent.
    QByteArray step()
    {
        QByteArray record;
        if (silentSteps > 0)
            --silentSteps;
        else
            record = payload();
        timeMs += 100;
        return record;
    }

    QByteArray payload() const
    {
        std::array<uint8_t, kTest735Bytes> r{};
        uint8_t *b = r.data();
        writeLE<uint32_t>(b + 0, 211021);
        writeLE<uint32_t>(b + 4, 3);
        writeLE<int32_t>(b + 8, 735);
        for (int i = 0; i < 3; ++i)
            writeLE<uint32_t>(b + 12 + 4 * i, sn[i]);
        writeLE<uint32_t>(b + 25, timeMs);
        for (int k = 0; k < 4; ++k) {
            for (int v = 0; v < 7; ++v)
                writeLE<int16_t>(b + 29 + 14 * k + 2 * v, int16_t(100 * (v + 1)));
            for (int q = 0; q < 6; ++q)
                writeLE<uint16_t>(b + 89 + 12 * k + 2 * q, spread);
        }
        b[86] = status86;
        b[87] = 51;
        writeLE<uint32_t>(b + 137, 168000000u);
        b[145] = flag145;
        return QByteArray(reinterpret_cast<const char *>(b), int(r.size()));
    }
};

#pragma once
// The decisions of the two Allan retest runs that need no widget: the texts of each tick and
// the watch for the end of the modules' static retest. Qt Core only.
#include <QString>

#include <array>
#include <cstdint>

#include "link/DeviceRecords.h"

// Status word of a module whose static (Allan) retest has ended.
constexpr uint32_t kAllanRetestEnded = 58017;

// Watches the plates' records for the end of a retest that this run commanded. A record
// counts only once it has been seen, after the command, with a time stamp and another status
// word, and then shows the end word: a record left at the end word by an earlier run, or by a
// plate whose link has since closed, cannot end the run before its modules ran the new retest.
class RetestWatch {
public:
    // The command has gone out: from now on records are watched.
    void commandSent();
    bool watching() const { return m_watching; }
    // Looks at one plate's records; returns true when one of them ended the retest.
    bool observe(int plate, const PlateSnapshot &snap);
    // Looks at every plate.
    bool observeAll();

private:
    bool m_watching = false;
    std::array<std::array<bool, kImusPerPlate>, kPlates> m_armed{};
};

// Code 79: whole minutes elapsed, "<T/60>min".
QString allanElapsedText(uint32_t ticks);
// Code 80 of the static run: minutes left of M quiet minutes and the hour after the command;
// "completemin" once nothing is left.
QString staticRemainingText(uint32_t quietMin, uint32_t ticks);
// Code 80 of the four-hour run: 241 minutes from power-on; "0min" once they are over.
QString fourHourRemainingText(uint32_t ticks);
// Code 74 every tenth tick: "Reckon by time(s)：<T>".
QString reckonText(uint32_t ticks);

#pragma once
// The one clock source of the program. Pages, throttles and timed phases ask it, so tests
// can install a manual clock and advance it.
#include <QDateTime>
#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds (never jumps with the wall clock).
    virtual int64_t monotonicMs() const = 0;
    // Local wall-clock time, for stamps and file names.
    virtual QDateTime now() const = 0;

    static Clock &instance();
    // Installs a clock (the caller keeps ownership); nullptr restores the system clock.
    static void install(Clock *clock);
};

// A clock that moves only when told to.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime &start = QDateTime(QDate(2026, 1, 2), QTime(10, 0)))
        : m_wall(start) {}
    int64_t monotonicMs() const override { return m_ms; }
    QDateTime now() const override { return m_wall.addMSecs(m_ms); }
    void advance(int64_t ms) { m_ms += ms; }
    void setWall(const QDateTime &t) { m_wall = t.addMSecs(-m_ms); }

private:
    int64_t m_ms = 0;
    QDateTime m_wall;
};

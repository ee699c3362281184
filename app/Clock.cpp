#include "app/Clock.h"

#include <QElapsedTimer>
#include <atomic>

namespace {
class SystemClock : public Clock {
public:
    SystemClock() { m_timer.start(); }
    int64_t monotonicMs() const override { return m_timer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_timer;
};

SystemClock &systemClock()
{
    static SystemClock c;
    return c;
}
std::atomic<Clock *> g_clock{nullptr};
} // namespace

Clock &Clock::instance()
{
    Clock *c = g_clock.load();
    return c ? *c : systemClock();
}

void Clock::install(Clock *clock)
{
    g_clock.store(clock);
}

#pragma once
// The seams a console test installs for its whole run: a manual clock, scripted boxes and a
// recording sound player, removed again when the test object goes (a test class derives from
// ConsoleSeams beside QObject).
#include <QComboBox>
#include <QDateTime>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/Clock.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/WorkerThread_DC_power.h"
#include "equipment/WorkerThread_Multi.h"
#include "equipment/WorkerThread_hothouse.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/MultiCalib.h"
#include "tests/kit/TestKit.h"

struct ConsoleSeams {
    explicit ConsoleSeams(const QDateTime &start = QDateTime(QDate(2026, 1, 2), QTime(10, 0))) : clock(start)
    {
        registerMetaTypes();
        Clock::install(&clock);
        Prompter::install(&prompter);
        SoundPlayer::install(&sound);
    }
    ~ConsoleSeams()
    {
        Clock::install(nullptr);
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }
    ConsoleSeams(const ConsoleSeams &) = delete;
    ConsoleSeams &operator=(const ConsoleSeams &) = delete;

    ManualClock clock;
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
};

// Chooses a simulated port in a console's port list; false when the list does not offer it.
inline bool pickSimulatedPort(QComboBox *c, const QString &path)
{
    c->setCurrentIndex(c->findText(path + " # simulated"));
    return c->currentIndex() > 0;
}

// Plate index `plate` linked, every IMU of it reporting the flag word `flag` under a serial
// number of its own: a run that ends now has results to post.
inline void reportingPlate(int plate, uint32_t flag)
{
    g_link_status[plate] = 1;
    g_calib_status.writePlate(plate, [&](CalibImuStatus *r, uint32_t *) {
        for (int i = 0; i < kImusPerPlate; ++i) {
            r[i].time_ms = 1000 + uint32_t(i);
            r[i].calib_flag_h = flag;
            r[i].calib_flag = flag;
            r[i].sn[0] = uint8_t(plate * kImusPerPlate + i + 1);
        }
    });
    g_calib_status.bump(plate);
}

// The repeat spacing of a rack link's commands (long ones, texts), set on its thread.
inline void setRepeatSpacing(WorkerThread_Multi *w, int longMs, int textMs)
{
    QMetaObject::invokeMethod(w, [w, longMs, textMs] { w->setCommandIntervals(longMs, textMs); }, Qt::BlockingQueuedConnection);
}

// The texts a spied one-text signal carried (the console's log lines).
inline QStringList spiedTexts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.value(0).toString();
    return out;
}

// A link's worker reports (in its own thread) just before the link's button is pressed twice:
// closed and opened again. Its reports reach the console only after the new worker is made,
// when the retired one has been released (a new worker may sit at its address).
template <class W, class Press, class Report> void reportThenRelink(W *worker, Press press, Report report)
{
    QMetaObject::invokeMethod(worker, [worker, report] { report(worker); }, Qt::BlockingQueuedConnection);
    press(); // closed
    press(); // opened again before the console read the reports
}

// Keeps a worker's thread busy from its making until release() or its end, then runs `then`
// there (reports the worker sends after whatever the console did meanwhile).
class BusyWorker {
public:
    explicit BusyWorker(QObject *worker, std::function<void()> then = {})
    {
        QMetaObject::invokeMethod(worker, [busy = m_busy, then] {
            busy->acquire();
            if (then)
                then();
        }, Qt::QueuedConnection);
    }
    ~BusyWorker() { release(); }
    BusyWorker(const BusyWorker &) = delete;
    BusyWorker &operator=(const BusyWorker &) = delete;
    void release()
    {
        if (!m_released)
            m_busy->release();
        m_released = true;
    }

private:
    std::shared_ptr<QSemaphore> m_busy = std::make_shared<QSemaphore>();
    bool m_released = false;
};

// Closes every link of a console and waits until each of its workers is released, as the
// window's end does; false when one is not.
inline bool retireConsoleLinks(MultiCalib *console)
{
    console->connect_serial_port(0);
    bool released = TestKit::retireWorker(console->turnTableWorker()) && TestKit::retireWorker(console->hothouseWorker())
                    && TestKit::retireWorker(console->dcPowerWorker());
    for (int i = 0; i < MultiCalib::kRackLinks; ++i)
        released = TestKit::retireWorker(console->rackWorker(i)) && released;
    return released;
}

// The end of a test function, whatever check ended it: a run still going is stopped (a failed
// check returns before the function's own stop), so the next function finds the station free.
inline void stopAnyRun(MultiCalib *console)
{
    if (console && !console->runGuard()->idle())
        console->stopActiveRun("stopped at the end of the test function");
}

// A manual clock installed for a scope, from where the clock before it stood (times stamped
// before stay in the past); the clock before it returns at the end.
struct HeldClock {
    HeldClock() : m_before(&Clock::instance())
    {
        clock.advance(m_before->monotonicMs());
        Clock::install(&clock);
    }
    ~HeldClock() { Clock::install(m_before); }
    HeldClock(const HeldClock &) = delete;
    HeldClock &operator=(const HeldClock &) = delete;
    ManualClock clock;

private:
    Clock *m_before;
};

// Test minutes: while started, the manual clock moves a minute every two milliseconds and each
// minute ends with eachMinute (a fake chamber's report: a polled chamber is never a minute silent).
class MinuteTicker : public QObject {
public:
    MinuteTicker(ManualClock &clock, std::function<void()> eachMinute)
    {
        connect(&m_timer, &QTimer::timeout, this, [&clock, eachMinute] {
            clock.advance(60000);
            eachMinute();
        });
    }
    void start(int msPerMinute = 2) { m_timer.start(msPerMinute); }
    void stop() { m_timer.stop(); }

private:
    QTimer m_timer;
};

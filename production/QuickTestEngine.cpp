#include "production/QuickTestEngine.h"

#include "app/Clock.h"
#include "link/DeviceProtocol.h"
#include "link/DeviceRecords.h"

using namespace QuickTestText;

namespace {
constexpr double kPhaseAtS = 5.0; // the phase command goes out this far into a test
}

QuickTestConfig QuickTestConfig::for735()
{
    QuickTestConfig c;
    c.outputMode = OutputMode::Test735;
    c.silenceLimitS = 1.5;
    c.phaseCommand = DeviceCmdId::Restart;
    c.phaseText = Testing;
    c.secondPhaseAtS = 6.0;
    c.secondPhaseText = QT_TRANSLATE_NOOP("StatusText", "Read timestamps");
    c.lengthS = c.lengthWithPhasesS = 10.0;
    c.phasesOptional = false;
    c.clearAtStart = true;
    return c;
}

QuickTestConfig QuickTestConfig::forK350()
{
    QuickTestConfig c;
    c.outputMode = OutputMode::TestK350;
    c.silenceLimitS = 2.0;
    c.phaseCommand = DeviceCmdId::GyroCalib;
    c.phaseText = QT_TRANSLATE_NOOP("StatusText", "Calibrate the gyroscope, please make sure it is stationary!");
    c.secondPhaseAtS = 8.0;
    c.secondPhaseText = QT_TRANSLATE_NOOP("StatusText", "Read gyroscope calibration results");
    c.lengthS = 8.0;
    c.lengthWithPhasesS = 16.0;
    c.phasesOptional = true;
    c.clearAtStart = false;
    return c;
}

QuickTestEngine::QuickTestEngine(const QuickTestConfig &config, QObject *parent)
    : QObject(parent), m_cfg(config), m_lengthS(config.lengthS)
{
}

void QuickTestEngine::setStatus(const QString &text, const QString &style)
{
    m_status = text;
    emit statusChanged(text, style);
}

double QuickTestEngine::elapsedS() const
{
    return m_hasStart ? double(Clock::instance().monotonicMs() - m_startMs) / 1000.0 : 0.0;
}

double QuickTestEngine::sinceSecondPhaseS() const
{
    return m_secondDone ? double(Clock::instance().monotonicMs() - m_secondMs) / 1000.0 : -1.0;
}

bool QuickTestEngine::acceptRecord(bool nameEmpty, bool linkUp)
{
    if (!linkUp || nameEmpty)
        return false;
    m_hasData = true;
    m_lastDataMs = Clock::instance().monotonicMs();
    return !m_done;
}

void QuickTestEngine::tick(const Inputs &in)
{
    if (g_serial_fault_count.load() > 5) {
        g_serial_fault_count.store(0);
        emit serialLinkLost();
    }
    emit command(DeviceCmdId::SetOutputMode, m_cfg.outputMode, 0, OUTPUT_MODE_FILLER::cm3,
                 OUTPUT_MODE_FILLER::cm4, OUTPUT_MODE_FILLER::cm5, OUTPUT_MODE_FILLER::cm6);
    if (in.nameEmpty) {
        // A test cannot go on without its operator; it is dropped, not judged later.
        standDown();
        setStatus(EnterName, Yellow);
        emit clearPage();
        return;
    }
    if (m_status == EnterName) {
        setStatus(Waiting, Yellow);
        emit clearPage();
    }
    if (!in.linkUp) {
        // The operator closed the port: a running test ends here, shown as interrupted and
        // stored nowhere; the text stays until the port is open again.
        if (standDown())
            setStatus(Interrupted, Yellow);
        else if (m_status != Interrupted)
            setStatus(OpenPort, Yellow);
        emit clearPage();
        return;
    }
    if (m_status == OpenPort || m_status == Interrupted || m_status == PageLeft) {
        setStatus(Waiting, Yellow);
        emit clearPage();
    }
    const qint64 now = Clock::instance().monotonicMs();
    const bool silent = !m_hasData || double(now - m_lastDataMs) / 1000.0 > m_cfg.silenceLimitS;
    if (silent) {
        if (!m_done && !m_phaseSent) {
            setStatus(NoConnection, Red);
            m_started = false;
            m_waiting = true;
            emit clearPage();
            return;
        }
        if (m_done) {
            setStatus(Waiting, Yellow);
            emit clearPage();
            m_started = false;
            emit progressChanged(0);
            return;
        }
        // A module that went silent after the phase command (restart or calibration) stays
        // in its test.
    }
    // A module is sending and no test runs for it: start one, whatever came before (first
    // data before the first tick, a new module after a reconnect).
    if (!m_started && !silent) {
        m_done = false;
        m_started = true;
        m_waiting = false;
        m_errors = 0;
        m_hasStart = true;
        m_startMs = now;
        m_phaseSent = false;
        m_secondDone = false;
        m_phasesLatched = !m_cfg.phasesOptional || in.phasesWanted;
        m_lengthS = m_phasesLatched ? m_cfg.lengthWithPhasesS : m_cfg.lengthS;
        setStatus(Testing, Yellow);
        if (m_cfg.clearAtStart)
            emit clearPage();
        emit testStarted();
    }
    const double elapsed = elapsedS();
    if (m_hasStart && !m_done && m_phasesLatched && !m_phaseSent && elapsed >= kPhaseAtS) {
        emit command(m_cfg.phaseCommand, 0, 0, 0, 0, 0, 0);
        setStatus(m_cfg.phaseText, Yellow);
        m_phaseSent = true;
        m_phaseMs = now;
    }
    // What follows the phase command keeps its distance from it, also when a tick came late:
    // the module gets its time to restart or calibrate, and no verdict falls in the tick
    // that sent the command.
    const double sincePhase = m_phaseSent ? double(now - m_phaseMs) / 1000.0 : 0.0;
    if (m_hasStart && !m_done && m_phaseSent && !m_secondDone && sincePhase >= m_cfg.secondPhaseAtS - kPhaseAtS) {
        m_secondDone = true;
        m_secondMs = now;
        setStatus(m_cfg.secondPhaseText, Yellow);
        emit secondPhase();
    }
    if (!m_hasStart)
        return;
    const bool phasesDone = !m_phasesLatched || (m_phaseSent && sincePhase >= m_lengthS - kPhaseAtS);
    if (elapsed >= m_lengthS && phasesDone && !m_done) {
        emit verdictDue();
        return;
    }
    emit progressChanged(qMin(100, int(elapsed / m_lengthS * 100.0)));
}

void QuickTestEngine::leavePage()
{
    if (!running())
        return;
    standDown();
    setStatus(PageLeft, Yellow);
    emit clearPage();
}

bool QuickTestEngine::standDown()
{
    const bool wasRunning = running();
    m_started = false;
    m_done = false;
    m_waiting = true;
    m_hasData = false; // data from before counts no more
    m_hasStart = false;
    m_phaseSent = false;
    m_secondDone = false;
    m_errors = 0;
    emit progressChanged(0);
    return wasRunning;
}

void QuickTestEngine::beginVerdict()
{
    m_done = true;
    m_waiting = false;
    ++m_testNumber;
}

void QuickTestEngine::endVerdict(bool passed)
{
    ++m_finished;
    if (passed)
        ++m_passes;
    else
        ++m_fails;
    setStatus(passed ? Passed : Failed, passed ? Green : Red);
    m_errors = 0;
    emit progressChanged(100);
}

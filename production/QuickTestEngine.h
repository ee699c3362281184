#pragma once
// The timed sequence of a line-side quick test, shared by the 735 and the K350 pages: status
// texts, silence detection, test start, the command phase at 5 s, the second phase, the end of
// the test and the counters. Qt Core only; the pages grade the records and show the results.
// Times come from Clock::instance().monotonicMs(), so tests drive it with a manual clock.
#include <QObject>
#include <QString>
#include <cstdint>

#include "production/StatusStyles.h"

struct QuickTestConfig {
    float outputMode = 0;          // cm1 of the output-mode command of every tick
    double silenceLimitS = 1.5;    // no record for longer: the module is gone
    uint16_t phaseCommand = 0;     // sent 5 s into a test
    QString phaseText;             // status text when it goes out
    double secondPhaseAtS = 6.0;
    QString secondPhaseText;
    double lengthS = 10.0;         // test length without / with the optional phases
    double lengthWithPhasesS = 10.0;
    bool phasesOptional = false;   // the phases run only when the page asks at test start
    bool clearAtStart = true;

    static QuickTestConfig for735();
    static QuickTestConfig forK350();
};

namespace QuickTestText {
inline const char *EnterName = QT_TRANSLATE_NOOP("StatusText", "Please enter your name");
inline const char *Waiting = StatusText::Waiting;
inline const char *OpenPort = StatusText::OpenPort;
inline const char *NoConnection = QT_TRANSLATE_NOOP("StatusText", "No connection, waiting");
inline const char *Testing = QT_TRANSLATE_NOOP("StatusText", "During testing, please keep it stationary!");
inline const char *Passed = QT_TRANSLATE_NOOP("StatusText", "Test passed");
inline const char *Failed = QT_TRANSLATE_NOOP("StatusText", "Test failed, malfunction occurred");
inline const char *SerialLost = QT_TRANSLATE_NOOP("StatusText", "The serial hardware has been disconnected, please reconnect!");
inline const char *Interrupted =
    QT_TRANSLATE_NOOP("StatusText", "Test interrupted, nothing was stored: please open the serial port");
inline const char *PageLeft =
    QT_TRANSLATE_NOOP("StatusText", "Test interrupted, nothing was stored: the test page was left");
inline const char *Yellow = StatusStyle::Yellow;
inline const char *Red = StatusStyle::Red;
inline const char *Green = StatusStyle::Green;
} // namespace QuickTestText

class QuickTestEngine : public QObject {
    Q_OBJECT
public:
    struct Inputs {
        bool nameEmpty = false;
        bool linkUp = false;
        bool phasesWanted = true; // read at test start only
    };

    explicit QuickTestEngine(const QuickTestConfig &config, QObject *parent = nullptr);

    // One tick of the sequence.
    void tick(const Inputs &in);
    // A record arrived: true when the page should show and grade it (a test may run).
    bool acceptRecord(bool nameEmpty, bool linkUp);

    // Drops whatever test runs or was judged, without a verdict: the next module's data starts
    // a new test. Returns true when a test was running.
    bool standDown();

    // The page was put away: a running test ends here unjudged, shown as interrupted (a test
    // already judged stays as it is).
    void leavePage();

    // Ends the running test: done, test number + 1. Called by the page when verdictDue came.
    void beginVerdict();
    // Counts the verdict and resets the error count; the progress goes to 100.
    void endVerdict(bool passed);

    void addError() { ++m_errors; }
    void setErrorCount(int n) { m_errors = n; }
    int errorCount() const { return m_errors; }

    bool done() const { return m_done; }
    bool running() const { return m_started && !m_done; }
    bool phaseSent() const { return m_phaseSent; }
    bool secondPhaseDone() const { return m_secondDone; }
    bool phasesLatched() const { return m_phasesLatched; }
    double lengthS() const { return m_lengthS; }
    // Seconds since the test start (0 before the first test).
    double elapsedS() const;
    // Seconds since the second phase (-1 when it has not come).
    double sinceSecondPhaseS() const;
    QString statusText() const { return m_status; }

    quint32 testNumber() const { return m_testNumber; }
    quint32 finishedCount() const { return m_finished; }
    quint32 passCount() const { return m_passes; }
    quint32 failCount() const { return m_fails; }

signals:
    void command(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4, int32_t cm5,
                 int32_t cm6);
    void statusChanged(QString text, QString style);
    void clearPage();
    void testStarted();
    void secondPhase();
    void verdictDue();
    void progressChanged(int percent);
    void serialLinkLost();

private:
    void setStatus(const QString &text, const QString &style);

    QuickTestConfig m_cfg;
    QString m_status;
    bool m_hasData = false;
    qint64 m_lastDataMs = 0;
    bool m_hasStart = false;
    qint64 m_startMs = 0;
    qint64 m_phaseMs = 0;
    qint64 m_secondMs = 0;
    bool m_done = false;
    bool m_started = false;
    bool m_waiting = false;
    bool m_phaseSent = false;
    bool m_secondDone = false;
    bool m_phasesLatched = false;
    double m_lengthS = 10.0;
    int m_errors = 0;
    quint32 m_testNumber = 0, m_finished = 0, m_passes = 0, m_fails = 0;
};

#pragma once
// The station's long runs share one guard: at most one run is active at a time, each run has
// one stop path, and every run knows the links it needs. The console and the command page
// claim the guard when a run starts, release it when the run ends by itself, and hear through
// stopRequested when a run has to stop (the operator's Stop, a link the run needs closed, a
// failure). Qt Core only.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class RunGuard : public QObject {
    Q_OBJECT
public:
    enum Run {
        None = 0,
        TempScript,          // temperature compensation and retest script
        TempRetest,          // temperature retest script
        AdvancedCalib,       // advanced calibration (chamber turntable)
        AdvancedCalibRetest, // advanced calibration followed by the retest
        AdvancedRetest,      // advanced retest
        AllanStatic,         // static Allan retest (command page)
        AllanFourHour,       // advanced four-hour Allan retest (command page)
        OneClick,            // one-click turntable calibration and retest
    };
    Q_ENUM(Run)

    // The links a run needs (bits).
    enum Link { Turntable = 1, Chamber = 2, Supply = 4, Plates = 8 };

    using QObject::QObject;

    Run active() const { return m_active; }
    bool idle() const { return m_active == None; }
    // The run's name as the log and the boxes write it.
    static QString name(Run run);
    // The links the run needs (Link bits).
    static int needs(Run run);
    // The names of the needed links that are down, e.g. "chamber, DC supply" (empty when all are up).
    static QString missingLinks(int needed, int up);
    static QString linkName(Link link);
    // The box text of a start refused while another run is active.
    static QString busyText(Run running);

    // Who knows which links are up (Link bits): the console.
    void setLinkProbe(std::function<int()> probe) { m_linkProbe = std::move(probe); }
    int linksUp() const { return m_linkProbe ? m_linkProbe() : 0; }
    // The names of the links the run needs that are down now (empty when all are up).
    QString missingFor(Run run) const { return missingLinks(needs(run), linksUp()); }

    // Plates (1 to 16) whose link went away while the active run went on; cleared at each start.
    void plateLost(int plate);
    QList<int> lostPlates() const { return m_lostPlates; }
    // An extra line for the run's end box naming the lost plates (empty when none was lost).
    QString lostPlatesNote() const;

    // A mark of the active run for a step that waits with events running (a post, a box, a
    // pause): taken before the wait, held() after it tells whether the run is still on (0 when
    // no run is active or the active one is being stopped).
    quint64 ticket() const { return m_active == None || m_stopping ? 0 : m_serial; }
    // True while the run the ticket was taken from is active and no stop has come for it. A step
    // that finds it false after its wait ends there: the stop has done what was left to do.
    bool holds(quint64 ticket) const { return ticket != 0 && ticket == m_serial && m_active != None && !m_stopping; }

    // Claims the station for a run; false when another run is active.
    bool begin(Run run);
    // The run ended by itself (completed or failed after its own end): the station is free.
    // Does nothing when the run is not the active one.
    void finished(Run run);
    // Stops the active run: emits stopRequested (the run's owner stops what the run started,
    // synchronously), frees the station and emits stopped. Returns the run stopped (None when
    // nothing was running). A stop that comes while one is being carried out (from inside its
    // owner's wait) joins it: the first cause is the stop's, the later ones are told after it
    // through stopJoined.
    Run stop(const QString &reason);

signals:
    // The owner of the run stops it now: timers, pending waits, the equipment it started.
    void stopRequested(RunGuard::Run run, const QString &reason);
    // After a stop: one line for the log.
    void stopped(RunGuard::Run run, const QString &reason);
    // After the stop line: a later cause that came while the stop was being carried out.
    void stopJoined(RunGuard::Run run, const QString &reason);
    // The active run changed (None when the station became free): start buttons follow it.
    void activeChanged(RunGuard::Run active);

private:
    Run m_active = None;
    std::function<int()> m_linkProbe;
    QList<int> m_lostPlates;
    quint64 m_serial = 0;
    bool m_stopping = false;
    QStringList m_laterCauses;
};

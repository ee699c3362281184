#pragma once
// One screening run of a board of 32 modules: the 29 x 32 result grid with its red and green
// marks, the error count, the per-module maxima, the 1 s tick with its step at tick 14 and the
// verdict at tick 25. Qt Core only; the page shows the grid, stores and logs the verdict.
// Times come from Clock::instance().monotonicMs().
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <vector>

#include "link/DeviceProtocol.h"
#include "production/ScreeningRecords.h"
#include "production/StatusStyles.h"

struct ScreeningLimits {
    int lp_type = 0;
    // The mode the page orders: a board that obeys the page's command reports it.
    int stream_mode = int(OutputMode::Screening);
    uint32_t sys_clk = 168000000u;
    float max_min_diff = 0.5f;
};

// The expected versions typed on the page.
struct ScreeningReference {
    QString software, hardware, board;
};

struct ScreeningCell {
    enum Mark { None, Red, Green };
    QString text;
    Mark mark = None;
    QString why; // a red cell: the module's value and the rule it broke
};

namespace ScreeningText {
inline const char *OpenPort = StatusText::OpenPort;
inline const char *Waiting = StatusText::Waiting;
inline const char *WithErrors = QT_TRANSLATE_NOOP("StatusText", "Testing with errors");
inline const char *Normal = QT_TRANSLATE_NOOP("StatusText", "Testing, normal, please remain stationary");
inline const char *DoneErrors = QT_TRANSLATE_NOOP("StatusText", "Test completed with errors");
inline const char *DoneNormal = QT_TRANSLATE_NOOP("StatusText", "Test completed, normal");
inline const char *NotTested = QT_TRANSLATE_NOOP("StatusText", "Board not tested: no data to judge, nothing was stored");
} // namespace ScreeningText

class ScreeningRun : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 29;
    static constexpr int kModules = 32;

    explicit ScreeningRun(QObject *parent = nullptr);

    void setLimits(const ScreeningLimits &l) { m_limits = l; }
    ScreeningLimits limits() const { return m_limits; }

    // A screening message arrived (records already stored); true when the grid changed.
    bool display(const ScreeningBytes &records, const ScreeningReference &ref, bool linkUp);
    // One 1 s tick.
    void tick(bool linkUp, const ScreeningBytes &records);
    void clear();

    const ScreeningCell &cell(int row, int module) const { return m_grid[size_t(row)][size_t(module)]; }
    quint32 errorCount() const { return m_errors; }
    quint32 tickCount() const { return m_ticks; }
    bool finished() const { return m_finished; }
    // A place that showed a module at a display of this run: it is judged to the end of the
    // run, and fails when it stops answering.
    bool fitted(int module) const { return m_fitted.test(size_t(module)); }
    // Every serial number a fitted place read in this run, the first one first (one, unless
    // the module was changed under the page: then the place fails and all are stored).
    QStringList serialsOf(int module) const;
    // The fitted places the verdict found unchecked, the places that missed the same checks
    // together: "module 5 (no answer in tick count 6 to 9)", "modules 1 to 16 (its counter
    // never ran)", "module 3 (its counter stood still in tick count 7 to 12)". Their checks
    // never ran on them, so they fail the board.
    QStringList notChecked() const;
    // What the places' serial numbers say against the board, each a place that fails:
    // "module 5: serial changed from A to B" once for each change between two displays, and
    // "serial number A read by modules 5, 6" for places that read one serial number.
    QStringList serialFaults() const;

    // The screening CSV log's header and a fitted module's line (27 values) under one of the
    // serial numbers it read: the record it last showed under that serial number, with the
    // largest values of that serial number alone.
    static QString csvHeader();
    QString csvLine(int module, const QString &serial, const QString &stamp) const;
    // True when the passed count reached a new non-zero multiple of 100.
    static bool remindDue(quint32 passedBefore, quint32 passedAfter);

signals:
    void command(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4, int32_t cm5,
                 int32_t cm6);
    void statusChanged(QString text, QString style);
    void serialLinkLost();
    void stepSent();
    void cleared();
    // The board verdict, judged once; serialNumbers: every serial number the fitted places read,
    // each once (its row in the store), even when places share one.
    void verdict(bool passed, QStringList serialNumbers);
    // Tick 25 came without the displays a verdict judges (or without a fitted module): the
    // board is not tested and nothing is stored.
    void notTested();

private:
    void setCell(int row, int m, const QString &text);
    void fail(int row, int m, const QString &why);
    void check(const std::vector<ScreeningModule> &mods, const ScreeningReference &ref);
    bool stoppedAnswering(int m, const ScreeningModule &d) const;
    void failStopped(int m, const ScreeningModule &d);
    // The place shows a module under serial: its record and largest values go to that serial
    // number; a change from the previous display's serial number and a serial number another
    // place read fail the place.
    void noteSerial(int m, const ScreeningModule &d);
    // A place that answered at no display of a check's window, or whose counter stood still
    // through it, was never checked there: its cells of that check fail, and the verdict names
    // it.
    void failUnchecked(int m);

    ScreeningLimits m_limits;
    std::array<std::array<ScreeningCell, kModules>, kRows> m_grid;
    bool m_hasData = false;
    qint64 m_lastDataMs = 0;
    bool m_hasDisplay = false;
    qint64 m_lastDisplayMs = 0;
    quint32 m_errors = 0;
    bool m_stepSent = false;
    quint32 m_ticks = 0;
    bool m_verdictGiven = false;
    bool m_finished = false;
    quint32 m_shownTicks = 0; // bit t: a display was judged at tick count t
    // What one module showed in its place: the last record and the largest values under its
    // serial number.
    struct SerialRecord {
        QString serial;
        ScreeningModule shown;
        float maxAccNorm = 0;
        std::array<float, 3> maxBias{};
        std::array<float, 6> maxDiff{};
    };
    std::array<uint32_t, kModules> m_maxCounter{};
    std::bitset<kModules> m_fitted;  // showed a module at a display of this run
    std::bitset<kModules> m_counted; // its counter ran at a display of this run
    std::array<quint32, kModules> m_answeredTicks{}; // bit t: its counter ran at the display of tick count t
    // bit t: its counter ran at the display of tick count t and read other than at the module's
    // own record before (the last display at which it reported): fresh data
    std::array<quint32, kModules> m_freshTicks{};
    std::bitset<kModules> m_counterRead; // m_lastCounter holds the counter of the module's last record
    std::array<uint32_t, kModules> m_lastCounter{};
    std::array<std::vector<SerialRecord>, kModules> m_records; // the serial numbers it read, the first first
    std::array<int, kModules> m_current{}; // the record of the last display's serial number; -1: none yet
    std::array<QString, kModules> m_missed; // the checks the verdict found it missed
    QStringList m_serialChanges;
    QSet<QString> m_sharedTold; // "place serial": its serial number was found read by another place
};

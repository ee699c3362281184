#pragma once
// The console's decisions that need no widget: report parsing, stage and flag texts, the
// calibration date word and the selection file. Qt Core only, linked directly by the tests.
#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

#include <cstdint>

// The calib_flag_h word every live IMU must show after the run that just ended (0: none).
extern uint32_t g_expected_calib_flag;
// When the last turntable status report came, in milliseconds of the monotonic clock
// (Clock::monotonicMs): a jump of the wall clock must not make the turntable look silent or
// fresh. kNoTurntableStatus before the first report.
constexpr int64_t kNoTurntableStatus = INT64_MIN;
extern int64_t g_turn_table_status_time;
// No turntable status report for more than five seconds (or none yet).
bool turntableStatusStale(int64_t nowMonotonicMs);

// The chamber silence bound, stored in seconds under "hothouse/silence_limit_s": up to one
// day; a value above that or that is no number is refused and the default is used.
struct ChamberSilenceLimit {
    int ms = 60000;
    bool refused = false;
};
constexpr double kChamberSilenceDefaultS = 60.0;
constexpr double kChamberSilenceMaxS = 86400.0;
ChamberSilenceLimit chamberSilenceLimit(const QVariant &stored);

// Text of a calibration stage code (calib_status); empty for codes without a text.
QString get_string_calib_status(uint32_t code);
// Text of a known flag word; empty otherwise.
QString get_string_calib_flag(uint32_t flag);

// Command 30007 carries the date as the decimal number yyMMdd.
uint32_t calibDateWord(const QDate &date);

// A liveness / version report of code 37: "<tag>_<value1>_<value2>".
struct BaseBoardReport {
    bool valid = false; // three parts or more
    bool net = false;   // tag "net"
    int plate = 0;      // 1..16 when the tag is a plate number, else 0
    QString value1;
    QString value2;
};
BaseBoardReport parseBaseBoardReport(const QString &text);

// Port name of a combo text "<port> # <description>" (its first blank-separated word).
QString portOfComboText(const QString &text);
// Index (0-based) of the first rack combo whose port is the main link's port or the port of a
// later combo; -1 when there is no conflict. Empty texts take no part.
int firstPortConflict(const QStringList &comboTexts, const QString &mainPort);

// Code-73 verdict text of one plate: "<n>_unconnected", "<n>_fail" or "<n>_pass".
QString plateVerdictText(int plateNumber, bool linked, bool baseBoardReported, uint32_t failCount);

// The log-window line of a worker report; empty for reports that are not log lines.
QString reportLogLine(uint8_t code, const QString &text);

// The selection file "selectStateConfig.ini": group "SelectStatus", keys "<plate>-<column>"
// (1-based, column 33 = whole plate), booleans; a missing key reads as false.
class SelectionFile {
public:
    explicit SelectionFile(const QString &path);
    static void ensureConfigDir(const QString &folder);
    static void ensureSelectFile(const QString &path);
    static QString key(int plate, int column) { return QString("%1-%2").arg(plate + 1).arg(column + 1); }

    // All 16 x 33 cells, plate-major (0-based indices).
    QVector<bool> readAll() const;
    bool read(int plate, int column) const;
    // Writes the cells whose stored value differs; syncs once at the end. Returns keys written.
    int save(const QVector<bool> &cells) const;

    static constexpr int kRows = 16;
    static constexpr int kColumns = 33;

private:
    QString m_path;
};

#pragma once
// The chamber log of a temperature script run: one header, a line per chamber temperature
// report and a line per script tick. Fields are separated by ",", lines end with "\n"; the IMU
// columns run over plates 1..16 and IMUs 0..31 of g_calib_status, IMU fastest.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace ChamberLog {
// The IMU columns of every line: the 512 IMU temperatures, then the 512 first fields (time_ms).
struct ImuColumns {
    QString text; // ",t0,t1,...,,f0,f1,..." (starts with the separator)
};
// Takes the columns from the current records of g_calib_status.
ImuColumns currentImuColumns();

// "Start time:" / "Update time:" stamps and the log's own times.
QString timeText(const QDateTime &t);   // "yyyy_MMdd HH:mm:ss"
QString stampText(const QDateTime &t);  // "yyyy_MMdd_HHmm_ss"
QString dayText(const QDateTime &t);    // "yyyy_MMdd"
// "T" + stamp + ".txt"
QString fileName(const QDateTime &t);

// A number as the log and the displays write it: up to six significant digits.
QString number(double v);

// "t,current_temperature,set_temperature,temp1-0,...,temp16-31,t1-0,...,t16-31\n": the header
// of a log of temperature reports.
QString header();
// The header of a script log: "t,elapsed,current_temperature,set_temperature,temp_slope,step,
// user_target" and the same IMU columns.
QString scriptHeader();
// The line of a temperature report: time, reported temperature, the set-point display's text,
// then the IMU columns.
QString reportLine(const QDateTime &t, float temperature, const QString &setPointText, const ImuColumns &imus);
// The line of a script tick: time, elapsed estimate (whole seconds), the five displays (current
// and set temperature, slope, step number, user target) as numbers (a text that is no number
// gives 0), then the IMU columns: the fields of scriptHeader().
QString scriptLine(const QDateTime &t, qint64 elapsedSeconds, const QStringList &displayTexts, const ImuColumns &imus);
} // namespace ChamberLog

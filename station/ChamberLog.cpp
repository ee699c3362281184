#include "station/ChamberLog.h"

#include "link/DeviceRecords.h"

namespace ChamberLog {

ImuColumns currentImuColumns()
{
    QString temps;
    QString firsts;
    temps.reserve(kPlates * kImusPerPlate * 10);
    firsts.reserve(kPlates * kImusPerPlate * 8);
    for (int p = 0; p < kPlates; ++p) {
        const PlateSnapshot s = g_calib_status.plate(p);
        for (int i = 0; i < kImusPerPlate; ++i) {
            temps += ',' + number(double(s.imu[size_t(i)].temp));
            firsts += ',' + QString::number(s.imu[size_t(i)].time_ms);
        }
    }
    return ImuColumns{temps + firsts};
}

QString timeText(const QDateTime &t) { return t.toString("yyyy_MMdd HH:mm:ss"); }
QString stampText(const QDateTime &t) { return t.toString("yyyy_MMdd_HHmm_ss"); }
QString dayText(const QDateTime &t) { return t.toString("yyyy_MMdd"); }
QString fileName(const QDateTime &t) { return "T" + stampText(t) + ".txt"; }

QString number(double v) { return QString::number(v, 'g', 6); }

namespace {
QString withImuNames(QString h)
{
    for (const char *prefix : {"temp", "t"})
        for (int p = 1; p <= kPlates; ++p)
            for (int i = 0; i < kImusPerPlate; ++i)
                h += QString(",%1%2-%3").arg(prefix).arg(p).arg(i);
    return h + "\n";
}
} // namespace

QString header() { return withImuNames("t,current_temperature,set_temperature"); }
QString scriptHeader()
{
    return withImuNames("t,elapsed,current_temperature,set_temperature,temp_slope,step,user_target");
}

QString reportLine(const QDateTime &t, float temperature, const QString &setPointText, const ImuColumns &imus)
{
    return timeText(t) + ',' + number(double(temperature)) + ',' + setPointText + imus.text + '\n';
}

QString scriptLine(const QDateTime &t, qint64 elapsedSeconds, const QStringList &displayTexts, const ImuColumns &imus)
{
    QString line = timeText(t) + ',' + QString::number(elapsedSeconds);
    for (const QString &text : displayTexts)
        line += ',' + number(text.trimmed().toDouble()); // no number: 0
    return line + imus.text + '\n';
}

} // namespace ChamberLog

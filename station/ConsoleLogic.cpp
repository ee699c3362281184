#include "station/ConsoleLogic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cmath>

uint32_t g_expected_calib_flag = 0;
int64_t g_turn_table_status_time = kNoTurntableStatus;

ChamberSilenceLimit chamberSilenceLimit(const QVariant &stored)
{
    bool number = false;
    const double seconds = stored.isValid() ? stored.toString().trimmed().toDouble(&number) : kChamberSilenceDefaultS;
    if (stored.isValid() && (!number || !std::isfinite(seconds) || seconds > kChamberSilenceMaxS))
        return {int(kChamberSilenceDefaultS * 1000), true};
    return {int(std::llround(seconds * 1000.0)), false};
}

bool turntableStatusStale(int64_t nowMonotonicMs)
{
    return g_turn_table_status_time == kNoTurntableStatus || nowMonotonicMs - g_turn_table_status_time > 5000;
}

QString get_string_calib_status(uint32_t code)
{
    switch (code) {
    case 56000: return " Temperature compensation preparation";
    case 56001: return " Temperature compensation";
    case 56002: return " Temperature compensation completed";
    case 56003: return " Temperature compensation stop";
    case 56004: return " Add meter calibration";
    case 56005: return " Meter calibration completed";
    case 56007: return " Gyroscopic calibration";
    case 56008: return " Gyro calibration completed";
    case 56010: return " Nonlinear calibration of gyroscopes";
    case 56011: return " Gyro nonlinear calibration completed";
    case 56013: return " Non linear calibration with added meter";
    case 56014: return " Completion of non-linear calibration with added meter";
    case 58000: return " Preparation for temperature retesting";
    case 58001: return " Temperature retesting";
    case 58002:
    case 58003: return " Temperature retest completed";
    case 58004: return " Add meter retest";
    case 58005: return " Completion of additional meter retesting";
    case 58007: return " Gyroscopic retesting";
    case 58008: return " Gyroscopic retest completed";
    case 58010: return " Gyroscopic nonlinear retesting";
    case 58011: return " Gyroscopic nonlinear retesting completed";
    case 58013: return " Nonlinear retesting with added tables";
    case 58014: return " Completion of non-linear retesting with added tables";
    case 99999: return " Unstable or shaking rotation of the turntable";
    default: return QString();
    }
}

QString get_string_calib_flag(uint32_t flag)
{
    switch (flag) {
    case 129: return "OK_ Thermobox successful";
    case 3999: return "OK_ Transfer successful";
    case 8095: return "OK_ All successful";
    default: return QString();
    }
}

uint32_t calibDateWord(const QDate &date)
{
    return date.toString("yyMMdd").toUInt();
}

BaseBoardReport parseBaseBoardReport(const QString &text)
{
    BaseBoardReport r;
    const QStringList parts = text.split('_');
    if (parts.size() < 3)
        return r; // a report without its two values is not one
    r.valid = true;
    r.value1 = parts[1];
    r.value2 = parts[2];
    const QString &tag = parts[0];
    if (tag == "net") {
        r.net = true;
        return r;
    }
    bool digits = !tag.isEmpty() && tag.size() <= 2;
    for (QChar c : tag)
        digits = digits && c >= '0' && c <= '9';
    const int n = digits ? tag.toInt() : 0;
    if (n >= 1 && n <= 16)
        r.plate = n;
    return r;
}

QString portOfComboText(const QString &text)
{
    return text.section(' ', 0, 0, QString::SectionSkipEmpty);
}

int firstPortConflict(const QStringList &comboTexts, const QString &mainPort)
{
    for (int i = 0; i < comboTexts.size(); ++i) {
        const QString port = portOfComboText(comboTexts[i]);
        if (port.isEmpty())
            continue;
        if (!mainPort.isEmpty() && port == mainPort)
            return i;
        for (int j = i + 1; j < comboTexts.size(); ++j)
            if (portOfComboText(comboTexts[j]) == port)
                return i;
    }
    return -1;
}

QString plateVerdictText(int plateNumber, bool linked, bool baseBoardReported, uint32_t failCount)
{
    const QString n = QString::number(plateNumber);
    if (!linked || !baseBoardReported)
        return n + "_unconnected";
    return n + (failCount != 0 ? "_fail" : "_pass");
}

QString reportLogLine(uint8_t code, const QString &text)
{
    switch (code) {
    case 5:  // the workers' diagnostics: open failures, recording, equipment errors
    case 38: // advanced-run status
    case 74: // turntable and supply sequence lines
    case 75: // a refused sequence
        return text;
    case 39:
        return QCoreApplication::translate("ConsoleLogic", "Chamber run ended: cool to room temperature, end after 30 minutes");
    case 59:
        return "Tip: " + text;
    default: // values, times, liveness and verdict reports arrive every second: not for the log
        return QString();
    }
}

SelectionFile::SelectionFile(const QString &path) : m_path(path) {}

void SelectionFile::ensureConfigDir(const QString &folder)
{
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
}

void SelectionFile::ensureSelectFile(const QString &path)
{
    if (QFile::exists(path))
        return;
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.close();
}

QVector<bool> SelectionFile::readAll() const
{
    ensureConfigDir(QFileInfo(m_path).absolutePath());
    ensureSelectFile(m_path);
    QSettings ini(m_path, QSettings::IniFormat);
    ini.beginGroup("SelectStatus");
    QVector<bool> cells(kRows * kColumns, false);
    for (int p = 0; p < kRows; ++p)
        for (int c = 0; c < kColumns; ++c)
            cells[p * kColumns + c] = ini.value(key(p, c), false).toBool();
    return cells;
}

bool SelectionFile::read(int plate, int column) const
{
    ensureConfigDir(QFileInfo(m_path).absolutePath());
    ensureSelectFile(m_path);
    QSettings ini(m_path, QSettings::IniFormat);
    ini.beginGroup("SelectStatus");
    return ini.value(key(plate, column), false).toBool();
}

int SelectionFile::save(const QVector<bool> &cells) const
{
    ensureConfigDir(QFileInfo(m_path).absolutePath());
    ensureSelectFile(m_path);
    QSettings ini(m_path, QSettings::IniFormat);
    ini.beginGroup("SelectStatus");
    int written = 0;
    for (int p = 0; p < kRows; ++p)
        for (int c = 0; c < kColumns; ++c) {
            const bool on = cells.value(p * kColumns + c, false);
            if (ini.value(key(p, c), false).toBool() != on) {
                ini.setValue(key(p, c), on);
                ++written;
            }
        }
    ini.endGroup();
    ini.sync();
    return written;
}

#include "production/ScreeningRun.h"

#include <algorithm>
#include <cmath>

#include "app/Clock.h"
#include "app/MeasuredValues.h"
#include "app/VersionText.h"
#include "link/DeviceRecords.h"

using namespace ScreeningText;

namespace {
// NaN and infinity read "nan", "inf", "-inf": what the module sent stands in the cell and the log.
QString shortFloat(float v) { return QString::number(double(v), 'g', 6); }

// A measured value passes a limit only as a number within it: NaN and infinity fail.
bool magnitudeBelow(float v, float limit) { return std::isfinite(v) && std::fabs(v) < limit; }

constexpr float kAccNormLow = 0.9f, kAccNormHigh = 1.1f;
constexpr float kGyroSpreadLimit = 0.02f; // max_min_diff 1 to 3

// A failing cell's reason: the module's value, then the rule it broke.
QString valueAgainst(const QString &v, const QString &rule) { return ScreeningRun::tr("value %1, %2").arg(v, rule); }

// A module reports while its counter reads neither 0 nor all ones (a place no module answers
// in reads its whole record as 0 or as 0xFF).
bool reports(const ScreeningModule &d) { return d.module_counter != 0 && d.module_counter != 0xFFFFFFFFu; }

// A place shows a module when it reads a serial number, or when its counter runs whatever the
// serial number reads.
bool showsModule(const ScreeningModule &d) { return reports(d) || !d.isEmptyPlace(); }

// A check that runs only at the displays of some tick counts, on some rows of the grid.
struct CheckWindow {
    int firstRow, lastRow;
    quint32 from, to; // tick counts
    bool holds(quint32 tick) const { return tick >= from && tick <= to; }
};
constexpr CheckWindow kAccNormWindow{14, 14, 0, 14};
constexpr CheckWindow kFlagWindow{16, 16, 6, 9};
constexpr CheckWindow kSpreadWindow{22, 27, 7, 12};
constexpr CheckWindow kWindows[] = {kAccNormWindow, kFlagWindow, kSpreadWindow};

// True when ticks (bit t: tick count t) holds a tick count of the window.
bool anyTickIn(quint32 ticks, const CheckWindow &w)
{
    return ((ticks >> w.from) & ((1u << (w.to - w.from + 1)) - 1)) != 0;
}

std::vector<ScreeningModule> parseAll(const ScreeningBytes &records)
{
    std::vector<ScreeningModule> mods;
    for (int m = 0; m < ScreeningRun::kModules; ++m)
        mods.push_back(ScreeningModule::parse(records, m));
    return mods;
}
} // namespace

ScreeningRun::ScreeningRun(QObject *parent) : QObject(parent) { m_current.fill(-1); }

void ScreeningRun::setCell(int row, int m, const QString &text)
{
    ScreeningCell &c = m_grid[size_t(row)][size_t(m)];
    if (row == 0 && c.mark != ScreeningCell::None)
        return;
    if (row >= 16 && row <= 27 && c.mark == ScreeningCell::Red)
        return;
    c.text = text;
}

void ScreeningRun::fail(int row, int m, const QString &why)
{
    ScreeningCell &c = m_grid[size_t(row)][size_t(m)];
    c.mark = ScreeningCell::Red;
    c.why = why;
    ++m_errors;
}

bool ScreeningRun::display(const ScreeningBytes &records, const ScreeningReference &ref, bool linkUp)
{
    const qint64 now = Clock::instance().monotonicMs();
    m_hasData = true;
    m_lastDataMs = now;
    if (!linkUp)
        return false;
    const std::vector<ScreeningModule> mods = parseAll(records);
    // A running counter opens the display, wherever its module sits on the board.
    const bool anyCounter = std::any_of(mods.begin(), mods.end(), reports);
    if ((m_ticks >= 14 && m_ticks <= 23) || !anyCounter || m_verdictGiven)
        return false;
    if (m_hasDisplay && now - m_lastDisplayMs <= 1000)
        return false;
    m_hasDisplay = true;
    m_lastDisplayMs = now;
    m_shownTicks |= 1u << qMin(m_ticks, 31u);

    for (int m = 0; m < kModules; ++m) {
        const ScreeningModule &d = mods[size_t(m)];
        const QString nums[] = {QString::number(d.module_counter), QString::number(d.software_ver),
                                QString::number(d.hardware_ver), version_to_string(d.board_ver),
                                d.serialNumber(), QString::number(d.gyro_num), QString::number(d.accel_num),
                                QString::number(d.lp_type), QString::number(d.stream_mode),
                                QString::number(d.calib_flag), QString::number(d.imu_fCode),
                                QString::number(d.config_fCode), QString::number(d.calibParam_fCode),
                                QString::number(d.slave_status), shortFloat(d.acc_norm),
                                QString::number(d.sys_clk), QString::number(d.flag_byte)};
        for (int row = 0; row <= 16; ++row)
            setCell(row, m, nums[row]);
        for (int i = 0; i < 5; ++i)
            setCell(17 + i, m, QString::number(d.state[i]));
        for (int i = 0; i < 6; ++i)
            setCell(22 + i, m, shortFloat(d.max_min_diff[i]));
        if (!d.text.isEmpty())
            setCell(28, m, d.text);
        m_maxCounter[size_t(m)] = std::max(m_maxCounter[size_t(m)], d.module_counter);
    }
    check(mods, ref);
    return true;
}

void ScreeningRun::check(const std::vector<ScreeningModule> &mods, const ScreeningReference &ref)
{
    // A place that shows a module is fitted for the rest of the run; the places that answer now
    // are judged and make the consensus, and a fitted place that stopped answering fails.
    std::vector<int> fitted;
    const quint32 tickBit = 1u << qMin(m_ticks, 31u);
    for (int m = 0; m < kModules; ++m) {
        const ScreeningModule &d = mods[size_t(m)];
        // Fresh data: a running counter that reads other than at the module's own record
        // before, at whatever pace it runs. A board that relays a hung module's last record
        // shows its counter standing still; the first record after empty readings is where the
        // counter starts, not a move.
        if (reports(d)) {
            if (m_counterRead.test(size_t(m)) && d.module_counter != m_lastCounter[size_t(m)])
                m_freshTicks[size_t(m)] |= tickBit;
            m_counterRead.set(size_t(m));
            m_lastCounter[size_t(m)] = d.module_counter;
        }
        if (stoppedAnswering(m, d)) {
            failStopped(m, d);
            continue;
        }
        if (!showsModule(d))
            continue;
        m_fitted.set(size_t(m));
        if (reports(d)) {
            m_counted.set(size_t(m));
            m_answeredTicks[size_t(m)] |= tickBit;
        }
        if (!d.isEmptyPlace())
            noteSerial(m, d);
        fitted.push_back(m);
    }
    if (fitted.empty())
        return;
    const ScreeningModule &first = mods[size_t(fitted.front())];
    const QString firstName = tr("module %1").arg(fitted.front() + 1);
    // A field whose mean over the fitted modules differs from the first one's value: the whole
    // row fails.
    auto rowDiffers = [&](auto field) {
        float sum = 0;
        for (int m : fitted)
            sum += float(field(mods[size_t(m)]));
        return sum / float(fitted.size()) != float(field(first));
    };
    const bool gyroRow = rowDiffers([](const ScreeningModule &d) { return d.gyro_num; });
    const bool accelRow = rowDiffers([](const ScreeningModule &d) { return d.accel_num; });
    const bool lpRow = rowDiffers([](const ScreeningModule &d) { return d.lp_type; });
    const bool streamRow = rowDiffers([](const ScreeningModule &d) { return d.stream_mode; })
        || int(first.stream_mode) != m_limits.stream_mode;
    const bool calibRow = rowDiffers([](const ScreeningModule &d) { return d.calib_flag; });
    const bool imuRow = rowDiffers([](const ScreeningModule &d) { return d.imu_fCode; });
    const bool configRow = rowDiffers([](const ScreeningModule &d) { return d.config_fCode; });
    const bool paramRow = rowDiffers([](const ScreeningModule &d) { return d.calibParam_fCode; });
    const bool spreadWindow = kSpreadWindow.holds(m_ticks);

    auto limit = [](auto v, auto l) { return valueAgainst(QString::number(v), tr("limit %1").arg(QString::number(l))); };
    auto mean = [&](auto v, auto first) {
        return valueAgainst(QString::number(v), tr("the board differs from %1 (%2)").arg(firstName, QString::number(first)));
    };
    const auto expected = [](const QString &v, const QString &ref) { return valueAgainst(v, tr("expected %1").arg(ref)); };
    for (int m : fitted) {
        const ScreeningModule &d = mods[size_t(m)];
        if (cell(1, m).text != ref.software)
            fail(1, m, expected(cell(1, m).text, ref.software));
        if (cell(2, m).text != ref.hardware)
            fail(2, m, expected(cell(2, m).text, ref.hardware));
        if (cell(3, m).text != ref.board)
            fail(3, m, expected(cell(3, m).text, ref.board));
        if (d.isEmptyPlace()) // it reports, but no serial number stores it
            fail(4, m, valueAgainst(cell(4, m).text, tr("the module reports without a serial number")));
        if (gyroRow)
            fail(5, m, mean(d.gyro_num, first.gyro_num));
        if (accelRow)
            fail(6, m, mean(d.accel_num, first.accel_num));
        if (int(d.lp_type) != m_limits.lp_type)
            fail(7, m, limit(d.lp_type, m_limits.lp_type));
        else if (lpRow)
            fail(7, m, mean(d.lp_type, first.lp_type));
        if (streamRow)
            fail(8, m, int(first.stream_mode) != m_limits.stream_mode
                           ? valueAgainst(QString::number(d.stream_mode),
                                          tr("%1 reports %2, limit %3")
                                              .arg(firstName, QString::number(first.stream_mode),
                                                   QString::number(m_limits.stream_mode)))
                           : mean(d.stream_mode, first.stream_mode));
        if (calibRow)
            fail(9, m, mean(d.calib_flag, first.calib_flag));
        if (imuRow || d.imu_fCode != 0)
            fail(10, m, imuRow ? mean(d.imu_fCode, first.imu_fCode) : limit(d.imu_fCode, 0));
        if (configRow || d.config_fCode != 0)
            fail(11, m, configRow ? mean(d.config_fCode, first.config_fCode) : limit(d.config_fCode, 0));
        if (paramRow)
            fail(12, m, mean(d.calibParam_fCode, first.calibParam_fCode));
        if (kAccNormWindow.holds(m_ticks) && !withinLimits(d.acc_norm, kAccNormLow, kAccNormHigh))
            fail(14, m, valueAgainst(shortFloat(d.acc_norm),
                                     tr("limits %1 to %2").arg(shortFloat(kAccNormLow), shortFloat(kAccNormHigh))));
        if (d.sys_clk != m_limits.sys_clk)
            fail(15, m, limit(d.sys_clk, m_limits.sys_clk));
        if (kFlagWindow.holds(m_ticks) && d.flag_byte != 1)
            fail(16, m, limit(d.flag_byte, 1));
        for (int i = 0; i < 4; ++i)
            if (d.state[i] == 2)
                fail(17 + i, m, valueAgainst("2", tr("2 is a failure")));
        for (int i = 0; i < 6 && spreadWindow; ++i) {
            const float below = i < 3 ? kGyroSpreadLimit : m_limits.max_min_diff;
            if (!magnitudeBelow(d.max_min_diff[i], below))
                fail(22 + i, m, valueAgainst(shortFloat(d.max_min_diff[i]), tr("limit below %1").arg(shortFloat(below))));
        }
    }
}

// A fitted place stopped answering when it reads empty, or when its counter ran and no longer
// does.
bool ScreeningRun::stoppedAnswering(int m, const ScreeningModule &d) const
{
    return m_fitted.test(size_t(m)) && !reports(d) && (m_counted.test(size_t(m)) || d.isEmptyPlace());
}

void ScreeningRun::failStopped(int m, const ScreeningModule &d)
{
    if (cell(0, m).mark == ScreeningCell::Red)
        return; // told once
    fail(0, m, valueAgainst(QString::number(d.module_counter),
                            d.isEmptyPlace() ? tr("the module stopped answering: its place reads empty")
                                             : tr("the module's counter stopped")));
}

// One module per place for the whole run: a serial number that changes fails the place, and
// every serial number it read is stored with the board's verdict. One place per module: places
// that read one serial number fail, each once.
void ScreeningRun::noteSerial(int m, const ScreeningModule &d)
{
    const QString serial = d.serialNumber();
    std::vector<SerialRecord> &records = m_records[size_t(m)];
    int &current = m_current[size_t(m)];
    if (current >= 0 && records[size_t(current)].serial != serial) {
        const QString why = tr("serial changed from %1 to %2").arg(records[size_t(current)].serial, serial);
        fail(4, m, why);
        m_serialChanges << tr("module %1: %2").arg(m + 1).arg(why);
    }
    const auto holds = [&serial](const SerialRecord &r) { return r.serial == serial; };
    const auto it = std::find_if(records.begin(), records.end(), holds);
    current = int(it - records.begin());
    if (it == records.end())
        records.push_back(SerialRecord{serial, {}, 0, {}, {}});
    SerialRecord &r = records[size_t(current)];
    r.shown = d;
    r.maxAccNorm = largestKept(r.maxAccNorm, d.acc_norm);
    for (int i = 0; i < 3; ++i)
        r.maxBias[size_t(i)] = largestKept(r.maxBias[size_t(i)], std::fabs(d.gyro_bias[i]));
    for (int i = 0; i < 6; ++i)
        if (i >= 3 || (m_ticks >= 6 && m_ticks <= 12))
            r.maxDiff[size_t(i)] = largestKept(r.maxDiff[size_t(i)], d.max_min_diff[i]);

    for (int other = 0; other < kModules; ++other) {
        const std::vector<SerialRecord> &theirs = m_records[size_t(other)];
        if (other == m || std::none_of(theirs.begin(), theirs.end(), holds))
            continue;
        for (const auto &[place, by] : {std::make_pair(m, other), std::make_pair(other, m)}) {
            const QString key = QString("%1 %2").arg(place).arg(serial);
            if (m_sharedTold.contains(key))
                continue;
            m_sharedTold.insert(key);
            fail(4, place, tr("serial number %1 is also read by module %2").arg(serial).arg(by + 1));
        }
    }
}

QStringList ScreeningRun::serialsOf(int m) const
{
    QStringList out;
    for (const SerialRecord &r : m_records[size_t(m)])
        out << r.serial;
    return out;
}

QStringList ScreeningRun::serialFaults() const
{
    QStringList out = m_serialChanges;
    QStringList told;
    for (int m = 0; m < kModules; ++m) {
        for (const SerialRecord &r : m_records[size_t(m)]) {
            if (told.contains(r.serial))
                continue;
            QStringList places;
            for (int other = 0; other < kModules; ++other)
                if (serialsOf(other).contains(r.serial))
                    places << QString::number(other + 1);
            if (places.size() > 1)
                out << tr("serial number %1 read by modules %2").arg(r.serial, places.join(", "));
            told << r.serial;
        }
    }
    return out;
}

void ScreeningRun::failUnchecked(int m)
{
    QStringList missed;
    if (!m_counted.test(size_t(m)) || m_freshTicks[size_t(m)] == 0) {
        // What it shows is no answer of its own: nothing of it was checked.
        missed << (m_counted.test(size_t(m)) ? tr("its counter never moved") : tr("its counter never ran"));
        fail(0, m, tr("not checked: %1").arg(missed.last()));
    } else {
        for (const CheckWindow &w : kWindows) {
            if (!anyTickIn(m_answeredTicks[size_t(m)], w))
                missed << tr("no answer in tick count %1 to %2").arg(w.from).arg(w.to);
            else if (!anyTickIn(m_freshTicks[size_t(m)], w))
                missed << tr("its counter stood still in tick count %1 to %2").arg(w.from).arg(w.to);
            else
                continue;
            for (int row = w.firstRow; row <= w.lastRow; ++row)
                fail(row, m, tr("not checked: %1").arg(missed.last()));
        }
    }
    m_missed[size_t(m)] = missed.join(", ");
}

QStringList ScreeningRun::notChecked() const
{
    // The places of each reason, in place order, runs of neighbours written "1 to 16".
    QStringList reasons;
    for (const QString &r : m_missed)
        if (!r.isEmpty() && !reasons.contains(r))
            reasons << r;
    QStringList out;
    for (const QString &r : reasons) {
        QStringList runs;
        int count = 0;
        for (int m = 0; m < kModules; ++m) {
            if (m_missed[size_t(m)] != r)
                continue;
            int last = m;
            while (last + 1 < kModules && m_missed[size_t(last + 1)] == r)
                ++last;
            runs << (last == m ? QString::number(m + 1) : tr("%1 to %2").arg(m + 1).arg(last + 1));
            count += last - m + 1;
            m = last;
        }
        out << (count == 1 ? tr("module %1 (%2)") : tr("modules %1 (%2)")).arg(runs.join(", "), r);
    }
    return out;
}

void ScreeningRun::tick(bool linkUp, const ScreeningBytes &records)
{
    if (g_serial_fault_count.load() > 5) {
        g_serial_fault_count.store(0);
        emit serialLinkLost();
    }
    if (!linkUp) {
        clear();
        emit statusChanged(OpenPort, StatusStyle::Yellow);
        return;
    }
    emit command(24902, 5.0f, 0, 0, 0, 0, 0);
    emit command(DeviceCmdId::SetOutputMode, OutputMode::Screening, 0, OUTPUT_MODE_FILLER::cm3,
                 OUTPUT_MODE_FILLER::cm4, OUTPUT_MODE_FILLER::cm5, OUTPUT_MODE_FILLER::cm6);
    const qint64 now = Clock::instance().monotonicMs();
    if (!m_hasData || now - m_lastDataMs >= 3000) {
        clear();
        emit statusChanged(Waiting, StatusStyle::Yellow);
        return;
    }
    if (!m_finished)
        emit statusChanged(m_errors > 0 ? WithErrors : Normal, StatusStyle::Yellow);
    ++m_ticks;
    if (m_ticks > 13 && !m_stepSent) {
        m_stepSent = true;
        for (int i = 0; i < 3; ++i)
            emit command(24903, 0, 0, 0, 0, 0, 0);
        emit stepSent();
    }
    if (m_ticks > 24 && !m_verdictGiven) {
        m_verdictGiven = true;
        m_finished = true;
        const std::vector<ScreeningModule> mods = parseAll(records);
        // A verdict needs the displays it judges: one while the flag byte is checked (tick
        // count 6 to 9) and one while the spreads are (7 to 12). Each fitted place must have
        // answered at them too, or it fails unchecked.
        if (!anyTickIn(m_shownTicks, kFlagWindow) || !anyTickIn(m_shownTicks, kSpreadWindow) || m_fitted.none()) {
            emit statusChanged(NotTested, StatusStyle::Red);
            emit notTested();
            return;
        }
        QStringList serials;
        for (int m = 0; m < kModules; ++m) {
            if (!fitted(m))
                continue;
            const ScreeningModule &d = mods[size_t(m)];
            if (stoppedAnswering(m, d)) // since the last display
                failStopped(m, d);
            failUnchecked(m);
            ScreeningCell &c = m_grid[0][size_t(m)];
            if (c.mark != ScreeningCell::Red)
                c.mark = d.module_counter < m_maxCounter[size_t(m)] ? ScreeningCell::Green : ScreeningCell::Red;
            for (const QString &sn : serialsOf(m))
                if (!serials.contains(sn)) // one row a serial number, though places share it
                    serials << sn;
        }
        const bool passed = m_errors == 0; // one verdict for the whole board, judged now
        emit statusChanged(passed ? DoneNormal : DoneErrors,
                           passed ? StatusStyle::Green : StatusStyle::Red);
        emit verdict(passed, serials);
    }
}

void ScreeningRun::clear()
{
    m_errors = 0;
    m_stepSent = false;
    m_ticks = 0;
    m_verdictGiven = false;
    m_finished = false;
    m_shownTicks = 0;
    m_maxCounter.fill(0);
    m_fitted.reset();
    m_counted.reset();
    m_answeredTicks.fill(0);
    m_freshTicks.fill(0);
    m_counterRead.reset();
    m_lastCounter.fill(0);
    for (auto &r : m_records)
        r.clear();
    m_current.fill(-1);
    m_missed.fill(QString());
    m_serialChanges.clear();
    m_sharedTold.clear();
    for (auto &row : m_grid)
        row.fill(ScreeningCell());
    emit statusChanged("N/A", QString("background-color:") + "white");
    emit cleared();
}

QString ScreeningRun::csvHeader()
{
    QStringList h{"%SN", "start_time", "software_ver", "hardware_ver", "board_ver", "gyro_num",
                  "accel_num", "lp_type", "stream_mode", "time_stable_us", "time_consume_us",
                  "calib_flag", "imu_fCode", "config_fCode", "calibParam_fCode", "slave_status",
                  "acc_norm", "sys_clk"};
    for (int i = 0; i < 3; ++i)
        h << "gyro_bias";
    for (int i = 0; i < 6; ++i)
        h << "max_min_diff";
    for (int i = 0; i < 3; ++i)
        h << "p_gyro_bias";
    return h.join(",") + "\n";
}

QString ScreeningRun::csvLine(int m, const QString &serial, const QString &stamp) const
{
    const std::vector<SerialRecord> &records = m_records[size_t(m)];
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&serial](const SerialRecord &r) { return r.serial == serial; });
    const SerialRecord r = it == records.end() ? SerialRecord() : *it;
    const ScreeningModule &d = r.shown;
    QStringList v{serial, stamp, QString::number(d.software_ver), QString::number(d.hardware_ver),
                  QString::number(d.board_ver), QString::number(d.gyro_num), QString::number(d.accel_num),
                  QString::number(d.lp_type), QString::number(d.stream_mode),
                  QString::number(d.time_stable_us), QString::number(d.time_consume_us),
                  QString::number(d.calib_flag), QString::number(d.imu_fCode), QString::number(d.config_fCode),
                  QString::number(d.calibParam_fCode), QString::number(d.slave_status),
                  shortFloat(r.maxAccNorm), QString::number(d.sys_clk)};
    for (float b : r.maxBias)
        v << shortFloat(b);
    for (float diff : r.maxDiff)
        v << shortFloat(diff);
    return v.join(",") + "\n";
}

bool ScreeningRun::remindDue(quint32 before, quint32 after)
{
    return after > 0 && after / 100 > before / 100;
}

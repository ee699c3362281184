#include "station/PlateView.h"

#include <QHash>

#include "app/VersionText.h"
#include "station/ConsoleLogic.h"

namespace {
QString g6(double v) { return QString::number(v, 'g', 6); }
QString f4(float v) { return QString::number(double(v), 'f', 4); }
QString angle(int16_t v) { return QString::number(double(v) / 100.0, 'f', 2); }

// The integer fields that pass through the row consensus, by row.
uint64_t consensusField(int row, const CalibImuStatus &r)
{
    switch (row) {
    case 1: return r.calib_flag_h;
    case 2: return r.calib_status;
    case 3: return r.calib_flag;
    case 4: return r.imu_range;
    case 5: return r.imu_type;
    case 6: return r.imu_fCode;
    case 7: return r.config_fCode;
    case 8: return r.calib_fCode;
    case 9: return r.harware_ver;
    case 10: return r.pos6_count;
    case 11: return r.gyro_fuse_n;
    case 12: return r.accel_fuse_n;
    case 14: return r.software_ver;
    case 15: return r.lp_filter;
    default: return 0;
    }
}

QString consensusText(int row, uint64_t v)
{
    // The table shows these words the way it always has: through single precision.
    const float f = float(v);
    switch (row) {
    case 1:
    case 3: return QString::number(double(f), 'f', 0);
    case 2: return g6(double(f)) + get_string_calib_status(uint32_t(v));
    case 9: return version_to_string(uint32_t(v));
    case 14: return QString::number(v);
    default: return g6(double(f));
    }
}
} // namespace

const QStringList &plateRowLabels()
{
    static const QStringList labels = {
        "I2c packet loss", "calib_flag_h", "calib_status", "calib_flag", "imu_range", "imu_type",
        "imu_fCode", "config_fCode", "calib_fCode", "harware_ver", "6pos_count", "gyro_fuse_n",
        "accel_fuse_n", "time_ms", "software_ver", "lp_filter", "accx", "accy", "accz", "gyrox",
        "gyroy", "gyroz", "temp", "sn", "roll", "pitch", "yaw", "zupt", "user_flag", "user_fcode",
        "duration", "consume", "freq"};
    return labels;
}

ShieldRow oddOnesOut(const std::array<uint64_t, kImusPerPlate> &values, const ShieldRow &shielded)
{
    ShieldRow odd{};
    QHash<uint64_t, int> votes;
    uint64_t winner = 0;
    int best = 0;
    for (int k = 0; k < kImusPerPlate; ++k) {
        if (shielded[size_t(k)])
            continue;
        const int n = ++votes[values[size_t(k)]];
        if (n > best) {
            best = n;
            winner = values[size_t(k)];
        }
    }
    // With a tie the first value to reach the top count wins; re-check in IMU order so a later
    // value that only equals the count does not displace it.
    if (best > 0) {
        for (int k = 0; k < kImusPerPlate; ++k)
            if (!shielded[size_t(k)] && votes.value(values[size_t(k)]) == best) {
                winner = values[size_t(k)];
                break;
            }
    }
    for (int k = 0; k < kImusPerPlate; ++k)
        odd[size_t(k)] = best > 0 && !shielded[size_t(k)] && values[size_t(k)] != winner;
    return odd;
}

QString serialHex(const CalibImuStatus &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.sn), sizeof r.sn).toHex();
}

PlateTableView buildPlateTable(const PlateSnapshot &snap, const ShieldRow &shielded,
                               uint32_t expectedFlag, std::array<uint32_t, kImusPerPlate> &lastLoss)
{
    PlateTableView v;
    auto &cells = v.cells;

    // Row 0: packet-loss counts; a jump of more than 2 since the last mark is a fault.
    for (int k = 0; k < kImusPerPlate; ++k) {
        const uint32_t count = snap.errors[size_t(k)];
        CellView &c = cells[0][size_t(k)];
        c.text = QString::number(count);
        if (!shielded[size_t(k)] && uint32_t(count - lastLoss[size_t(k)]) > 2) {
            lastLoss[size_t(k)] = count;
            v.failCount++;
            c.colour = CellColour::Red;
        }
    }

    // Rows of integer words, each judged against the value most IMUs show.
    for (int row : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15}) {
        std::array<uint64_t, kImusPerPlate> values{};
        for (int k = 0; k < kImusPerPlate; ++k)
            values[size_t(k)] = consensusField(row, snap.imu[size_t(k)]);
        const ShieldRow odd = oddOnesOut(values, shielded);
        for (int k = 0; k < kImusPerPlate; ++k) {
            CellView &c = cells[size_t(row)][size_t(k)];
            c.text = consensusText(row, values[size_t(k)]);
            if (odd[size_t(k)]) {
                c.colour = CellColour::Yellow;
                if (row != 10) // a differing six-position count is shown, not failed
                    v.failCount++;
            }
        }
        if (row == 1 && expectedFlag != 0) {
            for (int k = 0; k < kImusPerPlate; ++k)
                if (!shielded[size_t(k)] && snap.imu[size_t(k)].calib_flag_h != expectedFlag)
                    v.failCount++;
        }
    }

    for (int k = 0; k < kImusPerPlate; ++k) {
        const CalibImuStatus &r = snap.imu[size_t(k)];
        const size_t i = size_t(k);
        cells[13][i].text = QString::number(r.time_ms);
        const float fused[7] = {r.accx, r.accy, r.accz, r.gyrox, r.gyroy, r.gyroz, r.temp};
        for (int j = 0; j < 7; ++j)
            cells[size_t(16 + j)][i].text = f4(fused[j]);
        cells[23][i].text = serialHex(r);
        cells[24][i].text = angle(r.roll);
        cells[25][i].text = angle(r.pitch);
        cells[26][i].text = angle(r.yaw);
        cells[27][i].text = QString::number(r.zupt);
        cells[28][i].text = QString::number(r.user_flag);
        cells[29][i].text = QString::number(r.user_fcode);
        cells[30][i].text = QString::number(r.duration);
        cells[31][i].text = QString::number(r.consume);
        cells[32][i].text = QString::number(r.freq);
        if (shielded[i])
            for (int row = 0; row <= 28; ++row)
                cells[size_t(row)][i].colour = CellColour::LightGray;
    }
    return v;
}

QString summaryCellText(int kind, const CalibImuStatus &r, uint32_t errorCount)
{
    switch (kind) {
    case 0: return QString::number(errorCount);
    case 1: return g6(double(float(r.calib_flag_h)));
    case 2: return g6(double(float(r.calib_status))) + get_string_calib_status(r.calib_status);
    case 3: return g6(double(float(r.calib_flag)));
    case 4: return g6(r.imu_range);
    case 5: return g6(r.imu_type);
    case 6: return g6(r.imu_fCode);
    case 7: return g6(r.config_fCode);
    case 8: return g6(r.calib_fCode);
    case 9: return version_to_string(r.harware_ver);
    case 10: return g6(double(float(r.pos6_count)));
    case 11: return QString::number(r.gyro_fuse_n);
    case 12: return QString::number(r.accel_fuse_n);
    case 13: return QString::number(r.time_ms);
    case 14: return g6(double(float(r.software_ver)));
    case 15: return g6(r.lp_filter);
    case 16: return f4(r.accx);
    case 17: return f4(r.accy);
    case 18: return f4(r.accz);
    case 19: return f4(r.gyrox);
    case 20: return f4(r.gyroy);
    case 21: return f4(r.gyroz);
    case 22: return f4(r.temp);
    case 23: return serialHex(r);
    case 24: return angle(r.roll);
    case 25: return angle(r.pitch);
    case 26: return angle(r.yaw);
    case 27: return QString::number(r.zupt);
    case 28: return QString::number(r.user_flag);
    case 29: return QString::number(r.user_fcode);
    default: return QString();
    }
}

#include "station/CalibVerdicts.h"

#include "station/ConsoleLogic.h"

int countJudgedImus(bool plateLinked, const PlateSnapshot &snap, const ShieldRow &shielded, const ShieldRow &seen)
{
    int n = 0;
    for (int k = 0; k < kImusPerPlate; ++k)
        n += isJudgedImu(plateLinked, snap.imu[size_t(k)], shielded[size_t(k)], seen[size_t(k)]) ? 1 : 0;
    return n;
}

QString flagCellText(uint32_t word)
{
    return get_string_calib_flag(word) + QString::number(word);
}

QString badFlagCellText(uint32_t word)
{
    return "NG_" + QString::number(word);
}

QString badPositionText(int plateNumber, int imuNumber)
{
    return "Floor" + QString::number(plateNumber) + "-" + QString::number(imuNumber) + "; ";
}

std::array<CellColour, kImusPerPlate> consensusColours(const std::array<uint64_t, kImusPerPlate> &values,
                                                       const ShieldRow &shielded)
{
    const ShieldRow odd = oddOnesOut(values, shielded);
    std::array<CellColour, kImusPerPlate> colours{};
    for (int k = 0; k < kImusPerPlate; ++k)
        colours[size_t(k)] = shielded[size_t(k)] ? CellColour::LightGray
                             : odd[size_t(k)]    ? CellColour::Yellow
                                                 : CellColour::None;
    return colours;
}

FlagBlockRow buildFlagBlockRow(int plate, const PlateSnapshot &snap, const ShieldRow &shielded,
                               uint32_t expected, bool baseBoardReported, const ShieldRow &seen)
{
    FlagBlockRow row;
    std::array<uint64_t, kImusPerPlate> words{};
    for (int k = 0; k < kImusPerPlate; ++k)
        words[size_t(k)] = snap.imu[size_t(k)].calib_flag_h;
    const auto colours = consensusColours(words, shielded);
    for (int k = 0; k < kImusPerPlate; ++k) {
        const uint32_t word = snap.imu[size_t(k)].calib_flag_h;
        CellView &c = row.cells[size_t(k)];
        c = CellView{flagCellText(word), colours[size_t(k)]};
        // Only a judged IMU can be bad: an empty position is neither counted nor marked.
        if (expected != 0 && baseBoardReported &&
            isJudgedImu(true, snap.imu[size_t(k)], shielded[size_t(k)], seen[size_t(k)]) &&
            judgedImuFails(snap.imu[size_t(k)], word, expected)) {
            c = CellView{badFlagCellText(word), CellColour::Red};
            row.positions += badPositionText(plate + 1, k + 1);
            ++row.bad;
        }
    }
    return row;
}

VerdictStats verdictStats(int badCount, int aliveCount)
{
    VerdictStats s;
    s.bad = qMin(badCount, aliveCount);
    s.ok = aliveCount - s.bad;
    s.badText = QString::number(s.bad);
    s.okText = QString::number(s.ok);
    if (aliveCount <= 0) {
        s.percentText = "-"; // no live IMU: no share to show
        return s;
    }
    const float percent = 100.0f - float(s.bad) / float(aliveCount) * 100.0f;
    s.percentText = QString::number(double(percent), 'f', 2) + "%";
    return s;
}

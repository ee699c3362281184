#pragma once
// Verdicts of the calibration-flag word after a run: which IMUs count as live, the texts of
// the flag cells, the IMUs marked bad with their positions, and the pass statistics.
// Qt Core only, linked directly by the tests.
#include <QString>

#include <array>
#include <cstdint>

#include "link/DeviceRecords.h"
#include "station/PlateView.h"

// The one rule of the screen's verdicts and of the upload. An IMU is judged when its plate is
// linked, it is not shielded and it reports now or has reported before (seen): an IMU that falls
// silent during a run stays judged, an empty position never is. A judged IMU fails when it is
// silent now or its flag word misses the expectation.
inline bool isJudgedImu(bool plateLinked, const CalibImuStatus &r, bool shielded, bool seen)
{
    return plateLinked && !shielded && (r.time_ms != 0 || seen);
}
inline bool judgedImuFails(const CalibImuStatus &r, uint32_t word, uint32_t expected)
{
    return r.time_ms == 0 || word != expected;
}
// Judged IMUs of one plate (seen: the IMUs that have reported; none given, only those
// reporting now count).
int countJudgedImus(bool plateLinked, const PlateSnapshot &snap, const ShieldRow &shielded,
                    const ShieldRow &seen = ShieldRow{});

// Block-0 text of a flag word: its flag text directly followed by the word in decimal.
QString flagCellText(uint32_t word);
// Text of a flag word that misses the expectation: "NG_" and the word.
QString badFlagCellText(uint32_t word);
// Position of a bad IMU in the position list (1-based numbers): "Floor<p>-<k>; ".
QString badPositionText(int plateNumber, int imuNumber);

// The flag block of one plate: 32 cells and the bad IMUs found on it.
struct FlagBlockRow {
    std::array<CellView, kImusPerPlate> cells;
    int bad = 0;
    QString positions;
};

// Builds a plate's flag cells. An IMU is bad when there is an expectation, the plate's base
// board has reported and the IMU is judged (isJudgedImu, with the IMUs seen reporting) and
// fails: the same rule that counts it. Shielded cells are light gray; the cells of IMUs that
// differ from the plate's usual word are yellow unless bad (red).
FlagBlockRow buildFlagBlockRow(int plate, const PlateSnapshot &snap, const ShieldRow &shielded,
                               uint32_t expected, bool baseBoardReported, const ShieldRow &seen = ShieldRow{});

// Colours of a plate row of the other blocks: yellow for unshielded IMUs whose value differs
// from the plate's usual value, light gray for shielded ones.
std::array<CellColour, kImusPerPlate> consensusColours(const std::array<uint64_t, kImusPerPlate> &values,
                                                       const ShieldRow &shielded);

// The statistics labels.
struct VerdictStats {
    int bad = 0;
    int ok = 0;
    QString badText;
    QString okText;
    QString percentText;
};
// bad is clamped to the live count; the percentage is 100 - bad / alive x 100 in single
// precision with two decimals and "%", "-" with no live IMU.
VerdictStats verdictStats(int badCount, int aliveCount);

// Whether a summary cell of the flag kind passes the plain check: "3999" or "8095".
inline bool plainFlagTextPasses(const QString &text)
{
    return text == QLatin1String("3999") || text == QLatin1String("8095");
}

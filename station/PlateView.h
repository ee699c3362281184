#pragma once
// What the result tables show for one plate, computed from a snapshot of its 32 records:
// the texts and colours of the 33 value rows, the plate's failure count, and the summary
// cells of one kind. Qt Core only; the console copies the result into its tables.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

#include "link/DeviceRecords.h"

enum class CellColour : uint8_t { None, Red, Yellow, LightGray };

struct CellView {
    QString text;
    CellColour colour = CellColour::None;
    bool operator==(const CellView &o) const { return colour == o.colour && text == o.text; }
    bool operator!=(const CellView &o) const { return !(*this == o); }
};

constexpr int kPlateValueRows = 33;
constexpr int kPlateTableRows = 40;
constexpr int kSummaryKinds = 30;

using ShieldRow = std::array<bool, kImusPerPlate>;

struct PlateTableView {
    std::array<std::array<CellView, kImusPerPlate>, kPlateValueRows> cells;
    uint32_t failCount = 0;
};

// Row labels of the plate tables (33) and the summary kinds (30, the first 30 row labels).
const QStringList &plateRowLabels();

// IMUs whose value differs from the value most unshielded IMUs of the plate show (exact,
// integer comparison; a tie goes to the value seen first in IMU order). Shielded IMUs are
// never marked and take no part in the vote.
ShieldRow oddOnesOut(const std::array<uint64_t, kImusPerPlate> &values, const ShieldRow &shielded);

// Builds the 33 rows of one plate. lastLoss holds, per IMU, the packet-loss count at which
// the IMU was last marked; a jump of more than 2 marks the cell red and becomes the new value.
PlateTableView buildPlateTable(const PlateSnapshot &snap, const ShieldRow &shielded,
                               uint32_t expectedFlag, std::array<uint32_t, kImusPerPlate> &lastLoss);

// Text of one summary cell of a kind (0..29); empty for kinds outside the list.
QString summaryCellText(int kind, const CalibImuStatus &r, uint32_t errorCount);

// Serial number as 64 lower-case hexadecimal digits.
QString serialHex(const CalibImuStatus &r);

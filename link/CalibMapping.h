#pragma once
// Mapping of the calibration messages (0x0777, 0xB6B4, 0xB6B5, 0xB6B6, 0xB6B8) into the
// per-IMU CalibImuStatus records and packet-loss counts of one plate.
//
// A record of S bytes (1040, 368 or 256) holds G groups of seven f32 from offset 32; B = S - 112
// is the offset of the first word after them. The three link kinds fill slightly different
// field sets:
//   Replay: the common table (calib_status, calib_flag_h, roll/pitch/yaw only from 256-byte
//           records).
//   Rack:   as Replay, plus calib_status for every size, and for 256-byte records duration,
//           consume, freq, user_flag, user_fcode.
//   Main:   as Rack, plus zupt and the two words at B + 48, B + 52 (into bytes 80, 84) for
//           256-byte records.
#include <cstddef>
#include <cstdint>

#include "link/DeviceRecords.h"

enum class CalibMapVariant { Main, Rack, Replay };

// Maps one record of `size` bytes into `out`; bytes the variant does not write keep their
// previous contents.
void mapCalibRecord(CalibMapVariant variant, const uint8_t *record, size_t size, CalibImuStatus *out);

// Stores a whole calibration message into one plate's 32 records and 32 counts. The payload
// must hold at least minPayloadLength(id) bytes (checked; false when it does not, and for
// ids that are not calibration messages). 0x0777 copies its first 144 bytes into record 0
// and leaves the counts alone.
bool storeCalibMessage(CalibMapVariant variant, uint16_t id, const uint8_t *payload, size_t len,
                       CalibImuStatus *records, uint32_t *errors);

inline bool isCalibMessage(uint16_t id)
{
    return id == DeviceMsgId::Calib0777 || calibRecordSize(id) != 0;
}

#pragma once
// Host-to-module frames.
#include <QByteArray>
#include <cstdint>
#include <cstring>

// CMMD_STRUCT_LONG, 34 bytes, packed, little-endian:
//   55 AA | u16 cmd_id | u16 24 | f32 cm1 | f32 cm2 | u32 cm3 | u32 cm4 | i32 cm5 | i32 cm6 |
//   u32 CRC-32 (start 1) over bytes 0..29
struct LongCommand {
    uint16_t cmd_id = 0;
    float cm1 = 0, cm2 = 0;
    uint32_t cm3 = 0, cm4 = 0;
    int32_t cm5 = 0, cm6 = 0;
};
constexpr int kLongCommandBytes = 34;
QByteArray buildLongCommand(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                            int32_t cm5, int32_t cm6);
inline QByteArray buildLongCommand(const LongCommand &c)
{
    return buildLongCommand(c.cmd_id, c.cm1, c.cm2, c.cm3, c.cm4, c.cm5, c.cm6);
}
// Reads a CMMD_STRUCT_LONG back (simulators, tests); false when size or CRC is wrong.
bool parseLongCommand(const uint8_t *data, int size, LongCommand *out);

// CMMD_STRUCT_ACK, 14 bytes: 55 AA | u16 cmd_id | u16 4 | u16 ack_id | u16 result |
//   u32 CRC-32 (start 1) over bytes 0..9
constexpr int kAckCommandBytes = 14;
QByteArray buildAckCommand(uint16_t cmd_id, uint16_t ack_id, uint16_t result);

// A module frame (AA 55 | id | length | payload | CRC), for simulators and tests.
QByteArray buildDeviceFrame(uint16_t id, const QByteArray &payload);

// Little-endian field access of packed records.
template <class T> inline T readLE(const uint8_t *p)
{
    T v;
    memcpy(&v, p, sizeof(T));
    return v;
}
template <class T> inline void writeLE(uint8_t *p, T v)
{
    memcpy(p, &v, sizeof(T));
}

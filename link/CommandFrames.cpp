#include "link/CommandFrames.h"

#include "app/Crc.h"

#include <cstring>

namespace {
void putU16(uint8_t *p, uint16_t v) { memcpy(p, &v, 2); }
void putU32(uint8_t *p, uint32_t v) { memcpy(p, &v, 4); }
} // namespace

QByteArray buildLongCommand(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                            int32_t cm5, int32_t cm6)
{
    uint8_t b[kLongCommandBytes];
    b[0] = 0x55;
    b[1] = 0xAA;
    putU16(b + 2, cmd_id);
    putU16(b + 4, 24);
    memcpy(b + 6, &cm1, 4);
    memcpy(b + 10, &cm2, 4);
    putU32(b + 14, cm3);
    putU32(b + 18, cm4);
    memcpy(b + 22, &cm5, 4);
    memcpy(b + 26, &cm6, 4);
    putU32(b + 30, crc32_update(1, b, 30));
    return QByteArray(reinterpret_cast<const char *>(b), kLongCommandBytes);
}

bool parseLongCommand(const uint8_t *b, int size, LongCommand *out)
{
    if (size < kLongCommandBytes || b[0] != 0x55 || b[1] != 0xAA)
        return false;
    if (readLE<uint32_t>(b + 30) != crc32_update(1, b, 30))
        return false;
    out->cmd_id = readLE<uint16_t>(b + 2);
    out->cm1 = readLE<float>(b + 6);
    out->cm2 = readLE<float>(b + 10);
    out->cm3 = readLE<uint32_t>(b + 14);
    out->cm4 = readLE<uint32_t>(b + 18);
    out->cm5 = readLE<int32_t>(b + 22);
    out->cm6 = readLE<int32_t>(b + 26);
    return true;
}

QByteArray buildAckCommand(uint16_t cmd_id, uint16_t ack_id, uint16_t result)
{
    uint8_t b[kAckCommandBytes];
    b[0] = 0x55;
    b[1] = 0xAA;
    putU16(b + 2, cmd_id);
    putU16(b + 4, 4);
    putU16(b + 6, ack_id);
    putU16(b + 8, result);
    putU32(b + 10, crc32_update(1, b, 10));
    return QByteArray(reinterpret_cast<const char *>(b), kAckCommandBytes);
}

QByteArray buildDeviceFrame(uint16_t id, const QByteArray &payload)
{
    QByteArray f;
    f.reserve(payload.size() + 10);
    const uint16_t len = uint16_t(payload.size());
    f.append(char(0xAA)).append(char(0x55));
    f.append(char(id & 0xFF)).append(char(id >> 8));
    f.append(char(len & 0xFF)).append(char(len >> 8));
    f.append(payload);
    const uint32_t crc = crc32_update(1, reinterpret_cast<const uint8_t *>(f.constData()), size_t(f.size()));
    for (int k = 0; k < 4; ++k)
        f.append(char((crc >> (8 * k)) & 0xFF));
    return f;
}

#include "app/Crc.h"

#include <array>
#include <cstring>

namespace {

// Slicing-by-8 tables: the parsers run every received byte through the CRC, so the bulk path
// matters (16 plates at 2 Mbaud, gigabyte recordings in the decoder).
struct Crc32Tables {
    uint32_t t[8][256];
    constexpr Crc32Tables() : t{}
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
};
constexpr Crc32Tables kCrc{};

// Product of two polynomials modulo the CRC polynomial, in the reflected bit order (bit 31 is
// x^0).
constexpr uint32_t multModP(uint32_t a, uint32_t b)
{
    uint32_t m = 1u << 31, p = 0;
    for (;;) {
        if (a & m) {
            p ^= b;
            if ((a & (m - 1)) == 0)
                break;
        }
        m >>= 1;
        b = (b & 1) ? (b >> 1) ^ 0xEDB88320u : b >> 1;
    }
    return p;
}

// x^(8 * v * 16^d) modulo the CRC polynomial for each hex digit v of a length, d = 0 to 4:
// running the register over n zero bytes multiplies it by x^(8n).
struct ZeroTables {
    uint32_t t[5][16];
    ZeroTables() : t{}
    {
        uint32_t x8 = 1u << 23; // x^8
        for (int d = 0; d < 5; ++d) {
            t[d][0] = 1u << 31; // x^0
            for (int v = 1; v < 16; ++v)
                t[d][v] = multModP(t[d][v - 1], x8);
            x8 = multModP(t[d][15], x8); // x^(8 * 16^(d+1))
        }
    }
};
const ZeroTables kZeros;

} // namespace

uint32_t crc32_byte(uint32_t crc, uint8_t b)
{
    return kCrc.t[0][(crc ^ b) & 0xFF] ^ (crc >> 8);
}

uint32_t crc32_update(uint32_t crc, const uint8_t *p, size_t len)
{
    while (len >= 8) {
        uint32_t lo, hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + 4, 4);
        lo ^= crc;
        crc = kCrc.t[7][lo & 0xFF] ^ kCrc.t[6][(lo >> 8) & 0xFF] ^ kCrc.t[5][(lo >> 16) & 0xFF]
            ^ kCrc.t[4][lo >> 24] ^ kCrc.t[3][hi & 0xFF] ^ kCrc.t[2][(hi >> 8) & 0xFF]
            ^ kCrc.t[1][(hi >> 16) & 0xFF] ^ kCrc.t[0][hi >> 24];
        p += 8;
        len -= 8;
    }
    while (len--)
        crc = kCrc.t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc;
}

uint32_t crc32_zeros(uint32_t crc, uint32_t len)
{
    for (int d = 0; len != 0 && d < 5; ++d, len >>= 4)
        if (len & 15)
            crc = multModP(kZeros.t[d][len & 15], crc);
    return crc;
}

uint8_t crc8_calc(const uint8_t *data, size_t len)
{
    uint8_t crc = 0;
    for (size_t i = 0; i < len; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x80) ? uint8_t((crc << 1) ^ 0x07) : uint8_t(crc << 1);
    }
    return crc;
}

uint16_t crc16_modbus(const uint8_t *data, size_t len)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < len; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

#pragma once
// Checksums of the module protocol and of the Modbus equipment.
#include <cstddef>
#include <cstdint>

// Reflected CRC-32 (polynomial 0xEDB88320), no final inversion. The caller gives the start
// value: 1 for device frames and parameter blocks, 0 for the firmware image check.
uint32_t crc32_update(uint32_t crc, const uint8_t *data, size_t len);
inline uint32_t crc32_calc(const uint8_t *data, size_t len, uint32_t start)
{
    return crc32_update(start, data, len);
}
// One byte, for the byte-wise parsers.
uint32_t crc32_byte(uint32_t crc, uint8_t b);
// The register after len zero bytes, in a few steps whatever len (up to 2^20 - 1 bytes):
// crc32_update(c, data, n) == crc32_zeros(c, n) ^ crc32_update(0, data, n), so the CRC of a
// stretch of a stream follows from the registers run over the stream at its two ends.
uint32_t crc32_zeros(uint32_t crc, uint32_t len);

// CRC-8, polynomial 0x07, not reflected, start 0, no final inversion.
uint8_t crc8_calc(const uint8_t *data, size_t len);

// CRC-16/MODBUS (poly 0xA001 reflected, start 0xFFFF); appended low byte first.
uint16_t crc16_modbus(const uint8_t *data, size_t len);

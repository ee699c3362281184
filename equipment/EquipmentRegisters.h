#pragma once
// Register, coil and message choices of the rack's equipment that the station's own documents
// leave open, kept together so they can be matched to a real chamber or supply in one place.
#include <QString>
#include <cstdint>

namespace ChamberRtu {
constexpr int kSlave = 1;
constexpr int kBaud = 9600;
constexpr uint16_t kSetPointRegister = 0x074E; // t x 10, signed, function 6 / 3
constexpr uint16_t kSlopeRegister = 0x0752;    // s x 100, function 6 / 3
constexpr uint16_t kRunCoil = 0x04B0;          // 0xFF00 run, 0x0000 stop, function 5
// Chosen: the measured temperature, t x 10 signed, read with function 3.
constexpr uint16_t kCurrentTempRegister = 0x0744;
} // namespace ChamberRtu

namespace ChamberTcp {
constexpr int kUnit = 1;
constexpr uint16_t kSetPointEnableCoilA = 0x0070; // written ON before each set point (chosen)
constexpr uint16_t kSetPointEnableCoilB = 0x007A; // written ON after coil A (chosen)
constexpr uint16_t kSetPointRegister = 0x002B;    // t x 10, signed, function 0x10
constexpr uint16_t kSlopeRegister = 0x0037;       // s x 10 (low byte), function 0x10
constexpr int kMaxSlope = 25;                     // the largest s whose s x 10 fits the low byte
constexpr uint16_t kRunRegister = 0x002F;         // 1 run, 0 stop, function 0x10
// Chosen: the measured temperature, t x 10 signed, read with function 3.
constexpr uint16_t kCurrentTempRegister = 0x0029;
// Settings keys of the chamber's network address (written with these defaults when absent).
inline QString hostKey() { return QStringLiteral("hothouse/tcp_host"); }
inline QString portKey() { return QStringLiteral("hothouse/tcp_port"); }
inline QString defaultHost() { return QStringLiteral("192.168.1.10"); }
constexpr int kDefaultPort = 502;
} // namespace ChamberTcp

namespace DcSupply {
constexpr int kBaud = 9600;
constexpr int kSlave = 0x11;                  // as in the panel's set frame
constexpr uint16_t kSetRegister = 3;          // voltage set, current set, output (the set frame)
constexpr uint16_t kOutputRegister = 5;       // 1 on, 0 off
// Chosen: measured voltage and current, two registers from 0, function 3, scaled by the read
// full-scale values.
constexpr uint16_t kMeasureRegister = 0;
constexpr int kMeasureCount = 2;
constexpr int kSetFrameBytes = 13;
constexpr int kOutputByte = 12;
} // namespace DcSupply

namespace BaseBoard {
constexpr int kBaud = 460800;
// Chosen: message 24968 carries the chamber temperature of the other computer as an f32
// (degrees Celsius, little-endian) at payload offset 0.
constexpr uint16_t kChamberTempMsg = 24968;
constexpr int kChamberTempOffset = 0;
} // namespace BaseBoard

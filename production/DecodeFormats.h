#pragma once
// The decoded text files: for each decode type its header line, the messages that add rows
// and the text of each row. Rows are written straight into a character buffer; the caller
// keeps at least maxRowBytes(type) free. Payloads handed to the row writers hold at least
// layoutBytes() bytes (a shorter frame is padded with zeros by the decoder).
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace DecodeFormat {

// The decode types, in the order of the page's selector.
enum Type : int { Ahrs = 0, InsRtk = 1, Calib256 = 2, Calib368 = 3, Calib1040 = 4, NineImu = 5 };
constexpr int kTypeCount = 6;
inline bool isValidType(int type) { return type >= 0 && type < kTypeCount; }

namespace Msg {
constexpr uint16_t NineImu = 0x0001, Ahrs = 0x0002, AhrsMag = 0x0003, GnssUwb = 0x0109,
                   Ins1 = 0x0051, Ins2 = 0x0052, Ins3 = 0x0053;
}

// Sizes of the layouts.
constexpr size_t kAhrsBytes = 44, kAhrsMagBytes = 56, kGnssUwbBytes = 1162, kNineImuBytes = 932;
constexpr size_t kInsPart1 = 86, kInsPart2 = 59, kInsPart3 = 24;
constexpr size_t kInsRecordBytes = kInsPart1 + kInsPart2 + kInsPart3; // 169
constexpr int kImus = 32;
constexpr size_t kCalibHeader = 8;

// Record size S and groups G of a calibration type (2, 3, 4); 0 for other types.
size_t calibRecordBytes(int type);
int calibGroups(int type);
// The decode type whose rows a calibration message fills (2, 3, 4), else -1.
int calibTypeOf(uint16_t id);
// Payload bytes message `id` needs for a row under `type`; 0 when it adds no row there.
size_t layoutBytes(int type, uint16_t id);

// The header line (line feed included) of `type`; type 0 takes the GNSS/UWB header when the
// first good frame is message 0x0109.
QByteArray headerLine(int type, uint16_t firstId);

// Largest row of a type, in bytes.
size_t maxRowBytes(int type);

// Name of a GNSS position type (UTF-8), empty for values without one.
const char *positionTypeName(uint8_t type);

// Row writers; each returns the position after the line feed.
char *ahrsRow(char *p, const uint8_t *payload, bool withMag);
char *gnssUwbRow(char *p, const uint8_t *record);
char *insRow(char *p, const uint8_t *record); // the 169-byte record of the three parts
// The columns of one INS part each (part 1: columns 1-17, part 2: 18-28, part 3: 29-31), every
// value followed by ","; insRow is the three texts and a line feed.
char *insPart1Text(char *p, const uint8_t *part1);
char *insPart2Text(char *p, const uint8_t *part2);
char *insPart3Text(char *p, const uint8_t *part3);
// `records`: the 32 records of the message; `payload`: the frame (time, index, error counts).
char *calibRow(char *p, int type, const uint8_t *records, const uint8_t *payload);
char *nineImuRow(char *p, const uint8_t *payload);

// Offsets of the row fields, shared by every writer of these rows.
namespace Layout {
// Message 0x0002 in row order after time_us: acc xyz, gyro xyz, temperature, roll, pitch, yaw.
constexpr int kAhrsFloats[10] = {16, 20, 24, 28, 32, 36, 40, 8, 4, 12};
constexpr int kAhrsMagFloats[3] = {44, 48, 52};
// GNSS/UWB record: floats after time_us, then the GPS block.
constexpr int kGnssImuFloats[11] = {20, 24, 28, 8, 12, 16, 32, 36, 40, 44, 48};
constexpr int kGnssRecvTime = 56, kGnssFixType = 68, kGnssNumSv = 69;
constexpr int kGnssLatLonAlt[3] = {70, 74, 78};
constexpr int kGnssFloats0 = 82, kGnssFloatCount = 8;
constexpr int kFrameNode0 = 130, kFrameNodeStep = 16, kPassNode0 = 322, kPassNodeStep = 70;
constexpr int kNodes = 10;
// INS record: part 2 starts at 86, part 3 at 145.
constexpr int kPart2 = 86, kPart3 = 145;
} // namespace Layout

} // namespace DecodeFormat

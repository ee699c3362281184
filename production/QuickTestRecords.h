#pragma once
// The test records of the 735 (0xEEE3, 150 bytes) and K350 (0xFEF3, 143 bytes) modules, the
// rules that grade their fields and the result lines the quick tests write. Qt Core only.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

#include "link/DeviceProtocol.h"

using Test735Bytes = std::array<uint8_t, kTest735Bytes>;
using TestK350Bytes = std::array<uint8_t, kTestK350Bytes>;

struct Test735Fields {
    uint32_t firmware_date = 0;   // 0
    uint32_t version_word = 0;    // 4
    int32_t model_code = 0;       // 8
    uint32_t sn_word[3] = {};     // 12, 16, 20
    uint32_t time_ms = 0;         // 25
    int16_t unit_values[4][7] = {}; // 29 + 14k
    uint8_t status_85 = 0, status_86 = 0, status_87 = 0, status_88 = 0;
    uint16_t unit_spreads[4][6] = {}; // 89 + 12k
    uint32_t clock_hz = 0;        // 137
    uint8_t flag_145 = 0, status_146 = 0, status_147 = 0, status_148 = 0, status_149 = 0;

    static Test735Fields parse(const Test735Bytes &b);
    QString serialNumber() const;
};

struct TestK350Fields {
    uint32_t firmware_version = 0; // 0
    uint32_t version_word = 0;     // 4
    int16_t model_code = 0;        // 8
    uint32_t sn_word[3] = {};      // 10, 14, 18
    float raw_values[13] = {};     // 27..75
    float temperature = 0;         // 51
    float value_79 = 0;            // 79
    uint8_t fault_code = 0;        // 83
    uint8_t status_84 = 0;         // 84
    float std_values[12] = {};     // 85..129
    uint32_t clock_hz = 0;         // 133
    float cpu_voltage = 0;         // 137
    uint8_t serial_port_1 = 0;     // 141
    uint8_t serial_port_2 = 0;     // 142

    static TestK350Fields parse(const TestK350Bytes &b);
    QString serialNumber() const;
    // The float at a payload offset between 27 and 129.
    float floatAt(int offset) const;

private:
    std::array<uint8_t, kTestK350Bytes> m_bytes{};
};

namespace Grade735 {
constexpr uint32_t kFirmwareDate = 211021;
bool clockAccepted(uint32_t hz);
// Spread q (0..5) of a unit, raw value; graded only between 4.0 s and 5.0 s of a test.
bool spreadFails(int q, uint16_t raw, double elapsedS);
// A status byte (146..148) of 2 fails once the module has run 5 s.
inline bool statusByteFails(uint8_t v, uint32_t time_ms) { return v == 2 && time_ms > 5000; }
// The model text of the version area.
QString modelText(int32_t model_code);
} // namespace Grade735

namespace GradeK350 {
// Expected clock of the clock combo entry (0: 168 MHz, 1: 84 MHz, other or none: 200 MHz).
uint32_t expectedClock(int comboIndex);
// Fails NaN, the infinities and a voltage above 0 outside 3.1 (double) to 3.5 (single); 0 and
// below are not graded.
bool cpuVoltageFails(float v);
// Fails anything but a number from 0.0 to 50.0.
bool temperatureFails(float t);
// Bad: not all below the limits but none above them. A value that is not a finite number is
// never Good and counts as above its limit (Poor, so its text shows it).
enum class Noise { Good, Poor, Bad };
// Accelerometer noise: std values at 85, 93, 101; gyro noise at 109, 117, 125.
Noise accelNoise(const float v[3]);
Noise gyroNoise(const float v[3]);
QString noiseText(const float v[3]); // "Poor:" text
// The gyro calibration result fails when all three are 0 or any is beyond 2.0, not a number
// or missing.
bool gyroCalibFails(const float xyz[3], const bool received[3]);
// Serial port grading by the two "don't test" boxes.
bool serialPortFails(int port, uint8_t value, bool dontTestSerial1, bool dontTestSerial);
QString modelText(int16_t model_code);
} // namespace GradeK350

// Six significant digits, fixed or exponent form, whichever is shorter.
QString shortNumber(double v);

// The verdicts, judged on a snapshot taken before anything is shown.
struct Verdict735 {
    bool restartOk = false; // time_ms fell below the highest seen: the module restarted
    int errors = 0;         // all failures, the restart check and a missing seen-flag included
    bool passed() const { return errors == 0; }
};
// errors: the failures counted during the test.
Verdict735 judge735(uint32_t time_ms, uint32_t highestTimeStamp, bool seenFlag, int errors);

struct VerdictK350 {
    bool calibFailed = false;
    int errors = 0;
    bool passed() const { return errors == 0; }
};
VerdictK350 judgeK350(bool calibChecked, const float xyz[3], const bool received[3], int errors);

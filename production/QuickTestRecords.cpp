#include "production/QuickTestRecords.h"

#include <cmath>
#include <cstring>

#include "app/MeasuredValues.h"
#include "app/VersionText.h"
#include "link/CommandFrames.h"

namespace {
template <class T, size_t N> T at(const std::array<uint8_t, N> &b, size_t off)
{
    return readLE<T>(b.data() + off);
}
QString joinSn(const uint32_t w[3])
{
    return QString::number(w[0]) + QString::number(w[1]) + QString::number(w[2]);
}
} // namespace

Test735Fields Test735Fields::parse(const Test735Bytes &b)
{
    Test735Fields f;
    f.firmware_date = at<uint32_t>(b, 0);
    f.version_word = at<uint32_t>(b, 4);
    f.model_code = at<int32_t>(b, 8);
    for (int i = 0; i < 3; ++i)
        f.sn_word[i] = at<uint32_t>(b, 12 + 4 * size_t(i));
    f.time_ms = at<uint32_t>(b, 25);
    for (int k = 0; k < 4; ++k) {
        for (int v = 0; v < 7; ++v)
            f.unit_values[k][v] = at<int16_t>(b, 29 + 14 * size_t(k) + 2 * size_t(v));
        for (int q = 0; q < 6; ++q)
            f.unit_spreads[k][q] = at<uint16_t>(b, 89 + 12 * size_t(k) + 2 * size_t(q));
    }
    f.status_85 = b[85];
    f.status_86 = b[86];
    f.status_87 = b[87];
    f.status_88 = b[88];
    f.clock_hz = at<uint32_t>(b, 137);
    f.flag_145 = b[145];
    f.status_146 = b[146];
    f.status_147 = b[147];
    f.status_148 = b[148];
    f.status_149 = b[149];
    return f;
}

QString Test735Fields::serialNumber() const { return joinSn(sn_word); }

TestK350Fields TestK350Fields::parse(const TestK350Bytes &b)
{
    TestK350Fields f;
    f.m_bytes = b;
    f.firmware_version = at<uint32_t>(b, 0);
    f.version_word = at<uint32_t>(b, 4);
    f.model_code = at<int16_t>(b, 8);
    for (int i = 0; i < 3; ++i)
        f.sn_word[i] = at<uint32_t>(b, 10 + 4 * size_t(i));
    for (int i = 0; i < 13; ++i)
        f.raw_values[i] = at<float>(b, 27 + 4 * size_t(i));
    f.temperature = at<float>(b, 51);
    f.value_79 = at<float>(b, 79);
    f.fault_code = b[83];
    f.status_84 = b[84];
    for (int i = 0; i < 12; ++i)
        f.std_values[i] = at<float>(b, 85 + 4 * size_t(i));
    f.clock_hz = at<uint32_t>(b, 133);
    f.cpu_voltage = at<float>(b, 137);
    f.serial_port_1 = b[141];
    f.serial_port_2 = b[142];
    return f;
}

QString TestK350Fields::serialNumber() const { return joinSn(sn_word); }

float TestK350Fields::floatAt(int offset) const
{
    return at<float>(m_bytes, size_t(offset));
}

bool Grade735::clockAccepted(uint32_t hz)
{
    return hz == 200000000u || hz == 100000000u || hz == 84000000u || hz == 168000000u;
}

bool Grade735::spreadFails(int q, uint16_t raw, double elapsedS)
{
    if (raw / 1000 == 30 || elapsedS < 4.0 || elapsedS >= 5.0)
        return false;
    const float v = float(raw) / 1000.0f;
    switch (q) {
    case 0: case 1: case 2: return double(v) > 0.1;
    case 4: return double(v) > 1.2;
    case 3: return v > 1.5f;
    default: return v > 1.0f;
    }
}

QString Grade735::modelText(int32_t code)
{
    // The 735 family's numeric model codes are shown as numbers.
    static const int32_t numeric[] = {735, 736, 737, 738, 350, 7481};
    for (int32_t n : numeric)
        if (code == n)
            return QString::number(code);
    const QString hex = QString::number(uint32_t(code), 16);
    auto pair = [&](int from) {
        auto digit = [&](int i) {
            if (i < 0 || i >= hex.size() || !hex[i].isDigit())
                return 0;
            return hex[i].digitValue();
        };
        return ascii_to_string(uint32_t((digit(from) * 16 + digit(from + 1)) % 256));
    };
    return pair(hex.size() - 2) + pair(4) + pair(2) + pair(0);
}

uint32_t GradeK350::expectedClock(int comboIndex)
{
    return comboIndex == 0 ? 168000000u : comboIndex == 1 ? 84000000u : 200000000u;
}

// Each check passes only a number within its limits: NaN and the infinities fail, whatever
// side of a limit a comparison with them would put them.
bool GradeK350::cpuVoltageFails(float v)
{
    // 0 or below: the module does not measure its supply, there is nothing to grade.
    return !(std::isfinite(v) && (v <= 0.0f || (double(v) >= 3.1 && v <= 3.5f)));
}

bool GradeK350::temperatureFails(float t)
{
    return !withinLimits(t, 0.0, 50.0);
}

namespace {
GradeK350::Noise judgeNoise(const float v[3], const double lim[3])
{
    bool allBelow = true, anyAbove = false;
    for (int i = 0; i < 3; ++i) {
        const bool finite = std::isfinite(v[i]);
        allBelow = allBelow && finite && double(v[i]) < lim[i];
        // A value that is not a number counts as beyond its limit: the label shows it.
        anyAbove = anyAbove || !(finite && double(v[i]) <= lim[i]);
    }
    return allBelow ? GradeK350::Noise::Good : anyAbove ? GradeK350::Noise::Poor : GradeK350::Noise::Bad;
}
} // namespace

GradeK350::Noise GradeK350::accelNoise(const float v[3])
{
    static const double lim[3] = {0.01, 0.01, 0.03};
    return judgeNoise(v, lim);
}

GradeK350::Noise GradeK350::gyroNoise(const float v[3])
{
    static const double lim[3] = {0.4, 0.4, 0.3};
    return judgeNoise(v, lim);
}

QString GradeK350::noiseText(const float v[3])
{
    return "Poor:" + QString::number(double(v[0]), 'g', 6) + "\r\n" + QString::number(double(v[1]), 'g', 6)
        + "," + QString::number(double(v[2]), 'g', 6);
}

bool GradeK350::gyroCalibFails(const float xyz[3], const bool received[3])
{
    if (!(received[0] && received[1] && received[2]))
        return true;
    if (xyz[0] == 0.0f && xyz[1] == 0.0f && xyz[2] == 0.0f)
        return true;
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(xyz[i]) <= 2.0f)) // NaN and the infinities fail too
            return true;
    return false;
}

bool GradeK350::serialPortFails(int port, uint8_t value, bool dontTestSerial1, bool dontTestSerial)
{
    if (dontTestSerial || value != 2)
        return false;
    return !(port == 1 && dontTestSerial1);
}

QString GradeK350::modelText(int16_t code)
{
    return code == 7481 ? QString("VO350(7481)") : QString::number(code);
}

QString shortNumber(double v)
{
    return QString::number(v, 'g', 6);
}

Verdict735 judge735(uint32_t time_ms, uint32_t highestTimeStamp, bool seenFlag, int errors)
{
    Verdict735 v;
    v.restartOk = time_ms < highestTimeStamp;
    v.errors = errors + (v.restartOk ? 0 : 1) + (seenFlag ? 0 : 1);
    return v;
}

VerdictK350 judgeK350(bool calibChecked, const float xyz[3], const bool received[3], int errors)
{
    VerdictK350 v;
    v.calibFailed = calibChecked && GradeK350::gyroCalibFails(xyz, received);
    v.errors = errors + (v.calibFailed ? 1 : 0);
    return v;
}

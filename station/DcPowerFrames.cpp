#include "station/DcPowerFrames.h"

#include <QCoreApplication>

#include <cmath>

uint8_t g_dc_power_on = 0;
uint8_t g_dc_power_type = 0;

namespace DcPower {

uint16_t setPointRegister(double value, double fullScale)
{
    if (!(fullScale > 0.0) || !(value > 0.0)) // also NaN
        return 0;
    const double r = std::floor(value * 65535.0 / fullScale);
    return r >= 65535.0 ? uint16_t(65535) : uint16_t(r);
}

QByteArray buildSetFrame(double maxVoltage, double maxCurrent, double fullScaleVoltage,
                         double fullScaleCurrent, bool outputOn)
{
    const uint16_t v = setPointRegister(maxVoltage, fullScaleVoltage);
    const uint16_t c = setPointRegister(maxCurrent, fullScaleCurrent);
    QByteArray f;
    f.reserve(13);
    f.append(char(0x11)).append(char(0x10));
    f.append(char(0x00)).append(char(0x03));
    f.append(char(0x00)).append(char(0x03));
    f.append(char(0x06));
    f.append(char(v >> 8)).append(char(v & 0xFF));
    f.append(char(c >> 8)).append(char(c & 0xFF));
    f.append(char(0x00));
    f.append(char(outputOn ? 1 : 0));
    return f;
}

bool voltageAccepted(double v) { return v == 12.0 || v == 15.0 || v == 31.0; }
bool isHighVoltage(double v) { return v == 31.0; }

QString modelText(int type)
{
    switch (type) {
    case 0: return QCoreApplication::translate("MultiCalib", "Power supply model:UNKNOWN");
    case 1: return QCoreApplication::translate("MultiCalib", "Power supply model:3030（限压31V,限流31A）");
    case 2: return QCoreApplication::translate("MultiCalib", "Power supply model:3020（限压31V,限流21A）");
    case 3: return QCoreApplication::translate("MultiCalib", "Power supply model:4520（限压45.5V,限流20.5A）");
    default: return QString();
    }
}

QString logHeader() { return "t,voltage,current,voltage_set,current_set\n"; }

} // namespace DcPower

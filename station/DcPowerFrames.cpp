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

Scale modelScale(int type)
{
    switch (type) {
    case 1: return {31.0, 31.0, 34.0, 34.0};
    case 2: return {31.0, 21.0, 34.0, 24.0};
    case 3: return {45.5, 20.5, 50.0, 20.0};
    default: return {};
    }
}

QString modelName(int type)
{
    switch (type) {
    case 1: return "3030";
    case 2: return "3020";
    case 3: return "4520";
    default: return QString();
    }
}

QByteArray SetPoint::frame(bool outputOn) const
{
    const Scale s = modelScale(model);
    return buildSetFrame(volts, amps, s.setVoltage, s.setCurrent, outputOn);
}

QString SetPoint::text() const
{
    return QString("%1 V, %2 A (%3)").arg(volts, 0, 'g', 6).arg(amps, 0, 'g', 6).arg(modelName(model));
}

SetPoint checkSetPoint(const QString &voltageField, const QString &voltageText, const QString &currentField,
                       const QString &currentText, int model)
{
    SetPoint p;
    p.model = model;
    const Scale scale = modelScale(model);
    if (!(scale.setCurrent > 0.0)) {
        p.problem = QCoreApplication::translate(
                        "MultiCalib", "the supply model is \"%1\"; the supply is switched on only with its model "
                                      "(3030, 3020 or 4520) chosen in the settings dialog")
                        .arg(model == 0 ? QString("UNKNOWN") : QString::number(model));
        return p;
    }
    bool isNumber = false;
    p.volts = voltageText.trimmed().toDouble(&isNumber);
    if (!isNumber || !voltageAccepted(p.volts)) {
        p.problem = QCoreApplication::translate(
                        "MultiCalib", "the DC supply page's \"%1\" field holds \"%2\"; the supply is switched on only "
                                      "at 12, 15 or 31 V")
                        .arg(voltageField, voltageText.trimmed());
        return p;
    }
    p.amps = currentText.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(p.amps) || p.amps <= 0.0 || p.amps > scale.setCurrent) {
        p.problem = QCoreApplication::translate(
                        "MultiCalib", "the DC supply page's \"%1\" field holds \"%2\"; the supply is switched on only "
                                      "at a current above 0 A and not above %3 A, the limit of the %4 supply")
                        .arg(currentField, currentText.trimmed())
                        .arg(scale.setCurrent)
                        .arg(modelName(model));
    }
    return p;
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

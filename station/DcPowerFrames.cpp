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

QString smallestCurrentText(int model)
{
    const double fullScale = modelScale(model).setCurrent;
    if (!(fullScale > 0.0))
        return QString();
    // One register step, rounded up to two significant digits (more only when the rounded text
    // would still give register 0): typed back, the value shown is taken.
    const double step = fullScale / 65535.0;
    for (int digits = 2; digits <= 17; ++digits) {
        const double unit = std::pow(10.0, std::floor(std::log10(step)) - (digits - 1));
        const QString text = QString::number(std::ceil(step / unit) * unit, 'g', digits);
        if (setPointRegister(text.toDouble(), fullScale) > 0)
            return text;
    }
    return QString::number(step, 'g', 17);
}

SetPoint checkSetPoint(const QString &voltageField, const QString &voltageText, const QString &currentField,
                       const QString &currentText, int model)
{
    SetPoint p;
    p.model = model;
    const Scale scale = modelScale(model);
    bool voltsNumber = false, ampsNumber = false;
    p.volts = voltageText.trimmed().toDouble(&voltsNumber);
    p.amps = currentText.trimmed().toDouble(&ampsNumber);
    // Every voltage taken gives a register well above 0 on every model (12 V on 45.5 V full scale:
    // 17283), so only the current can round down to an empty register.
    p.voltageOk = voltsNumber && voltageAccepted(p.volts);
    p.modelOk = scale.setCurrent > 0.0;
    // What a refusal of the current says: the field, the value it holds, then why.
    const auto currentHolds = [&](const char *why) {
        return QCoreApplication::translate("MultiCalib", why).arg(currentField, currentText.trimmed());
    };
    if (!p.modelOk) {
        p.problem = QCoreApplication::translate(
                        "MultiCalib", "the supply model is \"%1\"; the supply is switched on only with its model "
                                      "(3030, 3020 or 4520) chosen in the settings dialog")
                        .arg(model == 0 ? QCoreApplication::translate("Settings", "UNKNOWN") : QString::number(model));
    } else if (!p.voltageOk) {
        p.problem = QCoreApplication::translate(
                        "MultiCalib", "the DC supply page's \"%1\" field holds \"%2\"; the supply is switched on only "
                                      "at 12, 15 or 31 V")
                        .arg(voltageField, voltageText.trimmed());
    } else if (!ampsNumber || !std::isfinite(p.amps)) {
        p.problem = currentHolds(QT_TRANSLATE_NOOP("MultiCalib", "the DC supply page's \"%1\" field holds \"%2\", "
                                                                 "which is not a number"));
    } else if (p.amps <= 0.0 || p.amps > scale.setCurrent) {
        p.problem = currentHolds(QT_TRANSLATE_NOOP("MultiCalib", "the DC supply page's \"%1\" field holds \"%2\"; the "
                                                                 "supply is switched on only at a current above 0 A and "
                                                                 "not above %3 A, the limit of the %4 supply"))
                        .arg(scale.setCurrent)
                        .arg(modelName(model));
    } else if (setPointRegister(p.amps, scale.setCurrent) == 0) {
        // Above 0 but below one step of the current register: the supply would be set to 0 A.
        p.problem = currentHolds(QT_TRANSLATE_NOOP("MultiCalib", "the DC supply page's \"%1\" field holds \"%2\"; the "
                                                                 "smallest current the %3 supply can be set to is %4 A"))
                        .arg(modelName(model), smallestCurrentText(model));
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

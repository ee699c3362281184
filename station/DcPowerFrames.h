#pragma once
// The DC supply panel's decisions that need no widget: the Modbus set frame, the rule every
// switch-on's set-point follows, the models' scales and texts and the supply log's first line.
#include <QByteArray>
#include <QString>

#include <cstdint>

// The output state the last manual switch set (1 on); 0 at start.
extern uint8_t g_dc_power_on;
// The supply model read by the connect: 0 none chosen, 1 model 3030, 2 model 3020, 3 model 4520.
extern uint8_t g_dc_power_type;

namespace DcPower {
// A set point as its register: value x 65535 / full scale, the fraction dropped, held to
// 0..65535 (a value above full scale gives the full-scale register, never a wrapped one).
uint16_t setPointRegister(double value, double fullScale);
// The 13-byte write of registers 3..5 to slave 17 (the worker appends the CRC): voltage and
// current set points high byte first, then 0x00 and the output byte (1 on, 0 off).
QByteArray buildSetFrame(double maxVoltage, double maxCurrent, double fullScaleVoltage,
                         double fullScaleCurrent, bool outputOn);
// The register scales of a supply model (1 3030, 2 3020, 3 4520); all 0 for any other value.
struct Scale {
    double setVoltage = 0, setCurrent = 0, readVoltage = 0, readCurrent = 0;
};
Scale modelScale(int type);
// "3030", "3020", "4520"; empty for a value that is no model.
QString modelName(int type);

// A set-point read from the supply page, checked by the rule every switch-on of the supply
// follows, by hand or by a run: a model chosen, 12, 15 or 31 V, and a current that is a number
// above 0, not above the model's limit (its current full scale) and not below one step of its
// register (the supply would be set to 0 A).
struct SetPoint {
    double volts = 0, amps = 0;
    int model = 0;
    // Each of the voltage and the model on its own (the manual switch tells them in its order).
    bool voltageOk = false, modelOk = false;
    // Empty when the rule passed; else names the field, the value it holds and the rule.
    QString problem;
    bool ok() const { return problem.isEmpty(); }
    // The set frame at the model's scale, output on or off.
    QByteArray frame(bool outputOn) const;
    // "12 V, 2 A (3030)"
    QString text() const;
};
// The smallest current a model's register holds above 0 (one step), rounded up so that the text
// itself is taken: "0.00048" for the 3030. Empty for a value that is no model.
QString smallestCurrentText(int model);
// The fields' texts with the names their labels show, and the chosen model. A run's refusal
// names the model first, then the voltage, then the current.
SetPoint checkSetPoint(const QString &voltageField, const QString &voltageText, const QString &currentField,
                       const QString &currentText, int model);

// The manual switch accepts only these maximum voltages.
bool voltageAccepted(double v);
// 31 V asks for a second confirmation when switching on.
bool isHighVoltage(double v);
// Text of label_dc_power_type for a model; empty for a value that is no model.
QString modelText(int type);
// "t,voltage,current,voltage_set,current_set\n"
QString logHeader();
} // namespace DcPower

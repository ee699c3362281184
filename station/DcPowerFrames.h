#pragma once
// The DC supply panel's decisions that need no widget: the Modbus set frame, the accepted
// output voltages, the model texts and the supply log's first line.
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
// The manual switch accepts only these maximum voltages.
bool voltageAccepted(double v);
// 31 V asks for a second confirmation when switching on.
bool isHighVoltage(double v);
// Text of label_dc_power_type for a model; empty for a value that is no model.
QString modelText(int type);
// "t,voltage,current,voltage_set,current_set\n"
QString logHeader();
} // namespace DcPower

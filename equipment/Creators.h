#pragma once
// The thread pattern shared by every equipment worker's creator.
#include "link/WorkerThreadStart.h"

#include <QModbusClient>
#include <QSerialPort>
#include <QVariant>

// Serial settings of a Modbus RTU line: the given baud rate, 8N1.
inline void configureRtuLine(QModbusClient *device, const QString &portName, int baud)
{
    device->setConnectionParameter(QModbusDevice::SerialPortNameParameter, portName);
    device->setConnectionParameter(QModbusDevice::SerialBaudRateParameter, baud);
    device->setConnectionParameter(QModbusDevice::SerialDataBitsParameter, QSerialPort::Data8);
    device->setConnectionParameter(QModbusDevice::SerialParityParameter, QSerialPort::NoParity);
    device->setConnectionParameter(QModbusDevice::SerialStopBitsParameter, QSerialPort::OneStop);
}

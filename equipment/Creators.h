#pragma once
// The thread pattern shared by every equipment worker's creator.
#include "link/WorkerThreadStart.h"

#include <QElapsedTimer>
#include <QModbusClient>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>

// Serial settings of a Modbus RTU line: the given baud rate, 8N1.
inline void configureRtuLine(QModbusClient *device, const QString &portName, int baud)
{
    device->setConnectionParameter(QModbusDevice::SerialPortNameParameter, portName);
    device->setConnectionParameter(QModbusDevice::SerialBaudRateParameter, baud);
    device->setConnectionParameter(QModbusDevice::SerialDataBitsParameter, QSerialPort::Data8);
    device->setConnectionParameter(QModbusDevice::SerialParityParameter, QSerialPort::NoParity);
    device->setConnectionParameter(QModbusDevice::SerialStopBitsParameter, QSerialPort::OneStop);
}

// Watches a connected Modbus line for its device going away: a connection error, or a run of
// read errors (an unplugged adapter or a hung-up line keeps reporting them). The device is then
// disconnected once, from the event loop, and onLost runs once with the reason. A line
// disconnected on purpose reports nothing. Read errors count as a run when they come within a
// second of the run's first one. A line that drops on its own (a TCP peer gone: connected
// straight to unconnected, with no closing in between) is lost too.
inline void watchModbusLine(QModbusDevice *device, std::function<void(const QString &reason)> onLost)
{
    constexpr int kReadErrorRun = 20;
    struct Watch {
        int readErrors = 0;
        QElapsedTimer runStart;
        bool lost = false;
        bool closing = false; // the watch disconnects the device itself
        bool closedOnPurpose = false;
        QModbusDevice::State last = QModbusDevice::UnconnectedState;
    };
    auto watch = std::make_shared<Watch>();
    watch->last = device->state();
    // Reported from the event loop, never inside the device's own report.
    const auto report = [device, watch, onLost](const QString &reason) {
        watch->lost = true;
        QPointer<QModbusDevice> d = device;
        QTimer::singleShot(0, device, [d, watch, reason, onLost] {
            if (!d || watch->closedOnPurpose)
                return;
            watch->closing = true;
            if (d->state() == QModbusDevice::ConnectedState)
                d->disconnectDevice();
            onLost(reason);
        });
    };
    QObject::connect(device, &QModbusDevice::stateChanged, device, [device, watch, report](QModbusDevice::State s) {
        if (s == QModbusDevice::ClosingState && !watch->closing)
            watch->closedOnPurpose = true;
        const bool dropped = s == QModbusDevice::UnconnectedState && watch->last == QModbusDevice::ConnectedState;
        watch->last = s;
        if (dropped && !watch->lost && !watch->closedOnPurpose)
            report(device->errorString());
    });
    QObject::connect(device, &QModbusDevice::errorOccurred, device, [device, watch, report](QModbusDevice::Error e) {
        if (watch->lost || watch->closedOnPurpose || device->state() != QModbusDevice::ConnectedState)
            return;
        if (e == QModbusDevice::ReadError) {
            if (!watch->runStart.isValid() || watch->runStart.elapsed() > 1000) {
                watch->runStart.start();
                watch->readErrors = 0;
            }
            ++watch->readErrors;
        }
        if (e == QModbusDevice::ConnectionError || watch->readErrors >= kReadErrorRun)
            report(device->errorString());
    });
}

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
        QModbusDevice::State last = QModbusDevice::UnconnectedState;
    };
    auto watch = std::make_shared<Watch>();
    watch->last = device->state();
    QObject::connect(device, &QModbusDevice::stateChanged, device, [device, watch, onLost](QModbusDevice::State s) {
        const bool dropped = s == QModbusDevice::UnconnectedState && watch->last == QModbusDevice::ConnectedState;
        watch->last = s;
        if (!dropped || watch->lost)
            return;
        watch->lost = true;
        const QString reason = device->errorString();
        QTimer::singleShot(0, device, [reason, onLost] { onLost(reason); });
    });
    QObject::connect(device, &QModbusDevice::errorOccurred, device,
                     [device, watch, onLost](QModbusDevice::Error e) {
        if (watch->lost || device->state() != QModbusDevice::ConnectedState)
            return;
        if (e == QModbusDevice::ReadError) {
            if (!watch->runStart.isValid() || watch->runStart.elapsed() > 1000) {
                watch->runStart.start();
                watch->readErrors = 0;
            }
            ++watch->readErrors;
        }
        if (e != QModbusDevice::ConnectionError && watch->readErrors < kReadErrorRun)
            return;
        watch->lost = true;
        const QString reason = device->errorString();
        QPointer<QModbusDevice> d = device;
        QTimer::singleShot(0, device, [d, reason, onLost] {
            if (!d || d->state() != QModbusDevice::ConnectedState)
                return;
            d->disconnectDevice();
            onLost(reason);
        });
    });
}

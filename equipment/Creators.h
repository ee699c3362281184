#pragma once
// The thread pattern shared by every equipment worker's creator.
#include <QThread>

template <class W, class Open> W *startWorkerThread(W *worker, Open openSlot)
{
    auto *thread = new QThread;
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::started, worker, openSlot);
    QObject::connect(thread, &QThread::finished, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, thread, &QThread::deleteLater);
    QObject::connect(worker, &W::deleteObjAndNewNext, thread, &QThread::quit);
    QObject::connect(worker, &W::deleteObjAndNewNext, worker, &W::deleteLater);
    thread->start(QThread::InheritPriority);
    return worker;
}

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

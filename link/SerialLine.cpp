#include "link/SerialLine.h"

#include "link/DeviceRecords.h"

std::unique_ptr<QSerialPort> openSerialLine(const QString &portName, qint32 baudRate, QString *error)
{
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(portName);
    port->setBaudRate(baudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        if (error)
            *error = port->errorString();
        return nullptr;
    }
    QObject::connect(port.get(), &QSerialPort::errorOccurred, [](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::WriteError)
            ++g_serial_fault_count;
    });
    return port;
}

bool writeSerialLine(QSerialPort *port, const QByteArray &bytes)
{
    if (port->write(bytes) == bytes.size())
        return true;
    ++g_serial_fault_count;
    return false;
}

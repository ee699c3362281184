#include "link/SerialLine.h"

#include <QPointer>
#include <QTimer>

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

void watchSerialLine(QSerialPort *port, std::function<void(const QString &)> onLost)
{
    struct Watch {
        int readErrors = 0;
        bool lost = false;
    };
    auto watch = std::make_shared<Watch>();
    QObject::connect(port, &QSerialPort::readyRead, port, [watch] { watch->readErrors = 0; });
    QObject::connect(port, &QSerialPort::errorOccurred, port,
                     [port, watch, onLost = std::move(onLost)](QSerialPort::SerialPortError e) {
        if (watch->lost || !port->isOpen())
            return;
        if (e == QSerialPort::ReadError)
            ++watch->readErrors;
        if (e != QSerialPort::ResourceError && watch->readErrors < kSerialReadErrorRun)
            return;
        watch->lost = true;
        const QString reason = port->errorString();
        // The port is still inside its own read when it reports; close it once that returned.
        QPointer<QSerialPort> p = port;
        QTimer::singleShot(0, port, [p, reason, onLost] {
            if (!p || !p->isOpen())
                return; // closed on purpose meanwhile
            p->clearError();
            p->close();
            onLost(reason);
        });
    });
}

void markSerialLineLost()
{
    uint32_t count = g_serial_fault_count.load();
    while (count <= 5 && !g_serial_fault_count.compare_exchange_weak(count, 6)) {
    }
}

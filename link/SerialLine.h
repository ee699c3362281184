#pragma once
// Opening and writing a module-side serial line: 8N1, no flow control; every failed write
// counts in g_serial_fault_count.
#include <QSerialPort>
#include <QString>

#include <memory>

// Opens the port at the given baud rate; on failure returns nullptr and the reason in *error.
std::unique_ptr<QSerialPort> openSerialLine(const QString &portName, qint32 baudRate, QString *error);
// Writes the bytes; false (and counted) when the port refuses them.
bool writeSerialLine(QSerialPort *port, const QByteArray &bytes);

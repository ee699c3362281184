#pragma once
// Opening and writing a module-side serial line: 8N1, no flow control; every failed write
// counts in g_serial_fault_count. A line also watches for its device going away.
#include <QSerialPort>
#include <QString>

#include <functional>
#include <memory>

// Opens the port at the given baud rate; on failure returns nullptr and the reason in *error.
std::unique_ptr<QSerialPort> openSerialLine(const QString &portName, qint32 baudRate, QString *error);
// Writes the bytes; false (and counted) when the port refuses them.
bool writeSerialLine(QSerialPort *port, const QByteArray &bytes);

// Read errors in a row, with nothing read in between, after which the device counts as gone.
constexpr int kSerialReadErrorRun = 20;

// Watches an open port for its device going away: a resource error, or a run of read errors
// with nothing read in between (an unplugged adapter or a hung-up pseudo-terminal keeps
// reporting them). The port is then closed once, from the event loop (never inside the port's
// own error report), and onLost runs once with the reason. A port closed on purpose, or
// released, reports nothing.
void watchSerialLine(QSerialPort *port, std::function<void(const QString &reason)> onLost);

// Tells the quick-test and screening pages that their device is gone: their next tick finds
// more than 5 failed writes and shows the lost-device box once.
void markSerialLineLost();

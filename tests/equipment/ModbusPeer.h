#pragma once
// Runs tests/equipment/modbus_peer.py (pymodbus) for the length of a test. The peer ends with its
// input, so it never outlives the test program, even one that crashed.
#include <QFile>
#include <QProcess>
#include <QStringList>

#include "tests/kit/TestKit.h"

class ModbusPeer {
public:
    explicit ModbusPeer(const QStringList &args, const QString &logName)
        : m_log(TestKit::workDir() + "/" + logName)
    {
        QFile::remove(m_log);
        m_proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_proc.start(TestKit::python(),
                     QStringList{TestKit::sourcePath("tests/equipment/modbus_peer.py"), "--until-input-ends", "--log", m_log}
                         + args);
    }
    ~ModbusPeer() { stop(); }
    // Ends the peer: from now on nothing answers.
    void stop()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        m_proc.kill();
        m_proc.waitForFinished(3000);
    }
    // Forgets the writes so far.
    void clearWrites() { QFile::remove(m_log); }
    bool waitReady()
    {
        return TestKit::waitUntil([this] {
            m_out += m_proc.readAllStandardOutput();
            return m_out.contains("ready") || m_proc.state() == QProcess::NotRunning;
        }, 15000) && m_out.contains("ready");
    }
    // Started with "--rtu" and no path: the port the peer's own pseudo-terminal pair offers,
    // printed once it serves (empty when it printed none).
    QString waitPortPath()
    {
        TestKit::waitUntil([this] {
            m_out += m_proc.readAllStandardOutput();
            return m_out.contains('\n') || m_proc.state() == QProcess::NotRunning;
        }, 15000);
        return m_out.contains('\n') ? QString::fromLocal8Bit(m_out.left(m_out.indexOf('\n'))) : QString();
    }
    // The writes the peer received, one line each ("hr ADDR VALUE ..." / "co ADDR VALUE").
    QStringList writes() const
    {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QString m_log;
    QProcess m_proc;
    QByteArray m_out;
};

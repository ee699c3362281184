#pragma once
// The tests' FTP server: a pyftpdlib process (tests/production/ftp_server.py) on 127.0.0.1
// serving a folder of its own, with the accounts "writer" and "reader".
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>

#include "app/Settings.h"
#include "tests/kit/TestKit.h"

class FtpTestServer {
public:
    FtpTestServer(const QString &root, const QString &writerPassword, const QString &readerPassword,
                  const QString &mode = QString())
        : m_root(root)
    {
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        QFile::remove(root + ".paused");
        QFile::remove(root + ".go");
        m_process.start(TestKit::python(), {TestKit::sourcePath("tests/production/ftp_server.py"),
                                            root, writerPassword, readerPassword, mode});
        if (!m_process.waitForStarted(5000))
            return;
        QByteArray line;
        QElapsedTimer t;
        t.start();
        // A loaded machine can take seconds to start Python: keep waiting for the port line
        // until the bound, not only until the first quiet second.
        while (!line.contains('\n') && t.elapsed() < 30000 && m_process.state() != QProcess::NotRunning) {
            m_process.waitForReadyRead(500);
            line += m_process.readAllStandardOutput();
        }
        if (line.startsWith("PORT "))
            m_port = line.mid(5).trimmed().toInt();
    }
    ~FtpTestServer() { stop(); }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_port; }
    QString root() const { return m_root; }

private:
    QProcess m_process;
    QString m_root;
    int m_port = 0;
};

namespace FtpTestFiles {
// Writes a log file under the log root with the given content and modification time.
inline QString writeLog(const QString &relative, const QByteArray &content,
                        const QDateTime &modified = QDateTime::currentDateTime().addDays(-1))
{
    const QString path = logRoot() + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content);
    f.flush();
    f.setFileTime(modified, QFileDevice::FileModificationTime);
    return path;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace FtpTestFiles

#pragma once
// The loopback stand-in of the production-data service (upload_server.py) for the tests.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QVector>

#include "tests/kit/TestKit.h"

class UploadServer {
public:
    struct Request {
        QString path;
        QString contentType;
        QByteArray body;
        QString time; // "yyyy-MM-dd hh:mm:ss", local, when the service took the request in
        int status = 0; // the status it was answered with
        qint64 timeMs = 0; // the same time in milliseconds since the epoch
    };

    explicit UploadServer(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        QFile::remove(folder + "/requests.jsonl");
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(TestKit::python(),
                        {TestKit::sourcePath("tests/station/upload_server.py"), folder});
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(10000))
            m_port = m_process.readLine().trimmed().toInt();
    }
    ~UploadServer()
    {
        m_process.closeWriteChannel(); // the server ends when its input closes
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    int port() const { return m_port; }
    // The service's address as the settings carry it ("httpAddr/officialAddr").
    static QString addressOf(int port)
    {
        return QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(port);
    }
    QString address() const { return addressOf(m_port); }

    // The answer to the next requests.
    // cutAfter >= 0: the connection closes after that many bytes of the body. takeAfterSeconds:
    // the service takes the request in (its time) that long after the body came.
    void setReply(int status, const QByteArray &body, double delaySeconds = 0, int cutAfter = -1,
                  double takeAfterSeconds = 0)
    {
        QJsonObject o{{"status", status}, {"body", QString::fromUtf8(body)}, {"delay_s", delaySeconds}};
        if (cutAfter >= 0)
            o.insert("cut_after", cutAfter);
        if (takeAfterSeconds > 0)
            o.insert("take_after_s", takeAfterSeconds);
        QFile f(m_folder + "/reply.json");
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(QJsonDocument(o).toJson());
    }

    QVector<Request> requests() const
    {
        QVector<Request> out;
        QFile f(m_folder + "/requests.jsonl");
        if (!f.open(QIODevice::ReadOnly))
            return out;
        while (!f.atEnd()) {
            const QJsonObject o = QJsonDocument::fromJson(f.readLine()).object();
            out.append({o.value("path").toString(), o.value("content_type").toString(),
                        QByteArray::fromHex(o.value("body_hex").toString().toLatin1()), o.value("time").toString(),
                        o.value("status").toInt(), qint64(o.value("time_ms").toDouble())});
        }
        return out;
    }

    // A loopback port on which nothing listens.
    static int closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const int port = probe.serverPort();
        probe.close();
        return port;
    }

private:
    QString m_folder;
    QProcess m_process;
    int m_port = 0;
};

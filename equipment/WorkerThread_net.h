#pragma once
// The base-board unit link (460800 8N1): counts the unit's good frames as liveness reports and
// passes on the chamber temperature that the other computer sends in chamber slave mode.
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <memory>

#include "link/FrameParser.h"

class WorkerThread_net : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread_net(const QString &portName);
    ~WorkerThread_net() override;

    // Poll interval of the port (default 500 ms; tests shorten it).
    void setPollInterval(int ms) { m_pollMs = ms; }
    const FrameCounters &frameCounters() const { return m_parser.counters(); }
    void feedBytes(const char *data, qint64 size);

public slots:
    void openSerialConnected();
    void closePort();

signals:
    void signal_connectIsSuccess(bool ok);
    void signal_log(uint8_t code, QString text);
    void signal_show_current_temp(float celsius);
    // The unit went away: its port reported it gone and was closed (once).
    void signal_linkLost(QString reason);
    void deleteObjAndNewNext();

private slots:
    void poll();

private:
    void onFrame(uint16_t id, const uint8_t *payload, uint32_t len);

    QString m_portName;
    int m_pollMs = 500;
    std::unique_ptr<QSerialPort> m_port;
    QTimer m_pollTimer;
    FrameParser m_parser{FrameParser::baseBoardBound};
};

WorkerThread_net *createWorker_net(QString portName);

#pragma once
// A simulated two-axis turntable controller on a pseudo-terminal, speaking the turntable line
// protocol of equipment/TurntableProtocol.md. Axes move at the commanded rate times `speedUp`
// (tests run the table fast), so positions are reached and reported like a real table.
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <memory>

#include "sim/PtyPair.h"

class TurntableSim : public QObject {
    Q_OBJECT
public:
    struct Axis {
        double position = 0, rate = 0, target = 0, moveRate = 0;
        bool enabled = true, positioning = false, spinning = false;
    };
    explicit TurntableSim(QObject *parent = nullptr);
    ~TurntableSim() override;

    bool isValid() const { return m_pty.isValid(); }
    QString portPath() const { return m_pty.slavePath(); }

    double speedUp = 1.0;           // motion speed factor
    bool trackingFault = false;     // report a tracking fault on both axes
    bool silent = false;            // answer nothing (a dead controller)
    bool refuseEnable = false;      // answer "ERR" to axis enables and disables
    Axis axes[2];                   // 0 inner (X), 1 outer (Y)

    // Every command line received except "STAT?", in order.
    QStringList commands() const { return m_commands; }
    void clearCommands() { m_commands.clear(); }
    int statusRequests() const { return m_statusRequests; }
    // The controller's cable is pulled: its pseudo-terminal goes away.
    void hangUp();

signals:
    void commandReceived(QString line);

private:
    void onReadable();
    void handleLine(const QByteArray &line);
    void step();
    void send(const QByteArray &line);
    uint16_t statusWord(const Axis &a) const;

    PtyPair m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_motion;
    QElapsedTimer m_clock;
    qint64 m_lastStep = 0;
    QByteArray m_rx;
    QStringList m_commands;
    int m_statusRequests = 0;
};

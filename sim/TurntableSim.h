#pragma once
// A simulated two-axis turntable controller on a pseudo-terminal, speaking the turntable line
// protocol of equipment/TurntableProtocol.md. Axes move at the commanded rate times `speedUp`
// (tests run the table fast), so positions are reached and reported like a real table.
//
// A test whose worker bounds the table's moves on the worker's own ticks runs the controller in
// the worker's thread (shareThreadOf): then the controller moves and answers whenever the worker
// counts a tick, and a starved test thread can never hold the answers back while the worker's
// time runs on. The controller's settings and what it heard may be read and set from any thread.
#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <memory>

#include "sim/PtyPair.h"

class QThread;

class TurntableSim : public QObject {
    Q_OBJECT
public:
    struct Axis {
        double position = 0, rate = 0, target = 0, moveRate = 0;
        bool enabled = true, positioning = false, spinning = false;
    };
    explicit TurntableSim(QObject *parent = nullptr);
    // Call from the thread the controller was made in; it comes back there first if it still
    // runs in a worker's thread.
    ~TurntableSim() override;

    bool isValid() const { return m_pty.isValid(); }
    QString portPath() const { return m_pty.slavePath(); }

    std::atomic<double> speedUp{1.0};        // motion speed factor
    std::atomic<bool> trackingFault{false};  // report a tracking fault on both axes
    std::atomic<bool> silent{false};         // answer nothing (a dead controller)
    std::atomic<bool> refuseEnable{false};   // answer "ERR" to axis enables and disables

    // 0 inner (X), 1 outer (Y).
    Axis axis(int index) const;
    void setPosition(int index, double degrees);

    // Every command line received except "STAT?", in order.
    QStringList commands() const;
    void clearCommands();
    int statusRequests() const { return m_statusRequests; }
    // The controller's cable is pulled: its pseudo-terminal goes away.
    void hangUp();

    // From the thread the controller was made in: the controller runs in the thread of the given
    // worker from now on, until that thread ends (the controller then comes back by itself) or
    // comeHome() is called.
    void shareThreadOf(QObject *worker);
    // Brings the controller back to the thread it was made in (call from that thread); waits
    // (bounded) while the thread it runs in is busy.
    bool comeHome();

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
    mutable QMutex m_lock; // the axes and the commands
    Axis m_axes[2];
    QStringList m_commands;
    std::atomic<int> m_statusRequests{0};
    QThread *const m_home;
    // Set once the controller has gone to a worker's thread, cleared only after the move back
    // has ended: thread() names its home as soon as the move begins, while the other thread
    // still moves its notifier and timer.
    std::atomic<bool> m_away{false};
    void moveHome(); // from the thread it runs in
};

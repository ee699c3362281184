#pragma once
// The turntable worker: owns the controller link in a thread of its own, polls its status and
// runs the automatic sequences of the calibration rack as a state machine on a timer (never a
// blocking loop), reporting each stage to the console by code:
//   46, 47, 50, 51  calibration stages (accelerometer, gyro, gyro and accelerometer nonlinearity)
//   65, 66, 67, 68  retest stages (accelerometer, gyro, gyro and accelerometer nonlinearity)
//   62 end of a calibration run, 59 box, 74 progress, 75 hint, 84 remaining time, 37 liveness.
#include <QElapsedTimer>
#include <QSerialPort>
#include <QObject>
#include <QTimer>

#include <memory>

#include "equipment/TurntableController.h"
#include "equipment/TurntableSequence.h"

class WorkerThread_turn_table : public QObject {
    Q_OBJECT
public:
    WorkerThread_turn_table(const QString &port1, const QString &port2);
    ~WorkerThread_turn_table() override;

    QString port1() const { return m_port1; }
    QString port2() const { return m_port2; }
    // Tests: ms per second of the step times, the state-machine tick and the status poll. A
    // scaled worker runs its steps and bounds on its own ticks (each counts one tick interval),
    // so time stops while the process is not scheduled and a late thread never trips a bound.
    void setTimeScale(int msPerSecond)
    {
        m_msPerSecond = msPerSecond;
        m_tickTime = true;
    }
    void setTickInterval(int ms);
    void setPollInterval(int ms);
    bool sequenceRunning() const { return m_seq.running(); }
    int rotatedTimes() const { return m_rotatedTimes; }
    // The liveness tag ("turntable1" or "turntable2").
    virtual QString tag() const = 0;

public slots:
    void openSerialConnected();
    void closePort();
    void rev_common_cmd(uint8_t code);
    void on_send_turn_table_cmd_general(uint8_t code, float p1, float p2, float p3);
    void on_clicked_turn_table_12pos(float angleStep, float staticTime);
    void turn_table_reset_rotated_times();
    void turn_table_constant_heat_rotate();
    void enableTurnTableX();
    void enableTurnTableY();
    void unEnableTurnTableX();
    void unEnableTurnTableY();

signals:
    void signal_connectIsSuccess(bool ok);
    void signal_log(uint8_t code, QString text);
    void signal_send_zhuantai_status(int32_t innerPos, int32_t innerRate, uint16_t innerStatus,
                                     int32_t outerPos, int32_t outerRate, uint16_t outerStatus);
    // The end of a constant-temperature rotation: completed, or not and why (controller not
    // linked, another sequence running, the sequence failed or was stopped).
    void signal_rotated_times(bool completed, QString reason);
    // A sequence of rev_common_cmd (its code) ended, was refused or could not start: whoever
    // waits for it is free again. Carries the code, never the shown name.
    void signal_sequence_ended(uint8_t commonCode);
    // The controller's line went away: its port reported it gone and was closed (once).
    void signal_linkLost(QString reason);
    void deleteObjAndNewNext();

protected:
    // The controller on the worker's ports (the line protocol of our own for every type).
    virtual std::unique_ptr<TurntableController> makeController();

private:
    void onStatus(AxisStatus inner, AxisStatus outer);
    void onTick();
    qint64 runMs() const { return m_tickTime ? m_tickedMs : m_clock.elapsed(); }
    void onSideToSide();
    void switchAxis(TurntableAxis axis, bool on);
    void onCommandAnswered(const QByteArray &command, bool taken, const QString &text);
    void startSequence(const SequencePlan &plan, bool rotation);
    void endSequence(SequenceOutcome outcome);
    void stopBothAxes();
    void applyAction(const SeqAction &a);

    QString m_port1, m_port2;
    std::unique_ptr<TurntableController> m_ctrl;
    int m_msPerSecond = 1000;
    int m_tickMs = 100;
    int m_pollMs = 100;
    QTimer m_pollTimer;
    QTimer m_tickTimer;
    QTimer m_sideTimer;
    qint64 m_lastLiveness = -1;
    qint64 m_lastRemaining = -1;
    AxisStatus m_inner, m_outer;
    qint64 m_statusAtMs = -1;
    TurntableSequence m_seq;
    QList<quint64> m_enablesAwaiting; // axis switches sent, not yet answered
    quint64 m_enableSerial = 0;
    bool m_rotationPending = false; // the running sequence is a constant-temperature rotation
    int m_rotatedTimes = 0;
    // Side-to-side rotation.
    float m_sideStep = 0;
    float m_sideStatic = 0;
    int m_sideDirection = 1;
    qint64 m_sideNextMs = 0;
    QElapsedTimer m_clock;
    bool m_tickTime = false;
    qint64 m_tickedMs = 0;
};

// The controller families chosen by "turnTableType/type". Their vendor protocols are not built:
// each drives its controller through our line protocol.
class Workerthread_turn_table_TQ : public WorkerThread_turn_table {
    Q_OBJECT
public:
    Workerthread_turn_table_TQ(const QString &p1, const QString &p2, bool chamber = false)
        : WorkerThread_turn_table(p1, p2), m_chamber(chamber) {}
    QString tag() const override { return m_chamber ? "turntable2" : "turntable1"; }

private:
    bool m_chamber;
};
class Workerthread_turn_table_jinghua : public WorkerThread_turn_table {
    Q_OBJECT
public:
    using WorkerThread_turn_table::WorkerThread_turn_table;
    QString tag() const override { return "turntable1"; }
};
class Workerthread_turn_table_brint : public WorkerThread_turn_table {
    Q_OBJECT
public:
    using WorkerThread_turn_table::WorkerThread_turn_table;
    QString tag() const override { return "turntable1"; }
};
class Workerthread_turn_table_brint_hotheat : public WorkerThread_turn_table {
    Q_OBJECT
public:
    using WorkerThread_turn_table::WorkerThread_turn_table;
    QString tag() const override { return "turntable2"; }
};

WorkerThread_turn_table *createWorker_turn_table(QString port1, QString port2);

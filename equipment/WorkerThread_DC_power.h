#pragma once
// The programmable DC supply over Modbus RTU (Qt SerialBus, 9600 8N1): one frame in flight at a
// time, a voltage and current poll every 1000 ms (codes 77 and 78, liveness "dcpower_1_1" /
// "dcpower_0_0"), and the switching sequences of rev_dc_control, run one code after another on
// timers of the worker's thread.
#include <QModbusRtuSerialMaster>
#include <QObject>
#include <QQueue>
#include <QTimer>

#include <functional>
#include <memory>

class WorkerThread_DC_power : public QObject {
    Q_OBJECT
public:
    struct Timings {
        int pollMs = 1000;
        int replyTimeoutMs = 500;
        int onOffGapMs = 300;     // between the three on- (off-) writes
        int settleMs = 1000;      // before the read-back
        int plateWaitMs = 15000;  // after each command to the plates
        int streamGapMs = 1000;   // between the stream commands of 101 / 56001 / 65530 / 56003
        int slowStreamGapMs = 1500; // between the stream commands of 58001
        int pauseMs = 2000;       // the pause of 56003
    };

    explicit WorkerThread_DC_power(const QString &portName);
    ~WorkerThread_DC_power() override;

    // Called in the worker's thread; an open line takes the new reply time-out at once.
    void setTimings(const Timings &t)
    {
        m_t = t;
        if (m_device)
            m_device->setTimeout(t.replyTimeoutMs);
    }
    const Timings &timings() const { return m_t; }

public slots:
    void openSerialConnected();
    void closePort();
    // Appends the CRC (through the client) and sends the frame behind any frame still pending.
    void send_modbus_mutex(QByteArray frame, int tag);
    void rev_dc_control(uint16_t code);
    // Drops the code in progress and every code waiting behind it (a stopped run); frames
    // already on the line finish, nothing further is sent for them.
    void abandonControl();

signals:
    void signal_connectIsSuccess(bool ok);
    void signal_log(uint8_t code, QString text);
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    // Each frame put on the line, without the CRC (tests and the debug output).
    void signal_frame_sent(QByteArray frame, int tag);
    // The read-back after a switch: the output the switch wanted (1 on, 0 off) and whether the
    // supply confirmed it (false: no answer, an error, or another output state).
    void signal_switch_read_back(int on, bool confirmed);
    // The output read right after a set frame of send_modbus_mutex (the panel's manual switch):
    // the output the frame sets and whether the supply shows it.
    void signal_set_frame_read_back(int on, bool confirmed);
    // The end of a step that sends a code to the plates: taken when every IMU that reports
    // showed the code as its status word, false after the last attempt or with no IMU reporting.
    void signal_plates_took(uint16_t code, bool taken);
    // The line went away on its own and was closed (once); the text says why.
    void signal_linkLost(QString reason);
    void deleteObjAndNewNext();

private:
    struct Step {
        enum Kind { Write, Wait, ReadBack, StreamCmd, Plates } kind;
        int value = 0; // Write / ReadBack: output 1 or 0; Wait: ms; Plates: command code
    };
    struct Frame {
        QByteArray bytes; // slave address, function code, data (no CRC)
        int tag = 0;
        std::function<void(QModbusReply *)> onReply;
        bool poll = false;
    };
    void addSwitch(QList<Step> &steps, int on) const;
    void addStream(QList<Step> &steps, int count, int gapMs) const;
    QList<Step> stepsFor(uint16_t code) const;
    void runSteps();
    void onStepTimer();
    void plateAttempt();
    bool platesHaveCode(uint16_t code) const;
    static bool anyLiveImu();
    void queueFrame(Frame f);
    // Queues a frame of the running step; the steps go on once it was answered or failed.
    // False when the supply is not connected (nothing queued, the steps go on at once).
    bool queueStepFrame(const QByteArray &bytes, std::function<void(QModbusReply *)> onReply);
    void sendNextFrame();
    void poll();
    QByteArray setFrame(int on);
    static QByteArray outputReadFrame();
    static bool outputIs(QModbusReply *reply, int want);

    QString m_portName;
    Timings m_t;
    std::unique_ptr<QModbusRtuSerialMaster> m_device;
    QTimer m_pollTimer;
    QTimer m_stepTimer;
    QQueue<Frame> m_frames;
    bool m_frameInFlight = false;
    QQueue<uint16_t> m_codes;   // codes waiting behind the current one
    QList<Step> m_steps;        // steps left of the current code
    bool m_busy = false;        // a code is running
    uint16_t m_plateCode = 0;   // the code the plates are being brought to (0: none)
    int m_plateAttempts = 0;
    quint64 m_stepToken = 0;    // the step frame the steps wait for (changed by abandon / close)
    QByteArray m_setFrame;      // this worker's own copy of the panel's set frame
    bool m_reportedOpen = false;
};

WorkerThread_DC_power *createWorker_DC_power(QString portName, uint32_t baudRate);

#pragma once
// The main device link: owns the module's serial port in a thread of its own, parses the
// module's frames, stores the records it carries, sends commands and records raw bytes.
#include <QDeadlineTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <memory>

#include "link/CommandQueue.h"
#include "link/FrameParser.h"
#include "link/RawRecorder.h"

class WorkerThread : public QObject {
    Q_OBJECT
public:
    WorkerThread(const QString &portName, uint32_t baudRate);
    ~WorkerThread() override;

    // Scales the waits of the command queue (tests).
    void setCommandIntervals(int longMs, int textMs) { m_queue.setIntervals(longMs, textMs); }
    const FrameCounters &frameCounters() const { return m_parser.counters(); }
    // Frames with a good CRC but shorter than their message's layout.
    uint64_t shortFrames() const { return m_shortFrames; }

    // Whether the module's port is open (call on the worker's thread).
    bool portOpen() const { return m_port && m_port->isOpen(); }
    // Parses bytes as if they came from the port (the simulator and tests call it directly).
    void feedBytes(const char *data, qint64 size);

public slots:
    void openSerialConnected();
    void closePort();
    void Send_CMD_LONG(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                       int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                             int32_t cm5, int32_t cm6);
    void Send_CMD_ACK(uint16_t cmd_id, uint16_t ack_id, uint16_t result);
    void Send_QString_times(QString text);
    // Drops the repeats still due (a stopped run's commands): nothing more goes out for them.
    void dropPendingRepeats() { m_queue.clear(); }
    void do_file_recording(QString path, int on, int, int);
    void auto_log_imu(uint8_t) {}
    // Reads one parameter: command 6 with the index, resent every 10 ms until its value
    // arrives or 5000 ms pass. Runs on the link's timer; the result is logged.
    void read_normal_param_one_param(uint8_t index);
    // Reads parameters 8, 9, 10 (gyro bias) in turn, stopping at the first time-out.
    void gyro_calib_result_read();

signals:
    void signal_connectIsSuccess(bool ok);
    void signal_log(uint8_t code, QString text);
    void signal_sendSerialPortData(QByteArray data);
    void signal_sendWriteToSerialPortData(QByteArray data);
    void signal_sendVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t, uint32_t, uint8_t);
    void signal_send_735e_calib();
    void signal_send_735e_test();
    void signal_send_k350_test();
    void signal_send_735e_imu_screening();
    void signal_send_normal_param(uint8_t index, float value);
    // The device went away: the port reported it gone and was closed (once); the text says why.
    void signal_linkLost(QString reason);
    // Raw-data recording began (on, the file's name) or is not running (off, the reason).
    void signal_recording(bool on, QString text);
    void deleteObjAndNewNext();

private slots:
    void readDate();
    void onParamTimer();

private:
    void writeBytes(const QByteArray &bytes);
    void dataExtraction(uint16_t id, const uint8_t *payload, uint32_t len);
    void startParamRead(uint8_t index);
    void finishParamRead(bool ok, float value);
    // Ends a running recording, reporting why.
    void stopRecording(const QString &why);

    QString m_portName;
    uint32_t m_baudRate;
    std::unique_ptr<QSerialPort> m_port;
    FrameParser m_parser{FrameParser::mainLinkBound};
    uint64_t m_shortFrames = 0;
    CommandQueue m_queue;
    RawRecorder m_recorder;

    // Parameter reads in progress.
    QTimer m_paramTimer;
    QList<uint8_t> m_paramIndices;   // still to read, current first
    bool m_paramGyroSequence = false;
    QDeadlineTimer m_paramDeadline; // monotonic: a wall clock set back does not stretch it
    bool m_paramAnswered = false;
    float m_paramValue = 0;
};

// Makes the worker and its thread (the worker's open slot runs when the thread starts).
WorkerThread *createWorker(const QString &portName, uint32_t baudRate);

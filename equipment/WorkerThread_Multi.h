#pragma once
// The rack link of one base board (plates 2 to 16): owns the board's serial port in a thread of
// its own, stores the calibration messages into plate index + 1 of the shared tables, reports
// versions, sends commands and records raw bytes.
#include <QObject>
#include <QSerialPort>

#include <memory>

#include "link/CommandQueue.h"
#include "link/FrameParser.h"
#include "link/RawRecorder.h"

class WorkerThread_Multi : public QObject {
    Q_OBJECT
public:
    // index: rack list index 0 to 14, serving plate index + 2.
    WorkerThread_Multi(const QString &portName, uint32_t baudRate, int index);
    ~WorkerThread_Multi() override;

    int index() const { return m_index; }
    int plateIndex() const { return m_index + 1; }
    // Scales the waits of the command queue (tests).
    void setCommandIntervals(int longMs, int textMs) { m_queue.setIntervals(longMs, textMs); }
    const FrameCounters &frameCounters() const { return m_parser.counters(); }
    // Whether the board's port is open (call on the worker's thread).
    bool portOpen() const { return m_port && m_port->isOpen(); }
    // Parses bytes as if they came from the port.
    void feedBytes(const char *data, qint64 size);

public slots:
    void openSerialConnected();
    void closePort();
    void Send_CMD_LONG(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                       int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                             int32_t cm5, int32_t cm6);
    void Send_QString_times(QString text);
    // Drops the repeats still due (a stopped run's commands): nothing more goes out for them.
    void dropPendingRepeats() { m_queue.clear(); }
    void do_file_recording(QString path, int on, int, int);
    // The rack links take no part in the IMU auto-logging switch.
    void auto_log_imu(uint8_t) {}

signals:
    void signal_connectIsSuccess(int index, bool ok);
    void signal_log(uint8_t code, QString text);
    void signal_send_735e_calib();
    void signal_sendVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t, uint32_t, uint8_t);
    // The board went away: its port reported it gone and was closed (once).
    void signal_linkLost(int index, QString reason);
    void deleteObjAndNewNext();

private slots:
    void readDate();

private:
    void writeBytes(const QByteArray &bytes);
    // Closes the recording, if any, and says whether its last bytes reached the disk.
    void stopRecording();
    void dataExtraction(uint16_t id, const uint8_t *payload, uint32_t len);

    QString m_portName;
    uint32_t m_baudRate;
    int m_index;
    std::unique_ptr<QSerialPort> m_port;
    FrameParser m_parser{FrameParser::rackBound};
    CommandQueue m_queue;
    RawRecorder m_recorder;
};

// Makes the rack worker and its thread (the open slot runs when the thread starts).
WorkerThread_Multi *createWorker_Multi(QString portName, uint32_t baudRate, int index);

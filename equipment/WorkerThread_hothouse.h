#pragma once
// The temperature chamber over Modbus (Qt SerialBus): WorkerThread_hothouse1 speaks RTU on a
// serial line, WorkerThread_hothouse2 (the chamber with a turntable) speaks TCP. Both poll the
// measured temperature every 2000 ms and answer set point and ramp-rate reads. Requests run one
// at a time in arrival order; a failed request is reported as a log line and gives no value.
#include <QObject>
#include <QModbusClient>
#include <QModbusRequest>
#include <QVector>
#include <QQueue>
#include <QTimer>

#include <functional>
#include <memory>

class WorkerThread_hothouse : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread_hothouse(const QString &portName);
    ~WorkerThread_hothouse() override;

    QString portName() const { return m_portName; }
    void setReplyTimeout(int ms) { m_timeoutMs = ms; }
    // On the worker's thread: calls done once every request queued so far has been answered or
    // has failed (at once when none waits), or after waitMs at the latest.
    void whenIdle(int waitMs, std::function<void()> done);
    // The largest ramp rate (degC per minute) the chamber's slope register holds; a larger one
    // is not sent.
    virtual int maxSlope() const { return 255; }

public slots:
    // The poll period (2000 ms); a running poll takes the new period at once.
    void setPollInterval(int ms);
    void openPortConnected();
    void closePort();
    void hothouse_set_target_temp(int16_t t);
    void hothouse_set_temp_slope(uint8_t s);
    void hothouse_generate_start_stop_cmd(uint8_t on);
    void hothouse_read_target_temp();
    void hothouse_read_temp_slope();

signals:
    void signal_connectIsSuccess(bool ok);
    void signal_log(uint8_t code, QString text);
    void signal_show_current_temp(float celsius);
    void signal_show_target_temp(float celsius);
    void signal_show_temp_slope(float perMinute);
    // The line went away on its own and was closed (once); the text says why.
    void signal_linkLost(QString reason);
    void deleteObjAndNewNext();

protected:
    struct Request {
        QModbusRequest pdu;
        const char *what = "";                          // for the failure line, translated when shown
        std::function<void(const QVector<quint16> &)> onValues; // reads only
        bool poll = false;
    };
    // Reads `count` holding registers (function 3).
    static Request readRegisters(uint16_t address, int count, const char *what,
                                 std::function<void(const QVector<quint16> &)> onValues);
    // The device of the variant, not yet connected.
    virtual std::unique_ptr<QModbusClient> makeDevice() = 0;
    virtual int serverAddress() const = 0;
    virtual QList<Request> setTargetRequests(int16_t t) = 0;
    virtual QList<Request> setSlopeRequests(uint8_t s) = 0;
    virtual QList<Request> startStopRequests(uint8_t on) = 0;
    virtual QList<Request> readTargetRequests() = 0;
    virtual QList<Request> readSlopeRequests() = 0;
    virtual Request readCurrentRequest() = 0;
    void enqueue(const QList<Request> &requests);

private slots:
    void poll();

private:
    void sendNext();

    QString m_portName;
    int m_pollMs = 2000;
    int m_timeoutMs = 1000;
    std::unique_ptr<QModbusClient> m_device;
    QTimer m_pollTimer;
    QQueue<Request> m_pending;
    bool m_inFlight = false;
    bool m_reportedOpen = false;
};

// Modbus RTU, slave 1, 9600 8N1.
class WorkerThread_hothouse1 : public WorkerThread_hothouse {
    Q_OBJECT
public:
    using WorkerThread_hothouse::WorkerThread_hothouse;

protected:
    std::unique_ptr<QModbusClient> makeDevice() override;
    int serverAddress() const override;
    QList<Request> setTargetRequests(int16_t t) override;
    QList<Request> setSlopeRequests(uint8_t s) override;
    QList<Request> startStopRequests(uint8_t on) override;
    QList<Request> readTargetRequests() override;
    QList<Request> readSlopeRequests() override;
    Request readCurrentRequest() override;
};

// Modbus TCP to the chamber turntable's controller; host and port from the settings.
class WorkerThread_hothouse2 : public WorkerThread_hothouse {
    Q_OBJECT
public:
    using WorkerThread_hothouse::WorkerThread_hothouse;
    int maxSlope() const override;

protected:
    std::unique_ptr<QModbusClient> makeDevice() override;
    int serverAddress() const override;
    QList<Request> setTargetRequests(int16_t t) override;
    QList<Request> setSlopeRequests(uint8_t s) override;
    QList<Request> startStopRequests(uint8_t on) override;
    QList<Request> readTargetRequests() override;
    QList<Request> readSlopeRequests() override;
    Request readCurrentRequest() override;
};

// Type 3 ("turnTableType/type") makes the TCP chamber, any other the RTU chamber. The baud rate
// is not used (the chamber line runs at 9600).
WorkerThread_hothouse *createWorker_hothouse(QString portName, int baudRate);

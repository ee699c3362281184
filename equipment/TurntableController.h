#pragma once
// The turntable controller as the sequences see it: two axes (inner X, outer Y), each enabled or
// not, moved to a position, spun at a rate or stopped, with a status frame on request.
//
// The vendors' own wire protocols are not built. Every controller is driven through one
// line-based protocol of our own (LineTurntableController, documented in TurntableProtocol.md),
// which the turntable simulator (sim/TurntableSim) speaks and a small adapter at a real
// controller can translate.
#include <QIODevice>
#include <QObject>
#include <QQueue>
#include <QString>
#include <cstdint>

struct AxisStatus {
    double position = 0; // degrees
    double rate = 0;     // degrees per second
    uint16_t status = 0; // TurntableStatusBit
};

namespace TurntableStatusBit {
constexpr uint16_t InPosition = 0x0001; // position command reached (or rate reached)
constexpr uint16_t Moving = 0x0002;
constexpr uint16_t TrackingFault = 0x0004;
constexpr uint16_t Enabled = 0x0080;
} // namespace TurntableStatusBit

enum class TurntableAxis { Inner = 0, Outer = 1 };

class TurntableController : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TurntableController() override = default;

    virtual bool open(QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // True when the command went out on the line.
    virtual bool enable(TurntableAxis axis, bool on) = 0;
    virtual void moveTo(TurntableAxis axis, double degrees, double rate) = 0;
    virtual void spin(TurntableAxis axis, double rate) = 0;
    virtual void stop(TurntableAxis axis) = 0;
    virtual void requestStatus() = 0;

signals:
    void statusReceived(AxisStatus inner, AxisStatus outer);
    void errorReceived(QString text);
    // The controller's answer to a command sent (status requests excepted): taken or refused
    // with its text.
    void commandAnswered(QByteArray command, bool taken, QString text);
};

// Our line protocol over a QIODevice (a serial port in the program, a pty in the tests).
class LineTurntableController : public TurntableController {
    Q_OBJECT
public:
    // Takes ownership of the device; opens it read-write in open().
    explicit LineTurntableController(QIODevice *device, QObject *parent = nullptr);
    ~LineTurntableController() override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;
    bool enable(TurntableAxis axis, bool on) override;
    void moveTo(TurntableAxis axis, double degrees, double rate) override;
    void spin(TurntableAxis axis, double rate) override;
    void stop(TurntableAxis axis) override;
    void requestStatus() override;

    // Parses one received line ("STAT ..." or "ERR ..."); false when it is not understood.
    bool parseLine(const QByteArray &line);
    static QByteArray formatNumber(double v);

private:
    bool sendLine(const QByteArray &line);
    void onReadyRead();

    QIODevice *m_device;
    QByteArray m_rx;
    QQueue<QByteArray> m_awaiting; // commands sent, answered in order
};

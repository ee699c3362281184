#pragma once
// A simulated module (or base board of 32 IMUs) on the master side of a pseudo-terminal:
// answers commands like the firmware does and streams the messages of its output mode.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

#include "link/CommandFrames.h"
#include "link/DeviceProtocol.h"
#include "sim/PtyPair.h"

// Payload builders shared by the simulator, the tests and the benchmarks.
namespace SimPayload {
// Per-IMU values of a calibration message.
struct ImuValues {
    uint32_t time_ms = 0;
    float fused[7] = {0, 0, 0, 0, 0, 0, 25.0f}; // acc xyz, gyro xyz, temp
    uint32_t calib_status = 0;
    uint32_t calib_flag = 0;
    uint32_t calib_flag_h = 0;
    uint32_t software_ver = 0;
    uint32_t harware_ver = 0;
    QByteArray sn;
    uint16_t errors = 0;
};
// A whole calibration message (0xB6B4/B6B5/B6B6/B6B8) from 32 IMUs' values.
QByteArray calibMessage(uint16_t id, const std::array<ImuValues, 32> &imus);
// The version message payload (50 bytes) with software version and board id.
QByteArray versionPayload(uint32_t softwareVersion, uint32_t boardId, uint32_t hardwareVersion = 1);
// The parameter-value payload (u32 index, f32 value).
QByteArray paramValuePayload(uint32_t index, float value);
} // namespace SimPayload

class ModuleSimulator : public QObject {
    Q_OBJECT
public:
    struct ReceivedCommand {
        LongCommand cmd;
        qint64 atMs; // since the simulator started
    };

    explicit ModuleSimulator(QObject *parent = nullptr);
    ~ModuleSimulator() override;

    QString portPath() const { return m_pty.slavePath(); }
    bool isValid() const { return m_pty.isValid(); }

    // The 32 IMUs this module reports (a base board; a single module uses IMU 0).
    std::array<SimPayload::ImuValues, 32> imus;
    uint32_t softwareVersion = 0x56312E30; // "V1.0"
    uint32_t boardId = 7;
    std::array<float, kUserParamCount> params{};
    // The calibration message the module streams in calibration mode.
    uint16_t calibMessageId = DeviceMsgId::CalibB6B6;
    // Answer parameter reads (off: the module stays silent, to test time-outs).
    bool answerParamReads = true;
    // The flag words an IMU writes when it takes an end code, as the firmware does: the end of
    // the temperature compensation (56003) stores calib_flag_h 129, the end of the temperature
    // retest (58003) calib_flag 128. A word given as 0 is left as it is.
    struct EndFlags {
        uint32_t flag = 0;
        uint32_t flagH = 0;
    };
    QMap<uint16_t, EndFlags> endCodeFlags{{56003, {0, 129}}, {58003, {128, 0}}};

    // Sends a frame or raw bytes now.
    void sendFrame(uint16_t id, const QByteArray &payload);
    void sendRaw(const QByteArray &bytes);
    // Streams the frames that makeFrame() returns every periodMs (0 stops).
    void startStreaming(int periodMs, std::function<QByteArray()> makeFrame);
    void stopStreaming();
    // The module is unplugged: its pseudo-terminal goes away (the simulator stays silent).
    void hangUp();
    QByteArray currentCalibFrame() const;

    // Called for every command received, before the built-in answer; return true to suppress
    // the built-in answer.
    std::function<bool(const LongCommand &)> onCommand;

    QList<ReceivedCommand> commands() const { return m_commands; }
    QList<QByteArray> acks() const { return m_acks; } // 14-byte acknowledgements received
    QByteArray rawReceived() const { return m_raw; }
    void clearReceived();

signals:
    void commandReceived(uint16_t cmd_id);

private slots:
    void onReadable();

private:
    void handle(const LongCommand &c);

    PtyPair m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_rx;
    QByteArray m_raw;
    QList<ReceivedCommand> m_commands;
    QList<QByteArray> m_acks;
    QElapsedTimer m_clock;
    QTimer m_stream;
    std::function<QByteArray()> m_makeFrame;
};

#include "sim/ModuleSimulator.h"

#include <cstring>

#include "app/Crc.h"

namespace SimPayload {

QByteArray calibMessage(uint16_t id, const std::array<ImuValues, 32> &imus)
{
    const size_t S = calibRecordSize(id);
    const size_t B = S - 112;
    QByteArray p(int(calibMessageLength(id)), '\0');
    auto *d = reinterpret_cast<uint8_t *>(p.data());
    for (int i = 0; i < 32; ++i) {
        uint8_t *r = d + kCalibHeaderBytes + i * S;
        const ImuValues &v = imus[size_t(i)];
        writeLE(r, v.time_ms);
        memcpy(r + 4, v.fused, sizeof v.fused);
        writeLE(r + B, v.calib_status);
        writeLE(r + B + 4, v.calib_flag);
        writeLE(r + B + 8, v.calib_flag_h);
        writeLE(r + S - 48, v.software_ver);
        writeLE(r + S - 44, v.harware_ver);
        memcpy(r + S - 40, v.sn.constData(), size_t(qMin(32, v.sn.size())));
        writeLE(d + kCalibHeaderBytes + 32 * S + 2 * i, v.errors);
    }
    return p;
}

QByteArray versionPayload(uint32_t softwareVersion, uint32_t boardId, uint32_t hardwareVersion)
{
    QByteArray p(int(kVersionPayloadBytes), '\0');
    auto *d = reinterpret_cast<uint8_t *>(p.data());
    writeLE(d + 4 * VersionField::SoftwareVersion, softwareVersion);
    writeLE(d + 4 * VersionField::HardwareVersion, hardwareVersion);
    writeLE(d + 4 * VersionField::BoardId, boardId);
    return p;
}

QByteArray paramValuePayload(uint32_t index, float value)
{
    QByteArray p(8, '\0');
    writeLE(reinterpret_cast<uint8_t *>(p.data()), index);
    writeLE(reinterpret_cast<uint8_t *>(p.data()) + 4, value);
    return p;
}

} // namespace SimPayload

ModuleSimulator::ModuleSimulator(QObject *parent) : QObject(parent), m_stream(this)
{
    m_clock.start();
    for (int i = 0; i < 32; ++i) {
        imus[size_t(i)].sn = QByteArray("SIM") + QByteArray::number(i + 1).rightJustified(4, '0');
        imus[size_t(i)].software_ver = softwareVersion;
    }
    for (int i = 0; i < kUserParamCount; ++i)
        params[size_t(i)] = float(i) * 0.5f;
    if (m_pty.isValid()) {
        m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &ModuleSimulator::onReadable);
    }
    connect(&m_stream, &QTimer::timeout, this, [this] {
        if (m_makeFrame)
            sendRaw(m_makeFrame());
    });
}

ModuleSimulator::~ModuleSimulator() = default;

void ModuleSimulator::sendFrame(uint16_t id, const QByteArray &payload)
{
    sendRaw(buildDeviceFrame(id, payload));
}

void ModuleSimulator::sendRaw(const QByteArray &bytes)
{
    m_pty.write(bytes.constData(), bytes.size());
}

void ModuleSimulator::startStreaming(int periodMs, std::function<QByteArray()> makeFrame)
{
    m_makeFrame = std::move(makeFrame);
    if (periodMs > 0)
        m_stream.start(periodMs);
    else
        m_stream.stop();
}

void ModuleSimulator::stopStreaming()
{
    m_stream.stop();
}

void ModuleSimulator::hangUp()
{
    m_stream.stop();
    m_notifier.reset();
    m_pty.hangUp();
}

QByteArray ModuleSimulator::currentCalibFrame() const
{
    return buildDeviceFrame(calibMessageId, SimPayload::calibMessage(calibMessageId, imus));
}

void ModuleSimulator::clearReceived()
{
    m_commands.clear();
    m_acks.clear();
    m_raw.clear();
}

void ModuleSimulator::onReadable()
{
    const QByteArray in = m_pty.readAvailable();
    if (in.isEmpty())
        return;
    m_raw.append(in);
    m_rx.append(in);
    // Host frames start 55 AA; their length field tells the size (24: long command, 4: ack).
    for (;;) {
        const int start = m_rx.indexOf("\x55\xAA");
        if (start < 0) {
            m_rx = m_rx.right(1);
            return;
        }
        if (start > 0)
            m_rx.remove(0, start);
        if (m_rx.size() < 6)
            return;
        const auto *d = reinterpret_cast<const uint8_t *>(m_rx.constData());
        const uint16_t len = readLE<uint16_t>(d + 4);
        const int total = 6 + len + 4;
        if (len != 24 && len != 4) {
            m_rx.remove(0, 2);
            continue;
        }
        if (m_rx.size() < total)
            return;
        if (readLE<uint32_t>(d + 6 + len) != crc32_update(1, d, size_t(6 + len))) {
            m_rx.remove(0, 2);
            continue;
        }
        if (len == 24) {
            LongCommand c;
            parseLongCommand(d, total, &c);
            m_commands.append({c, m_clock.elapsed()});
            emit commandReceived(c.cmd_id);
            if (!(onCommand && onCommand(c)))
                handle(c);
        } else {
            m_acks.append(m_rx.left(total));
        }
        m_rx.remove(0, total);
    }
}

void ModuleSimulator::handle(const LongCommand &c)
{
    switch (c.cmd_id) {
    case DeviceCmdId::StatusQuery:
        sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(softwareVersion, boardId));
        break;
    case DeviceCmdId::ReadParam:
        if (answerParamReads && c.cm3 < uint32_t(kUserParamCount))
            sendFrame(DeviceMsgId::ParamValue, SimPayload::paramValuePayload(c.cm3, params[c.cm3]));
        break;
    case DeviceCmdId::SetOutputMode:
        if (qRound(c.cm1) == int(OutputMode::MultiImuCalib))
            startStreaming(100, [this] { return currentCalibFrame(); });
        else if (qRound(c.cm1) == int(OutputMode::Command))
            stopStreaming();
        break;
    default:
        // Calibration commands: every IMU that reports takes the code as its status word, and
        // an end code's flags.
        if (c.cmd_id >= 50000) {
            const EndFlags flags = endCodeFlags.value(c.cmd_id);
            for (auto &imu : imus) {
                if (imu.time_ms == 0)
                    continue;
                imu.calib_status = c.cmd_id;
                if (flags.flag)
                    imu.calib_flag = flags.flag;
                if (flags.flagH)
                    imu.calib_flag_h = flags.flagH;
            }
        }
        break;
    }
}

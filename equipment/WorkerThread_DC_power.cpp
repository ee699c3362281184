#include "equipment/WorkerThread_DC_power.h"

#include <QModbusReply>
#include <QSerialPort>

#include "equipment/Creators.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/StationValues.h"
#include "link/DeviceProtocol.h"
#include "link/DeviceRecords.h"

WorkerThread_DC_power::WorkerThread_DC_power(const QString &portName)
    : m_portName(portName), m_pollTimer(this), m_stepTimer(this)
{
    m_stepTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &WorkerThread_DC_power::poll);
    connect(&m_stepTimer, &QTimer::timeout, this, &WorkerThread_DC_power::onStepTimer);
}

WorkerThread_DC_power::~WorkerThread_DC_power()
{
    m_pollTimer.stop();
    m_stepTimer.stop();
    if (m_device) {
        m_device->disconnect(this);
        m_device->disconnectDevice();
    }
}

void WorkerThread_DC_power::openSerialConnected()
{
    m_reportedOpen = false;
    m_device = std::make_unique<QModbusRtuSerialMaster>();
    configureRtuLine(m_device.get(), m_portName, DcSupply::kBaud);
    m_device->setTimeout(m_t.replyTimeoutMs);
    m_device->setNumberOfRetries(0);
    const bool ok = m_device->connectDevice() && m_device->state() == QModbusDevice::ConnectedState;
    if (ok) {
        m_pollTimer.start(m_t.pollMs);
        watchModbusLine(m_device.get(), [this](const QString &reason) {
            closePort();
            emit signal_linkLost(reason);
        });
    } else {
        emit signal_log(5, tr("DC supply: failed to open %1: %2").arg(m_portName, m_device->errorString()));
        m_device.reset();
    }
    emit signal_connectIsSuccess(ok);
}

void WorkerThread_DC_power::abandonControl()
{
    if (!m_busy && m_codes.isEmpty())
        return;
    m_stepTimer.stop();
    m_codes.clear();
    m_steps.clear();
    m_busy = false;
    m_plateCode = 0;
    ++m_stepToken;
    // Switch writes still queued behind a poll belong to the abandoned codes too.
    QQueue<Frame> keep;
    for (const Frame &f : m_frames)
        if (f.poll)
            keep.enqueue(f);
    m_frames = keep;
    emit signal_log(74, tr("DC supply: control sequence abandoned"));
}

void WorkerThread_DC_power::closePort()
{
    m_pollTimer.stop();
    m_stepTimer.stop();
    m_codes.clear();
    m_steps.clear();
    m_frames.clear();
    m_busy = false;
    m_plateCode = 0;
    ++m_stepToken;
    if (m_device)
        m_device->disconnectDevice();
}

// ---- frames -----------------------------------------------------------------------------------

void WorkerThread_DC_power::send_modbus_mutex(QByteArray frame, int tag)
{
    if (frame.size() < 2)
        return;
    const bool setPoint = frame.size() == DcSupply::kSetFrameBytes && quint8(frame[1]) == QModbusRequest::WriteMultipleRegisters;
    if (setPoint)
        m_setFrame = frame; // the latest set point, for this worker's own switching
    queueFrame({frame, tag, {}, false});
    if (!setPoint || !m_device || m_device->state() != QModbusDevice::ConnectedState)
        return;
    // The output read right behind the write tells whether the supply took the switch.
    const int want = frame[DcSupply::kOutputByte] ? 1 : 0;
    queueFrame({outputReadFrame(), tag,
                [this, want](QModbusReply *reply) { emit signal_set_frame_read_back(want, outputIs(reply, want)); }, false});
}

QByteArray WorkerThread_DC_power::outputReadFrame()
{
    QByteArray read;
    read.append(char(DcSupply::kSlave)).append(char(QModbusRequest::ReadHoldingRegisters));
    read.append(char(0)).append(char(DcSupply::kOutputRegister)).append(char(0)).append(char(1));
    return read;
}

bool WorkerThread_DC_power::outputIs(QModbusReply *reply, int want)
{
    const QByteArray d = reply ? reply->rawResult().data() : QByteArray();
    return reply && reply->error() == QModbusDevice::NoError && d.size() >= 3 && ((quint8(d[1]) << 8) | quint8(d[2])) == want;
}

void WorkerThread_DC_power::queueFrame(Frame f)
{
    if (!m_device || m_device->state() != QModbusDevice::ConnectedState) {
        if (!f.poll)
            emit signal_log(5, tr("DC supply: frame not sent, supply not connected"));
        return;
    }
    m_frames.enqueue(std::move(f));
    sendNextFrame();
}

bool WorkerThread_DC_power::queueStepFrame(const QByteArray &bytes, std::function<void(QModbusReply *)> onReply)
{
    if (!m_device || m_device->state() != QModbusDevice::ConnectedState) {
        emit signal_log(5, tr("DC supply: frame not sent, supply not connected"));
        return false;
    }
    // The step machine holds until this frame was answered or failed; a sequence abandoned or a
    // port closed meanwhile changes the token, and the late answer then moves nothing on.
    const quint64 token = ++m_stepToken;
    queueFrame({bytes, 0, [this, token, onReply](QModbusReply *reply) {
                    if (token != m_stepToken)
                        return;
                    onReply(reply);
                    runSteps();
                },
                false});
    return true;
}

void WorkerThread_DC_power::sendNextFrame()
{
    while (!m_frameInFlight && !m_frames.isEmpty() && m_device
           && m_device->state() == QModbusDevice::ConnectedState) {
        const Frame f = m_frames.dequeue();
        const QModbusRequest pdu(QModbusPdu::FunctionCode(quint8(f.bytes[1])), f.bytes.mid(2));
        QModbusReply *reply = m_device->sendRawRequest(pdu, quint8(f.bytes[0]));
        if (!reply) {
            if (f.onReply)
                f.onReply(nullptr);
            continue;
        }
        emit signal_frame_sent(f.bytes, f.tag);
        m_frameInFlight = true;
        const auto done = [this, reply, f] {
            m_frameInFlight = false;
            if (f.onReply)
                f.onReply(reply);
            else if (reply->error() != QModbusDevice::NoError)
                emit signal_log(5, tr("DC supply: frame failed: %1").arg(reply->errorString()));
            reply->deleteLater();
            sendNextFrame();
        };
        if (reply->isFinished())
            done();
        else
            connect(reply, &QModbusReply::finished, this, done);
    }
}

void WorkerThread_DC_power::poll()
{
    for (const Frame &f : m_frames)
        if (f.poll)
            return; // the last poll still waits: never pile up reads
    QByteArray read;
    read.append(char(DcSupply::kSlave)).append(char(QModbusRequest::ReadHoldingRegisters));
    read.append(char(DcSupply::kMeasureRegister >> 8)).append(char(DcSupply::kMeasureRegister & 0xFF));
    read.append(char(0)).append(char(DcSupply::kMeasureCount));
    queueFrame({read, 0, [this](QModbusReply *reply) {
                    const QByteArray d = reply ? reply->rawResult().data() : QByteArray();
                    if (!reply || reply->error() != QModbusDevice::NoError || d.size() < 5) {
                        emit signal_log(37, "dcpower_0_0");
                        return;
                    }
                    const auto reg = [&d](int i) { return quint16((quint8(d[1 + 2 * i]) << 8) | quint8(d[2 + 2 * i])); };
                    const double volts = reg(0) * double(g_dc_read_full_scale_voltage.load()) / 65535.0;
                    const double amps = reg(1) * double(g_dc_read_full_scale_current.load()) / 65535.0;
                    emit signal_log(37, "dcpower_1_1");
                    emit signal_log(77, QString::number(volts, 'f', 2));
                    emit signal_log(78, QString::number(amps, 'f', 2));
                },
                true});
}

QByteArray WorkerThread_DC_power::setFrame(int on)
{
    const QByteArray shared = g_dc_set_frame.load(); // a locked copy of the panel's frame
    if (shared.size() == DcSupply::kSetFrameBytes)
        m_setFrame = shared;
    QByteArray f = m_setFrame;
    if (f.size() == DcSupply::kSetFrameBytes)
        f[DcSupply::kOutputByte] = char(on ? 1 : 0);
    return f;
}

// ---- control codes ----------------------------------------------------------------------------

void WorkerThread_DC_power::addSwitch(QList<Step> &steps, int on) const
{
    for (int i = 0; i < 3; ++i) {
        steps << Step{Step::Write, on};
        steps << Step{Step::Wait, i < 2 ? m_t.onOffGapMs : m_t.settleMs};
    }
    steps << Step{Step::ReadBack, on};
}

void WorkerThread_DC_power::addStream(QList<Step> &steps, int count, int gapMs) const
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            steps << Step{Step::Wait, gapMs};
        steps << Step{Step::StreamCmd, 0};
    }
}

QList<WorkerThread_DC_power::Step> WorkerThread_DC_power::stepsFor(uint16_t code) const
{
    QList<Step> s;
    switch (code) {
    case 101:
        addSwitch(s, 1);
        addStream(s, 15, m_t.streamGapMs);
        break;
    case 102:
        addSwitch(s, 0);
        break;
    case 103: s << Step{Step::Plates, 56000}; break;
    case 104: s << Step{Step::Plates, 58000}; break;
    case 56001:
        addSwitch(s, 1);
        addStream(s, 15, m_t.streamGapMs);
        s << Step{Step::Plates, 56001};
        break;
    case 58001:
        addSwitch(s, 1);
        addStream(s, 10, m_t.slowStreamGapMs);
        s << Step{Step::Plates, 58001};
        break;
    case 56003:
        s << Step{Step::Plates, 56003} << Step{Step::Wait, m_t.pauseMs};
        addSwitch(s, 0);
        addSwitch(s, 1);
        addStream(s, 10, m_t.streamGapMs);
        s << Step{Step::Plates, 58000};
        addSwitch(s, 0);
        break;
    case 58003: s << Step{Step::Plates, 58003}; break;
    case 65530:
        addSwitch(s, 0);
        addSwitch(s, 1);
        addStream(s, 10, m_t.streamGapMs);
        break;
    default:
        break;
    }
    return s;
}

void WorkerThread_DC_power::rev_dc_control(uint16_t code)
{
    m_codes.enqueue(code);
    if (!m_busy)
        runSteps();
}

void WorkerThread_DC_power::runSteps()
{
    for (;;) {
        if (!m_busy) {
            if (m_codes.isEmpty())
                return;
            const uint16_t code = m_codes.dequeue();
            m_steps = stepsFor(code);
            if (m_steps.isEmpty()) {
                emit signal_log(5, tr("DC supply: unknown control code %1").arg(code));
                continue;
            }
            m_busy = true;
        }
        if (m_steps.isEmpty()) {
            m_busy = false;
            continue;
        }
        const Step st = m_steps.takeFirst();
        switch (st.kind) {
        case Step::Write: {
            const QByteArray f = setFrame(st.value);
            if (f.size() != DcSupply::kSetFrameBytes) {
                emit signal_log(74, tr("DC supply: no set frame to switch with"));
                break;
            }
            // The gap after a switch write counts from the supply's answer, not from the queue.
            if (queueStepFrame(f, [this](QModbusReply *reply) {
                    if (reply && reply->error() != QModbusDevice::NoError)
                        emit signal_log(5, tr("DC supply: frame failed: %1").arg(reply->errorString()));
                }))
                return;
            break;
        }
        case Step::Wait:
            m_stepTimer.start(st.value);
            return;
        case Step::ReadBack: {
            const int want = st.value;
            if (queueStepFrame(outputReadFrame(), [this, want](QModbusReply *reply) {
                    const bool ok = outputIs(reply, want);
                    if (!ok)
                        emit signal_log(74, want ? tr("DC supply: power on not confirmed") : tr("DC supply: power off not confirmed"));
                    emit signal_switch_read_back(want, ok);
                }))
                return;
            break;
        }
        case Step::StreamCmd:
            emit Send_CMD_LONG_SIGNAL(DeviceCmdId::SetOutputMode, OutputMode::MultiImuCalib, 0,
                                      OUTPUT_MODE_FILLER::cm3, OUTPUT_MODE_FILLER::cm4,
                                      OUTPUT_MODE_FILLER::cm5, OUTPUT_MODE_FILLER::cm6);
            break;
        case Step::Plates:
            m_plateCode = uint16_t(st.value);
            m_plateAttempts = 0;
            plateAttempt();
            return;
        }
    }
}

void WorkerThread_DC_power::plateAttempt()
{
    ++m_plateAttempts;
    emit Send_CMD_LONG_SIGNAL_times(m_plateCode, 0, 0, 0, 0, 0, 0);
    if (!anyLiveImu()) {
        // No IMU reports: nobody can confirm the command, so there is nothing to wait for.
        emit signal_log(74, tr("DC supply: command %1 sent to the plates; no live IMU to confirm it").arg(m_plateCode));
        emit signal_plates_took(m_plateCode, false);
        m_plateCode = 0;
        m_stepTimer.start(0);
        return;
    }
    m_stepTimer.start(m_t.plateWaitMs);
}

bool WorkerThread_DC_power::anyLiveImu()
{
    for (int p = 0; p < kPlates; ++p) {
        const PlateSnapshot s = g_calib_status.plate(p);
        for (const CalibImuStatus &r : s.imu)
            if (r.time_ms != 0)
                return true;
    }
    return false;
}

void WorkerThread_DC_power::onStepTimer()
{
    if (m_plateCode != 0) {
        const bool taken = platesHaveCode(m_plateCode);
        if (!taken) {
            if (m_plateAttempts < 3) {
                plateAttempt();
                return;
            }
            emit signal_log(74, tr("DC supply: the plates did not take command %1 after 3 attempts").arg(m_plateCode));
        }
        emit signal_plates_took(m_plateCode, taken);
        m_plateCode = 0;
    }
    runSteps();
}

bool WorkerThread_DC_power::platesHaveCode(uint16_t code) const
{
    bool any = false;
    for (int p = 0; p < kPlates; ++p) {
        const PlateSnapshot s = g_calib_status.plate(p);
        for (const CalibImuStatus &r : s.imu) {
            if (r.time_ms == 0)
                continue;
            any = true;
            if (r.calib_status != code)
                return false;
        }
    }
    return any;
}

WorkerThread_DC_power *createWorker_DC_power(QString portName, uint32_t)
{
    return startWorkerThread(new WorkerThread_DC_power(portName), &WorkerThread_DC_power::openSerialConnected);
}

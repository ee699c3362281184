#include "link/WorkerThread.h"

#include "link/WorkerThreadStart.h"

#include "link/CalibMapping.h"
#include "link/DeviceRecords.h"
#include "link/SerialLine.h"
#include "link/VersionMessage.h"

namespace {
constexpr int kParamResendMs = 10;
constexpr int kParamTimeoutMs = 5000;
} // namespace

WorkerThread::WorkerThread(const QString &portName, uint32_t baudRate)
    : m_portName(portName), m_baudRate(baudRate),
      m_queue([this](const QByteArray &b) { writeBytes(b); }, this), m_paramTimer(this)
{
    m_queue.setTakenCheck([](uint16_t cmd) {
        const PlateSnapshot s = g_calib_status.plate(0);
        bool any = false;
        for (const CalibImuStatus &r : s.imu) {
            if (r.time_ms == 0)
                continue;
            any = true;
            if (r.calib_status != cmd)
                return false;
        }
        return any;
    });
    m_paramTimer.setInterval(kParamResendMs);
    connect(&m_paramTimer, &QTimer::timeout, this, &WorkerThread::onParamTimer);
}

WorkerThread::~WorkerThread()
{
    m_recorder.close();
    g_recording = 0;
}

void WorkerThread::openSerialConnected()
{
    QString error;
    m_port = openSerialLine(m_portName, qint32(m_baudRate), &error);
    const bool ok = m_port != nullptr;
    if (ok) {
        connect(m_port.get(), &QSerialPort::readyRead, this, &WorkerThread::readDate);
        watchSerialLine(m_port.get(), [this](const QString &reason) {
            m_queue.clear();
            m_paramTimer.stop();
            m_paramIndices.clear();
            stopRecording(tr("the link was lost (%1)").arg(reason));
            emit signal_linkLost(reason);
        });
    } else {
        emit signal_log(5, tr("Failed to open %1: %2").arg(m_portName, error));
    }
    emit signal_connectIsSuccess(ok);
}

void WorkerThread::closePort()
{
    m_queue.clear();
    m_paramTimer.stop();
    m_paramIndices.clear();
    if (m_port && m_port->isOpen())
        m_port->close();
    stopRecording(tr("the link was closed"));
}

void WorkerThread::stopRecording(const QString &why)
{
    if (!m_recorder.isOpen())
        return;
    const QString name = m_recorder.fileName();
    const bool ok = m_recorder.close();
    g_recording = 0;
    if (ok) {
        emit signal_log(5, tr("Recording stopped"));
        emit signal_recording(false, why);
        return;
    }
    // The last bytes did not reach the disk: told like any failed write.
    const QString failure = tr("writing %1 failed: %2").arg(name, m_recorder.errorString());
    emit signal_log(5, tr("Recording failed: %1").arg(failure));
    emit signal_recording(false, failure);
}

void WorkerThread::writeBytes(const QByteArray &bytes)
{
    if (!m_port || !m_port->isOpen())
        return; // a closed port drops the command
    writeSerialLine(m_port.get(), bytes);
    emit signal_sendWriteToSerialPortData(bytes);
}

void WorkerThread::Send_CMD_LONG(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                                 int32_t cm5, int32_t cm6)
{
    writeBytes(buildLongCommand(cmd_id, cm1, cm2, cm3, cm4, cm5, cm6));
}

void WorkerThread::Send_CMD_LONG_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                       uint32_t cm4, int32_t cm5, int32_t cm6)
{
    m_queue.enqueueLong({cmd_id, cm1, cm2, cm3, cm4, cm5, cm6}, 10);
}

void WorkerThread::Send_CMD_ACK(uint16_t cmd_id, uint16_t ack_id, uint16_t result)
{
    writeBytes(buildAckCommand(cmd_id, ack_id, result));
}

void WorkerThread::Send_QString_times(QString text)
{
    if (!m_port || !m_port->isOpen())
        return;
    m_queue.enqueueText(text, 3);
}

void WorkerThread::do_file_recording(QString path, int on, int, int)
{
    if (!on) {
        if (m_recorder.isOpen()) {
            stopRecording(tr("recording stopped"));
            return;
        }
        g_recording = 0;
        emit signal_log(5, tr("Recording stopped"));
        emit signal_recording(false, tr("recording stopped"));
        return;
    }
    if (m_recorder.isOpen()) {
        emit signal_recording(true, m_recorder.fileName());
        return;
    }
    if (!m_port || !m_port->isOpen()) {
        g_recording = 0;
        emit signal_recording(false, tr("the link is not open"));
        return;
    }
    if (!m_recorder.open(path)) {
        g_recording = 0;
        const QString why = tr("cannot open %1: %2").arg(m_recorder.fileName(), m_recorder.errorString());
        emit signal_log(5, tr("Recording failed: %1").arg(why));
        emit signal_recording(false, why);
        return;
    }
    g_recording = 1;
    emit signal_log(5, tr("Recording to %1").arg(m_recorder.fileName()));
    emit signal_recording(true, m_recorder.fileName());
}

void WorkerThread::readDate()
{
    if (!m_port)
        return;
    const QByteArray data = m_port->readAll();
    if (data.isEmpty())
        return;
    emit signal_sendSerialPortData(data);
    if (m_recorder.isOpen() && !m_recorder.append(data.constData(), data.size())) {
        g_recording = 0;
        const QString why = tr("writing %1 failed: %2").arg(m_recorder.fileName(), m_recorder.errorString());
        emit signal_log(5, tr("Recording failed: %1").arg(why));
        emit signal_recording(false, why);
    }
    feedBytes(data.constData(), data.size());
}

void WorkerThread::feedBytes(const char *data, qint64 size)
{
    const uint64_t okBefore = m_parser.counters().good;
    const uint64_t badBefore = m_parser.counters().bad();
    m_parser.feed(reinterpret_cast<const uint8_t *>(data), size_t(size),
                  [this](uint16_t id, const uint8_t *p, uint32_t len) { dataExtraction(id, p, len); });
    g_frame_ok_count += m_parser.counters().good - okBefore;
    g_frame_err_count += m_parser.counters().bad() - badBefore;
}

void WorkerThread::dataExtraction(uint16_t id, const uint8_t *p, uint32_t len)
{
    if (len < minPayloadLength(id)) {
        ++m_shortFrames;
        return;
    }
    switch (id) {
    case DeviceMsgId::Calib0777:
    case DeviceMsgId::CalibB6B4:
    case DeviceMsgId::CalibB6B5:
    case DeviceMsgId::CalibB6B6:
    case DeviceMsgId::CalibB6B8: {
        if (id == DeviceMsgId::CalibB6B4)
            g_imu_calib_1040.update([p](auto &img) { memcpy(img.data(), p + kCalibHeaderBytes, img.size()); });
        else if (id == DeviceMsgId::CalibB6B5)
            g_imu_calib_368.update([p](auto &img) { memcpy(img.data(), p + kCalibHeaderBytes, img.size()); });
        else if (id != DeviceMsgId::Calib0777)
            g_imu_calib_256.update([p](auto &img) { memcpy(img.data(), p + kCalibHeaderBytes, img.size()); });
        g_calib_status.writePlate(0, [&](CalibImuStatus *rec, uint32_t *err) {
            storeCalibMessage(CalibMapVariant::Main, id, p, len, rec, err);
        });
        g_calib_status.bump(0);
        emit signal_send_735e_calib();
        break;
    }
    case DeviceMsgId::Version: {
        const VersionPayload v = parseVersionPayload(p);
        emit signal_log(37, versionReportText(1, v));
        emitVersionValue(this, v);
        break;
    }
    case DeviceMsgId::Screening:
        g_screening_records.update([p](auto &r) { memcpy(r.data(), p + kCalibHeaderBytes, r.size()); });
        emit signal_send_735e_imu_screening();
        break;
    case DeviceMsgId::Test735:
        g_test_735_record.update([p](auto &r) { memcpy(r.data(), p, r.size()); });
        emit signal_send_735e_test();
        break;
    case DeviceMsgId::TestK350:
        g_test_k350_record.update([p](auto &r) { memcpy(r.data(), p, r.size()); });
        emit signal_send_k350_test();
        break;
    case DeviceMsgId::ParamValue: {
        const uint32_t index = readLE<uint32_t>(p);
        const float value = readLE<float>(p + 4);
        if (index < uint32_t(kUserParamCount)) {
            g_user_param.update([&](auto &img) { img[index] = value; });
            if (index >= 8 && index <= 10)
                g_gyro_calib_result.update([&](GyroCalibResult &g) {
                    g.xyz[index - 8] = value;
                    g.received[index - 8] = true;
                });
            emit signal_send_normal_param(uint8_t(index), value);
        }
        Send_CMD_ACK(DeviceCmdId::Ack, DeviceCmdId::ParamItem, uint16_t(index));
        if (!m_paramIndices.isEmpty() && m_paramIndices.first() == index) {
            m_paramAnswered = true;
            m_paramValue = value;
        }
        break;
    }
    default:
        break;
    }
}

void WorkerThread::read_normal_param_one_param(uint8_t index)
{
    m_paramGyroSequence = false;
    m_paramIndices = {index};
    startParamRead(index);
}

void WorkerThread::gyro_calib_result_read()
{
    m_paramGyroSequence = true;
    m_paramIndices = {8, 9, 10};
    startParamRead(8);
}

void WorkerThread::startParamRead(uint8_t index)
{
    m_paramAnswered = false;
    m_paramDeadline = QDeadlineTimer(kParamTimeoutMs);
    Send_CMD_LONG(DeviceCmdId::ReadParam, 0, 0, index, 0, 0, 0);
    m_paramTimer.start();
}

void WorkerThread::onParamTimer()
{
    if (m_paramIndices.isEmpty()) {
        m_paramTimer.stop();
        return;
    }
    if (m_paramAnswered) {
        finishParamRead(true, m_paramValue);
        return;
    }
    if (m_paramDeadline.hasExpired()) {
        finishParamRead(false, 0);
        return;
    }
    Send_CMD_LONG(DeviceCmdId::ReadParam, 0, 0, m_paramIndices.first(), 0, 0, 0);
}

void WorkerThread::finishParamRead(bool ok, float value)
{
    m_paramTimer.stop();
    const uint8_t index = m_paramIndices.takeFirst();
    if (!ok) {
        m_paramIndices.clear();
        emit signal_log(5, "Failed to obtain parameters!");
        return;
    }
    if (m_paramGyroSequence) {
        static const char axis[] = {'x', 'y', 'z'};
        const int a = index - 8;
        emit signal_log(5, QString("Obtain gyro calibration %1 %2").arg(axis[a]).arg(value));
        emit signal_log(uint8_t(13 + a), QString::number(value));
        emit signal_send_k350_test();
    }
    if (!m_paramIndices.isEmpty())
        startParamRead(m_paramIndices.first());
}

WorkerThread *createWorker(const QString &portName, uint32_t baudRate)
{
    return startWorkerThread(new WorkerThread(portName, baudRate), &WorkerThread::openSerialConnected);
}

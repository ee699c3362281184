#include "equipment/WorkerThread_Multi.h"

#include "link/VersionMessage.h"

#include "equipment/Creators.h"
#include "link/CalibMapping.h"
#include "link/DeviceRecords.h"
#include "link/SerialLine.h"

WorkerThread_Multi::WorkerThread_Multi(const QString &portName, uint32_t baudRate, int index)
    : m_portName(portName), m_baudRate(baudRate), m_index(index),
      m_queue([this](const QByteArray &b) { writeBytes(b); }, this)
{
    // 51000 / 52000 end early once every live IMU of this plate shows the command as its status.
    const int plate = plateIndex();
    m_queue.setTakenCheck([plate](uint16_t cmd) {
        const PlateSnapshot s = g_calib_status.plate(plate);
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
}

WorkerThread_Multi::~WorkerThread_Multi()
{
    m_recorder.close();
}

void WorkerThread_Multi::openSerialConnected()
{
    QString error;
    m_port = openSerialLine(m_portName, qint32(m_baudRate), &error);
    const bool ok = m_port != nullptr;
    if (ok) {
        connect(m_port.get(), &QSerialPort::readyRead, this, &WorkerThread_Multi::readDate);
        watchSerialLine(m_port.get(), [this](const QString &reason) {
            m_queue.clear();
            stopRecording();
            emit signal_linkLost(m_index, reason);
        });
    } else {
        emit signal_log(5, tr("Plate %1: failed to open %2: %3")
                               .arg(m_index + 2).arg(m_portName, error));
    }
    emit signal_connectIsSuccess(m_index, ok);
}

void WorkerThread_Multi::closePort()
{
    m_queue.clear();
    if (m_port && m_port->isOpen())
        m_port->close();
}

void WorkerThread_Multi::writeBytes(const QByteArray &bytes)
{
    if (!m_port || !m_port->isOpen())
        return;
    writeSerialLine(m_port.get(), bytes);
}

void WorkerThread_Multi::Send_CMD_LONG(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                       uint32_t cm4, int32_t cm5, int32_t cm6)
{
    writeBytes(buildLongCommand(cmd_id, cm1, cm2, cm3, cm4, cm5, cm6));
}

void WorkerThread_Multi::Send_CMD_LONG_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                             uint32_t cm4, int32_t cm5, int32_t cm6)
{
    if (!m_port || !m_port->isOpen())
        return;
    m_queue.enqueueLong({cmd_id, cm1, cm2, cm3, cm4, cm5, cm6}, 10);
}

void WorkerThread_Multi::Send_QString_times(QString text)
{
    if (!m_port || !m_port->isOpen())
        return;
    m_queue.enqueueText(text, 3);
}

void WorkerThread_Multi::do_file_recording(QString path, int on, int, int)
{
    if (!on) {
        stopRecording();
        return;
    }
    if (m_recorder.isOpen())
        return;
    QString base = path;
    if (base.endsWith(".dat", Qt::CaseInsensitive))
        base.chop(4);
    if (!m_recorder.open(QString("%1_%2").arg(base).arg(m_index + 2))) {
        emit signal_log(5, tr("Plate %1: recording failed: %2").arg(m_index + 2).arg(m_recorder.errorString()));
        return;
    }
    emit signal_log(5, tr("Plate %1: recording to %2").arg(m_index + 2).arg(m_recorder.fileName()));
}

void WorkerThread_Multi::stopRecording()
{
    if (!m_recorder.isOpen())
        return;
    if (m_recorder.close())
        emit signal_log(5, tr("Plate %1: recording stopped").arg(m_index + 2));
    else // the last bytes did not reach the disk: told like any failed write
        emit signal_log(5, tr("Plate %1: recording failed: %2").arg(m_index + 2).arg(m_recorder.errorString()));
}

void WorkerThread_Multi::readDate()
{
    if (!m_port)
        return;
    const QByteArray data = m_port->readAll();
    if (data.isEmpty())
        return;
    if (m_recorder.isOpen() && !m_recorder.append(data.constData(), data.size()))
        emit signal_log(5, tr("Plate %1: recording failed: %2").arg(m_index + 2).arg(m_recorder.errorString()));
    feedBytes(data.constData(), data.size());
}

void WorkerThread_Multi::feedBytes(const char *data, qint64 size)
{
    m_parser.feed(reinterpret_cast<const uint8_t *>(data), size_t(size),
                  [this](uint16_t id, const uint8_t *p, uint32_t len) { dataExtraction(id, p, len); });
}

void WorkerThread_Multi::dataExtraction(uint16_t id, const uint8_t *p, uint32_t len)
{
    if (len < minPayloadLength(id))
        return;
    if (isCalibMessage(id)) {
        const int plate = plateIndex();
        bool stored = false;
        g_calib_status.writePlate(plate, [&](CalibImuStatus *rec, uint32_t *err) {
            stored = storeCalibMessage(CalibMapVariant::Rack, id, p, len, rec, err);
        });
        if (!stored)
            return;
        g_calib_status.bump(plate);
        emit signal_send_735e_calib();
        return;
    }
    if (id == DeviceMsgId::Version) {
        const VersionPayload v = parseVersionPayload(p);
        emit signal_log(37, versionReportText(m_index + 2, v));
        emitVersionValue(this, v);
    }
}

WorkerThread_Multi *createWorker_Multi(QString portName, uint32_t baudRate, int index)
{
    return startWorkerThread(new WorkerThread_Multi(portName, baudRate, index),
                             &WorkerThread_Multi::openSerialConnected);
}

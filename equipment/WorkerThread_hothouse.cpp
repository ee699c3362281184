#include "equipment/WorkerThread_hothouse.h"

#include <QElapsedTimer>
#include <QModbusReply>
#include <QModbusRtuSerialMaster>
#include <QModbusTcpClient>
#include <QSerialPort>
#include <QSettings>

#include "app/Settings.h"
#include "equipment/Creators.h"
#include "equipment/EquipmentRegisters.h"

// What each request does, for the failure lines (translated when shown).
namespace {
const char kSetPoint[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "set point");
const char kRampRate[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "ramp rate");
const char kRun[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "run");
const char kStop[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "stop");
const char kSetPointRead[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "set point read");
const char kRampRateRead[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "ramp rate read");
const char kTemperatureRead[] = QT_TRANSLATE_NOOP("WorkerThread_hothouse", "temperature read");
} // namespace

WorkerThread_hothouse::WorkerThread_hothouse(const QString &portName)
    : m_portName(portName), m_pollTimer(this)
{
    connect(&m_pollTimer, &QTimer::timeout, this, &WorkerThread_hothouse::poll);
}

WorkerThread_hothouse::~WorkerThread_hothouse()
{
    m_pollTimer.stop();
    if (m_device) {
        // Replies still pending belong to the device; drop their handlers before it goes.
        m_device->disconnect(this);
        m_device->disconnectDevice();
    }
}

WorkerThread_hothouse::Request WorkerThread_hothouse::readRegisters(
    uint16_t address, int count, const char *what, std::function<void(const QVector<quint16> &)> onValues)
{
    return {QModbusRequest(QModbusRequest::ReadHoldingRegisters, quint16(address), quint16(count)), what,
            std::move(onValues)};
}

void WorkerThread_hothouse::openPortConnected()
{
    m_reportedOpen = false;
    m_device = makeDevice();
    m_device->setTimeout(m_timeoutMs);
    m_device->setNumberOfRetries(0);
    connect(m_device.get(), &QModbusDevice::stateChanged, this, [this](QModbusDevice::State s) {
        if (m_reportedOpen)
            return;
        if (s == QModbusDevice::ConnectedState) {
            m_reportedOpen = true;
            m_pollTimer.start(m_pollMs);
            watchModbusLine(m_device.get(), [this](const QString &reason) {
                m_pollTimer.stop();
                m_pending.clear();
                emit signal_linkLost(reason);
            });
            emit signal_connectIsSuccess(true);
            sendNext();
        } else if (s == QModbusDevice::UnconnectedState) {
            m_reportedOpen = true;
            emit signal_log(5, tr("Chamber: connection failed: %1").arg(m_device->errorString()));
            emit signal_connectIsSuccess(false);
        }
    });
    if (!m_device->connectDevice() && !m_reportedOpen) {
        m_reportedOpen = true;
        emit signal_log(5, tr("Chamber: failed to open %1: %2").arg(m_portName, m_device->errorString()));
        emit signal_connectIsSuccess(false);
    }
}

void WorkerThread_hothouse::setPollInterval(int ms)
{
    m_pollMs = ms;
    if (m_pollTimer.isActive())
        m_pollTimer.start(ms);
}

void WorkerThread_hothouse::closePort()
{
    m_pollTimer.stop();
    m_pending.clear();
    if (m_device)
        m_device->disconnectDevice();
}

void WorkerThread_hothouse::whenIdle(int waitMs, std::function<void()> done)
{
    QElapsedTimer since;
    since.start();
    auto *timer = new QTimer(this);
    const auto check = [this, timer, since, waitMs, done] {
        const bool idle = !m_inFlight && (m_pending.isEmpty() || !m_device || m_device->state() != QModbusDevice::ConnectedState);
        if (!idle && since.elapsed() < waitMs)
            return;
        timer->stop(); // no further check: done is called once
        timer->deleteLater();
        done();
    };
    connect(timer, &QTimer::timeout, this, check);
    timer->start(5);
    check();
}

void WorkerThread_hothouse::hothouse_set_target_temp(int16_t t) { enqueue(setTargetRequests(t)); }
void WorkerThread_hothouse::hothouse_set_temp_slope(uint8_t s) { enqueue(setSlopeRequests(s)); }
void WorkerThread_hothouse::hothouse_generate_start_stop_cmd(uint8_t on) { enqueue(startStopRequests(on)); }
void WorkerThread_hothouse::hothouse_read_target_temp() { enqueue(readTargetRequests()); }
void WorkerThread_hothouse::hothouse_read_temp_slope() { enqueue(readSlopeRequests()); }

void WorkerThread_hothouse::enqueue(const QList<Request> &requests)
{
    if (!m_device || m_device->state() != QModbusDevice::ConnectedState) {
        for (const Request &r : requests)
            emit signal_log(5, tr("Chamber: %1 not sent, chamber not connected").arg(tr(r.what)));
        return;
    }
    for (const Request &r : requests)
        m_pending.enqueue(r);
    sendNext();
}

void WorkerThread_hothouse::poll()
{
    // One poll waits at most: a slow chamber never piles up reads.
    for (const Request &r : m_pending)
        if (r.poll)
            return;
    Request r = readCurrentRequest();
    r.poll = true;
    enqueue({r});
}

void WorkerThread_hothouse::sendNext()
{
    while (!m_inFlight && !m_pending.isEmpty() && m_device
           && m_device->state() == QModbusDevice::ConnectedState) {
        const Request r = m_pending.dequeue();
        QModbusReply *reply = m_device->sendRawRequest(r.pdu, serverAddress());
        if (!reply) {
            emit signal_log(5, tr("Chamber: %1 failed: %2").arg(tr(r.what), m_device->errorString()));
            continue;
        }
        m_inFlight = true;
        const auto done = [this, reply, r] {
            m_inFlight = false;
            if (reply->error() != QModbusDevice::NoError) {
                emit signal_log(5, tr("Chamber: %1 failed: %2").arg(tr(r.what), reply->errorString()));
            } else if (r.onValues) {
                const QByteArray data = reply->rawResult().data();
                const int count = data.isEmpty() ? 0 : quint8(data[0]) / 2;
                QVector<quint16> values;
                for (int i = 0; i < count && 2 + 2 * i < data.size(); ++i)
                    values << quint16((quint8(data[1 + 2 * i]) << 8) | quint8(data[2 + 2 * i]));
                if (values.isEmpty())
                    emit signal_log(5, tr("Chamber: %1 gave no value").arg(tr(r.what)));
                else
                    r.onValues(values);
            }
            if (r.poll && reply->error() == QModbusDevice::NoError)
                emit signal_log(37, "hothouse_0_0");
            reply->deleteLater();
            sendNext();
        };
        if (reply->isFinished())
            done();
        else
            connect(reply, &QModbusReply::finished, this, done);
    }
}


// ---- RTU chamber ------------------------------------------------------------------------------

std::unique_ptr<QModbusClient> WorkerThread_hothouse1::makeDevice()
{
    auto d = std::make_unique<QModbusRtuSerialMaster>();
    configureRtuLine(d.get(), portName(), ChamberRtu::kBaud);
    return d;
}

int WorkerThread_hothouse1::serverAddress() const { return ChamberRtu::kSlave; }

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::setTargetRequests(int16_t t)
{
    return {{QModbusRequest(QModbusRequest::WriteSingleRegister, ChamberRtu::kSetPointRegister,
                            quint16(int16_t(t * 10))), kSetPoint, {}}};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::setSlopeRequests(uint8_t s)
{
    return {{QModbusRequest(QModbusRequest::WriteSingleRegister, ChamberRtu::kSlopeRegister,
                            quint16(s * 100)), kRampRate, {}}};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::startStopRequests(uint8_t on)
{
    return {{QModbusRequest(QModbusRequest::WriteSingleCoil, ChamberRtu::kRunCoil,
                            quint16(on ? 0xFF00 : 0x0000)), on ? kRun : kStop, {}}};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::readTargetRequests()
{
    return {readRegisters(ChamberRtu::kSetPointRegister, 1, kSetPointRead, [this](const QVector<quint16> &v) {
        emit signal_show_target_temp(float(int16_t(v[0])) / 10.0f);
    })};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::readSlopeRequests()
{
    return {readRegisters(ChamberRtu::kSlopeRegister, 1, kRampRateRead, [this](const QVector<quint16> &v) {
        emit signal_show_temp_slope(float(int16_t(v[0])) / 100.0f);
    })};
}

WorkerThread_hothouse::Request WorkerThread_hothouse1::readCurrentRequest()
{
    return readRegisters(ChamberRtu::kCurrentTempRegister, 1, kTemperatureRead, [this](const QVector<quint16> &v) {
        emit signal_show_current_temp(float(int16_t(v[0])) / 10.0f);
    });
}

// ---- TCP chamber ------------------------------------------------------------------------------

namespace {
QModbusRequest writeOneRegister(uint16_t address, quint16 value)
{
    return QModbusRequest(QModbusRequest::WriteMultipleRegisters, quint16(address), quint16(1), quint8(2), value);
}
} // namespace

std::unique_ptr<QModbusClient> WorkerThread_hothouse2::makeDevice()
{
    QSettings *s = getSettings();
    if (!s->contains(ChamberTcp::hostKey()))
        s->setValue(ChamberTcp::hostKey(), ChamberTcp::defaultHost());
    if (!s->contains(ChamberTcp::portKey()))
        s->setValue(ChamberTcp::portKey(), ChamberTcp::kDefaultPort);
    auto d = std::make_unique<QModbusTcpClient>();
    d->setConnectionParameter(QModbusDevice::NetworkAddressParameter, s->value(ChamberTcp::hostKey()).toString());
    d->setConnectionParameter(QModbusDevice::NetworkPortParameter, s->value(ChamberTcp::portKey()).toInt());
    return d;
}

int WorkerThread_hothouse2::serverAddress() const { return ChamberTcp::kUnit; }

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::setTargetRequests(int16_t t)
{
    return {{QModbusRequest(QModbusRequest::WriteSingleCoil, ChamberTcp::kSetPointEnableCoilA, quint16(0xFF00)),
             "set point coil A", {}},
            {QModbusRequest(QModbusRequest::WriteSingleCoil, ChamberTcp::kSetPointEnableCoilB, quint16(0xFF00)),
             "set point coil B", {}},
            {writeOneRegister(ChamberTcp::kSetPointRegister, quint16(int16_t(t * 10))), kSetPoint, {}}};
}

int WorkerThread_hothouse2::maxSlope() const { return ChamberTcp::kMaxSlope; }

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::setSlopeRequests(uint8_t s)
{
    // One byte of tenths: a larger rate would wrap into a slow one.
    if (s > ChamberTcp::kMaxSlope) {
        emit signal_log(5, tr("Chamber: ramp rate %1 not sent, the chamber takes at most %2 °C/min")
                               .arg(s)
                               .arg(ChamberTcp::kMaxSlope));
        return {};
    }
    return {{writeOneRegister(ChamberTcp::kSlopeRegister, quint16(s * 10)), kRampRate, {}}};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::startStopRequests(uint8_t on)
{
    return {{writeOneRegister(ChamberTcp::kRunRegister, quint16(on)), on ? kRun : kStop, {}}};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::readTargetRequests()
{
    return {readRegisters(ChamberTcp::kSetPointRegister, 1, kSetPointRead, [this](const QVector<quint16> &v) {
        emit signal_show_target_temp(float(int16_t(v[0])) / 10.0f);
    })};
}

QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::readSlopeRequests()
{
    return {readRegisters(ChamberTcp::kSlopeRegister, 1, kRampRateRead, [this](const QVector<quint16> &v) {
        emit signal_show_temp_slope(float(v[0] & 0xFF) / 10.0f);
    })};
}

WorkerThread_hothouse::Request WorkerThread_hothouse2::readCurrentRequest()
{
    return readRegisters(ChamberTcp::kCurrentTempRegister, 1, kTemperatureRead, [this](const QVector<quint16> &v) {
        emit signal_show_current_temp(float(int16_t(v[0])) / 10.0f);
    });
}

WorkerThread_hothouse *createWorker_hothouse(QString portName, int)
{
    const int type = getSettings()->value("turnTableType/type", 0).toInt();
    WorkerThread_hothouse *w = type == 3 ? static_cast<WorkerThread_hothouse *>(new WorkerThread_hothouse2(portName))
                                         : new WorkerThread_hothouse1(portName);
    return startWorkerThread(w, &WorkerThread_hothouse::openPortConnected);
}

#include "equipment/WorkerThread_net.h"

#include "link/SerialLine.h"

#include <cstring>

#include "equipment/Creators.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/StationValues.h"

WorkerThread_net::WorkerThread_net(const QString &portName) : m_portName(portName), m_pollTimer(this)
{
    connect(&m_pollTimer, &QTimer::timeout, this, &WorkerThread_net::poll);
}

WorkerThread_net::~WorkerThread_net() = default;

void WorkerThread_net::openSerialConnected()
{
    QString error;
    m_port = openSerialLine(m_portName, BaseBoard::kBaud, &error);
    const bool ok = m_port != nullptr;
    if (ok) {
        m_pollTimer.start(m_pollMs);
        watchSerialLine(m_port.get(), [this](const QString &reason) {
            m_pollTimer.stop();
            emit signal_linkLost(reason);
        });
    } else {
        emit signal_log(5, tr("Base-board link: failed to open %1: %2").arg(m_portName, error));
    }
    emit signal_connectIsSuccess(ok);
}

void WorkerThread_net::closePort()
{
    m_pollTimer.stop();
    if (m_port && m_port->isOpen())
        m_port->close();
}

void WorkerThread_net::poll()
{
    if (!m_port || !m_port->isOpen())
        return;
    const QByteArray data = m_port->readAll();
    if (!data.isEmpty())
        feedBytes(data.constData(), data.size());
}

void WorkerThread_net::feedBytes(const char *data, qint64 size)
{
    m_parser.feed(reinterpret_cast<const uint8_t *>(data), size_t(size),
                  [this](uint16_t id, const uint8_t *p, uint32_t len) { onFrame(id, p, len); });
}

void WorkerThread_net::onFrame(uint16_t id, const uint8_t *p, uint32_t len)
{
    emit signal_log(37, "net_0_0");
    // The chamber temperature of the other computer matters only in chamber slave mode; otherwise
    // the chamber worker of this station reports it.
    if (id == BaseBoard::kChamberTempMsg && len >= uint32_t(BaseBoard::kChamberTempOffset + 4)
        && g_dual_computer_temp_calib_flag.load() == 1) {
        float t;
        memcpy(&t, p + BaseBoard::kChamberTempOffset, 4);
        emit signal_show_current_temp(t);
    }
}

WorkerThread_net *createWorker_net(QString portName)
{
    return startWorkerThread(new WorkerThread_net(portName), &WorkerThread_net::openSerialConnected);
}

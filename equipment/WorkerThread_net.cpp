#include "equipment/WorkerThread_net.h"

#include "equipment/Creators.h"

WorkerThread_net::WorkerThread_net(const QString &portName) : m_portName(portName), m_pollTimer(this) {}
WorkerThread_net::~WorkerThread_net() = default;
void WorkerThread_net::feedBytes(const char *, qint64) {}
void WorkerThread_net::openSerialConnected() { emit signal_connectIsSuccess(false); }
void WorkerThread_net::closePort() {}
void WorkerThread_net::poll() {}
void WorkerThread_net::onFrame(uint16_t, const uint8_t *, uint32_t) {}

WorkerThread_net *createWorker_net(QString portName)
{
    return startWorkerThread(new WorkerThread_net(portName), &WorkerThread_net::openSerialConnected);
}

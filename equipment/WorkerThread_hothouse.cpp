#include "equipment/WorkerThread_hothouse.h"

#include "equipment/Creators.h"

WorkerThread_hothouse *g_hothouse_worker = nullptr;

WorkerThread_hothouse::WorkerThread_hothouse(const QString &portName) : m_portName(portName), m_pollTimer(this) {}
WorkerThread_hothouse::~WorkerThread_hothouse() = default;
void WorkerThread_hothouse::openPortConnected() { emit signal_connectIsSuccess(false); }
void WorkerThread_hothouse::closePort() {}
void WorkerThread_hothouse::hothouse_set_target_temp(int16_t) {}
void WorkerThread_hothouse::hothouse_set_temp_slope(uint8_t) {}
void WorkerThread_hothouse::hothouse_generate_start_stop_cmd(uint8_t) {}
void WorkerThread_hothouse::hothouse_read_target_temp() {}
void WorkerThread_hothouse::hothouse_read_temp_slope() {}
void WorkerThread_hothouse::enqueue(const QList<Request> &) {}
void WorkerThread_hothouse::poll() {}
void WorkerThread_hothouse::sendNext() {}
void WorkerThread_hothouse::finish(QModbusReply *) {}

std::unique_ptr<QModbusClient> WorkerThread_hothouse1::makeDevice() { return nullptr; }
int WorkerThread_hothouse1::serverAddress() const { return 1; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::setTargetRequests(int16_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::setSlopeRequests(uint8_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::startStopRequests(uint8_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::readTargetRequests() { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse1::readSlopeRequests() { return {}; }
WorkerThread_hothouse::Request WorkerThread_hothouse1::readCurrentRequest() { return {}; }

std::unique_ptr<QModbusClient> WorkerThread_hothouse2::makeDevice() { return nullptr; }
int WorkerThread_hothouse2::serverAddress() const { return 1; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::setTargetRequests(int16_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::setSlopeRequests(uint8_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::startStopRequests(uint8_t) { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::readTargetRequests() { return {}; }
QList<WorkerThread_hothouse::Request> WorkerThread_hothouse2::readSlopeRequests() { return {}; }
WorkerThread_hothouse::Request WorkerThread_hothouse2::readCurrentRequest() { return {}; }

WorkerThread_hothouse *createWorker_hothouse(QString portName, int)
{
    WorkerThread_hothouse *w = new WorkerThread_hothouse1(portName);
    g_hothouse_worker = w;
    return startWorkerThread(w, &WorkerThread_hothouse::openPortConnected);
}

#include "equipment/WorkerThread_DC_power.h"

#include "equipment/Creators.h"

WorkerThread_DC_power::WorkerThread_DC_power(const QString &portName)
    : m_portName(portName), m_pollTimer(this), m_stepTimer(this) {}
WorkerThread_DC_power::~WorkerThread_DC_power() = default;
void WorkerThread_DC_power::openSerialConnected() { emit signal_connectIsSuccess(false); }
void WorkerThread_DC_power::closePort() {}
void WorkerThread_DC_power::send_modbus_mutex(QByteArray, int) {}
void WorkerThread_DC_power::rev_dc_control(uint16_t) {}

WorkerThread_DC_power *createWorker_DC_power(QString portName, uint32_t)
{
    return startWorkerThread(new WorkerThread_DC_power(portName), &WorkerThread_DC_power::openSerialConnected);
}

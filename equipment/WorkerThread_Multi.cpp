#include "equipment/WorkerThread_Multi.h"

#include "equipment/Creators.h"

WorkerThread_Multi::WorkerThread_Multi(const QString &portName, uint32_t baudRate, int index)
    : m_portName(portName), m_baudRate(baudRate), m_index(index),
      m_queue([this](const QByteArray &b) { writeBytes(b); }, this)
{
}
WorkerThread_Multi::~WorkerThread_Multi() = default;
void WorkerThread_Multi::feedBytes(const char *, qint64) {}
void WorkerThread_Multi::openSerialConnected() { emit signal_connectIsSuccess(m_index, false); }
void WorkerThread_Multi::closePort() {}
void WorkerThread_Multi::Send_CMD_LONG(uint16_t, float, float, uint32_t, uint32_t, int32_t, int32_t) {}
void WorkerThread_Multi::Send_CMD_LONG_times(uint16_t, float, float, uint32_t, uint32_t, int32_t, int32_t) {}
void WorkerThread_Multi::Send_QString_times(QString) {}
void WorkerThread_Multi::do_file_recording(QString, int, int, int) {}
void WorkerThread_Multi::readDate() {}
void WorkerThread_Multi::writeBytes(const QByteArray &) {}
void WorkerThread_Multi::dataExtraction(uint16_t, const uint8_t *, uint32_t) {}

WorkerThread_Multi *createWorker_Multi(QString portName, uint32_t baudRate, int index)
{
    return startWorkerThread(new WorkerThread_Multi(portName, baudRate, index),
                             &WorkerThread_Multi::openSerialConnected);
}

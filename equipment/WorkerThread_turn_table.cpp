#include "equipment/WorkerThread_turn_table.h"

#include "equipment/Creators.h"

WorkerThread_turn_table *g_turn_table_worker = nullptr;

WorkerThread_turn_table::WorkerThread_turn_table(const QString &port1, const QString &port2)
    : m_port1(port1), m_port2(port2), m_pollTimer(this), m_tickTimer(this), m_sideTimer(this) {}
WorkerThread_turn_table::~WorkerThread_turn_table() = default;
std::unique_ptr<TurntableController> WorkerThread_turn_table::makeController() { return nullptr; }
void WorkerThread_turn_table::openSerialConnected() { emit signal_connectIsSuccess(false); }
void WorkerThread_turn_table::closePort() {}
void WorkerThread_turn_table::rev_common_cmd(uint8_t) {}
void WorkerThread_turn_table::on_send_turn_table_cmd_general(uint8_t, float, float, float) {}
void WorkerThread_turn_table::on_clicked_turn_table_12pos(float, float) {}
void WorkerThread_turn_table::turn_table_reset_rotated_times() { m_rotatedTimes = 0; }
void WorkerThread_turn_table::turn_table_constant_heat_rotate() { emit signal_rotated_times(); }
void WorkerThread_turn_table::enableTurnTableX() {}
void WorkerThread_turn_table::enableTurnTableY() {}
void WorkerThread_turn_table::unEnableTurnTableX() {}
void WorkerThread_turn_table::unEnableTurnTableY() {}

WorkerThread_turn_table *createWorker_turn_table(QString port1, QString port2)
{
    WorkerThread_turn_table *w = new Workerthread_turn_table_TQ(port1, port2);
    g_turn_table_worker = w;
    return startWorkerThread(w, &WorkerThread_turn_table::openSerialConnected);
}

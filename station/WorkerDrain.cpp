#include "station/WorkerDrain.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

void WorkerDrain::drop(QObject *worker, std::function<void()> inWorker)
{
    m_dropping = true;
    *m_live = ++m_serial;
    if (!worker)
        return;
    const std::weak_ptr<quint64> live = m_live;
    const quint64 serial = m_serial;
    bool *dropping = &m_dropping;
    QMetaObject::invokeMethod(worker, [inWorker, live, serial, dropping] {
        if (inWorker)
            inWorker();
        // Posted from the worker's thread to the application's: queued behind every report
        // the worker posted to the console before (reset in the worker's thread, the word would
        // overtake reports still waiting there).
        QMetaObject::invokeMethod(QCoreApplication::instance(), [live, serial, dropping] {
            const auto l = live.lock();
            if (l && *l == serial)
                *dropping = false;
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

#pragma once
// The thread pattern of every worker: a new thread without parent, the worker moved into it,
// the thread's start running the worker's open slot, the worker's retire signal quitting the
// thread and releasing the worker, and the finished thread releasing itself.
#include <QPointer>
#include <QThread>

template <class W, class Open> W *startWorkerThread(W *worker, Open openSlot)
{
    auto *thread = new QThread;
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::started, worker, openSlot);
    QObject::connect(thread, &QThread::finished, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, thread, &QThread::deleteLater);
    QObject::connect(worker, &W::deleteObjAndNewNext, thread, &QThread::quit);
    QObject::connect(worker, &W::deleteObjAndNewNext, worker, &W::deleteLater);
    thread->start(QThread::InheritPriority);
    return worker;
}

// Retires a worker the one way every owner uses: the owner's pointer is cleared at once (nothing
// reaches the worker through it afterwards), and the retire signal is queued into the worker's
// own thread, so the thread quits and releases the worker only after whatever the worker is
// running has returned to the thread's event loop. The owner never deletes the worker itself.
// With waitMs > 0 the call waits (bounded) until the worker's thread has finished, for owners
// whose next worker opens the same port; the worker must not block on the caller meanwhile.
template <class W> void retireWorker(QPointer<W> &worker, int waitMs = 0)
{
    W *old = worker.data();
    worker.clear();
    if (!old)
        return;
    QPointer<QThread> oldThread = old->thread();
    QMetaObject::invokeMethod(old, "deleteObjAndNewNext", Qt::QueuedConnection);
    if (waitMs > 0 && oldThread && oldThread != QThread::currentThread())
        oldThread->wait(static_cast<unsigned long>(waitMs));
}

#pragma once
// The thread pattern of every worker: a new thread without parent, the worker moved into it,
// the thread's start running the worker's open slot (if it has one), the worker's retire signal
// quitting the thread and releasing the worker, and the finished thread releasing itself.
#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace WorkerThreadDetail {
// The worker's thread, made and wired but not started.
template <class W> QThread *threadFor(W *worker)
{
    auto *thread = new QThread;
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::finished, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, thread, &QThread::deleteLater);
    QObject::connect(worker, &W::deleteObjAndNewNext, thread, &QThread::quit);
    QObject::connect(worker, &W::deleteObjAndNewNext, worker, &W::deleteLater);
    return thread;
}

// Runs the worker's open slot in its thread as soon as the owner is ready (looked at again each
// millisecond until then; a retired worker's pending look is dropped with it).
template <class W, class Open>
void openWhenReady(W *worker, Open openSlot, const std::shared_ptr<std::atomic<bool>> &ownerReady)
{
    if (ownerReady->load()) {
        (worker->*openSlot)();
        return;
    }
    QTimer::singleShot(1, worker, [worker, openSlot, ownerReady] { openWhenReady(worker, openSlot, ownerReady); });
}
} // namespace WorkerThreadDetail

// A worker that waits in its thread for its first request.
template <class W> W *startWorkerThread(W *worker)
{
    WorkerThreadDetail::threadFor(worker)->start(QThread::InheritPriority);
    return worker;
}

// A worker whose thread's start runs its open slot, once the owner's thread is back in its event
// loop: whatever the owner wires to the new worker right after this call (its reports of the
// open among them) is in place before the open runs, however the threads are scheduled. Only a
// flag crosses from the owner to the worker, so a worker retired meanwhile is never touched.
template <class W, class Open> W *startWorkerThread(W *worker, Open openSlot)
{
    QThread *thread = WorkerThreadDetail::threadFor(worker);
    auto ownerReady = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(thread, [ownerReady] { ownerReady->store(true); }, Qt::QueuedConnection);
    QObject::connect(thread, &QThread::started, worker,
                     [worker, openSlot, ownerReady] { WorkerThreadDetail::openWhenReady(worker, openSlot, ownerReady); });
    thread->start(QThread::InheritPriority);
    return worker;
}

// Retires a worker the one way every owner uses: the owner's pointer is cleared at once (nothing
// reaches the worker through it afterwards), and the retire is queued into the worker's own
// thread, so it runs only after whatever the worker is running has returned to the thread's
// event loop. There the worker's retire signal goes out (the worker is released as its thread
// ends) and the thread is told to quit from within, so the end never waits for the owner's
// event loop. The owner never touches, disconnects or deletes the worker itself.
// With waitMs > 0 the call waits (bounded) until the worker's thread has finished, for owners
// whose next worker opens the same port; the worker must not block on the caller meanwhile.
template <class W> void retireWorker(QPointer<W> &worker, int waitMs = 0)
{
    W *old = worker.data();
    worker.clear();
    if (!old)
        return;
    // Only the retire below lets the worker go, so the worker and its thread are alive here.
    QThread *thread = old->thread();
    QThread *const mainThread = QCoreApplication::instance() ? QCoreApplication::instance()->thread() : nullptr;
    QMetaObject::invokeMethod(
        old,
        [old] {
            emit old->deleteObjAndNewNext();
            QThread *own = QThread::currentThread();
            if (QCoreApplication::instance() && own != QCoreApplication::instance()->thread())
                own->quit();
        },
        Qt::QueuedConnection);
    if (waitMs > 0 && thread && thread != QThread::currentThread() && thread != mainThread)
        thread->wait(static_cast<unsigned long>(waitMs));
}

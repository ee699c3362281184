#pragma once
// The thread pattern of every worker: a new thread without parent, the worker moved into it,
// the thread's start running the worker's open slot, the worker's retire signal quitting the
// thread and releasing the worker, and the finished thread releasing itself.
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

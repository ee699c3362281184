#pragma once
// The thread pattern shared by every equipment worker's creator.
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

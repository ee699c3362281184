#include "production/WorkerThread_decode.h"

#include <QThread>

#include "production/DecodeRun.h"

uint16_t g_decode_type = 0;

namespace {
constexpr uint8_t kDecodeReport = 33;
}

void WorkerThread_decode::log(uint8_t code, QString text)
{
    emit signal_log(code, text);
}

void WorkerThread_decode::do_file_decode(QString source, QString target)
{
    DecodeRun run(g_decode_type);
    run.run(
        source, target, [this](const QString &text) { log(kDecodeReport, text); },
        [this](int percent) { emit decodeProgressChanged(percent); });
}

WorkerThread_decode *createWorker_decode()
{
    auto *thread = new QThread;
    auto *worker = new WorkerThread_decode;
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::finished, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, thread, &QThread::deleteLater);
    QObject::connect(worker, &WorkerThread_decode::deleteObjAndNewNext, thread, &QThread::quit);
    QObject::connect(worker, &WorkerThread_decode::deleteObjAndNewNext, worker,
                     &WorkerThread_decode::deleteLater);
    thread->start(QThread::InheritPriority);
    return worker;
}

#include "production/WorkerThread_decode.h"

#include "link/WorkerThreadStart.h"
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
    run.setCancelFlag(&m_cancel);
    run.run(
        source, target, [this](const QString &text) { log(kDecodeReport, text); },
        [this](int percent) { emit decodeProgressChanged(percent); });
}

WorkerThread_decode *createWorker_decode()
{
    return startWorkerThread(new WorkerThread_decode);
}

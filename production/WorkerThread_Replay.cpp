#include "production/WorkerThread_Replay.h"

#include "link/VersionMessage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QThread>

#include <cstring>

#include "app/FileRead.h"
#include "app/TimeUtil.h"
#include "link/CalibMapping.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"

std::atomic<int> g_replay_speed{ReplaySpeed::All};
std::atomic<int> g_replay_percent{0};

namespace {
// Plate 1 of the calibration records, which the replay fills like the main link.
constexpr int kReplayPlate = 0;
// The version report's plate tag.
constexpr int kReplayVersionTag = 2;
// Marks per read call: the file is read in blocks of this many marks, split at each mark.
constexpr qint64 kMarksPerBlock = 32;

QString percentText(float percent)
{
    return QString::number(double(percent), 'f', 1) + "%";
}

float progressOf(qint64 count, qint64 size)
{
    return float(count) / float(size) * 100.0f;
}
} // namespace

WorkerThread_Replay::WorkerThread_Replay(const QString &fileName)
    : m_fileName(fileName), m_image1040(size_t(kImusPerPlate) * 1040),
      m_image368(size_t(kImusPerPlate) * 368), m_image256(size_t(kImusPerPlate) * 256)
{
}

void WorkerThread_Replay::log(uint8_t code, QString text)
{
    emit signal_log(code, text);
}

void WorkerThread_Replay::setFileName(QString fileName)
{
    m_fileName = fileName;
}

void WorkerThread_Replay::Send_CMD_LONG_times(uint16_t cmd_id, float, float, uint32_t, uint32_t,
                                              int32_t, int32_t)
{
    // Nothing to send to: a recording has no port. Returns at once, so a broadcast never
    // holds up a running pass.
    qDebug() << "Send_CMD_LONG_times:" << cmd_id;
}

void WorkerThread_Replay::imu_rx(uint8_t byte)
{
    feed(&byte, 1);
}

void WorkerThread_Replay::feed(const uint8_t *data, size_t n)
{
    m_parser.feed(data, n, [this](uint16_t id, const uint8_t *p, uint32_t len) {
        data_extraction(id, p, len);
    });
}

void WorkerThread_Replay::data_extraction(uint16_t id, const uint8_t *p, uint32_t len)
{
    if (len < minPayloadLength(id))
        return;
    if (id == DeviceMsgId::Version) {
        const VersionPayload v = parseVersionPayload(p);
        log(kVersionReport, versionReportText(kReplayVersionTag, v));
        emitVersionValue(this, v);
        return;
    }
    if (!isCalibMessage(id))
        return;
    const size_t S = calibRecordSize(id);
    std::vector<uint8_t> *image = S == 1040 ? &m_image1040 : S == 368 ? &m_image368
                                  : S == 256 ? &m_image256 : nullptr;
    if (image)
        memcpy(image->data(), p + kCalibHeaderBytes, image->size());
    g_calib_status.writePlate(kReplayPlate, [&](CalibImuStatus *rec, uint32_t *err) {
        storeCalibMessage(CalibMapVariant::Replay, id, p, len, rec, err);
    });
    g_calib_status.bump(kReplayPlate);
    if (id != DeviceMsgId::Calib0777)
        emit signal_send_735e_calib();
}

void WorkerThread_Replay::reportProgress(float percent)
{
    log(kProgressReport, percentText(percent));
}

void WorkerThread_Replay::pauseBySpeed()
{
    switch (g_replay_speed.load()) {
    case ReplaySpeed::Slow: wait_ms(50); break;
    case ReplaySpeed::Middle: wait_ms(10); break;
    case ReplaySpeed::Fast: wait_ms(1); break;
    case ReplaySpeed::Pause:
        while (g_replay_speed.load() == ReplaySpeed::Pause && !passEnding())
            wait_ms(1);
        break;
    default: break;
    }
}

WorkerThread_Replay::PassEnd WorkerThread_Replay::readPass(
    qint64 from, const std::function<bool(qint64, qint64)> &atMark, qint64 *countOut,
    qint64 *sizeOut)
{
    QFile file(m_fileName);
    QString why;
    if (openRegularFile(file, &why) != RegularFile::Opened) {
        qDebug() << "打不开文件" << why;
        log(kProgressReport, QCoreApplication::translate("WorkerThread_Replay", "Cannot open file %1: %2").arg(m_fileName, why));
        return PassEnd::OpenFailed;
    }
    const qint64 size = file.size();
    qDebug() << "file_size:" << size;
    if (sizeOut)
        *sizeOut = size;
    if (from > 0 && !file.seek(from)) {
        qDebug() << "打不开文件";
        log(kProgressReport, QCoreApplication::translate("WorkerThread_Replay", "Cannot open file %1").arg(m_fileName));
        return PassEnd::OpenFailed;
    }
    // The parser carries a frame across passes only when this one goes on where it stopped.
    if (from == 0 || from != m_parsedTo)
        m_parser.reset();

    std::vector<uint8_t> block(size_t(kMarksPerBlock * kMarkBytes));
    qint64 count = 0;
    for (;;) {
        const qint64 got = file.read(reinterpret_cast<char *>(block.data()), qint64(block.size()));
        if (got <= 0)
            break;
        // Feed the block in pieces that end at each 10000-byte mark.
        qint64 done = 0;
        while (done < got) {
            const qint64 toMark = kMarkBytes - count % kMarkBytes;
            const qint64 piece = qMin(toMark, got - done);
            feed(block.data() + done, size_t(piece));
            done += piece;
            count += piece;
            m_parsedTo = from + count;
            if (count % kMarkBytes != 0)
                continue;
            if (passEnding())
                return PassEnd::Aborted;
            if (!atMark(count, size))
                return PassEnd::StoppedAtMark;
            if (passEnding())
                return PassEnd::Aborted;
        }
    }
    if (countOut)
        *countOut = count;
    return PassEnd::EndOfFile;
}

void WorkerThread_Replay::runPass(Pass pass)
{
    if (m_inPass) {
        // Called from the running pass's speed wait: that pass ends at this mark.
        m_pending = pass;
        return;
    }
    m_inPass = true;
    emit signalReading(true);
    for (Pass next = pass; next != Pass::None && !m_abort;) {
        m_pending = Pass::None;
        switch (next) {
        case Pass::Whole: wholePass(); break;
        case Pass::Seek: seekPass(); break;
        case Pass::Continue: continuePass(); break;
        case Pass::None: break;
        }
        next = m_pending;
    }
    m_pending = Pass::None;
    m_inPass = false;
    emit signalReading(false);
}

void WorkerThread_Replay::start_replay()
{
    qDebug() << "start_replay" << m_fileName;
    runPass(Pass::Whole);
}

void WorkerThread_Replay::startSliderReplay()
{
    if (g_replay_percent.load() == 0)
        return;
    runPass(Pass::Seek);
}

void WorkerThread_Replay::startSliderReplayAgain()
{
    qDebug() << "再次读取";
    if (g_replay_percent.load() == 0)
        return;
    runPass(Pass::Continue);
}

void WorkerThread_Replay::wholePass()
{
    const PassEnd end = readPass(0, [this](qint64 count, qint64 size) {
        reportProgress(progressOf(count, size));
        pauseBySpeed();
        return true;
    });
    if (end == PassEnd::EndOfFile)
        log(kProgressReport, "100%");
}

void WorkerThread_Replay::seekPass()
{
    const int target = g_replay_percent.load();
    if (target == 0)
        return;
    const PassEnd end = readPass(0, [this, target](qint64 count, qint64 size) {
        const float progress = progressOf(count, size);
        reportProgress(progress);
        // The first mark at or past the slider's value: the marks are 10000 bytes apart, so
        // in a small file they step over most whole percentages.
        if (progress >= float(target)) {
            log(kProgressReport, QString::number(target) + "%");
            m_resume = count;
            emit signalReadStop(true);
            return false;
        }
        return true;
    });
    if (end == PassEnd::EndOfFile)
        log(kProgressReport, "100%");
}

void WorkerThread_Replay::continuePass()
{
    const qint64 from = m_resume.load();
    qint64 count = 0;
    qint64 size = 0;
    // Progress counts from the start of the file, so it goes on from where the seek stopped.
    const auto atMark = [this, from](qint64 count, qint64 size) {
        reportProgress(progressOf(from + count, size));
        pauseBySpeed();
        return true;
    };
    const PassEnd end = readPass(from, atMark, &count, &size);
    if (end == PassEnd::EndOfFile) {
        if (count == size - from)
            qDebug() << "完全读取完毕" << "再次读取字节数：" << count << "已读：" << from
                     << "总字节数：" << size;
        log(kProgressReport, "100%");
        m_resume = 0;
    }
}

WorkerThread_Replay *createWorker_Replay(QString fileName,
                                         const std::function<void(WorkerThread_Replay *)> &wire)
{
    auto *thread = new QThread;
    auto *worker = new WorkerThread_Replay(fileName);
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::started, worker, &WorkerThread_Replay::start_replay);
    QObject::connect(thread, &QThread::finished, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, thread, &QThread::deleteLater);
    QObject::connect(worker, &WorkerThread_Replay::signalTranspondSliderValueChanged, worker,
                     &WorkerThread_Replay::startSliderReplay);
    QObject::connect(worker, &WorkerThread_Replay::signalTranspondreadFileAgain, worker,
                     &WorkerThread_Replay::startSliderReplayAgain);
    // Retirement: a pass in progress ends at its next mark or pause turn (a paused pass would
    // otherwise hold the thread for ever), the thread's loop quits, and the worker is released
    // as its thread finishes, from whichever thread the retire signal was emitted.
    QObject::connect(worker, &WorkerThread_Replay::deleteObjAndNewNext, worker,
                     &WorkerThread_Replay::requestAbort, Qt::DirectConnection);
    QObject::connect(worker, &WorkerThread_Replay::deleteObjAndNewNext, thread, &QThread::quit);
    QObject::connect(thread, &QThread::finished, worker, &QObject::deleteLater, Qt::DirectConnection);
    if (wire)
        wire(worker);
    thread->start(QThread::InheritPriority);
    return worker;
}

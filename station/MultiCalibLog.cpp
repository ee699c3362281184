// The console's log window feed, the outbox of the production-data upload and the schedule of
// the FTP log upload.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QTimer>

#include <algorithm>

#include "app/Clock.h"
#include "app/Settings.h"
#include "link/WorkerThreadStart.h"
#include "production/WorkerThread_ftp.h"
#include "station/UploadOutbox.h"

namespace {
const int kDefaultRetryS = 300;
const int kFtpCheckMs = 10 * 60 * 1000;

QString ftpServerAddress()
{
    return getSettings()->value("ftp/serverAddress").toString().trimmed();
}
} // namespace

void MultiCalib::initLogAndUploads()
{
    m_outbox = new UploadOutbox(uploadOutboxFolder(), this);
    connect(m_outbox, &UploadOutbox::logLine, this, &MultiCalib::signalTranspondLog);
    // A run's post is dated just before its request is made (the signal comes straight from the
    // outbox in this thread): the service never takes it before that time.
    connect(m_outbox, &UploadOutbox::postLeaving, this, [this](uint8_t station) {
        if (m_runPost.inFlight && !m_runPost.sent && station == m_runPost.station) {
            m_runPost.sent = true;
            m_runPost.postedAt = Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss");
        }
    });
    connect(m_outbox, &UploadOutbox::waitingCountChanged, this, &MultiCalib::showWaitingUploads);
    showWaitingUploads(m_outbox->waitingCount());
    bool ok = false;
    int retryS = getSettings()->value("httpAddr/retryIntervalS", kDefaultRetryS).toInt(&ok);
    if (!ok || retryS <= 0)
        retryS = kDefaultRetryS;
    retryS = std::min(retryS, 24 * 3600);
    m_outbox->setRetryInterval(retryS * 1000);
    const QString service = uploadAddress(QString()).toString();
    if (getSettings()->value("httpAddr/officialAddr").toString() == defaultServiceAddress(true))
        emit signalTranspondLog(tr("Production-data service: %1, the default: set httpAddr/officialAddr to the "
                                   "site's service").arg(service));
    else
        emit signalTranspondLog(tr("Production-data service: %1").arg(service));
    // What an earlier run left goes out once the program is up.
    if (m_outbox->waitingCount() > 0)
        QTimer::singleShot(0, m_outbox, [this] { m_outbox->resendWaiting(); });

    m_ftpTimer = new QTimer(this);
    connect(m_ftpTimer, &QTimer::timeout, this, &MultiCalib::ftpDailyCheck);
    m_ftpTimer->start(kFtpCheckMs);
    ftpDailyCheck();
}

void MultiCalib::showWaitingUploads(int count)
{
    QString text = waitingUploadsText(count);
    const int held = m_outbox->heldInMemoryCount();
    const int refused = m_outbox->refusedCount();
    const int unreadable = m_outbox->unreadableCount();
    if (held > 0)
        text += tr("; %1 only in memory: the disk did not take it").arg(held);
    if (refused > 0)
        text += tr("; %1 refused by the service (%2): mend the work order, then press \"Resend results\"")
                    .arg(refused)
                    .arg(m_outbox->lastRefusal());
    if (unreadable > 0)
        text += tr("; %1 unreadable, set aside in %2").arg(unreadable).arg(m_outbox->unreadableFolder());
    ui->label_uploadWaiting->setText(text);
    ui->label_uploadWaiting->setToolTip(text);
    ui->label_uploadWaiting->setStyleSheet(count + refused + unreadable > 0 ? "color:red;" : QString());
}

QString MultiCalib::uploadStateNote() const
{
    if (m_lastUpload.ok)
        return QString();
    if (m_lastUpload.refused)
        return "\n" + tr("The service refused the results (%1): they are set aside; mend the work order, then press \"Resend results\" on the configuration page")
                          .arg(m_outbox->lastRefusal());
    const int held = m_outbox->heldInMemoryCount();
    if (held > 0)
        return "\n" + tr("The results did not reach the service and the disk did not take them: %1, of which %2 only "
                         "in memory, written and posted again at the next pass")
                          .arg(waitingUploadsText(m_outbox->waitingCount()))
                          .arg(held);
    return "\n" + tr("The results did not reach the service and wait on disk: %1")
                      .arg(waitingUploadsText(m_outbox->waitingCount()));
}

QString MultiCalib::heldUploadsNote() const
{
    const QStringList held = m_outbox ? m_outbox->heldInMemory() : QStringList();
    if (held.isEmpty())
        return QString();
    return "\n" + tr("These upload results could not be written to disk and are lost if the program closes now: %1")
                      .arg(held.join(", "));
}

void MultiCalib::on_pushButton_resendUploads_clicked()
{
    if (m_outbox->waitingCount() == 0 && m_outbox->refusedCount() == 0) {
        emit signalTranspondLog(waitingUploadsText(0));
        return;
    }
    m_outbox->resendRefused();
}

void MultiCalib::logLinkOpen(const QString &name, bool ok)
{
    emit signalTranspondLog((ok ? tr("%1 link opened") : tr("%1 link failed to open")).arg(name));
}

void MultiCalib::ftpDailyCheck()
{
    if (ftpServerAddress().isEmpty())
        return;
    if (m_lastFtpDay == Clock::instance().now().date())
        return;
    startFtpUpload(false);
}

void MultiCalib::on_pushButton_ftpUpload_clicked()
{
    startFtpUpload(true);
}

void MultiCalib::startFtpUpload(bool byHand)
{
    if (ftpServerAddress().isEmpty()) {
        emit signalTranspondLog(tr("FTP upload: no server address in the settings (ftp/serverAddress)"));
        return;
    }
    if (m_ftpRunning) {
        if (byHand)
            emit signalTranspondLog(tr("FTP upload: a walk is already running"));
        return;
    }
    m_ftpRunning = true;
    m_lastFtpDay = Clock::instance().now().date();
    emit signalTranspondLog(tr("FTP upload of %1 to %2 started").arg(logRoot(), ftpServerAddress()));
    init_ftp();
}

// Wired before the worker's thread starts, so no report of the walk is missed.
void MultiCalib::wireFtpWorker(WorkerThread_ftp *worker)
{
    connect(worker, &WorkerThread_ftp::signal_upload_log, this,
            [this](QString text) { emit signalTranspondLog("FTP: " + text); });
    connect(worker, &WorkerThread_ftp::signal_walkFinished, this, [this, worker](int sent, int skipped, int failed) {
        emit signalTranspondLog(tr("FTP upload finished: %1 sent, %2 skipped, %3 failed").arg(sent).arg(skipped).arg(failed));
        if (m_worker_ftp.data() != worker)
            return; // a worker retired since
        m_ftpRunning = false;
        retireWorker(m_worker_ftp); // one walk a worker: its thread ends here
    });
}

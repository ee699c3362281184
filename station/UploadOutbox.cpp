#include "station/UploadOutbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#include "app/Clock.h"
#include "app/Settings.h"

namespace {
const QRegularExpression &outboxName()
{
    static const QRegularExpression re(QStringLiteral("^\\d{8}_\\d{6}_\\d{3}_\\d{2,}_station(\\d+)\\.json$"));
    return re;
}

// "code: 0    msg: ok" when the reply was JSON, else empty.
QString replyText(const UploadOutcome &out)
{
    const UploadReply reply = out.reply.parsed ? out.reply : parseUploadReply(out.replyBody);
    if (!reply.parsed)
        return QString();
    return QString("code: %1    msg: %2").arg(reply.code).arg(reply.msg);
}

QString failureText(const UploadOutcome &out)
{
    QString why;
    if (out.timedOut)
        why = "no answer in time";
    else if (out.httpStatus == 0)
        why = out.errorName;
    else if (out.httpStatus < 200 || out.httpStatus >= 300)
        why = QString("HTTP %1").arg(out.httpStatus);
    else
        why = QString("HTTP %1, the reply is not JSON").arg(out.httpStatus);
    const QString reply = replyText(out);
    return reply.isEmpty() ? why : why + ", " + reply;
}
} // namespace

QString uploadOutboxFolder()
{
    return QDir(logRoot()).absoluteFilePath("upload_outbox");
}

QString waitingUploadsText(int count)
{
    if (count <= 0)
        return "No results waiting to upload";
    if (count == 1)
        return "1 result waiting to upload";
    return QString("%1 results waiting to upload").arg(count);
}

int stationOfOutboxFile(const QString &fileName)
{
    const QRegularExpressionMatch m = outboxName().match(fileName);
    if (!m.hasMatch())
        return -1;
    bool ok = false;
    const int station = m.captured(1).toInt(&ok);
    return ok && station < 256 ? station : -1;
}

UploadOutbox::UploadOutbox(const QString &folder, QObject *parent) : QObject(parent), m_folder(folder)
{
    QDir().mkpath(m_folder);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (waitingCount() > 0)
            resendWaiting();
    });
}

QString UploadOutbox::sentFolder() const
{
    return QDir(m_folder).absoluteFilePath("sent");
}

QStringList UploadOutbox::waitingFiles() const
{
    QStringList out;
    const QDir dir(m_folder);
    QStringList names = dir.entryList({"*.json"}, QDir::Files);
    // The names begin with their time and sequence number: name order is age order.
    std::sort(names.begin(), names.end());
    for (const QString &name : qAsConst(names))
        if (stationOfOutboxFile(name) >= 0)
            out << dir.absoluteFilePath(name);
    return out;
}

void UploadOutbox::setRetryInterval(int intervalMs)
{
    if (intervalMs > 0)
        m_retryTimer.start(intervalMs);
    else
        m_retryTimer.stop();
}

QString UploadOutbox::store(uint8_t station, const QByteArray &body, QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = "cannot make " + m_folder;
        return QString();
    }
    const QString stamp = Clock::instance().now().toString("yyyyMMdd_HHmmss_zzz");
    const QDir dir(m_folder);
    // Bodies stored within the same millisecond keep their order by the number after the time.
    int next = 0;
    for (const QDir &d : {dir, QDir(sentFolder())})
        for (const QString &other : d.entryList({stamp + "_*"}, QDir::Files))
            next = std::max(next, other.section('_', 3, 3).toInt() + 1);
    const QString name = QString("%1_%2_station%3.json").arg(stamp).arg(next, 2, 10, QChar('0')).arg(station);
    QSaveFile file(dir.absoluteFilePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        *error = file.errorString();
        return QString();
    }
    return dir.absoluteFilePath(name);
}

bool UploadOutbox::markSent(const QString &file)
{
    QDir().mkpath(sentFolder());
    const QString target = QDir(sentFolder()).absoluteFilePath(QFileInfo(file).fileName());
    if (QFile::rename(file, target))
        return true;
    return QFile::remove(file); // taken by the service: never post it again
}

UploadOutcome UploadOutbox::post(const QString &file, uint8_t station, const QByteArray &body)
{
    UploadStationInfo info{};
    if (!uploadStationInfo(station, &info)) {
        UploadOutcome out;
        out.errorName = "UnknownStation";
        emit logLine(QString("Upload %1: station %2 has no service path").arg(QFileInfo(file).fileName()).arg(station));
        return out;
    }
    const QUrl url = uploadAddress(QString::fromLatin1(info.path));
    const QString name = file.isEmpty() ? QString("(not kept)") : QFileInfo(file).fileName();
    m_inFlight.insert(file);
    UploadOutcome out = postUploadBody(url, body, uploadTimeoutMs());
    m_inFlight.remove(file);
    if (out.ok) {
        QString line = QString("Upload %1 to %2: taken, %3").arg(name, url.toString(), replyText(out));
        if (!file.isEmpty() && !markSent(file))
            line += " (could not mark it sent: it may be posted again)";
        emit logLine(line);
    } else {
        emit logLine(QString("Upload %1 to %2 failed: %3%4")
                         .arg(name, url.toString(), failureText(out),
                              file.isEmpty() ? QString(": the result is lost") : QString(": kept for a later try")));
    }
    return out;
}

UploadOutcome UploadOutbox::send(uint8_t station, const QByteArray &body)
{
    QString error;
    const QString file = store(station, body, &error);
    if (file.isEmpty())
        emit logLine(QString("Upload of station %1: the result could not be kept on disk (%2)").arg(station).arg(error));
    announceCount();
    const UploadOutcome out = post(file, station, body);
    announceCount();
    return out;
}

int UploadOutbox::resendWaiting()
{
    if (m_resending)
        return 0;
    m_resending = true;
    int taken = 0;
    const QStringList files = waitingFiles();
    if (!files.isEmpty())
        emit logLine("Posting again: " + waitingUploadsText(files.size()));
    for (const QString &file : files) {
        // A post started meanwhile (nested in this pass's wait) may have taken or be holding it.
        if (m_inFlight.contains(file) || !QFile::exists(file))
            continue;
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) {
            emit logLine(QString("Upload %1: cannot read it: %2").arg(QFileInfo(file).fileName(), in.errorString()));
            continue;
        }
        const QByteArray body = in.readAll();
        in.close();
        const UploadOutcome out = post(file, uint8_t(stationOfOutboxFile(QFileInfo(file).fileName())), body);
        announceCount();
        if (out.ok)
            ++taken;
        else if (out.httpStatus == 0 && out.errorName != "UnknownStation")
            break; // no answer at all: the service is away
    }
    m_resending = false;
    announceCount();
    return taken;
}

void UploadOutbox::announceCount()
{
    emit waitingCountChanged(waitingCount());
}

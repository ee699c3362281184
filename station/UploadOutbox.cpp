#include "station/UploadOutbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#include "app/Clock.h"
#include "app/FileRead.h"
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
        why = UploadOutbox::tr("no answer in time");
    else if (out.httpStatus == 0)
        why = out.errorName;
    else if (out.cut)
        why = UploadOutbox::tr("HTTP %1, the connection was cut in the middle of the answer").arg(out.httpStatus);
    else if (out.httpStatus < 200 || out.httpStatus >= 300)
        why = QString("HTTP %1").arg(out.httpStatus);
    else
        why = UploadOutbox::tr("HTTP %1, the reply is not JSON").arg(out.httpStatus);
    const QString reply = replyText(out);
    return reply.isEmpty() ? why : why + ", " + reply;
}
// No answer at all (refused, unreachable, time-out): the service is away and a pass ends.
bool serviceAway(const UploadOutcome &out)
{
    return out.httpStatus == 0 && out.errorName != "UnknownStation";
}

// The note kept beside a set-aside body: why it was set aside.
QString noteOf(const QString &file)
{
    return file + ".reason.txt";
}
} // namespace

QString uploadOutboxFolder()
{
    return QDir(logRoot()).absoluteFilePath("upload_outbox");
}

QString waitingUploadsText(int count)
{
    if (count <= 0)
        return QCoreApplication::translate("UploadOutbox", "No results waiting to upload");
    if (count == 1)
        return QCoreApplication::translate("UploadOutbox", "1 result waiting to upload");
    return QCoreApplication::translate("UploadOutbox", "%1 results waiting to upload").arg(count);
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

QString UploadOutbox::refusedFolder() const
{
    return QDir(m_folder).absoluteFilePath("refused");
}

QString UploadOutbox::unreadableFolder() const
{
    return QDir(m_folder).absoluteFilePath("unreadable");
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

int UploadOutbox::waitingCount() const
{
    int held = 0;
    for (const Held &h : m_held)
        held += h.refused ? 0 : 1;
    return waitingFiles().size() + held;
}

QStringList UploadOutbox::heldInMemory() const
{
    QStringList out;
    for (const Held &h : m_held)
        out << nameFor(h.station, h.stamp);
    return out;
}

int UploadOutbox::refusedCount() const
{
    int held = 0;
    for (const Held &h : m_held)
        held += h.refused ? 1 : 0;
    return QDir(refusedFolder()).entryList({"*.json"}, QDir::Files).size() + held;
}

QString UploadOutbox::lastRefusal() const
{
    QStringList notes = QDir(refusedFolder()).entryList({"*.reason.txt"}, QDir::Files, QDir::Name);
    if (notes.isEmpty()) {
        for (const Held &h : m_held)
            if (h.refused)
                return h.note;
        return QString();
    }
    QByteArray note;
    QString unread;
    readWholeFile(QDir(refusedFolder()).absoluteFilePath(notes.last()), &note, &unread);
    return QString::fromUtf8(note).trimmed();
}

int UploadOutbox::unreadableCount() const
{
    return QDir(unreadableFolder()).entryList({"*.json"}, QDir::Files).size();
}

void UploadOutbox::setRetryInterval(int intervalMs)
{
    if (intervalMs > 0)
        m_retryTimer.start(intervalMs);
    else
        m_retryTimer.stop();
}

QString UploadOutbox::nameFor(uint8_t station, const QDateTime &stamp) const
{
    const QString time = stamp.toString("yyyyMMdd_HHmmss_zzz");
    // Bodies stored within the same millisecond keep their order by the number after the time.
    int next = 0;
    for (const QString &d : {m_folder, sentFolder(), refusedFolder(), unreadableFolder()})
        for (const QString &other : QDir(d).entryList({time + "_*.json"}, QDir::Files))
            next = std::max(next, other.section('_', 3, 3).toInt() + 1);
    return QString("%1_%2_station%3.json").arg(time).arg(next, 2, 10, QChar('0')).arg(station);
}

QString UploadOutbox::store(uint8_t station, const QByteArray &body, const QDateTime &stamp, QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = tr("cannot make %1").arg(m_folder);
        return QString();
    }
    const QString path = QDir(m_folder).absoluteFilePath(nameFor(station, stamp));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush() || !file.commit()) {
        *error = file.errorString();
        return QString();
    }
    emit bodyCommitted(path);
    // Kept only when every byte can be read back: a full disk can leave a short file behind a
    // write that seemed to succeed.
    QByteArray back;
    QString unread;
    if (readWholeFile(path, &back, &unread) != WholeFile::Read || back != body) {
        *error = tr("the disk kept %1 of its %2 bytes").arg(back.size()).arg(body.size());
        QFile::remove(path);
        return QString();
    }
    return path;
}

bool UploadOutbox::markSent(const QString &file)
{
    QDir().mkpath(sentFolder());
    const QString target = QDir(sentFolder()).absoluteFilePath(QFileInfo(file).fileName());
    if (QFile::rename(file, target))
        return true;
    return QFile::remove(file); // taken by the service: never post it again
}

bool UploadOutbox::setAside(const QString &file, const QString &folder, const QString &why)
{
    QDir().mkpath(folder);
    const QString target = QDir(folder).absoluteFilePath(QFileInfo(file).fileName());
    if (!QFile::rename(file, target))
        return false;
    QFile note(noteOf(target));
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write(why.toUtf8() + "\n");
    return true;
}

UploadOutcome UploadOutbox::post(const QString &file, uint8_t station, const QByteArray &body)
{
    UploadStationInfo info{};
    if (!uploadStationInfo(station, &info)) {
        UploadOutcome out;
        out.errorName = "UnknownStation";
        emit logLine(tr("Upload %1: station %2 has no service path").arg(QFileInfo(file).fileName()).arg(station));
        return out;
    }
    const QUrl url = uploadAddress(QString::fromLatin1(info.path));
    const QString name = file.isEmpty() ? tr("(held in memory)") : QFileInfo(file).fileName();
    m_inFlight.insert(file);
    UploadOutcome out = postUploadBody(url, body, uploadTimeoutMs(), [this, station] { emit postLeaving(station); });
    m_inFlight.remove(file);
    if (out.ok && out.reply.code != 0) {
        // Answered, but not taken: posting it again would only be refused again until the
        // operator mended what the service named.
        out.ok = false;
        out.refused = true;
        out.errorName = "Refused";
        QString line = tr("Upload %1 to %2: refused by the service, %3: set aside until \"Resend results\" sends it again")
                           .arg(name, url.toString(), replyText(out));
        if (!file.isEmpty() && !setAside(file, refusedFolder(), replyText(out)))
            line += tr(" (could not move it to %1)").arg(refusedFolder());
        emit logLine(line);
    } else if (out.ok) {
        QString line = tr("Upload %1 to %2: taken, %3").arg(name, url.toString(), replyText(out));
        if (!file.isEmpty() && !markSent(file))
            line += tr(" (could not mark it sent: it may be posted again)");
        emit logLine(line);
    } else {
        emit logLine(tr("Upload %1 to %2 failed: %3: kept for a later try").arg(name, url.toString(), failureText(out)));
    }
    return out;
}

int UploadOutbox::heldIndex(int id) const
{
    for (int i = 0; i < m_held.size(); ++i)
        if (m_held[i].id == id)
            return i;
    return -1;
}

void UploadOutbox::settleHeld(int id, const UploadOutcome &out)
{
    const int index = heldIndex(id);
    if (index < 0)
        return;
    if (out.ok) {
        m_held.removeAt(index);
    } else if (out.refused) {
        m_held[index].refused = true;
        m_held[index].note = replyText(out);
    }
}

UploadOutcome UploadOutbox::send(uint8_t station, const QByteArray &body)
{
    QString error;
    const QDateTime stamp = Clock::instance().now();
    const QString file = store(station, body, stamp, &error);
    int id = -1;
    if (file.isEmpty()) {
        id = m_nextHeldId++;
        m_held.append({id, station, body, stamp, false, QString()});
        emit logLine(tr("Upload of station %1: the result could not be kept on disk (%2): it is held in memory "
                        "and written at the next pass")
                         .arg(station)
                         .arg(error));
    }
    announceCount();
    const UploadOutcome out = post(file, station, body);
    settleHeld(id, out);
    announceCount();
    return out;
}

void UploadOutbox::writeHeld()
{
    for (int i = 0; i < m_held.size();) {
        const Held h = m_held[i];
        QString error;
        const QString file = store(h.station, h.body, h.stamp, &error);
        if (file.isEmpty()) {
            ++i;
            continue;
        }
        if (h.refused && !setAside(file, refusedFolder(), h.note)) {
            QFile::remove(file);
            ++i;
            continue;
        }
        m_held.removeAt(i);
        emit logLine(tr("Upload %1: the result held in memory is now kept on disk").arg(QFileInfo(file).fileName()));
    }
}

bool UploadOutbox::postHeld(int id, int *taken)
{
    const int index = heldIndex(id);
    if (index < 0 || m_held[index].refused)
        return true;
    const Held h = m_held[index];
    const UploadOutcome out = post(QString(), h.station, h.body);
    settleHeld(id, out);
    if (out.ok)
        ++*taken;
    announceCount();
    return !serviceAway(out);
}

int UploadOutbox::resendWaiting()
{
    if (m_resending)
        return 0;
    m_resending = true;
    int taken = 0;
    writeHeld();
    const QStringList files = waitingFiles();
    const int count = waitingCount();
    if (count > 0)
        emit logLine(tr("Posting again: %1").arg(waitingUploadsText(count)));
    bool away = false;
    for (const QString &file : files) {
        // A post started meanwhile (nested in this pass's wait) may have taken or be holding it.
        if (m_inFlight.contains(file) || !QFile::exists(file))
            continue;
        QByteArray body;
        QString unread;
        const WholeFile read = readWholeFile(file, &body, &unread);
        if (read == WholeFile::CannotRead) {
            emit logLine(tr("Upload %1: cannot read it (%2)").arg(QFileInfo(file).fileName(), unread));
            continue;
        }
        QJsonParseError parse{};
        if (read == WholeFile::Read)
            QJsonDocument::fromJson(body, &parse);
        if (read != WholeFile::Read || body.isEmpty() || parse.error != QJsonParseError::NoError) {
            // Never posted, never deleted: the operator decides what becomes of it.
            // The note beside the file keeps the reason in English; the log shows it translated.
            const auto reason = [&](bool shown) {
                const auto text = [shown](const char *english) { return shown ? tr(english) : QString(english); };
                return read != WholeFile::Read ? text(QT_TR_NOOP("the file is %1")).arg(unread)
                       : body.isEmpty()        ? text(QT_TR_NOOP("the file is empty"))
                                               : text(QT_TR_NOOP("the file is not JSON (%1)")).arg(parse.errorString());
            };
            const bool moved = setAside(file, unreadableFolder(), reason(false));
            emit logLine(tr("Upload %1: %2: %3")
                             .arg(QFileInfo(file).fileName(), reason(true),
                                  moved ? tr("set aside in %1").arg(unreadableFolder()) : tr("left where it is, not posted")));
            announceCount();
            continue;
        }
        const UploadOutcome out = post(file, uint8_t(stationOfOutboxFile(QFileInfo(file).fileName())), body);
        announceCount();
        if (out.ok)
            ++taken;
        else if (serviceAway(out)) {
            away = true;
            break;
        }
    }
    // What the disk still does not take goes out from memory.
    QList<int> ids;
    for (const Held &h : qAsConst(m_held))
        ids << h.id;
    for (int id : qAsConst(ids)) {
        if (away)
            break;
        away = !postHeld(id, &taken);
    }
    m_resending = false;
    announceCount();
    return taken;
}

int UploadOutbox::resendRefused()
{
    const QDir refused(refusedFolder());
    const QStringList names = refused.entryList({"*.json"}, QDir::Files, QDir::Name);
    int back = 0;
    for (const QString &name : names) {
        if (QFile::rename(refused.absoluteFilePath(name), QDir(m_folder).absoluteFilePath(name))) {
            QFile::remove(noteOf(refused.absoluteFilePath(name)));
            ++back;
        }
    }
    for (Held &h : m_held)
        if (h.refused) {
            h.refused = false;
            ++back;
        }
    if (back > 0)
        emit logLine(tr("Posting again by hand: %1 refused by the service before").arg(back));
    announceCount();
    return resendWaiting();
}

void UploadOutbox::announceCount()
{
    emit waitingCountChanged(waitingCount());
}

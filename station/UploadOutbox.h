#pragma once
// The outbox of the production-data upload: every body is written to a file of its own before
// it is posted, and stays there until the service has taken it (a 2xx answer with a JSON body);
// then it moves to the folder "sent" beside it. Bodies not taken are posted again, oldest first,
// whenever a pass is asked for (at start, by the retry timer, by the operator). A body the disk
// would not take whole stays in memory and is written (and posted) at the next pass. A body the
// service refuses (a non-zero "code") goes to "refused" with the service's answer, a waiting
// file that is empty, no JSON or larger than any body (64 MB) to "unreadable", with the reason
// beside it: neither is posted by a pass; the refused ones
// go out again only when the operator asks. Qt Core and Network only: the console wires its
// log line and waiting count to the window and a label.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>

#include "station/UploadPoster.h"

// "<log root>/upload_outbox".
QString uploadOutboxFolder();
// "No results waiting to upload", "1 result waiting to upload", "3 results waiting to upload".
QString waitingUploadsText(int count);
// The station of an outbox file name "<yyyyMMdd_HHmmss_zzz>_<nn>_station<s>.json"; -1 for any
// other name.
int stationOfOutboxFile(const QString &fileName);

class UploadOutbox : public QObject {
    Q_OBJECT
public:
    explicit UploadOutbox(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return m_folder; }
    QString sentFolder() const;
    QString refusedFolder() const;
    QString unreadableFolder() const;
    // Waiting bodies (full paths), oldest first.
    QStringList waitingFiles() const;
    // Bodies a pass will post: the waiting files and the bodies held in memory.
    int waitingCount() const;
    // Bodies the disk did not take, by the names they will get once written.
    QStringList heldInMemory() const;
    int heldInMemoryCount() const { return m_held.size(); }
    // Bodies the service refused, and its last answer ("code: 1    msg: ...").
    int refusedCount() const;
    QString lastRefusal() const;
    // Waiting files set aside as empty or not JSON.
    int unreadableCount() const;

    // Keeps the body on disk, then posts it once to the station's path; returns that post's
    // outcome. The body stays waiting unless the service took it.
    UploadOutcome send(uint8_t station, const QByteArray &body);
    // Posts every waiting body once more, oldest first, and returns how many the service took.
    // A post without any answer (refused, unreachable, time-out) ends the pass: the service is
    // away and the rest wait for the next pass. A pass asked for during a pass does nothing.
    int resendWaiting();
    // The operator's resend: the refused bodies wait again, then a pass posts all that waits.
    int resendRefused();
    // A pass every intervalMs while bodies wait; 0 stops the timer.
    void setRetryInterval(int intervalMs);
    int retryInterval() const { return m_retryTimer.isActive() ? m_retryTimer.interval() : 0; }

signals:
    // One line per post and its answer, and per body that could not be kept.
    void logLine(QString line);
    void waitingCountChanged(int count);
    // A body's file, written and committed, just before it is read back (tests: a disk that
    // kept fewer bytes than it took).
    void bodyCommitted(QString path);
    // A post of the station's results goes out now (emitted just before the request is made).
    void postLeaving(uint8_t station);

private:
    // A body the disk did not take (whole).
    struct Held {
        int id;
        uint8_t station;
        QByteArray body;
        QDateTime stamp;
        bool refused;
        QString note; // the service's answer when it refused the body
    };

    QString nameFor(uint8_t station, const QDateTime &stamp) const;
    QString store(uint8_t station, const QByteArray &body, const QDateTime &stamp, QString *error);
    UploadOutcome post(const QString &file, uint8_t station, const QByteArray &body);
    bool markSent(const QString &file);
    bool setAside(const QString &file, const QString &folder, const QString &why);
    // Writes the bodies held in memory that the disk takes now.
    void writeHeld();
    // Posts one held body; false when the service did not answer at all.
    bool postHeld(int id, int *taken);
    int heldIndex(int id) const;
    // A held body after its post: gone when taken, marked when refused.
    void settleHeld(int id, const UploadOutcome &out);
    void announceCount();

    QString m_folder;
    QList<Held> m_held;
    int m_nextHeldId = 0;
    QTimer m_retryTimer;
    QSet<QString> m_inFlight; // files whose post is waiting for its answer
    bool m_resending = false;
};

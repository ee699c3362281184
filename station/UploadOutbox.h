#pragma once
// The outbox of the production-data upload: every body is written to a file of its own before
// it is posted, and stays there until the service has taken it (a 2xx answer with a JSON body);
// then it moves to the folder "sent" beside it. Bodies not taken are posted again, oldest first,
// whenever a pass is asked for (at start, by the retry timer, by the operator). Qt Core and
// Network only: the console wires its log line and waiting count to the window and a label.
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
    // Waiting bodies (full paths), oldest first.
    QStringList waitingFiles() const;
    int waitingCount() const { return waitingFiles().size(); }

    // Keeps the body on disk, then posts it once to the station's path; returns that post's
    // outcome. The body stays waiting unless the service took it.
    UploadOutcome send(uint8_t station, const QByteArray &body);
    // Posts every waiting body once more, oldest first, and returns how many the service took.
    // A post without any answer (refused, unreachable, time-out) ends the pass: the service is
    // away and the rest wait for the next pass. A pass asked for during a pass does nothing.
    int resendWaiting();
    // A pass every intervalMs while bodies wait; 0 stops the timer.
    void setRetryInterval(int intervalMs);
    int retryInterval() const { return m_retryTimer.isActive() ? m_retryTimer.interval() : 0; }

signals:
    // One line per post and its answer, and per body that could not be kept.
    void logLine(QString line);
    void waitingCountChanged(int count);

private:
    QString store(uint8_t station, const QByteArray &body, QString *error);
    UploadOutcome post(const QString &file, uint8_t station, const QByteArray &body);
    bool markSent(const QString &file);
    void announceCount();

    QString m_folder;
    QTimer m_retryTimer;
    QSet<QString> m_inFlight; // files whose post is waiting for its answer
    bool m_resending = false;
};

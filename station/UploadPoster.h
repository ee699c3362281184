#pragma once
// One POST of a body to the production-data web service, waited for in a local event loop
// (timers and reports keep running) and bounded by a time-out. The outcome and the debug lines
// of the post come back to the caller.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "station/UploadBodies.h"

struct UploadOutcome {
    bool ok = false;       // the service answered without a network error and with JSON
    bool timedOut = false; // no answer within the time-out; the request was aborted
    QString errorName;     // QNetworkReply::NetworkError enumerator, "TimeoutError" on time-out
    int httpStatus = 0;
    QByteArray replyBody;
    UploadReply reply;
    QStringList log;
};

// The service address of a station path from the settings: "httpAddr/officialHost" and
// "httpAddr/officialPort" (written with their defaults when absent).
QUrl uploadAddress(const QString &path);
// "httpAddr/timeoutMs" (default 30000).
int uploadTimeoutMs();

UploadOutcome postUploadBody(const QUrl &url, const QByteArray &body, int timeoutMs);

#pragma once
// One POST of a body to the production-data web service, waited for in a local event loop
// (timers and reports keep running) and bounded by a time-out. The outcome and the debug lines
// of the post come back to the caller.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

#include "station/UploadBodies.h"

struct UploadOutcome {
    bool ok = false;       // the service answered with a 2xx status and a JSON body
    bool timedOut = false; // no answer within the time-out; the request was aborted
    bool refused = false;  // answered with a non-zero "code": the service would not take the body
    bool cut = false;      // the connection ended before the whole answer came
    QString errorName;     // QNetworkReply::NetworkError enumerator, "TimeoutError" on time-out
    int httpStatus = 0;
    QByteArray replyBody;
    UploadReply reply;
    QStringList log;
};

// The service address of a station path: scheme, host and port of a full address such as
// "http://10.0.0.5:90/api/BRAPI/FullTemperature" (http and port 90 where it names none), the
// path replaced by the station's.
QUrl serviceAddress(const QString &address, const QString &path);
// The same from the settings' "httpAddr/officialAddr".
QUrl uploadAddress(const QString &path);
// "httpAddr/timeoutMs" (default 30000).
int uploadTimeoutMs();

// onSending is called just before the request is handed to the network (its body leaves from
// then on): a time taken there is never later than the service's own time of the post.
UploadOutcome postUploadBody(const QUrl &url, const QByteArray &body, int timeoutMs,
                             const std::function<void()> &onSending = nullptr);

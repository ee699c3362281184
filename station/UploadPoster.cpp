#include "station/UploadPoster.h"

#include <QEventLoop>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

#include "app/Settings.h"

namespace {
const char *kAddressKey = "httpAddr/officialAddr";
const char *kTimeoutKey = "httpAddr/timeoutMs";
const int kDefaultPort = 90;
const int kDefaultTimeoutMs = 30000;

void writeDefault(QSettings *settings, const char *key, const QVariant &value)
{
    if (!settings->contains(key)) {
        settings->setValue(key, value);
        settings->sync();
    }
}
} // namespace

QUrl serviceAddress(const QString &address, const QString &path)
{
    QString text = address.trimmed();
    if (!text.contains("://"))
        text.prepend("http://");
    const QUrl given(text);
    QUrl url;
    url.setScheme(given.scheme().isEmpty() ? QString("http") : given.scheme());
    url.setHost(given.host());
    url.setPort(given.port(kDefaultPort));
    url.setPath(path);
    return url;
}

QUrl uploadAddress(const QString &path)
{
    // The settings accessor fills the key on its first use; a key emptied since is filled again.
    QSettings *settings = getSettings();
    if (settings->value(kAddressKey).toString().trimmed().isEmpty()) {
        settings->setValue(kAddressKey, defaultServiceAddress(true));
        settings->sync();
    }
    return serviceAddress(settings->value(kAddressKey).toString(), path);
}

int uploadTimeoutMs()
{
    QSettings *settings = getSettings();
    writeDefault(settings, kTimeoutKey, kDefaultTimeoutMs);
    bool ok = false;
    const int ms = settings->value(kTimeoutKey, kDefaultTimeoutMs).toInt(&ok);
    return ok && ms > 0 ? ms : kDefaultTimeoutMs;
}

UploadOutcome postUploadBody(const QUrl &url, const QByteArray &body, int timeoutMs, const std::function<void()> &onSending)
{
    UploadOutcome out;
    // A manager of its own for this one post; deleting it ends the reply with it.
    std::unique_ptr<QNetworkAccessManager> manager(new QNetworkAccessManager);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    // The last moment before the request goes out: the service can take the body no earlier.
    if (onSending)
        onSending();
    QNetworkReply *reply = manager->post(request, body);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        // A post nested inside this one may hold this loop past our time-out after our answer
        // came: that answer stands.
        if (reply->isFinished())
            return;
        out.timedOut = true;
        reply->abort(); // finishes the reply, which ends the loop
        loop.quit();
    });
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    out.log << QString("发送的数据") + " " + QString::fromUtf8(body);
    if (!out.timedOut)
        out.replyBody = reply->readAll();
    out.log << QString("收到回复数据：") + " " + QString::fromUtf8(out.replyBody);
    out.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    // An answer that ended before its announced length: the connection was cut.
    bool lengthKnown = false;
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&lengthKnown);
    if (!out.timedOut && out.httpStatus > 0 && lengthKnown && out.replyBody.size() < announced) {
        out.cut = true;
        out.errorName = "AnswerCut";
        out.log << QString("reply error, the connection was cut after %1 of %2 bytes of the answer")
                       .arg(out.replyBody.size()).arg(announced);
        return out;
    }
    if (out.timedOut || !reply->isFinished() || error != QNetworkReply::NoError) {
        out.errorName = out.timedOut ? QString("TimeoutError")
                                     : QString::fromLatin1(QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error));
        out.log << "reply error, the error code is: " + out.errorName;
        return out;
    }
    // Only a 2xx answer means the service took the body (a redirect is no error to Qt).
    if (out.httpStatus < 200 || out.httpStatus >= 300) {
        out.errorName = QString("HttpStatus%1").arg(out.httpStatus);
        out.log << "reply error, the error code is: " + out.errorName;
        return out;
    }
    out.reply = parseUploadReply(out.replyBody);
    if (!out.reply.parsed) {
        out.log << QString("parse replyData error, the error code is: %1").arg(out.reply.parseError);
        return out;
    }
    out.ok = true;
    out.log << QString("code: %1    msg: %2").arg(out.reply.code).arg(out.reply.msg);
    return out;
}

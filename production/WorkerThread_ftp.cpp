#include "production/WorkerThread_ftp.h"

#include "link/WorkerThreadStart.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

#include <curl/curl.h>
#include <mutex>

#include "app/Clock.h"
#include "app/FileRead.h"
#include "app/MachineId.h"
#include "app/OpenLogFile.h"
#include "app/Settings.h"

namespace {
constexpr qint64 kSettleMs = 10 * 60 * 1000;  // a file this fresh may still be written

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t readFromFile(char *buffer, size_t size, size_t count, void *user)
{
    auto *file = static_cast<QFile *>(user);
    const qint64 n = file->read(buffer, qint64(size * count));
    return n < 0 ? size_t(CURL_READFUNC_ABORT) : size_t(n);
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}
} // namespace

// One control connection to the server, reused for every command of a walk.
class FtpClient {
public:
    explicit FtpClient(const FtpServerSettings &s) : m_settings(s) { m_curl = curl_easy_init(); }
    ~FtpClient() { curl_easy_cleanup(m_curl); }

    // Connects and logs in by listing the account's home folder.
    bool login(QString *error)
    {
        prepare(QString());
        curl_easy_setopt(m_curl, CURLOPT_DIRLISTONLY, 1L);
        return perform(error);
    }

    // Stores the file, making every missing level of its folder, then asks the server for
    // the stored size. True only when the server holds all the bytes.
    bool upload(const QString &localPath, const QString &remotePath, QString *error)
    {
        QFile file(localPath);
        QString why;
        if (openRegularFile(file, &why) != RegularFile::Opened) {
            *error = "ftp file open failed: " + why;
            return false;
        }
        const qint64 size = file.size();
        prepare(remotePath);
        curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, readFromFile);
        curl_easy_setopt(m_curl, CURLOPT_READDATA, &file);
        curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
        curl_easy_setopt(m_curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR));
        if (!perform(error))
            return false;
        curl_off_t sent = 0;
        curl_easy_getinfo(m_curl, CURLINFO_SIZE_UPLOAD_T, &sent);
        if (sent != size) {
            *error = WorkerThread_ftp::tr("sent %1 of %2 bytes").arg(qint64(sent)).arg(size);
            return false;
        }
        // A file written to during its transfer is sent again whole by a later walk.
        const qint64 sizeNow = QFileInfo(localPath).size();
        if (sizeNow != size) {
            *error = WorkerThread_ftp::tr("the file changed during its transfer: %1 bytes sent, %2 bytes now").arg(size).arg(sizeNow);
            return false;
        }
        prepare(remotePath);
        curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
        if (!perform(error))
            return false;
        curl_off_t stored = -1;
        curl_easy_getinfo(m_curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &stored);
        if (stored != size) {
            *error = WorkerThread_ftp::tr("server holds %1 of %2 bytes").arg(qint64(stored)).arg(size);
            return false;
        }
        return true;
    }

private:
    void prepare(const QString &remotePath)
    {
        curl_easy_reset(m_curl);
        QString url = QString("ftp://%1:%2/").arg(m_settings.address).arg(m_settings.port);
        for (const QString &part : remotePath.split('/', Qt::SkipEmptyParts))
            url += QString::fromLatin1(QUrl::toPercentEncoding(part)) + '/';
        if (!remotePath.isEmpty())
            url.chop(1);
        m_url = url.toUtf8();
        m_user = m_settings.user.toUtf8();
        m_password = m_settings.password.toUtf8();
        curl_easy_setopt(m_curl, CURLOPT_URL, m_url.constData());
        curl_easy_setopt(m_curl, CURLOPT_USERNAME, m_user.constData());
        curl_easy_setopt(m_curl, CURLOPT_PASSWORD, m_password.constData());
        curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, discard);
        curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, discard);
        curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT_MS, long(m_settings.connectTimeoutMs));
        curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                         long(qMax(1, (m_settings.responseTimeoutMs + 999) / 1000)));
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, long(qMax(1, m_settings.stallTimeoutS)));
        curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_errorText);
        m_errorText[0] = 0;
    }

    bool perform(QString *error)
    {
        const CURLcode rc = curl_easy_perform(m_curl);
        if (rc == CURLE_OK)
            return true;
        *error = QString::fromUtf8(m_errorText[0] ? m_errorText : curl_easy_strerror(rc));
        // The password is never part of a report, whatever the server echoed.
        if (!m_settings.password.isEmpty())
            error->replace(m_settings.password, "***");
        return false;
    }

    FtpServerSettings m_settings;
    CURL *m_curl = nullptr;
    QByteArray m_url, m_user, m_password;
    char m_errorText[CURL_ERROR_SIZE] = {};
};

FtpServerSettings ftpSettingsFromSettings()
{
    QSettings *s = getSettings();
    FtpServerSettings f;
    f.address = s->value("ftp/serverAddress").toString().trimmed();
    f.port = s->value("ftp/port", f.port).toInt();
    f.user = s->value("ftp/userName").toString();
    f.password = s->value("ftp/password").toString();
    f.connectTimeoutMs = s->value("ftp/connectTimeoutMs", f.connectTimeoutMs).toInt();
    f.responseTimeoutMs = s->value("ftp/responseTimeoutMs", f.responseTimeoutMs).toInt();
    f.stallTimeoutS = s->value("ftp/stallTimeoutS", f.stallTimeoutS).toInt();
    return f;
}

QString uploadedNameOf(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix != "txt" && suffix != "dat")
        return QString();
    return info.dir().filePath(info.completeBaseName() + "_upload." + suffix);
}

LogFileVerdict classifyLogFile(const QString &root, const QFileInfo &file, const QDateTime &now,
                               QString *relativePath)
{
    if (file.isSymLink() || !file.isFile())
        return LogFileVerdict::NotALog;
    const QString relative = QDir(root).relativeFilePath(file.absoluteFilePath());
    const QStringList parts = relative.split('/');
    if (parts.size() != 3 || relative.startsWith("../") || uploadedNameOf(relative).isEmpty()
        || file.completeBaseName().endsWith("_upload"))
        return LogFileVerdict::NotALog;
    *relativePath = relative;
    static const QRegularExpression cjk(QStringLiteral("[\\x{4e00}-\\x{9fa5}]"));
    if (relative.contains("log_rawimu") || cjk.match(relative).hasMatch())
        return LogFileVerdict::Excluded;
    if (parts.at(1) == now.toString("yyyy_MMdd") || file.lastModified().msecsTo(now) < kSettleMs
        || isOpenLogFile(file.absoluteFilePath()))
        return LogFileVerdict::Waiting;
    return file.size() == 0 ? LogFileVerdict::Empty : LogFileVerdict::Send;
}

WorkerThread_ftp::WorkerThread_ftp(const FtpServerSettings &settings) : m_settings(settings)
{
    initCurlOnce();
}

WorkerThread_ftp::~WorkerThread_ftp()
{
    delete m_client;
}

void WorkerThread_ftp::report(const QString &text)
{
    qDebug().noquote() << "ftp:" << text;
    emit signal_upload_log(text);
}

void WorkerThread_ftp::FTP_LogIn()
{
    getFileListUnderDir(logRoot());
}

void WorkerThread_ftp::getFileListUnderDir(QString folder)
{
    m_sent = m_skipped = m_failed = 0;
    m_now = Clock::instance().now();
    m_machineId = getBaseboardUuid();
    if (m_machineId.isEmpty()) {
        report(tr("No machine id: the upload is stopped"));
        emit signal_walkFinished(0, 0, 0);
        return;
    }
    if (m_settings.address.isEmpty()) {
        report(tr("No FTP server address in the settings (ftp/serverAddress)"));
        m_serverOk = false;
    } else {
        delete m_client;
        m_client = new FtpClient(m_settings);
        QString error;
        m_serverOk = m_client->login(&error);
        if (m_serverOk)
            report("LoggedIn");
        else
            report(tr("login to %1:%2 failed: %3")
                       .arg(m_settings.address).arg(m_settings.port).arg(error));
    }
    emit signal_loggedIn(m_serverOk);
    walkFolder(QDir(folder).absolutePath(), QDir(folder).absolutePath(), 0);
    report(tr("%1 upload finish: %2 sent, %3 skipped, %4 failed")
               .arg(folder).arg(m_sent).arg(m_skipped).arg(m_failed));
    if (m_failed == 0 && m_serverOk)
        report("All files uploaded succsessfully");
    emit signal_walkFinished(m_sent, m_skipped, m_failed);
}

void WorkerThread_ftp::walkFolder(const QString &root, const QString &folder, int depth)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            if (depth < 2)  // log files lie two levels down; nothing deeper is sent
                walkFolder(root, entry.absoluteFilePath(), depth + 1);
            continue;
        }
        handleFile(root, entry);
    }
}

void WorkerThread_ftp::handleFile(const QString &root, const QFileInfo &file)
{
    QString relative;
    const LogFileVerdict verdict = classifyLogFile(root, file, m_now, &relative);
    if (verdict == LogFileVerdict::NotALog)
        return;
    if (verdict == LogFileVerdict::Waiting || verdict == LogFileVerdict::Excluded) {
        ++m_skipped;
        return;
    }
    if (verdict == LogFileVerdict::Send) {
        if (!m_serverOk) {
            ++m_failed;
            return;
        }
        report(QString("upload %1 size %2").arg(relative).arg(file.size()));
        QString error;
        if (!m_client->upload(file.absoluteFilePath(),
                              QString("log/%1/%2").arg(m_machineId, relative), &error)) {
            report(tr("upload of %1 failed: %2").arg(relative, error));
            ++m_failed;
            return;
        }
    } else {
        report(QString("%1 file size:0").arg(relative));
    }
    const QString renamed = uploadedNameOf(file.absoluteFilePath());
    if (QFile::rename(file.absoluteFilePath(), renamed)) {
        report("rename succsessful to " + renamed);
        verdict == LogFileVerdict::Send ? ++m_sent : ++m_skipped;
    } else {
        report("rename failed " + renamed);
        ++m_failed;
    }
}

WorkerThread_ftp *createWorker_ftp(const std::function<void(WorkerThread_ftp *)> &wire)
{
    initCurlOnce();
    auto *worker = new WorkerThread_ftp(ftpSettingsFromSettings());
    if (wire)
        wire(worker);
    return startWorkerThread(worker, &WorkerThread_ftp::FTP_LogIn);
}

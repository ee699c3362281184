#pragma once
// Upload of the station's finished log files to the FTP log server. Files stored as
// "<log root>/<top folder>/<yyyy_MMdd>/<name>.txt|.dat" go to
// "log/<machine id>/<top folder>/<yyyy_MMdd>/<name>" on the server; a file the server has
// confirmed with all its bytes is renamed "<name>_upload.<suffix>" so later walks skip it.
// Today's files, files modified in the last ten minutes and files the program holds open for
// writing wait for a later walk; a file that changed during its transfer is sent again later.
#include <QDateTime>
#include <QFileInfo>
#include <QObject>
#include <QString>

#include <functional>

// Server, account and time-outs, read from the settings group "ftp".
struct FtpServerSettings {
    QString address;
    int port = 2122;
    QString user;
    QString password;
    int connectTimeoutMs = 10000;
    int responseTimeoutMs = 30000;
    int stallTimeoutS = 60;  // a transfer slower than 1 byte/s for this long is ended
};
FtpServerSettings ftpSettingsFromSettings();

// What a walk does with one file under the log root.
enum class LogFileVerdict {
    Send,       // a finished log file: upload it
    Empty,      // a finished log file without content: marked without transfer
    Waiting,    // today's, modified in the last ten minutes, open for writing: left for a later walk
    Excluded,   // a log-level file that is never sent (raw IMU logs, CJK names)
    NotALog,    // any other file: wrong level or suffix, already marked, symbolic link
};
// Decides by the path relative to the root and the file's own name and suffix.
LogFileVerdict classifyLogFile(const QString &root, const QFileInfo &file, const QDateTime &now,
                               QString *relativePath);
// The name a handled file gets: "<name>_upload.txt" or "<name>_upload.dat" in its folder;
// empty when the suffix is neither exactly "txt" nor "dat".
QString uploadedNameOf(const QString &path);

class FtpClient;

class WorkerThread_ftp : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread_ftp(const FtpServerSettings &settings);
    ~WorkerThread_ftp() override;

public slots:
    // Checks the server and the account, then walks the log root.
    void FTP_LogIn();
    // One walk of a log root: sends every finished log file, then reports the counts.
    void getFileListUnderDir(QString folder);

signals:
    void signal_loggedIn(bool ok);
    // One line per file handled and per failure (never the password).
    void signal_upload_log(QString text);
    void signal_walkFinished(int sent, int skipped, int failed);
    void deleteObjAndNewNext();

private:
    void report(const QString &text);
    void walkFolder(const QString &root, const QString &folder, int depth);
    void handleFile(const QString &root, const QFileInfo &file);

    FtpServerSettings m_settings;
    FtpClient *m_client = nullptr;
    QString m_machineId;
    QDateTime m_now;
    bool m_serverOk = false;
    int m_sent = 0;
    int m_skipped = 0;
    int m_failed = 0;
};

// Makes the worker with the settings' server and its thread; the worker logs in and walks
// the log root when the thread starts. `wire`, when given, connects to the worker before its
// thread starts, so no report is missed.
WorkerThread_ftp *createWorker_ftp(const std::function<void(WorkerThread_ftp *)> &wire = {});

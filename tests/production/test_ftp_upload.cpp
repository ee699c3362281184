// The FTP log upload against a real FTP server (pyftpdlib) on 127.0.0.1.
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/MetaTypes.h"
#include "app/OpenLogFile.h"
#include "app/Settings.h"
#include "production/WorkerThread_ftp.h"
#include "tests/kit/TestKit.h"
#include "tests/production/FtpTestServer.h"

using TestKit::waitUntil;
using FtpTestFiles::readAll;
using FtpTestFiles::writeLog;

namespace {
const QString kMachine = "0A1B2C3D-0000-4000-8000-00000000F7B1";
const QString kWriterPassword = "Wr1te!pass#2026xy"; // 17 characters
const QString kReaderPassword = "Re4d-only$pw-2026";

QMutex g_messagesLock;
QStringList g_messages;
QtMessageHandler g_previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker lock(&g_messagesLock);
        g_messages << text;
    }
    g_previousHandler(type, context, text);
}

struct WalkResult {
    bool finished = false;
    int loggedIn = -1;
    int sent = -1, skipped = -1, failed = -1;
    QStringList logs;
    qint64 elapsedMs = 0;
};

void configure(int port, const QString &user, const QString &password, int timeoutMs = 3000)
{
    QSettings *s = getSettings();
    s->setValue("ftp/serverAddress", "127.0.0.1");
    s->setValue("ftp/port", port);
    s->setValue("ftp/userName", user);
    s->setValue("ftp/password", password);
    s->setValue("ftp/connectTimeoutMs", timeoutMs);
    s->setValue("ftp/responseTimeoutMs", timeoutMs);
    s->setValue("ftp/stallTimeoutS", 3);
    s->sync();
}

// Starts a worker (it logs in and walks the log root on its own), waits for its report and
// retires it. `whileWaiting` runs again and again until the walk ends.
WalkResult runWalk(int timeoutMs = 30000, const std::function<void()> &whileWaiting = {})
{
    WalkResult r;
    QElapsedTimer t;
    t.start();
    QObject receiver;
    // Wired before the worker's thread starts, as the console does: a walk that ends at once
    // (refused connection, no machine id) is not missed.
    QPointer<WorkerThread_ftp> worker = createWorker_ftp([&](WorkerThread_ftp *w) {
        QObject::connect(w, &WorkerThread_ftp::signal_loggedIn, &receiver,
                         [&](bool ok) { r.loggedIn = ok ? 1 : 0; });
        QObject::connect(w, &WorkerThread_ftp::signal_upload_log, &receiver,
                         [&](QString text) { r.logs << text; });
        QObject::connect(w, &WorkerThread_ftp::signal_walkFinished, &receiver,
                         [&](int sent, int skipped, int failed) {
                             r.sent = sent, r.skipped = skipped, r.failed = failed, r.finished = true;
                         });
    });
    waitUntil(
        [&] {
            if (whileWaiting && !r.finished)
                whileWaiting();
            return r.finished;
        },
        timeoutMs);
    r.elapsedMs = t.elapsed();
    QMetaObject::invokeMethod(worker, "deleteObjAndNewNext", Qt::QueuedConnection);
    waitUntil([&] { return worker.isNull(); }, 10000);
    return r;
}

QString day(int offset) { return QDate::currentDate().addDays(offset).toString("yyyy_MMdd"); }

QByteArray binaryContent()
{
    QByteArray b;
    for (int i = 0; i < 200000; ++i)
        b.append(char((i * 7 + i / 256) & 0xFF));
    return b;
}

void freshLogRoot()
{
    QDir(logRoot()).removeRecursively();
    QDir().mkpath(logRoot());
}

// Two finished files of yesterday, for the failure cases.
QStringList writeTwoOldLogs()
{
    freshLogRoot();
    return {writeLog("log_dc_power/" + day(-1) + "/T1.txt", "voltage,current\n12.0,1.5\n"),
            writeLog("log_heatbox/" + day(-2) + "/T2.dat", binaryContent())};
}

void settle(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadWrite);
    f.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
}

bool allStillThere(const QStringList &paths)
{
    for (const QString &p : paths)
        if (!QFile::exists(p) || QFile::exists(uploadedNameOf(p)))
            return false;
    return true;
}
} // namespace

class TestFtpUpload : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerMetaTypes();
        qputenv("KELVANTO_MACHINE_ID", kMachine.toUtf8());
        g_previousHandler = qInstallMessageHandler(captureMessage);
    }

    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }

    void init()
    {
        QMutexLocker lock(&g_messagesLock);
        g_messages.clear();
    }

    // No password reaches the log, whatever the function did.
    void cleanup()
    {
        QMutexLocker lock(&g_messagesLock);
        for (const QString &m : qAsConst(g_messages)) {
            QVERIFY2(!m.contains(kWriterPassword), qPrintable(m));
            QVERIFY2(!m.contains(kReaderPassword), qPrintable(m));
        }
    }

    void uploadedNameKeepsTheFileOwnSuffix()
    {
        QCOMPARE(uploadedNameOf("/x/log/a/b/T1.2.txt"), QString("/x/log/a/b/T1.2_upload.txt"));
        QCOMPARE(uploadedNameOf("/x/log.txt.d/a/b/T.dat"), QString("/x/log.txt.d/a/b/T_upload.dat"));
        QCOMPARE(uploadedNameOf("/x/a/b/T.txt.bak"), QString());
        QCOMPARE(uploadedNameOf("/x/a/b/T.TXT"), QString());
    }

    void yesterdaysFilesLandByteIdenticalAndAreMarked()
    {
        FtpTestServer server(TestKit::workDir() + "/server_main", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        configure(server.port(), "writer", kWriterPassword);
        freshLogRoot();
        const QString y = day(-1);
        const QByteArray binary = binaryContent();
        const QString t1 = writeLog("log_dc_power/" + y + "/T1.txt", "dc log\r\nline 2\n");
        const QString t2 = writeLog("log_heatbox/" + y + "/T2.dat", binary);
        const QString t3 = writeLog("log_heatbox/" + y + "/T3.txt", "chamber 25.0\n");
        const QString today = writeLog("log_dc_power/" + day(0) + "/T4.txt", "today",
                                       QDateTime::currentDateTime());
        const QString recent = writeLog("log_dc_power/" + y + "/recent.txt", "still written",
                                        QDateTime::currentDateTime().addSecs(-60));
        const QString top = writeLog("top.txt", "one level");
        const QString deep = writeLog("a/b/c/deep.txt", "three levels");
        const QString chinese = writeLog("日志/" + y + "/x.txt", "cjk");
        const QString empty = writeLog("log_dc_power/" + y + "/empty.txt", "");
        const QString csv = writeLog("log_dc_power/" + y + "/notes.csv", "csv");
        const QString marked = writeLog("log_dc_power/" + y + "/T0_upload.txt", "done before");
        const QString upper = writeLog("log_dc_power/" + y + "/T5.TXT", "upper case suffix");
        const QString raw = writeLog("log_rawimu/" + y + "/raw.dat", "raw");
        QDir().mkpath(logRoot() + "/log_link/" + y);
        QVERIFY(QFile::link(t3, logRoot() + "/log_link/" + y + "/l.txt"));

        const WalkResult r = runWalk();
        QVERIFY(r.finished);
        QCOMPARE(r.loggedIn, 1);
        QCOMPARE(r.failed, 0);
        QCOMPARE(r.sent, 3);
        QCOMPARE(r.skipped, 5); // today's, recent, Chinese, raw IMU log, the empty file
        {
            // The walk's log is there for cleanup() to search for the passwords.
            QMutexLocker lock(&g_messagesLock);
            QVERIFY(!g_messages.isEmpty());
        }
        const QString remote = server.root() + "/log/" + kMachine;
        QCOMPARE(readAll(remote + "/log_dc_power/" + y + "/T1.txt"), QByteArray("dc log\r\nline 2\n"));
        QVERIFY(readAll(remote + "/log_heatbox/" + y + "/T2.dat") == binary);
        QCOMPARE(readAll(remote + "/log_heatbox/" + y + "/T3.txt"), QByteArray("chamber 25.0\n"));
        for (const QString &sent : {t1, t2, t3}) {
            QVERIFY2(!QFile::exists(sent), qPrintable(sent));
            QVERIFY2(QFile::exists(uploadedNameOf(sent)), qPrintable(sent));
        }
        QVERIFY(QFile::exists(uploadedNameOf(empty)) && !QFile::exists(empty));
        QVERIFY(!QFile::exists(remote + "/log_dc_power/" + y + "/empty.txt"));
        for (const QString &kept : {today, recent, top, deep, chinese, csv, marked, upper, raw})
            QVERIFY2(QFile::exists(kept), qPrintable(kept));
        QVERIFY(!QFile::exists(remote + "/log_dc_power/" + day(0)));
        QVERIFY(!QFile::exists(remote + "/log_link"));
        QVERIFY(!QFile::exists(remote + "/log_rawimu"));
        QVERIFY(QFileInfo(logRoot() + "/log_link/" + y + "/l.txt").isSymLink());

        // A second walk sends nothing that is already marked.
        const WalkResult again = runWalk();
        QCOMPARE(again.sent, 0);
        QCOMPARE(again.failed, 0);
        QCOMPARE(again.skipped, 4);
    }

    void wrongPasswordLeavesFilesForALaterWalk()
    {
        FtpTestServer server(TestKit::workDir() + "/server_password", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        const QStringList files = writeTwoOldLogs();
        configure(server.port(), "writer", "wrong-password-00");
        const WalkResult r = runWalk();
        QVERIFY(r.finished);
        QCOMPARE(r.loggedIn, 0);
        QCOMPARE(r.sent, 0);
        QCOMPARE(r.failed, 2);
        QVERIFY(allStillThere(files));
        QVERIFY(!QFile::exists(server.root() + "/log"));

        configure(server.port(), "writer", kWriterPassword);
        const WalkResult later = runWalk();
        QCOMPARE(later.sent, 2);
        QCOMPARE(later.failed, 0);
        QVERIFY(readAll(server.root() + "/log/" + kMachine + "/log_heatbox/" + day(-2) + "/T2.dat")
                == binaryContent());
    }

    void readOnlyAccountLeavesFilesUnmarked()
    {
        FtpTestServer server(TestKit::workDir() + "/server_readonly", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        const QStringList files = writeTwoOldLogs();
        configure(server.port(), "reader", kReaderPassword);
        const WalkResult r = runWalk();
        QCOMPARE(r.loggedIn, 1);
        QCOMPARE(r.sent, 0);
        QCOMPARE(r.failed, 2);
        QVERIFY(allStillThere(files));
        QVERIFY(!QFile::exists(server.root() + "/log"));
    }

    void stoppedServerLeavesFilesAndAWorkingServerLaterGetsThem()
    {
        int deadPort = 0;
        {
            FtpTestServer gone(TestKit::workDir() + "/server_gone", kWriterPassword, kReaderPassword);
            deadPort = gone.port();
        }
        QVERIFY(deadPort > 0);
        const QStringList files = writeTwoOldLogs();
        configure(deadPort, "writer", kWriterPassword, 1000);
        const WalkResult r = runWalk();
        QVERIFY(r.finished);
        QCOMPARE(r.loggedIn, 0);
        QCOMPARE(r.failed, 2);
        QVERIFY(allStillThere(files));

        FtpTestServer server(TestKit::workDir() + "/server_back", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        configure(server.port(), "writer", kWriterPassword);
        const WalkResult later = runWalk();
        QCOMPARE(later.sent, 2);
        QCOMPARE(later.failed, 0);
        QCOMPARE(readAll(server.root() + "/log/" + kMachine + "/log_dc_power/" + day(-1) + "/T1.txt"),
                 QByteArray("voltage,current\n12.0,1.5\n"));
    }

    void silentServerEndsTheWalkWithinTheTimeOut()
    {
        QTcpServer silent;
        QList<QTcpSocket *> held;
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        connect(&silent, &QTcpServer::newConnection, this, [&] {
            while (QTcpSocket *s = silent.nextPendingConnection())
                held << s; // accepted, never answered
        });
        const QStringList files = writeTwoOldLogs();
        configure(silent.serverPort(), "writer", kWriterPassword, 1000);
        const WalkResult r = runWalk(20000);
        QVERIFY(r.finished);
        QCOMPARE(r.loggedIn, 0);
        QCOMPARE(r.failed, 2);
        QVERIFY2(r.elapsedMs < 15000, qPrintable(QString::number(r.elapsedMs)));
        QVERIFY(allStillThere(files));
        qDeleteAll(held);
    }

    void transferThatStallsIsEndedAndTheFileKept()
    {
        FtpTestServer server(TestKit::workDir() + "/server_stall", kWriterPassword, kReaderPassword, "stall");
        QVERIFY(server.port() > 0);
        freshLogRoot();
        // Larger than what the loopback socket buffers take in while the server sleeps.
        const QString big = writeLog("log_dc_power/" + day(-1) + "/big.dat",
                                     QByteArray(32 * 1024 * 1024, 'x'));
        configure(server.port(), "writer", kWriterPassword, 2000);
        getSettings()->setValue("ftp/stallTimeoutS", 2);
        const WalkResult r = runWalk(40000);
        QVERIFY(r.finished);
        QCOMPARE(r.loggedIn, 1);
        QCOMPARE(r.sent, 0);
        QCOMPARE(r.failed, 1);
        QVERIFY2(r.elapsedMs < 30000, qPrintable(QString::number(r.elapsedMs)));
        QVERIFY(allStillThere({big}));
    }

    void aFileAppendedToDuringItsTransferIsNotMarkedAndGoesAgainWhole()
    {
        FtpTestServer server(TestKit::workDir() + "/server_pause", kWriterPassword, kReaderPassword, "pause");
        QVERIFY(server.port() > 0);
        freshLogRoot();
        const QByteArray first = binaryContent();
        const QByteArray tail(50000, 'T');
        const QString path = writeLog("log_dc_power/" + day(-1) + "/growing.dat", first);
        const QString remote = server.root() + "/log/" + kMachine + "/log_dc_power/" + day(-1) + "/growing.dat";
        configure(server.port(), "writer", kWriterPassword);
        bool appended = false;
        const WalkResult r = runWalk(30000, [&] {
            if (appended || !QFile::exists(server.root() + ".paused"))
                return;
            QFile f(path); // the server holds the transfer after its first block: the file grows now
            appended = f.open(QIODevice::Append) && f.write(tail) == tail.size();
            f.close();
            QFile(server.root() + ".go").open(QIODevice::WriteOnly);
        });
        QVERIFY(r.finished);
        QVERIFY(appended);
        QCOMPARE(r.sent, 0);
        QCOMPARE(r.failed, 1);
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(uploadedNameOf(path)));

        settle(path);
        const WalkResult later = runWalk();
        QCOMPARE(later.sent, 1);
        QVERIFY(readAll(remote) == first + tail);
        QVERIFY(QFile::exists(uploadedNameOf(path)));
    }

    void aLogTheProgramHoldsOpenIsNotSent()
    {
        FtpTestServer server(TestKit::workDir() + "/server_open", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        freshLogRoot();
        const QString path = writeLog("log_dc_power/" + day(-1) + "/open.txt", "line 1\n");
        const QString remote = server.root() + "/log/" + kMachine + "/log_dc_power/" + day(-1) + "/open.txt";
        configure(server.port(), "writer", kWriterPassword);
        {
            OpenLogFile log(path); // as the supply panel holds its log until the next connect
            QVERIFY(log.open(QIODevice::ReadWrite | QIODevice::Append));
            settle(path);
            const WalkResult r = runWalk();
            QCOMPARE(r.sent, 0);
            QCOMPARE(r.skipped, 1);
            QVERIFY(!QFile::exists(remote));
            QVERIFY(QFile::exists(path));
            log.write("line 2\n");
        }
        settle(path);
        const WalkResult later = runWalk();
        QCOMPARE(later.sent, 1);
        QCOMPARE(readAll(remote), QByteArray("line 1\nline 2\n"));
        QVERIFY(QFile::exists(uploadedNameOf(path)));
    }

    void emptyMachineIdStopsTheWalk()
    {
        FtpTestServer server(TestKit::workDir() + "/server_noid", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        const QStringList files = writeTwoOldLogs();
        configure(server.port(), "writer", kWriterPassword);
        qputenv("KELVANTO_MACHINE_ID", QByteArray(""));
        const WalkResult r = runWalk();
        qputenv("KELVANTO_MACHINE_ID", kMachine.toUtf8());
        QVERIFY(r.finished);
        QCOMPARE(r.sent, 0);
        QVERIFY(r.logs.join('\n').contains("No machine id"));
        QVERIFY(allStillThere(files));
        QVERIFY(!QFile::exists(server.root() + "/log"));
    }
};

QTEST_GUILESS_MAIN(TestFtpUpload)
#include "test_ftp_upload.moc"

// The FTP log upload started by the console itself: with the FTP keys set, a console start
// uploads yesterday's logs to a real FTP server (pyftpdlib on 127.0.0.1) and reports the
// walk's counts in the log window; a stopped server's failure is in the log window; the
// configuration page's button starts a walk by hand and a new day starts one by itself.
#include <QDir>
#include <QPushButton>
#include <QtTest>

#include "ConsoleSeams.h"
#include "app/Settings.h"
#include "production/WorkerThread_ftp.h"
#include "station/FrmShowLog.h"
#include "tests/production/FtpTestServer.h"
#include "ui_MultiCalib.h"

using FtpTestFiles::readAll;
using FtpTestFiles::writeLog;
using TestKit::waitUntil;

namespace {
const QString kMachine = "0A1B2C3D-0000-4000-8000-0000000C0501";
const QString kWriterPassword = "Wr1te!pass#2026xy";
const QString kReaderPassword = "Re4d-only$pw-2026";

void configure(int port)
{
    QSettings *s = getSettings();
    s->setValue("ftp/serverAddress", "127.0.0.1");
    s->setValue("ftp/port", port);
    s->setValue("ftp/userName", "writer");
    s->setValue("ftp/password", kWriterPassword);
    s->setValue("ftp/connectTimeoutMs", 2000);
    s->setValue("ftp/responseTimeoutMs", 2000);
    s->sync();
}

QString day(int offset) { return QDate::currentDate().addDays(offset).toString("yyyy_MMdd"); }

void freshLogRoot()
{
    QDir(logRoot()).removeRecursively();
    QDir().mkpath(logRoot());
}
} // namespace

class TestConsoleFtp : public QObject {
    Q_OBJECT
private:
    // The wall clock of now, moved by hand to a new day.
    ConsoleSeams seams{QDateTime::currentDateTime()};

    static bool walkEnded(MultiCalib &console, int walks)
    {
        return console.logWindow()->text().count("FTP upload finished:") >= walks && !console.ftpUploadRunning()
               && !console.ftpWorker();
    }

private slots:
    void initTestCase()
    {
        qputenv("KELVANTO_MACHINE_ID", kMachine.toUtf8());
    }
    void cleanupTestCase()
    {
        getSettings()->remove("ftp");
    }

    void withoutAServerNothingStarts()
    {
        getSettings()->remove("ftp");
        MultiCalib console;
        QVERIFY(!console.ftpUploadRunning());
        QVERIFY(!console.ftpWorker());
        console.form()->pushButton_ftpUpload->click();
        QVERIFY(console.logWindow()->text().contains("FTP upload: no server address in the settings (ftp/serverAddress)"));
        QVERIFY(!console.ftpWorker());
    }

    void aConsoleStartUploadsYesterdaysLogs()
    {
        FtpTestServer server(TestKit::workDir() + "/ftp_root", kWriterPassword, kReaderPassword);
        QVERIFY(server.port() > 0);
        configure(server.port());
        freshLogRoot();
        const QString old = writeLog("log_dc_power/" + day(-1) + "/T1.txt", "12.00,1.50\n12.01,1.49\n");
        const QString today = writeLog("log_dc_power/" + day(0) + "/T2.txt", "today", QDateTime::currentDateTime());

        MultiCalib console;
        QVERIFY(waitUntil([&] { return walkEnded(console, 1); }, 60000));
        const QString remote = server.root() + "/log/" + kMachine + "/log_dc_power/" + day(-1) + "/T1.txt";
        QCOMPARE(readAll(remote), QByteArray("12.00,1.50\n12.01,1.49\n"));
        QVERIFY(!QFile::exists(old) && QFile::exists(uploadedNameOf(old)));
        QVERIFY(QFile::exists(today));
        const QString log = console.logWindow()->text();
        QVERIFY2(log.contains("FTP: LoggedIn"), qPrintable(log));
        QVERIFY2(log.contains("FTP upload finished: 1 sent, 1 skipped, 0 failed"), qPrintable(log));
        QVERIFY(log.contains(" started"));

        // By hand from the configuration page: a second walk, nothing left to send.
        console.form()->pushButton_ftpUpload->click();
        QVERIFY(console.ftpUploadRunning());
        console.form()->pushButton_ftpUpload->click(); // while it runs: said so, not started twice
        QVERIFY(console.logWindow()->text().contains("FTP upload: a walk is already running"));
        QVERIFY(waitUntil([&] { return walkEnded(console, 2); }, 60000));
        QVERIFY(console.logWindow()->text().contains("FTP upload finished: 0 sent, 1 skipped, 0 failed"));

        // The same day's check starts nothing; the next day's starts the daily walk, which now
        // takes what was today's log.
        console.ftpDailyCheck();
        QVERIFY(!console.ftpUploadRunning());
        seams.clock.advance(24LL * 3600 * 1000);
        console.ftpDailyCheck();
        QVERIFY(console.ftpUploadRunning());
        QVERIFY(waitUntil([&] { return walkEnded(console, 3); }, 60000));
        QVERIFY(console.logWindow()->text().contains("FTP upload finished: 1 sent, 0 skipped, 0 failed"));
        QCOMPARE(readAll(server.root() + "/log/" + kMachine + "/log_dc_power/" + day(0) + "/T2.txt"), QByteArray("today"));
    }

    void aStoppedServerIsInTheLogWindow()
    {
        int deadPort = 0;
        {
            FtpTestServer gone(TestKit::workDir() + "/ftp_gone", kWriterPassword, kReaderPassword);
            deadPort = gone.port();
        }
        QVERIFY(deadPort > 0);
        configure(deadPort);
        freshLogRoot();
        const QString old = writeLog("log_heatbox/" + day(-1) + "/T3.txt", "25.0\n");
        MultiCalib console;
        QVERIFY(waitUntil([&] { return walkEnded(console, 1); }, 60000));
        const QString log = console.logWindow()->text();
        QVERIFY2(log.contains(QString("FTP: login to 127.0.0.1:%1 failed").arg(deadPort)), qPrintable(log));
        QVERIFY2(log.contains("FTP upload finished: 0 sent, 0 skipped, 1 failed"), qPrintable(log));
        QVERIFY(!log.contains(kWriterPassword));
        QVERIFY(QFile::exists(old)); // kept for a later walk
        QVERIFY(seams.prompter.shown.isEmpty());
    }
};

QTEST_MAIN(TestConsoleFtp)
#include "test_console_ftp.moc"

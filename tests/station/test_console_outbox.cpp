// The console keeps every result it could not post: a stopped service, one that answers 500
// and one that never answers each leave their body on disk and the waiting count on the
// configuration page, without a box; the resend button sends each body once, byte for byte;
// a console made later over the same folder sends what an earlier one left.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "ConsoleSeams.h"
#include "UploadServer.h"
#include "app/Settings.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/FrmShowLog.h"
#include "station/UploadOutbox.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;

namespace {
QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestConsoleOutbox : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    std::unique_ptr<UploadServer> server;

    static void useService(int port) { getSettings()->setValue("httpAddr/officialAddr", UploadServer::addressOf(port)); }
    static QString waitingText(MultiCalib &console) { return console.form()->label_uploadWaiting->text(); }

private slots:
    void initTestCase()
    {
        server = std::make_unique<UploadServer>(TestKit::workDir() + "/service");
        QVERIFY(server->port() > 0);
        getSettings()->setValue("httpAddr/retryIntervalS", 3600); // the passes of this test are its own
    }
    void cleanupTestCase() { server.reset(); }
    void init()
    {
        QDir(uploadOutboxFolder()).removeRecursively();
        QFile::remove(uploadOutboxFolder());
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        prompter.shown.clear();
        g_link_status.fill(0);
        reportingPlate(0, 3999);
    }

    void failedPostsWaitOnDiskAndTheResendButtonSendsEachOnce()
    {
        MultiCalib console;
        QCOMPARE(waitingText(console), QString("No results waiting to upload"));
        QList<QByteArray> bodies;

        useService(UploadServer::closedPort());
        console.exectuePosMethod(1);
        QVERIFY(!console.lastUpload().ok);
        QCOMPARE(waitingText(console), QString("1 result waiting to upload"));
        bodies << console.buildJsonTurntable(); // the same records and times give the same body

        useService(server->port());
        server->setReply(500, "{\"code\":5,\"msg\":\"database down\"}");
        clock.advance(1000);
        console.exectuePosMethod(3);
        QCOMPARE(waitingText(console), QString("2 results waiting to upload"));
        bodies << console.buildJsonTemperatureRetest();

        getSettings()->setValue("httpAddr/timeoutMs", 300);
        server->setReply(200, "{\"code\":0,\"msg\":\"late\"}", 5.0);
        clock.advance(1000);
        console.exectuePosMethod(5);
        QVERIFY(console.lastUpload().timedOut);
        QCOMPARE(waitingText(console), QString("3 results waiting to upload"));
        QCOMPARE(console.form()->label_uploadWaiting->styleSheet(), QString("color:red;"));
        bodies << console.buildJsonAdvancedCalibration();

        // Every body lies on disk as it was built; nobody was stopped by a box.
        const QStringList files = console.uploadOutbox()->waitingFiles();
        QCOMPARE(files.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(readFile(files[i]), bodies[i]);
        QVERIFY(prompter.shown.isEmpty());
        const QString log = console.logWindow()->text();
        QVERIFY2(log.contains("failed: ConnectionRefusedError: kept for a later try"), qPrintable(log));
        QVERIFY2(log.contains("failed: HTTP 500, code: 5    msg: database down: kept for a later try"), qPrintable(log));
        QVERIFY2(log.contains("failed: no answer in time: kept for a later try"), qPrintable(log));

        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        server->setReply(200, "{\"code\":0,\"msg\":\"saved\"}");
        const int before = server->requests().size();
        console.form()->pushButton_resendUploads->click();
        const auto requests = server->requests().mid(before);
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests[0].path, QString("/api/BRAPI/Turntable"));
        QCOMPARE(requests[1].path, QString("/api/BRAPI/TemperatureTurntable"));
        QCOMPARE(requests[2].path, QString("/api/BRAPI/AdvancedCalibration"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(requests[i].body, bodies[i]);
        QCOMPARE(waitingText(console), QString("No results waiting to upload"));
        QVERIFY(console.logWindow()->text().contains("taken, code: 0    msg: saved"));

        // Pressed again: nothing goes out twice.
        console.form()->pushButton_resendUploads->click();
        QCOMPARE(server->requests().size(), before + 3);
    }

    void aNewConsoleSendsWhatAnEarlierOneLeft()
    {
        QByteArray left;
        {
            MultiCalib first;
            useService(UploadServer::closedPort());
            first.exectuePosMethod(2);
            QCOMPARE(waitingText(first), QString("1 result waiting to upload"));
            left = first.buildJsonStaticAllan();
        }
        useService(server->port());
        const int before = server->requests().size();
        MultiCalib second;
        QCOMPARE(waitingText(second), QString("1 result waiting to upload"));
        // Sent once the program is up, without anybody pressing a button.
        QVERIFY(waitUntil([&] { return waitingText(second) == "No results waiting to upload"; }, 15000));
        const auto requests = server->requests().mid(before);
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].path, QString("/api/BRAPI/AlanRest"));
        QCOMPARE(requests[0].body, left);
    }

    void aResultTheDiskCannotTakeIsShownInRedAndPostedOnceItCan()
    {
        // A file where the outbox folder should be: no write succeeds, for root neither.
        QFile blocker(uploadOutboxFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MultiCalib console;
        useService(UploadServer::closedPort());
        prompter.answers = {QMessageBox::Yes};
        console.rev_log_from_worker(62, "done"); // the turntable run's end: upload and box
        const QByteArray body = console.buildJsonTurntable();
        QVERIFY(waitingText(console).startsWith("1 result waiting to upload; 1 only in memory"));
        QCOMPARE(console.form()->label_uploadWaiting->styleSheet(), QString("color:red;"));
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY2(prompter.shown[0].text.contains("the disk did not take them: 1 result waiting to upload, of which 1 only in memory"),
                 qPrintable(prompter.shown[0].text));
        const QStringList held = console.uploadOutbox()->heldInMemory();
        QCOMPARE(held.size(), 1);
        QVERIFY(console.heldUploadsNote().contains(held[0]));

        QVERIFY(QFile::remove(uploadOutboxFolder()));
        useService(server->port());
        const int before = server->requests().size();
        console.form()->pushButton_resendUploads->click();
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, body);
        QCOMPARE(readFile(console.uploadOutbox()->sentFolder() + "/" + held[0]), body);
        QCOMPARE(waitingText(console), QString("No results waiting to upload"));
        QVERIFY(console.heldUploadsNote().isEmpty());
    }

    void aRefusedResultIsShownWithTheServicesMessageAndGoesOutOnlyByHand()
    {
        MultiCalib console;
        useService(server->port());
        server->setReply(200, "{\"code\":1,\"msg\":\"WONO not found\"}");
        console.exectuePosMethod(1);
        QVERIFY(console.lastUpload().refused);
        QCOMPARE(waitingText(console),
                 QString("No results waiting to upload; 1 refused by the service (code: 1    msg: WONO not found): "
                         "mend the work order, then press \"Resend results\""));
        QCOMPARE(console.form()->label_uploadWaiting->styleSheet(), QString("color:red;"));
        QVERIFY(QDir(console.uploadOutbox()->sentFolder()).entryList(QDir::Files).isEmpty());

        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        const int before = server->requests().size();
        console.uploadOutbox()->resendWaiting(); // the retry timer's pass leaves it alone
        QCOMPARE(server->requests().size(), before);
        console.form()->pushButton_resendUploads->click();
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, console.buildJsonTurntable());
        QCOMPARE(QDir(console.uploadOutbox()->sentFolder()).entryList(QDir::Files).size(), 1);
        QCOMPARE(waitingText(console), QString("No results waiting to upload"));
    }

    void aWaitingFileLeftEmptyIsSetAsideUnpostedAndShown()
    {
        QDir().mkpath(uploadOutboxFolder());
        QFile(uploadOutboxFolder() + "/20260101_120000_000_00_station1.json").open(QIODevice::WriteOnly);
        useService(server->port());
        const int before = server->requests().size();
        MultiCalib console; // its first pass runs once the program is up
        QVERIFY(waitUntil([&] { return waitingText(console).contains("unreadable"); }, 15000));
        QCOMPARE(waitingText(console), QString("No results waiting to upload; 1 unreadable, set aside in %1")
                                           .arg(console.uploadOutbox()->unreadableFolder()));
        QCOMPARE(console.form()->label_uploadWaiting->styleSheet(), QString("color:red;"));
        QCOMPARE(server->requests().size(), before);
    }
};

QTEST_MAIN(TestConsoleOutbox)
#include "test_console_outbox.moc"

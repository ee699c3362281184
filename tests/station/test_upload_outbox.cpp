// The outbox of the production-data upload against the loopback stand-in of the service: every
// body is on disk before its post and stays there until a 2xx answer with a JSON body; the
// waiting bodies go out again oldest first, each once and byte for byte.
#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <sys/mount.h>

#include "UploadServer.h"
#include "app/Clock.h"
#include "app/Settings.h"
#include "station/UploadOutbox.h"
#include "tests/kit/FileSizeLimit.h"
#include "tests/kit/TestKit.h"

namespace {
QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A body as the builders make them, told apart by its work order.
QByteArray bodyOf(const QString &workOrder)
{
    return "{\"WONO\":\"" + workOrder.toUtf8() + "\",\"details\":[{\"Equipment\":\"温箱2\",\"result\":\"OK\"}]}";
}

QStringList replyLines(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}
} // namespace

class TestUploadOutbox : public QObject {
    Q_OBJECT
private:
    ManualClock clock;
    std::unique_ptr<UploadServer> server;
    QString folder;

    void useService(int port)
    {
        getSettings()->setValue("httpAddr/officialAddr", UploadServer::addressOf(port));
        getSettings()->sync();
    }

private slots:
    void initTestCase()
    {
        Clock::install(&clock);
        server = std::make_unique<UploadServer>(TestKit::workDir() + "/service");
        QVERIFY(server->port() > 0);
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
    }
    void cleanupTestCase()
    {
        server.reset();
        Clock::install(nullptr);
    }
    void init()
    {
        folder = TestKit::workDir() + "/outbox";
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        useService(server->port());
    }

    void namesCarryTimeSequenceAndStationInAgeOrder()
    {
        QCOMPARE(stationOfOutboxFile("20260102_100000_000_00_station1.json"), 1);
        QCOMPARE(stationOfOutboxFile("20260102_100000_000_12_station5.json"), 5);
        QCOMPARE(stationOfOutboxFile("20260102_100000_000_00_station1.json.tmp"), -1);
        QCOMPARE(stationOfOutboxFile("notes.json"), -1);
        QCOMPARE(waitingUploadsText(0), QString("No results waiting to upload"));
        QCOMPARE(waitingUploadsText(1), QString("1 result waiting to upload"));
        QCOMPARE(waitingUploadsText(3), QString("3 results waiting to upload"));

        useService(UploadServer::closedPort());
        UploadOutbox outbox(folder);
        outbox.send(3, bodyOf("A")); // same clock time: told apart by the sequence number
        clock.advance(1500);
        outbox.send(1, bodyOf("B"));
        outbox.send(0, bodyOf("C"));
        const QStringList files = outbox.waitingFiles();
        QCOMPARE(files.size(), 3);
        QCOMPARE(QFileInfo(files[0]).fileName(), QString("20260102_100000_000_00_station3.json"));
        QCOMPARE(QFileInfo(files[1]).fileName(), QString("20260102_100001_500_00_station1.json"));
        QCOMPARE(QFileInfo(files[2]).fileName(), QString("20260102_100001_500_01_station0.json"));
        QCOMPARE(readFile(files[0]), bodyOf("A"));
        QCOMPARE(readFile(files[2]), bodyOf("C"));
    }

    void aBodyIsOnDiskBeforeItsPostIsAnswered()
    {
        UploadOutbox outbox(folder);
        server->setReply(200, "{\"code\":0,\"msg\":\"slow\"}", 0.5);
        QStringList seenWhilePosting;
        QTimer::singleShot(100, &outbox, [&] { seenWhilePosting = outbox.waitingFiles(); });
        const UploadOutcome out = outbox.send(1, bodyOf("D"));
        QVERIFY(out.ok);
        QCOMPARE(seenWhilePosting.size(), 1);
        QCOMPARE(outbox.waitingCount(), 0);
        QCOMPARE(readFile(outbox.sentFolder() + "/" + QFileInfo(seenWhilePosting[0]).fileName()), bodyOf("D"));
    }

    void onlyA2xxAnswerWithJsonMarksABodySent_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("said");
        const QString later = "kept for a later try";
        QTest::newRow("200 JSON") << 200 << QByteArray("{\"code\":0,\"msg\":\"ok\"}") << true << "taken";
        QTest::newRow("201 JSON with an error code")
            << 201 << QByteArray("{\"code\":7,\"msg\":\"known\"}") << false << "refused by the service";
        QTest::newRow("200 not JSON") << 200 << QByteArray("saved, thanks") << false << later;
        QTest::newRow("302 JSON") << 302 << QByteArray("{\"code\":0,\"msg\":\"moved\"}") << false << later;
        QTest::newRow("500 JSON") << 500 << QByteArray("{\"code\":1,\"msg\":\"down\"}") << false << later;
        QTest::newRow("404 text") << 404 << QByteArray("no such path") << false << later;
    }
    void onlyA2xxAnswerWithJsonMarksABodySent()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, reply);
        QFETCH(bool, taken);
        QFETCH(QString, said);
        server->setReply(status, reply);
        UploadOutbox outbox(folder);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        QSignalSpy counts(&outbox, &UploadOutbox::waitingCountChanged);
        const UploadOutcome out = outbox.send(2, bodyOf("E"));
        QCOMPARE(out.ok, taken);
        const int waiting = said == "kept for a later try" ? 1 : 0;
        QCOMPARE(outbox.waitingCount(), waiting);
        QCOMPARE(counts.last().at(0).toInt(), waiting);
        QCOMPARE(QDir(outbox.sentFolder()).entryList(QDir::Files).size(), taken ? 1 : 0);
        const QString line = replyLines(lines).join('\n');
        QVERIFY2(line.contains("/api/BRAPI/AlanRest"), qPrintable(line));
        // The service's code and message are in the line whenever it answered with them.
        if (reply.startsWith('{')) {
            const UploadReply r = parseUploadReply(reply);
            QVERIFY2(line.contains(QString("code: %1    msg: %2").arg(r.code).arg(r.msg)), qPrintable(line));
        }
        QVERIFY2(line.contains(said), qPrintable(line));
    }

    void failedBodiesGoOutAgainOldestFirstEachOnceByteForByte()
    {
        UploadOutbox outbox(folder);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        useService(UploadServer::closedPort());
        outbox.send(1, bodyOf("stopped"));
        useService(server->port());
        server->setReply(500, "{\"code\":1,\"msg\":\"down\"}");
        clock.advance(10);
        outbox.send(3, bodyOf("error"));
        getSettings()->setValue("httpAddr/timeoutMs", 300);
        server->setReply(200, "{\"code\":0,\"msg\":\"late\"}", 5.0);
        clock.advance(10);
        const UploadOutcome silent = outbox.send(5, bodyOf("silent"));
        QVERIFY(silent.timedOut);
        QCOMPARE(outbox.waitingCount(), 3);
        const QStringList kept = outbox.waitingFiles();
        QVERIFY(replyLines(lines).join('\n').contains("ConnectionRefusedError"));
        QVERIFY(replyLines(lines).join('\n').contains("HTTP 500, code: 1    msg: down"));
        QVERIFY(replyLines(lines).join('\n').contains("no answer in time"));

        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 3);
        const auto requests = server->requests().mid(before);
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests[0].body, bodyOf("stopped"));
        QCOMPARE(requests[0].path, QString("/api/BRAPI/Turntable"));
        QCOMPARE(requests[1].body, bodyOf("error"));
        QCOMPARE(requests[1].path, QString("/api/BRAPI/TemperatureTurntable"));
        QCOMPARE(requests[2].body, bodyOf("silent"));
        QCOMPARE(requests[2].path, QString("/api/BRAPI/AdvancedCalibration"));
        QCOMPARE(requests[0].contentType, QString("application/json"));
        QCOMPARE(outbox.waitingCount(), 0);
        for (const QString &file : kept)
            QVERIFY(QFile::exists(outbox.sentFolder() + "/" + QFileInfo(file).fileName()));

        // Nothing is posted twice.
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(server->requests().size(), before + 3);
    }

    void aPassEndsAtAServiceThatDoesNotAnswerButGoesOnPastAnError()
    {
        UploadOutbox outbox(folder);
        useService(UploadServer::closedPort());
        for (const char *w : {"1", "2", "3"})
            outbox.send(1, bodyOf(w));
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(replyLines(lines).filter("failed").size(), 1); // refused once: the rest wait
        QCOMPARE(outbox.waitingCount(), 3);

        useService(server->port());
        server->setReply(500, "{\"code\":1,\"msg\":\"down\"}");
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(server->requests().size(), before + 3); // an answer, even an error: go on
        QCOMPARE(outbox.waitingCount(), 3);
    }

    void theRetryTimerPostsWhatWaits()
    {
        UploadOutbox outbox(folder);
        useService(UploadServer::closedPort());
        outbox.send(4, bodyOf("timer"));
        useService(server->port());
        const int before = server->requests().size();
        outbox.setRetryInterval(50);
        QCOMPARE(outbox.retryInterval(), 50);
        QVERIFY(TestKit::waitUntil([&] { return outbox.waitingCount() == 0; }, 10000));
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, bodyOf("timer"));
        outbox.setRetryInterval(0);
        QCOMPARE(outbox.retryInterval(), 0);
    }

    void aNewOutboxOverTheSameFolderSendsWhatAnEarlierOneLeft()
    {
        {
            UploadOutbox first(folder);
            useService(UploadServer::closedPort());
            first.send(2, bodyOf("left"));
            QCOMPARE(first.waitingCount(), 1);
        }
        useService(server->port());
        UploadOutbox second(folder);
        QCOMPARE(second.waitingCount(), 1);
        const int before = server->requests().size();
        QCOMPARE(second.resendWaiting(), 1);
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, bodyOf("left"));
    }

    void aBodyTheFolderCannotTakeIsHeldInMemoryAndPostedOnceItCan()
    {
        // A file where the folder should be: the write fails for root too.
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        UploadOutbox outbox(folder);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        useService(UploadServer::closedPort());
        const QString name = clock.now().toString("yyyyMMdd_HHmmss_zzz") + "_00_station1.json";
        outbox.send(1, bodyOf("held"));
        const QString text = replyLines(lines).join('\n');
        QVERIFY2(text.contains("could not be kept on disk"), qPrintable(text));
        QVERIFY2(!text.contains("lost"), qPrintable(text));
        QCOMPARE(outbox.waitingCount(), 1);
        QCOMPARE(outbox.heldInMemory(), QStringList({name}));
        QCOMPARE(outbox.resendWaiting(), 0); // still no folder, no service: it stays held
        QCOMPARE(outbox.heldInMemoryCount(), 1);

        QVERIFY(QFile::remove(folder));
        useService(server->port());
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 1);
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, bodyOf("held"));
        QCOMPARE(outbox.heldInMemoryCount(), 0);
        QCOMPARE(outbox.waitingCount(), 0);
        QCOMPARE(readFile(outbox.sentFolder() + "/" + name), bodyOf("held"));
    }

    void onAFullDiskNoShortBodyIsKeptAndTheBodyIsWrittenWhenThereIsRoom_data()
    {
        QTest::addColumn<bool>("tmpfs");
        QTest::newRow("file-size limit") << false; // works for anybody, root included
        QTest::newRow("small tmpfs") << true;       // a real full file system, where mounting is allowed
    }
    void onAFullDiskNoShortBodyIsKeptAndTheBodyIsWrittenWhenThereIsRoom()
    {
        QFETCH(bool, tmpfs);
        QString box = folder;
        const QString mountPoint = TestKit::workDir() + "/small_fs";
        const QString filler = mountPoint + "/filler";
        if (tmpfs) {
            QDir().mkpath(mountPoint);
            if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("mounting a small tmpfs is not allowed here (it needs CAP_SYS_ADMIN); the file-size-limit "
                      "row shows the full disk");
            box = mountPoint + "/outbox";
        }
        const auto unmount = qScopeGuard([&] {
            if (tmpfs)
                ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        });
        UploadOutbox outbox(box);
        useService(UploadServer::closedPort());
        const QByteArray small = bodyOf("small");
        const QByteArray plate = bodyOf(QString(10000, 'P')); // about one plate's body
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (tmpfs) {
                QFile fill(filler); // 14 of the 16 pages: room for the small body only
                QVERIFY(fill.open(QIODevice::WriteOnly));
                QCOMPARE(fill.write(QByteArray(14 * 4096, 'f')), qint64(14 * 4096));
            } else {
                limit = std::make_unique<FileSizeLimit>(4096);
            }
            outbox.send(1, small);
            outbox.send(2, plate);
        }
        // Only whole bodies on disk; the other waits in memory.
        const QStringList files = outbox.waitingFiles();
        QCOMPARE(files.size(), 1);
        QCOMPARE(readFile(files[0]), small);
        QCOMPARE(QDir(box).entryList({"*station*"}, QDir::Files).size(), 1);
        QCOMPARE(outbox.heldInMemoryCount(), 1);
        QCOMPARE(outbox.waitingCount(), 2);

        QFile::remove(filler);
        useService(server->port());
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 2);
        const auto requests = server->requests().mid(before);
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].body, small);
        QCOMPARE(requests[1].body, plate);
        QCOMPARE(outbox.waitingCount(), 0);
        QCOMPARE(QDir(outbox.sentFolder()).entryList(QDir::Files).size(), 2);
    }

    // The disk took the write and the commit but kept fewer bytes, as a full one can: the short
    // file is not kept, the body waits in memory.
    void aBodyTheDiskKeptShortIsHeldInMemory()
    {
        UploadOutbox outbox(folder);
        useService(UploadServer::closedPort());
        connect(&outbox, &UploadOutbox::bodyCommitted, this, [](const QString &path) { QFile::resize(path, 20); });
        outbox.send(1, bodyOf("short"));
        QCOMPARE(QDir(folder).entryList({"*station*"}, QDir::Files), QStringList());
        QCOMPARE(outbox.heldInMemoryCount(), 1);
        QCOMPARE(outbox.waitingCount(), 1);
    }

    void aWaitingFileThatIsEmptyOrNotJsonIsSetAsideUnposted()
    {
        QDir().mkpath(folder);
        const QString empty = folder + "/20260102_090000_000_00_station1.json";
        const QString cut = folder + "/20260102_090000_000_01_station1.json";
        QFile(empty).open(QIODevice::WriteOnly);
        QFile c(cut);
        QVERIFY(c.open(QIODevice::WriteOnly));
        c.write(bodyOf("cut").left(20));
        c.close();
        UploadOutbox outbox(folder);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(server->requests().size(), before);
        QCOMPARE(outbox.waitingCount(), 0);
        QCOMPARE(outbox.unreadableCount(), 2);
        QVERIFY(QFileInfo(outbox.unreadableFolder() + "/" + QFileInfo(empty).fileName()).isFile());
        QCOMPARE(readFile(outbox.unreadableFolder() + "/" + QFileInfo(cut).fileName()), bodyOf("cut").left(20));
        const QString text = replyLines(lines).join('\n');
        QVERIFY2(text.contains("the file is empty") && text.contains("not JSON"), qPrintable(text));
    }

    void aWaitingFileLargerThanAnyBodyIsSetAsideUnread_data() { TestKit::oversizedFileRows(); }
    void aWaitingFileLargerThanAnyBodyIsSetAsideUnread()
    {
        QFETCH(bool, zeroDevice);
        QDir().mkpath(folder);
        const QString huge = folder + "/20260102_090000_000_00_station1.json";
        QVERIFY(TestKit::makeOversizedFile(huge, zeroDevice));
        UploadOutbox outbox(folder);
        QCOMPARE(outbox.waitingCount(), 1);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(server->requests().size(), before);
        QCOMPARE(outbox.waitingCount(), 0);
        const QString aside = outbox.unreadableFolder() + "/" + QFileInfo(huge).fileName();
        QVERIFY(QFileInfo(aside).isSymLink() == zeroDevice);
        // A device is refused as such before it is opened.
        const QString why = zeroDevice ? "the file is a device, not a regular file"
                                       : "the file is larger than 64 MB, more than such a file can hold";
        QCOMPARE(readFile(aside + ".reason.txt"), why.toUtf8() + "\n");
        QVERIFY2(replyLines(lines).join('\n').contains(why), qPrintable(replyLines(lines).join('\n')));
    }

    // A body whose name leads to a FIFO is set aside with its reason at once, never opened:
    // opening it would hold the pass, on the GUI thread, until a writer came.
    void aWaitingBodyThatIsAFifoIsSetAsideUnopened()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(TestKit::makeFifo(tmp.path() + "/pipe"));
        QDir().mkpath(folder);
        const QString body = folder + "/20260102_090000_000_00_station1.json";
        QVERIFY(QFile::link(tmp.path() + "/pipe", body));
        UploadOutbox outbox(folder);
        QCOMPARE(outbox.waitingCount(), 1);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        const int before = server->requests().size();
        QElapsedTimer took;
        took.start();
        QCOMPARE(outbox.resendWaiting(), 0);
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString("%1 ms").arg(took.elapsed())));
        QCOMPARE(server->requests().size(), before);
        QCOMPARE(outbox.waitingCount(), 0);
        QCOMPARE(outbox.unreadableCount(), 1);
        const QString aside = outbox.unreadableFolder() + "/" + QFileInfo(body).fileName();
        QVERIFY(QFileInfo(aside).isSymLink());
        const QString why = "the file is a named pipe (FIFO), not a regular file";
        QCOMPARE(readFile(aside + ".reason.txt"), why.toUtf8() + "\n");
        QVERIFY2(replyLines(lines).join('\n').contains(why), qPrintable(replyLines(lines).join('\n')));
    }

    void aRefusalAnsweredWith200WaitsForTheOperatorsResend()
    {
        UploadOutbox outbox(folder);
        server->setReply(200, "{\"code\":1,\"msg\":\"WONO not found\"}");
        const UploadOutcome out = outbox.send(0, bodyOf("unknown order"));
        QVERIFY(!out.ok);
        QVERIFY(out.refused);
        QCOMPARE(QDir(outbox.sentFolder()).entryList(QDir::Files).size(), 0);
        QCOMPARE(outbox.refusedCount(), 1);
        QCOMPARE(outbox.lastRefusal(), QString("code: 1    msg: WONO not found"));
        // Passes leave it alone, whatever the service says now.
        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
        const int before = server->requests().size();
        QCOMPARE(outbox.resendWaiting(), 0);
        QCOMPARE(server->requests().size(), before);
        QCOMPARE(outbox.resendRefused(), 1);
        QCOMPARE(server->requests().size(), before + 1);
        QCOMPARE(server->requests().last().body, bodyOf("unknown order"));
        QCOMPARE(outbox.refusedCount(), 0);
        QCOMPARE(QDir(outbox.sentFolder()).entryList({"*.json"}, QDir::Files).size(), 1);
        QCOMPARE(outbox.resendRefused(), 0);
        QCOMPARE(server->requests().size(), before + 1);
    }

    void anAnswerCutShortSaysSoAndTheBodyWaits()
    {
        UploadOutbox outbox(folder);
        QSignalSpy lines(&outbox, &UploadOutbox::logLine);
        server->setReply(200, "{\"code\":0,\"msg\":\"a long enough message\"}", 0, 10);
        const UploadOutcome out = outbox.send(1, bodyOf("cut"));
        QVERIFY(!out.ok);
        const QString text = replyLines(lines).join('\n');
        QVERIFY2(text.contains("the connection was cut in the middle of the answer"), qPrintable(text));
        QCOMPARE(outbox.waitingCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUploadOutbox)
#include "test_upload_outbox.moc"

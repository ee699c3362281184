// The result databases read back with the sqlite3 tool.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include "production/TestResultDb.h"
#include "tests/kit/TestKit.h"

namespace {
QStringList sqlite(const QString &db, const QString &sql)
{
    QString out;
    TestKit::runProgram("sqlite3", {db, sql}, &out, 20000);
    return out.split('\n', Qt::SkipEmptyParts);
}
QString path(const QString &name) { return QDir::current().absoluteFilePath(name); }
QByteArray bytesOf(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}
} // namespace

class TestResultDatabase : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *f : {"imu1123.db", "k350.db", "imu_select.db"})
            QFile::remove(f);
    }

    void aNewSerialNumberThatPassesIsInsertedAndCounted()
    {
        TestResultDb db("t1", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        QVERIFY(db.open());
        quint32 total = 9, passed = 9;
        QVERIFY(db.counts(&total, &passed));
        QCOMPARE(total, 0u);
        QCOMPARE(passed, 0u);
        const TestResultDb::SaveOutcome o = db.save("112233", true);
        QVERIFY(o.stored);
        QVERIFY(o.notice.isEmpty());
        QVERIFY(db.counts(&total, &passed));
        QCOMPARE(total, 1u);
        QCOMPARE(passed, 1u);
        QCOMPARE(sqlite(path("imu1123.db"), "select sn, result, typeof(sn), typeof(result) from imu1123"),
                 QStringList{"112233|1|text|integer"});
        QCOMPARE(sqlite(path("imu1123.db"), "select sql from sqlite_master where name = 'imu1123'"),
                 QStringList{"CREATE TABLE imu1123(sn TEXT primary key,result INTEGER)"});
    }

    void repeatedTestsShowTheirNoticeAndAPassIsNeverTakenBack_data()
    {
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("now");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<int>("stored");
        QTest::newRow("passed, fails now") << true << false
            << "The current SN number has been successfully tested, and this failure will not be counted" << 1;
        QTest::newRow("passed, passes now") << true << true
            << "The current SN number has been successfully tested, and it is still successful this time, but there is no duplicate counting" << 1;
        QTest::newRow("failed, passes now") << false << true
            << "The current SN number has been tested, but it was not successful. This test was successful" << 1;
        QTest::newRow("failed twice") << false << false
            << "The current SN number has been tested, but both previous and current tests have failed" << 0;
    }
    void repeatedTestsShowTheirNoticeAndAPassIsNeverTakenBack()
    {
        QFETCH(bool, before);
        QFETCH(bool, now);
        QFETCH(QString, notice);
        QFETCH(int, stored);
        TestResultDb db("t2", "k350.db", "k350", TestResultDb::Policy::PassSticks);
        QVERIFY(db.open());
        QVERIFY(db.save("777", before).stored);
        const TestResultDb::SaveOutcome o = db.save("777", now);
        QVERIFY(o.stored);
        QCOMPARE(o.notice, notice);
        quint32 total = 0, passed = 0;
        db.counts(&total, &passed);
        QCOMPARE(total, 1u);
        QCOMPARE(int(passed), stored);
        QCOMPARE(sqlite(path("k350.db"), "select sn, result from k350"), QStringList{QString("777|%1").arg(stored)});
    }

    void aSerialNumberWithQuotesIsStoredAsText()
    {
        TestResultDb db("t3", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        QVERIFY(db.open());
        const QString evil = "x'); DROP TABLE imu1123;--";
        QVERIFY(db.save(evil, false).stored);
        QVERIFY(db.save(evil, true).stored);
        QCOMPARE(sqlite(path("imu1123.db"), "select sn, result from imu1123"), QStringList{evil + "|1"});
    }

    void aTableThatExistsIsNotAnError()
    {
        {
            TestResultDb db("t4", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
            QVERIFY(db.open());
            QVERIFY(db.save("1", true).stored);
        }
        TestResultDb again("t4", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        QVERIFY(again.open());
        quint32 total = 0, passed = 0;
        QVERIFY(again.counts(&total, &passed));
        QCOMPARE(total, 1u);
    }

    void twoDatabasesOpenAtOnceBothAcceptWrites()
    {
        TestResultDb a("SQLITE_735", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        TestResultDb b("SQLITE_K350", "k350.db", "k350", TestResultDb::Policy::PassSticks);
        TestResultDb c("SQLITE_SCREEN", "imu_select.db", "imu_select", TestResultDb::Policy::LastResult);
        QVERIFY(a.open());
        QVERIFY(b.open());
        QVERIFY(c.open());
        QVERIFY(a.save("A1", true).stored);
        QVERIFY(b.save("B1", false).stored);
        QVERIFY(c.save("C1", true).stored);
        QVERIFY(a.save("A2", false).stored);
        QCOMPARE(sqlite(path("imu1123.db"), "select sn, result from imu1123 order by sn"), (QStringList{"A1|1", "A2|0"}));
        QCOMPARE(sqlite(path("k350.db"), "select sn, result from k350"), QStringList{"B1|0"});
        QCOMPARE(sqlite(path("imu_select.db"), "select sn, result from imu_select"), QStringList{"C1|1"});
    }

    void theScreeningTableKeepsTheLatestBoardResult()
    {
        TestResultDb db("t5", "imu_select.db", "imu_select", TestResultDb::Policy::LastResult);
        QVERIFY(db.open());
        QVERIFY(db.save("S1", true).stored);
        const TestResultDb::SaveOutcome o = db.save("S1", false);
        QVERIFY(o.stored);
        QVERIFY(o.notice.isEmpty());
        QCOMPARE(sqlite(path("imu_select.db"), "select sn, result from imu_select"), QStringList{"S1|0"});
    }

    void aDamagedDatabaseNamesItsReasonAndIsLeftAsItWas_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << "corrupt" << "file is not a database";
        QTest::newRow("table of another layout") << "layout" << "no such column";
        QTest::newRow("a folder in its place") << "folder" << "unable to open database file";
    }
    void aDamagedDatabaseNamesItsReasonAndIsLeftAsItWas()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const QString file = "damaged.db";
        QDir(file).removeRecursively();
        QFile::remove(file);
        if (damage == "corrupt") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("these are the operator's notes, not a database\n").repeated(100));
        } else if (damage == "layout") {
            sqlite(path(file), "create table imu1123(serial TEXT, verdict TEXT); insert into imu1123 values('1', 'ok')");
        } else {
            QVERIFY(QDir().mkpath(file));
        }
        const QByteArray before = bytesOf(file);
        TestResultDb db("t6", file, "imu1123", TestResultDb::Policy::PassSticks);
        db.open();
        const TestResultDb::SaveOutcome o = db.save("1", true);
        QVERIFY(!o.stored);
        QVERIFY2(o.error.contains(reason), qPrintable(o.error));
        quint32 total = 5, passed = 5;
        QVERIFY(!db.counts(&total, &passed));
        QCOMPARE(total, 5u); // what the caller counted before stands
        QCOMPARE(passed, 5u);
        QVERIFY2(db.lastError().contains(reason), qPrintable(db.lastError()));
        QCOMPARE(bytesOf(file), before);
    }

    void aDatabaseLockedByAnotherProgramGivesItsReasonAfterOneShortWait()
    {
        TestResultDb db("t7", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        QVERIFY(db.open());
        QVERIFY(db.save("1", true).stored);
        const QByteArray before = bytesOf("imu1123.db");
        QProcess holder;
        QVERIFY(TestKit::holdSqliteWriteLock(&holder, path("imu1123.db")));

        // What the screening page does with a board's results: store each, then count.
        QElapsedTimer waited;
        waited.start();
        const TestResultDb::SaveOutcome o = db.save("2", true);
        for (const char *sn : {"4", "5", "6"})
            QVERIFY(!db.save(sn, true).stored);
        // The counts that cannot be read leave the last good ones standing.
        quint32 total = 7, passed = 5;
        const bool counted = db.counts(&total, &passed);
        const qint64 ms = waited.elapsed();
        // A page made meanwhile learns the same.
        TestResultDb late("t7_late", "imu1123.db", "imu1123", TestResultDb::Policy::PassSticks);
        late.open();
        const TestResultDb::SaveOutcome lateOutcome = late.save("3", true);
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(30000));

        QVERIFY(!o.stored);
        QVERIFY2(o.error.contains("database is locked"), qPrintable(o.error));
        QVERIFY(!counted);
        QCOMPARE(total, 7u);
        QCOMPARE(passed, 5u);
        QVERIFY2(db.lastError().contains("database is locked"), qPrintable(db.lastError()));
        QVERIFY(!lateOutcome.stored);
        QVERIFY2(lateOutcome.error.contains("database is locked"), qPrintable(lateOutcome.error));
        // One wait of about 2 s for the lock, not one of seconds per statement or per save.
        QVERIFY2(ms < 6000, qPrintable(QString("the page waited %1 ms").arg(ms)));
        QCOMPARE(bytesOf("imu1123.db"), before);
        // The lock gone, the next result is stored as ever.
        QVERIFY(db.save("2", true).stored);
        QCOMPARE(sqlite(path("imu1123.db"), "select sn, result from imu1123 order by sn"), (QStringList{"1|1", "2|1"}));
    }
};

QTEST_MAIN(TestResultDatabase)
#include "test_result_db.moc"

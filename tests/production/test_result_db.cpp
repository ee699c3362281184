// The result databases read back with the sqlite3 tool.
#include <QDir>
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

    void aDatabaseThatCannotBeOpenedReportsEverySaveAsNotStored()
    {
        QDir().mkpath("blocked.db"); // a folder where the file should be
        TestResultDb db("t6", "blocked.db", "imu1123", TestResultDb::Policy::PassSticks);
        QVERIFY(!db.open());
        const TestResultDb::SaveOutcome o = db.save("1", true);
        QVERIFY(!o.stored);
        QVERIFY(!o.error.isEmpty());
        quint32 total = 5, passed = 5;
        QVERIFY(!db.counts(&total, &passed));
        QCOMPARE(total, 0u);
    }
};

QTEST_MAIN(TestResultDatabase)
#include "test_result_db.moc"

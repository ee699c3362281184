#pragma once
// One result per module serial number in a small SQLite table (sn TEXT primary key,
// result INTEGER). Each database has its own connection name, so several can be open at once;
// every statement binds its values. Errors carry the database's own reason ("database is
// locked", "file is not a database", ...). A file another program holds locked is waited for
// about 2 s, and not again for a while after such a wait failed: the pages run on the GUI
// thread, and the screening page stores a whole board's results at once.
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class TestResultDb {
public:
    // How a repeated serial number is stored.
    enum class Policy {
        PassSticks,  // quick tests: a pass is kept, a later failure never overrides it
        LastResult   // screening: the latest board result replaces the stored one
    };
    struct SaveOutcome {
        bool stored = false;   // the table holds the row as it should after this test
        QString notice;        // the repeat-test notice to show (may be empty)
        QString error;         // the storage error when not stored
    };

    TestResultDb(const QString &connectionName, const QString &fileName, const QString &table,
                 Policy policy);
    ~TestResultDb();
    TestResultDb(const TestResultDb &) = delete;
    TestResultDb &operator=(const TestResultDb &) = delete;

    // How long a statement waits for a lock another program holds on the file, and how long
    // after a wait that failed the statements do not wait again.
    static constexpr int kLockWaitMs = 2000;
    static constexpr int kLockRestMs = 10000;

    // Opens the file and makes the table when it does not exist yet. False when the file
    // cannot be opened or the table cannot be made.
    bool open();
    bool isOpen() const;
    QString lastError() const { return m_lastError; }

    // Stores the result of one test of sn.
    SaveOutcome save(const QString &sn, bool passed);
    // Number of rows, and of rows whose result is 1; false when the table cannot be read, with
    // both numbers left as they were (the last good counts stand).
    bool counts(quint32 *total, quint32 *passed);

    QString connectionName() const { return m_connection; }
    QString table() const { return m_table; }

private:
    QSqlDatabase db() const;
    // The stored result of sn: -1 when no row, -2 on a read error.
    int storedResult(const QString &sn);
    // Prepares and runs one statement with its values bound; false with the reason in
    // lastError(). A lock that does not go away in time makes the statements of the next
    // kLockRestMs fail at once.
    bool exec(QSqlQuery &q, const QString &sql, const QVariantList &values = {});

    QString m_connection;
    QString m_file;
    QString m_table;
    Policy m_policy;
    QString m_lastError;
    int m_lockWait = kLockWaitMs;  // the connection's wait for a lock
    QElapsedTimer m_lockGaveUp;    // since the last wait for a lock failed
};

// A quick-test page's table with its counts and the outcome of the last save.
class ResultTally {
public:
    explicit ResultTally(const QString &table)
        : db(table, table + ".db", table, TestResultDb::Policy::PassSticks) {}
    void save(const QString &sn, bool passed)
    {
        last = db.save(sn, passed);
        count();
    }
    void count() { db.counts(&total, &passed); }

    TestResultDb db;
    quint32 total = 0, passed = 0;
    TestResultDb::SaveOutcome last{true, {}, {}};
};

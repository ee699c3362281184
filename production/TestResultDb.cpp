#include "production/TestResultDb.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
const char *kPassedBefore_FailNow = QT_TRANSLATE_NOOP("StatusText", 
    "The current SN number has been successfully tested, and this failure will not be counted");
const char *kPassedBefore_PassNow = QT_TRANSLATE_NOOP("StatusText", "The current SN number has been successfully tested, and it is "
                                    "still successful this time, but there is no duplicate counting");
const char *kFailedBefore_PassNow = QT_TRANSLATE_NOOP("StatusText", 
    "The current SN number has been tested, but it was not successful. This test was successful");
const char *kFailedBefore_FailNow = QT_TRANSLATE_NOOP("StatusText", 
    "The current SN number has been tested, but both previous and current tests have failed");
} // namespace

TestResultDb::TestResultDb(const QString &connectionName, const QString &fileName,
                           const QString &table, Policy policy)
    : m_connection(connectionName), m_file(fileName), m_table(table), m_policy(policy)
{
}

TestResultDb::~TestResultDb()
{
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase d = QSqlDatabase::database(m_connection, false);
            d.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QSqlDatabase TestResultDb::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool TestResultDb::isOpen() const
{
    return QSqlDatabase::contains(m_connection) && db().isOpen();
}

bool TestResultDb::open()
{
    QSqlDatabase d = QSqlDatabase::contains(m_connection)
        ? QSqlDatabase::database(m_connection, false)
        : QSqlDatabase::addDatabase("QSQLITE", m_connection);
    d.setDatabaseName(m_file);
    d.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitMs));
    m_lockWait = kLockWaitMs;
    if (!d.open()) {
        m_lastError = d.lastError().text();
        qDebug() << "无法建立数据库连接" << m_file << m_lastError;
        return false;
    }
    // One statement, so a locked or damaged file says why (a table list would come back empty).
    // The table name is ours, never an operator's text; only values are bound.
    QSqlQuery q(d);
    if (!exec(q, QString("create table if not exists %1(sn TEXT primary key,result INTEGER)").arg(m_table))) {
        qDebug() << "数据库创建错误!" << m_lastError;
        return false;
    }
    qDebug() << "create table success!" << m_table;
    return true;
}

bool TestResultDb::exec(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    const int wait = m_lockGaveUp.isValid() && !m_lockGaveUp.hasExpired(kLockRestMs) ? 0 : kLockWaitMs;
    if (wait != m_lockWait && q.exec(QString("pragma busy_timeout = %1").arg(wait)))
        m_lockWait = wait;
    // A failed prepare must not reach exec(): its error would read "Parameter count mismatch".
    if (q.prepare(sql)) {
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
    }
    const QSqlError e = q.lastError();
    m_lastError = e.text();
    constexpr int kBusy = 5, kLocked = 6; // SQLITE_BUSY, SQLITE_LOCKED
    const int code = e.nativeErrorCode().toInt() & 0xff; // the primary code of an extended one
    if (code == kBusy || code == kLocked)
        m_lockGaveUp.start();
    return false;
}

int TestResultDb::storedResult(const QString &sn)
{
    QSqlQuery q(db());
    if (!exec(q, QString("select result from %1 where sn = ?").arg(m_table), {sn}))
        return -2;
    if (!q.next())
        return -1;
    return q.value(0).toInt();
}

TestResultDb::SaveOutcome TestResultDb::save(const QString &sn, bool passed)
{
    SaveOutcome out;
    if (!isOpen()) {
        out.error = m_lastError.isEmpty() ? QString("database not open") : m_lastError;
        return out;
    }
    const int before = storedResult(sn);
    if (before == -2) {
        out.error = m_lastError;
        return out;
    }
    QSqlQuery q(db());
    bool done;
    if (before == -1) {
        done = exec(q, QString("insert into %1(sn, result) values(?, ?)").arg(m_table), {sn, passed ? 1 : 0});
    } else {
        if (m_policy == Policy::PassSticks) {
            if (before == 1)
                out.notice = passed ? kPassedBefore_PassNow : kPassedBefore_FailNow;
            else if (before == 0)
                out.notice = passed ? kFailedBefore_PassNow : kFailedBefore_FailNow;
            if (!passed) { // nothing to change: the stored row already says what it should
                out.stored = true;
                return out;
            }
        }
        done = exec(q, QString("update %1 set result = ? where sn = ?").arg(m_table), {passed ? 1 : 0, sn});
    }
    if (!done) {
        out.error = m_lastError;
        return out;
    }
    qDebug() << "保存DB:" << m_table << sn << (passed ? 1 : 0);
    out.stored = true;
    return out;
}

bool TestResultDb::counts(quint32 *total, quint32 *passed)
{
    if (!isOpen()) {
        m_lastError = m_lastError.isEmpty() ? QString("database not open") : m_lastError;
        return false;
    }
    QSqlQuery q(db());
    if (!exec(q, QString("select count(*), coalesce(sum(result = 1), 0) from %1").arg(m_table)) || !q.next())
        return false;
    *total = q.value(0).toUInt();
    *passed = q.value(1).toUInt();
    return true;
}

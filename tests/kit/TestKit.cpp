#include "tests/kit/TestKit.h"

#include <QDir>
#include <QFile>
#include <QMetaMethod>
#include <QProcess>
#include <QThread>

#include <cstdio>

#include <sys/resource.h>
#include <sys/stat.h>

namespace TestKit {

bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

QString workDir()
{
    return QDir::currentPath();
}

QString sourcePath(const QString &relative)
{
    QString root = QString::fromLocal8Bit(qgetenv("TEST_SOURCE_DIR"));
    if (root.isEmpty())
        root = QStringLiteral(".");
    return QDir(root).absoluteFilePath(relative);
}

int runProgram(const QString &program, const QStringList &args, QString *out, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        if (out)
            *out = QString::fromUtf8(p.readAll());
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void oversizedFileRows()
{
    QTest::addColumn<bool>("zeroDevice");
    QTest::newRow("a link to /dev/zero") << true;
    QTest::newRow("64 MB and one byte") << false;
}

bool makeOversizedFile(const QString &path, bool zeroDevice)
{
    if (zeroDevice)
        return QFile::link("/dev/zero", path);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize((qint64(64) << 20) + 1);
}

bool makeFifo(const QString &path)
{
    QFile::remove(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool holdSqliteWriteLock(QProcess *holder, const QString &dbPath)
{
    static const char *const script = "import sqlite3, sys\n"
                                      "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                      "c.execute('begin exclusive')\n"
                                      "print('locked', flush=True)\n"
                                      "sys.stdin.read()\n";
    holder->start(python(), {"-c", script, dbPath});
    return holder->waitForReadyRead(30000) && holder->readAllStandardOutput().trimmed() == "locked";
}

} // namespace TestKit

qint64 TestKit::threadCpuMs(QObject *threadObject)
{
    qint64 ms = -1;
    QMetaObject::invokeMethod(threadObject, [&ms] {
        rusage r{};
        getrusage(RUSAGE_THREAD, &r);
        ms = qint64(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000
             + qint64(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1000;
    }, Qt::BlockingQueuedConnection);
    return ms;
}

namespace TestKit {
int execPart(QObject *test, int argc, char **argv, const char *only, const char *skip)
{
    const QStringList onlyNames = QString::fromLatin1(only).split(',', Qt::SkipEmptyParts);
    const QStringList skipNames = QString::fromLatin1(skip).split(',', Qt::SkipEmptyParts);
    // The test functions as Qt Test finds them: private slots without arguments, less the
    // set-up and clean-up slots and the data functions.
    QStringList all, chosen;
    const QMetaObject *mo = test->metaObject();
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        const QString name = QString::fromLatin1(m.name());
        if (m.methodType() != QMetaMethod::Slot || m.access() != QMetaMethod::Private || m.parameterCount() != 0
            || name.endsWith("_data") || name == "initTestCase" || name == "cleanupTestCase" || name == "init"
            || name == "cleanup")
            continue;
        all << name;
        if ((onlyNames.isEmpty() || onlyNames.contains(name)) && !skipNames.contains(name))
            chosen << name;
    }
    QStringList args;
    bool named = false, listing = false;
    for (int i = 0; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        args << a;
        named = named || (i > 0 && all.contains(a.section(':', 0, 0)));
        listing = listing || a == "-functions";
    }
    if (listing) {
        for (const QString &name : chosen)
            printf("%s()\n", qPrintable(name));
        return 0;
    }
    if (!named)
        args << chosen;
    return QTest::qExec(test, args);
}
} // namespace TestKit

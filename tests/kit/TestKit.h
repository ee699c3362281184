#pragma once
// Helpers shared by the tests.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTest>
#include <QTranslator>

#include <functional>

namespace TestKit {
// Processes events until pred() holds or timeoutMs pass; returns pred().
bool waitUntil(const std::function<bool()> &pred, int timeoutMs = 5000);
// The folder of the test's own files (its working folder, made by CTest).
QString workDir();
// Absolute path of a file under the source tree.
QString sourcePath(const QString &relative);
// Runs a program to its end (bounded); returns its exit code, -1 on time-out; output in *out.
int runProgram(const QString &program, const QStringList &args, QString *out = nullptr,
               int timeoutMs = 60000);
// CPU time (user and system, ms) that the thread of the given object has used so far, read on
// that thread (the object's thread must run an event loop).
qint64 threadCpuMs(QObject *threadObject);
// Rows of a data-driven test, column "zeroDevice": "a link to /dev/zero" (its size reads 0)
// and "64 MB and one byte" (a sparse file, no disk used): more than any file read whole.
void oversizedFileRows();
bool makeOversizedFile(const QString &path, bool zeroDevice);
// A named pipe (FIFO) at path, made with mkfifo; no writer ever opens it, so opening it to
// read would wait for good.
bool makeFifo(const QString &path);
// Starts another program in the middle of a write to the SQLite file at dbPath: it holds the
// file's exclusive lock until its input closes (holder->closeWriteChannel()). True once it has.
bool holdSqliteWriteLock(QProcess *holder, const QString &dbPath);
// Debian's Python interpreter (not whatever python3 comes first on PATH).
inline QString python() { return "/usr/bin/python3"; }

// One of the program's translations from the test's build folder ("/English.qm" or
// "/Chinese.qm"), installed for the life of the object and removed however the test ends.
struct Translation {
    explicit Translation(const char *file)
    {
        installed = translator.load(qEnvironmentVariable("TEST_BINARY_DIR") + file)
            && QCoreApplication::installTranslator(&translator);
    }
    ~Translation()
    {
        if (installed)
            QCoreApplication::removeTranslator(&translator);
    }
    Translation(const Translation &) = delete;
    Translation &operator=(const Translation &) = delete;
    QTranslator translator;
    bool installed = false;
};

// Retires a worker as its owner does (its retire signal, queued into its thread) and waits until
// the worker is released. A null worker counts as released.
template <class W> bool retireWorker(W *worker, int timeoutMs = 5000)
{
    if (!worker)
        return true;
    QPointer<W> p = worker;
    QMetaObject::invokeMethod(worker, "deleteObjAndNewNext", Qt::QueuedConnection);
    return waitUntil([&] { return p.isNull(); }, timeoutMs);
}

// Runs the test object as one of several CTest entries built from the same source. only and
// skip are comma-separated function names: the program runs and lists (-functions) only the
// functions of `only` (every one when empty) less those of `skip`. Functions named on the
// command line run as asked, whatever the lists.
int execPart(QObject *test, int argc, char **argv, const char *only, const char *skip);
} // namespace TestKit

// The compile definitions TEST_PART_ONLY and TEST_PART_SKIP of a program that is one part of a
// test source (see execPart).
#ifndef TEST_PART_ONLY
#define TEST_PART_ONLY ""
#endif
#ifndef TEST_PART_SKIP
#define TEST_PART_SKIP ""
#endif
// QTEST_MAIN (a widget program) for a source split into several CTest entries.
#define TESTKIT_MAIN_PART(TestObject)                                                    \
    int main(int argc, char *argv[])                                                     \
    {                                                                                    \
        QApplication app(argc, argv);                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                         \
        TestObject tc;                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return TestKit::execPart(&tc, argc, argv, TEST_PART_ONLY, TEST_PART_SKIP);       \
    }

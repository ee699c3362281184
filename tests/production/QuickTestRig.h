#pragma once
// A quick-test page against the main link and the module simulator on a pseudo-terminal, with
// a manual clock: the test sends records, advances the clock and calls the tick slot.
#include <QFile>
#include <QPointer>
#include <QTest>

#include <functional>

#include "app/Clock.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "link/LinkFlags.h"
#include "link/WorkerThread.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/TestKit.h"

struct QuickTestRig {
    ManualClock clock;
    ScriptedPrompter prompter;
    RecordingSoundPlayer sounds;
    ModuleSimulator *sim = nullptr;
    WorkerThread *worker = nullptr;
    QObject *counter = nullptr;
    int records = 0;

    bool start()
    {
        registerMetaTypes();
        sounds.played.clear();
        prompter.shown.clear();
        records = 0;
        Clock::install(&clock);
        Prompter::install(&prompter);
        SoundPlayer::install(&sounds);
        counter = new QObject;
        return link();
    }
    // A new module on a new pseudo-terminal behind a new main link, as the main window's
    // connect button makes it; the test wires the page again.
    bool link()
    {
        sim = new ModuleSimulator;
        if (!sim->isValid())
            return false;
        worker = createWorker(sim->portPath(), 115200);
        bool connected = false;
        QObject::connect(worker, &WorkerThread::signal_connectIsSuccess, counter, [&connected](bool ok) { connected = ok; });
        if (!TestKit::waitUntil([&] { return connected; }))
            return false;
        g_link_status[0] = 1;
        return true;
    }
    // The main window's disconnect: the link closes its port and its flag is cleared.
    void closePort()
    {
        QMetaObject::invokeMethod(worker, "closePort", Qt::QueuedConnection);
        g_link_status[0] = 0;
    }
    // The next connect retires the closed link and links a new module.
    bool relink()
    {
        unlink();
        return link();
    }
    void unlink()
    {
        g_link_status[0] = 0;
        QVERIFY(TestKit::retireWorker(worker));
        worker = nullptr;
        delete sim;
        sim = nullptr;
    }
    // Counts records after the page's own connection, so a count means the page saw it.
    template <class Sig> void countAfter(Sig signal)
    {
        QObject::connect(worker, signal, counter, [this] { ++records; });
    }
    // Sends one record and waits until the page has shown it.
    bool sendRecord(uint16_t id, const QByteArray &payload)
    {
        const int before = records;
        sim->sendFrame(id, payload);
        return TestKit::waitUntil([&] { return records > before; }, 3000);
    }
    int commandCount(uint16_t id) const
    {
        int n = 0;
        for (const auto &c : sim->commands())
            n += c.cmd.cmd_id == id ? 1 : 0;
        return n;
    }
    void stop()
    {
        unlink();
        delete counter;
        Clock::install(nullptr);
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }
};

// Runs the sqlite3 tool on a database file and returns its output lines.
inline QStringList sqliteLines(const QString &db, const QString &sql)
{
    QString out;
    TestKit::runProgram("sqlite3", {db, sql}, &out, 20000);
    return out.split('\n', Qt::SkipEmptyParts);
}

inline QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

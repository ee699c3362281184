// Soak benchmark of the calibration console: sixteen simulated base boards on pseudo-terminals
// stream calibration messages at the pace of a 921600-baud line into the console for a while
// (plate 1 through the main link, plates 2 to 16 through the rack links). Prints per plate the
// frames sent and the frames the console took into its tables, the longest time the GUI thread
// was busy at once, and the process's CPU time.
//   soak_console [seconds=60] [period_ms=100] [log_lines_per_s=0]
// With log_lines_per_s above 0 the log window is shown, and each plate's link thread also
// reports that many diagnostic lines a second to the console, which forwards them to the
// window; the run then also tells whether the window shows every line it keeps, and how long
// the last line took to show after the flood stopped.
// The simulators run in a child process (this program started with --feed), so the figures
// are the console's alone.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableWidget>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_Multi.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/WorkerThread.h"
#include "sim/ModuleSimulator.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "ui_MultiCalib.h"

namespace {
constexpr int kBoards = 16;

// Runs the event loop (sleeping while idle) until pred() holds or ms pass.
void runUntil(const std::function<bool()> &pred, int ms)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (pred())
            loop.quit();
    });
    check.start(20);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!pred())
        loop.exec();
}

// CPU time of the calling thread, microseconds.
qint64 threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Child: sixteen boards. Prints their paths, streams after "go" on stdin for the given time,
// then prints "sent <board> <frames> <last stamp>" per board.
int feed(int seconds, int periodMs)
{
    std::vector<std::unique_ptr<ModuleSimulator>> sims;
    std::vector<uint32_t> sent(kBoards, 0);
    for (int b = 0; b < kBoards; ++b) {
        sims.push_back(std::make_unique<ModuleSimulator>());
        if (!sims.back()->isValid())
            return 1;
        std::printf("%s\n", sims.back()->portPath().toLocal8Bit().constData());
    }
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    for (int b = 0; b < kBoards; ++b) {
        ModuleSimulator *sim = sims[size_t(b)].get();
        sim->startStreaming(periodMs, [sim, b, &sent] {
            const uint32_t n = ++sent[size_t(b)];
            for (int i = 0; i < 32; ++i) {
                auto &imu = sim->imus[size_t(i)];
                imu.time_ms = n;
                imu.fused[0] = 0.01f * float(i);
                imu.fused[2] = 9.8f;
                imu.fused[6] = 25.0f + 0.01f * float(n % 100);
                imu.calib_flag_h = 3999;
            }
            return sim->currentCalibFrame();
        });
    }
    QTimer::singleShot(seconds * 1000, [&] {
        for (auto &s : sims)
            s->stopStreaming();
        for (int b = 0; b < kBoards; ++b)
            std::printf("sent %d %u\n", b, sent[size_t(b)]);
        std::fflush(stdout);
        QTimer::singleShot(3000, qApp, &QCoreApplication::quit); // let the last bytes drain
    });
    return qApp->exec();
}

// Sixteen threads, one a plate, that report diagnostic lines to the console as the link
// threads do (a queued call on the console's thread) at the given rate for the given time.
class LogFlood {
public:
    LogFlood(MultiCalib *console, int perSecond) : m_console(console), m_perSecond(perSecond) {}
    ~LogFlood()
    {
        for (auto &t : m_threads) {
            t->quit();
            t->wait();
        }
    }
    void start(int seconds)
    {
        m_clock.start();
        for (int p = 0; p < kBoards; ++p) {
            auto thread = std::make_unique<QThread>();
            auto *timer = new QTimer;
            timer->setTimerType(Qt::PreciseTimer);
            timer->moveToThread(thread.get());
            QObject::connect(thread.get(), &QThread::finished, timer, &QObject::deleteLater);
            const int perTick = std::max(1, m_perSecond / 100);
            const int lines = m_perSecond * seconds;
            // Each thread keeps its own pace and count, however busy the console's thread is.
            QObject::connect(timer, &QTimer::timeout, timer, [this, timer, p, perTick, lines] {
                for (int k = 0; k < perTick && m_sent[p] < lines; ++k) {
                    const QString line = QString("Plate %1: diagnostic line %2").arg(p + 1).arg(++m_sent[p]);
                    MultiCalib *c = m_console;
                    QMetaObject::invokeMethod(c, [c, line] { c->rev_log_from_worker(5, line); });
                }
                if (m_sent[p] >= lines) {
                    timer->stop();
                    m_lastSentMs = std::max<qint64>(m_lastSentMs, m_clock.elapsed());
                    ++m_done;
                }
            });
            thread->start();
            QMetaObject::invokeMethod(timer, [timer, perTick, this] { timer->start(std::max(1, 1000 * perTick / m_perSecond)); });
            m_threads.push_back(std::move(thread));
        }
    }
    bool stopped() const { return m_done == kBoards; }
    // Seconds since the last line was sent.
    double sinceLastLine() const { return double(m_clock.elapsed() - m_lastSentMs) / 1000.0; }
    int sent(int p) const { return m_sent[p]; }
    int total() const
    {
        int n = 0;
        for (int p = 0; p < kBoards; ++p)
            n += m_sent[p];
        return n;
    }
    // True once the window shows each plate's last line.
    bool shownAll(FrmShowLog *w) const
    {
        const QString text = w->text();
        for (int p = 0; p < kBoards; ++p)
            if (!text.endsWith(lastLine(p)) && !text.contains(lastLine(p) + "\n"))
                return false;
        return true;
    }
    QString lastLine(int p) const { return QString("Plate %1: diagnostic line %2").arg(p + 1).arg(m_sent[p]); }
    // The flood's lines in the window run without a gap up to each plate's last line.
    bool nothingMissing(FrmShowLog *w) const
    {
        std::vector<int> next(kBoards, 0);
        for (const QString &l : w->text().split('\n')) {
            const int at = l.indexOf("Plate ");
            if (at < 0 || !l.contains(": diagnostic line "))
                continue;
            const QStringList f = l.mid(at + 6).split(": diagnostic line ");
            const int p = f[0].toInt() - 1, n = f[1].toInt();
            if (next[size_t(p)] != 0 && n != next[size_t(p)])
                return false;
            next[size_t(p)] = n + 1;
        }
        for (int p = 0; p < kBoards; ++p)
            if (next[size_t(p)] != m_sent[p] + 1)
                return false;
        return true;
    }
private:
    MultiCalib *m_console;
    int m_perSecond;
    std::vector<std::unique_ptr<QThread>> m_threads;
    std::atomic<int> m_sent[kBoards] = {};
    QElapsedTimer m_clock;
    std::atomic<qint64> m_lastSentMs{0};
    std::atomic<int> m_done{0};
};
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--feed") {
        QCoreApplication app(argc, argv);
        return feed(argc > 2 ? atoi(argv[2]) : 60, argc > 3 ? atoi(argv[3]) : 100);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KELVANTO_CONFIG_DIR"))
        qputenv("KELVANTO_CONFIG_DIR", "/tmp/soak_console/Config");
    QApplication app(argc, argv);
    registerMetaTypes();
    ScriptedPrompter prompter; // no box may wait for a person
    Prompter::install(&prompter);
    const int seconds = argc > 1 ? atoi(argv[1]) : 60;
    const int periodMs = argc > 2 ? atoi(argv[2]) : 100;
    const int logPerSecond = argc > 3 ? atoi(argv[3]) : 0;

    QProcess feeder;
    feeder.start(QCoreApplication::applicationFilePath(),
                 {"--feed", QString::number(seconds), QString::number(periodMs)});
    QStringList paths;
    while (paths.size() < kBoards && feeder.waitForReadyRead(10000))
        while (feeder.canReadLine() && paths.size() < kBoards)
            paths << QString::fromLocal8Bit(feeder.readLine()).trimmed();
    if (paths.size() < kBoards) {
        std::fprintf(stderr, "the simulators did not start\n");
        return 1;
    }
    qputenv("KELVANTO_EXTRA_PORTS", paths.join(':').toLocal8Bit());

    g_port_name = paths[0];
    g_baud_rate = 921600;
    MultiCalib console;
    console.resize(1400, 900);
    console.show();

    // Plate 1: the main link, wired as the main window wires it on the console page.
    WorkerThread *mainLink = createWorker(paths[0], g_baud_rate);
    QObject::connect(mainLink, &WorkerThread::signal_send_735e_calib, &console, &MultiCalib::display_calib_multi);
    QObject::connect(mainLink, &WorkerThread::signal_connectIsSuccess, [](bool ok) { g_link_status[0] = ok ? 1 : 0; });
    for (int b = 1; b < kBoards; ++b) {
        QComboBox *c = console.findChild<QComboBox *>(QString("comboBox_calib_multi_serial%1").arg(b + 1));
        c->setCurrentIndex(c->findText(paths[b] + " # simulated"));
    }
    console.connect_serial_port(1);
    runUntil([] { return std::count(g_link_status.begin(), g_link_status.end(), 1) == kBoards; }, 10000);
    if (std::count(g_link_status.begin(), g_link_status.end(), 1) < kBoards) {
        std::fprintf(stderr, "not every plate linked\n");
        return 1;
    }
    // A plate page below and the live plots above, as an operator watches a run.
    console.form()->tabWidget_bottom->setCurrentIndex(2);
    g_open_imu_plot = 1;
    console.display_calib_multi(); // puts the IMU page in place
    console.form()->tabWidget_top->setCurrentWidget(console.form()->tab_imu);

    // Longest time the GUI thread did not get to a 5 ms timer (wall clock, so it includes
    // time the system gave to other processes), and the most CPU time the GUI thread used
    // between two beats (its own work alone).
    QElapsedTimer beat;
    qint64 lastBeat = 0, longestGap = 0, lastCpu = threadCpuUs(), longestCpu = 0;
    double longestAt = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = beat.nsecsElapsed() / 1000;
        const qint64 cpuNow = threadCpuUs();
        longestGap = std::max(longestGap, now - lastBeat);
        if (cpuNow - lastCpu > longestCpu) {
            longestCpu = cpuNow - lastCpu;
            longestAt = double(now) / 1e6;
        }
        lastBeat = now;
        lastCpu = cpuNow;
    });

    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    beat.start();
    heartbeat.start(5);
    feeder.write("go\n");
    LogFlood flood(&console, logPerSecond);
    if (logPerSecond > 0) {
        console.logWindow()->show();
        flood.start(seconds);
    }

    std::vector<uint32_t> sent(kBoards, 0);
    int reported = 0;
    QObject::connect(&feeder, &QProcess::readyReadStandardOutput, [&] {
        while (feeder.canReadLine()) {
            const QStringList f = QString::fromLocal8Bit(feeder.readLine()).split(' ');
            if (f.size() == 3 && f[0] == "sent") {
                sent[size_t(f[1].toInt())] = f[2].trimmed().toUInt();
                ++reported;
            }
        }
    });
    runUntil([&] { return reported == kBoards; }, (seconds + 20) * 1000);
    double drainS = 0;
    if (logPerSecond > 0) {
        runUntil([&] { return flood.stopped() && flood.shownAll(console.logWindow()); }, 600000);
        drainS = flood.sinceLastLine();
    }
    // Let the last frames arrive and the 1 s refresh take them into the tables.
    runUntil([] { return false; }, 3000);
    heartbeat.stop();
    const double cpu = cpuSeconds() - cpu0;
    const double elapsed = double(wall.elapsed()) / 1000.0;

    std::printf("plate  sent  received  shown  last-stamp-shown\n");
    bool lossless = true;
    for (int p = 0; p < kBoards; ++p) {
        const uint64_t received = g_calib_status.generation(p);
        const uint64_t shown = console.shownGeneration(p);
        QTableWidgetItem *stamp = console.plateTable(p)->item(13, 1);
        std::printf("%5d %5u %9llu %6llu %17s\n", p + 1, sent[size_t(p)], (unsigned long long)received,
                    (unsigned long long)shown, stamp ? stamp->text().toLocal8Bit().constData() : "-");
        lossless = lossless && shown == sent[size_t(p)] && stamp && stamp->text().toUInt() == sent[size_t(p)];
    }
    if (logPerSecond > 0) {
        FrmShowLog *w = console.logWindow();
        const bool logWhole = flood.nothingMissing(w)
            && (flood.total() < FrmShowLog::kDefaultMaxLines || w->lineCount() == FrmShowLog::kDefaultMaxLines);
        std::printf("log window shown: %d lines from %d plates, the window holds %d, the newest without a gap: %s; "
                    "the last line showed %.2f s after it was sent\n",
                    flood.total(), kBoards, w->lineCount(), logWhole ? "yes" : "NO", drainS);
        lossless = lossless && logWhole;
    }
    std::printf("nothing lost: %s\n", lossless ? "yes" : "NO");
    std::printf("longest GUI-thread busy time: %.1f ms of its own CPU, %.1f s into the run (goal < 50 ms); "
                "longest wait for a 5 ms beat: %.1f ms\n", double(longestCpu) / 1000.0, longestAt, double(longestGap) / 1000.0 - 5.0);
    std::printf("CPU time: %.2f s over %.1f s = %.2f cores (goal < 0.5)\n", cpu, elapsed, cpu / elapsed);

    console.connect_serial_port(0);
    feeder.waitForFinished(5000);
    std::fflush(stdout);
    std::_Exit(lossless ? 0 : 2); // the link threads end with the process
}

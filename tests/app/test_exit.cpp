// The real program under a virtual display: with the main link and a rack plate linked on the
// console page and the log window, the command page, the settings and the work-order window open, a close that the
// operator confirms ends the process, with status 0, within five seconds.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "sim/ModuleSimulator.h"
#include "tests/equipment/ModbusPeer.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

class TestExit : public QObject {
    Q_OBJECT
    static QString program() { return qEnvironmentVariable("TEST_BINARY_DIR") + "/imu_tool"; }

private:
    // Starts the program on a config folder with these port settings and the exit seam; the
    // program runs under a virtual display when there is one.
    void startProgram(QProcess &proc, const QString &configName, const QMap<QString, QString> &ports,
                      const QMap<QString, QString> &extraEnv)
    {
        const QString program = TestExit::program();
        QVERIFY2(QFileInfo::exists(program), qPrintable(program));
        const QString config = TestKit::workDir() + "/" + configName;
        QDir(config).removeRecursively();
        QVERIFY(QDir().mkpath(config));
        {
            QSettings ini(config + "/KelvantoConfig.ini", QSettings::IniFormat);
            for (auto it = ports.begin(); it != ports.end(); ++it)
                ini.setValue(it.key(), it.value());
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KELVANTO_TEST_EXIT", "1");
        env.insert("KELVANTO_CONFIG_DIR", config);
        for (auto it = extraEnv.begin(); it != extraEnv.end(); ++it)
            env.insert(it.key(), it.value());
        proc.setWorkingDirectory(TestKit::workDir());
        const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
        if (!xvfb.isEmpty()) {
            env.remove("QT_QPA_PLATFORM"); // a real (virtual) X display
            proc.setProcessEnvironment(env);
            proc.start(xvfb, {"-a", program});
        } else {
            proc.setProcessEnvironment(env);
            proc.start(program, {});
        }
        QVERIFY(proc.waitForStarted(10000));
    }

    // Its standard error up to the seam's close (or the program's end).
    static QByteArray untilClosing(QProcess &proc)
    {
        QByteArray err;
        waitUntil([&] {
            err += proc.readAllStandardError();
            return err.contains("exit-test: closing") || proc.state() == QProcess::NotRunning;
        }, 60000);
        return err;
    }

private slots:
    // The forms connect their slots by name: a slot named like a form widget's signal that no
    // widget has is a warning at every start.
    void theProgramStartsWithoutConnectionWarnings()
    {
        QVERIFY2(QFileInfo::exists(program()), qPrintable(program()));
        const QString config = TestKit::workDir() + "/start_config";
        QDir(config).removeRecursively();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KELVANTO_TEST_EXIT", "1");
        env.insert("KELVANTO_CONFIG_DIR", config);
        QProcess proc;
        proc.setProcessEnvironment(env);
        proc.setWorkingDirectory(TestKit::workDir());
        proc.start(program(), {});
        QVERIFY(proc.waitForStarted(10000));
        QVERIFY(waitUntil([&] { return proc.state() == QProcess::NotRunning; }, 60000));
        const QByteArray err = proc.readAllStandardError();
        QVERIFY2(err.contains("exit-test: closing"), err.constData());
        QVERIFY2(!err.contains("connectSlotsByName"), err.constData());
        QVERIFY2(!err.contains("QObject::connect"), err.constData());
    }

    void aConfirmedCloseWithTheConsoleWindowsOpenEndsTheProcess()
    {
        ModuleSimulator sim, plate2;
        QVERIFY(sim.isValid() && plate2.isValid());
        // Plate 2 of the rack on its own board: the console links it with the main link.
        QProcess proc;
        startProgram(proc, "exit_config", {{"serial_port_index/serial_multi0", plate2.portPath() + " # simulated"}},
                     {{"KELVANTO_TEST_EXIT_PORT", sim.portPath()},
                      {"KELVANTO_EXTRA_PORTS", sim.portPath() + ":" + plate2.portPath()}});
        if (QTest::currentTestFailed())
            return;
        // The program opens its windows, links, and then closes (a test seam drives it).
        QByteArray err = untilClosing(proc);
        QElapsedTimer sinceClose;
        sinceClose.start();
        QVERIFY2(err.contains("exit-test: closing"), err.constData());
        QVERIFY2(err.contains("windows open, link 1, plate 2 link 1"), err.constData());
        // Main window, log window, command page, settings and work order.
        const QRegularExpressionMatch open = QRegularExpression("exit-test: (\\d+) windows open").match(QString(err));
        QVERIFY(open.hasMatch());
        QVERIFY2(open.captured(1).toInt() >= 5, err.constData());

        QVERIFY(waitUntil([&] { return proc.state() == QProcess::NotRunning; }, 5000));
        const qint64 took = sinceClose.elapsed();
        err += proc.readAllStandardError();
        QVERIFY2(err.contains("Please confirm if the upper computer has been turned off"), err.constData());
        QCOMPARE(proc.exitStatus(), QProcess::NormalExit);
        QCOMPARE(proc.exitCode(), 0);
        QVERIFY2(took < 5000, qPrintable(QString("took %1 ms").arg(took)));
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(3000);
        }
    }

    void aConfirmedCloseInTheMiddleOfARunStopsItAndTheChamberFirst()
    {
        ModuleSimulator sim, plate2;
        WireTap chamberLine, dcLine;
        QVERIFY(sim.isValid() && plate2.isValid() && chamberLine.isValid() && dcLine.isValid());
        ModbusPeer chamber({"--rtu", chamberLine.peerPath(), "--slave", "1", "--set", "0x0744=250", "--follow", "0x074E:0x0744"},
                           "exit_chamber_writes.txt");
        ModbusPeer supply({"--rtu", dcLine.peerPath(), "--slave", "17", "--set", "0=32767", "--set", "1=16383"},
                          "exit_dc_writes.txt");
        QVERIFY(chamber.waitReady() && supply.waitReady());
        QProcess proc;
        startProgram(proc, "exit_run_config",
                     {{"serial_port_index/serial_multi0", plate2.portPath() + " # simulated"},
                      {"serial_port_index/serial_hot_house", chamberLine.workerPath() + " # simulated"},
                      {"serial_port_index/serial_dc_power", dcLine.workerPath() + " # simulated"},
                      {"main_index/DC_Max_VOLTAGE_NOW", "12"},
                      {"main_index/DC_Max_CURRENT_NOW", "2"},
                      {"main_index/DC_type", "1"}},
                     {{"KELVANTO_TEST_EXIT_PORT", sim.portPath()},
                      {"KELVANTO_TEST_EXIT_RUN", "1"},
                      {"KELVANTO_EXTRA_PORTS", QStringList{sim.portPath(), plate2.portPath(), chamberLine.workerPath(),
                                                           dcLine.workerPath()}.join(":")}});
        if (QTest::currentTestFailed())
            return;
        QByteArray err = untilClosing(proc);
        QVERIFY2(err.contains("exit-test: closing"), err.constData());
        QVERIFY2(err.contains("exit-test: run 2"), err.constData()); // the temperature retest runs
        QVERIFY(waitUntil([&] { return proc.state() == QProcess::NotRunning; }, 8000));
        err += proc.readAllStandardError();
        // The exit box named the run, in Chinese as the program started without English.qm shows
        // it; the chamber was told to stop after its start, before the end.
        const QString said = QString::fromUtf8(err);
        QVERIFY2(said.contains(QString::fromUtf8("温度复测脚本正在运行：关闭程序将停止运行")), err.constData());
        QVERIFY2(said.contains(QString::fromUtf8("温度复测脚本已停止：程序已关闭")), err.constData());
        const QStringList writes = chamber.writes();
        QVERIFY2(writes.contains("co 1200 1") && writes.lastIndexOf("co 1200 0") > writes.indexOf("co 1200 1"),
                 qPrintable(writes.join("; ")));
        QCOMPARE(proc.exitCode(), 0);
    }
};

QTEST_MAIN(TestExit)
#include "test_exit.moc"

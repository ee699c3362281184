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
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

class TestExit : public QObject {
    Q_OBJECT
    static QString program() { return qEnvironmentVariable("TEST_BINARY_DIR") + "/imu_tool"; }

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
        const QString program = TestExit::program();
        QVERIFY2(QFileInfo::exists(program), qPrintable(program));
        ModuleSimulator sim, plate2;
        QVERIFY(sim.isValid() && plate2.isValid());
        // Plate 2 of the rack on its own board: the console links it with the main link.
        const QString config = TestKit::workDir() + "/exit_config";
        QDir(config).removeRecursively();
        QVERIFY(QDir().mkpath(config));
        {
            QSettings ini(config + "/KelvantoConfig.ini", QSettings::IniFormat);
            ini.setValue("serial_port_index/serial_multi0", plate2.portPath() + " # simulated");
        }

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KELVANTO_TEST_EXIT", "1");
        env.insert("KELVANTO_TEST_EXIT_PORT", sim.portPath());
        env.insert("KELVANTO_EXTRA_PORTS", sim.portPath() + ":" + plate2.portPath());
        env.insert("KELVANTO_CONFIG_DIR", config);
        QProcess proc;
        proc.setProcessEnvironment(env);
        proc.setWorkingDirectory(TestKit::workDir());
        const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
        if (!xvfb.isEmpty()) {
            env.remove("QT_QPA_PLATFORM"); // a real (virtual) X display
            proc.setProcessEnvironment(env);
            proc.start(xvfb, {"-a", program});
        } else {
            proc.start(program, {});
        }
        QVERIFY(proc.waitForStarted(10000));

        // The program opens its windows, links, and then closes (a test seam drives it).
        QByteArray err;
        QVERIFY(waitUntil([&] {
            err += proc.readAllStandardError();
            return err.contains("exit-test: closing") || proc.state() == QProcess::NotRunning;
        }, 60000));
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
};

QTEST_MAIN(TestExit)
#include "test_exit.moc"

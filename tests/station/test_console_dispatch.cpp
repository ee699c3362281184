// The report dispatcher's display codes and command broadcasts, one table: each report goes to
// the command page first, then fills its widget or reaches a simulated base board on plate 2 as
// the command of its code, and nothing else goes out.
#include <algorithm>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "station/ConsoleLogic.h"
#include "ConsoleSeams.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;

namespace {
// A widget's text: a label's, or an edit's plain text.
QString textOf(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *e = qobject_cast<QTextEdit *>(w))
        return e->toPlainText();
    return QString();
}

// The broadcast that ends every row. A link sends each command ten times.
constexpr uint8_t kSentinelCode = 47;
constexpr uint16_t kSentinelCommand = 56007;
constexpr uint8_t kOtherSentinelCode = 50; // ends the row of code 47 itself
constexpr uint16_t kOtherSentinelCommand = 56010;
constexpr int kSends = 10;
} // namespace

class TestConsoleDispatch : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    MultiCalib *console = nullptr;
    QList<uint16_t> received; // the command ids plate 2 received in this row, in order

private slots:
    void initTestCase()
    {
        sim = new ModuleSimulator;
        QVERIFY(sim->isValid());
        connect(sim, &ModuleSimulator::commandReceived, this, [this](uint16_t id) { received << id; });
        qputenv("KELVANTO_EXTRA_PORTS", sim->portPath().toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        console = new MultiCalib;
        QVERIFY(pickSimulatedPort(console->form()->comboBox_calib_multi_serial2, sim->portPath()));
        console->connect_serial_port(1);
        QVERIFY(console->rackWorker(0));
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }, 15000));
        setRepeatSpacing(console->rackWorker(0), 10, 20);
    }
    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete sim;
    }

    void eachCodeDoesItsOneThing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        // A display code: the widgets and the text they show ("@" stands for the time stamp
        // "yyyy-MM-dd hh:mm:ss "); a broadcast code: the command id the plate receives.
        QTest::addColumn<QStringList>("widgets");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("command");

        const QString turntableStatus[] = {"textEdit_turn_table_status_auto", "textEdit_turn_table_status_advanced"};
        QTest::newRow("38 advanced status line") << 38 << "stage 38" << QStringList{turntableStatus[1]} << "@stage 38" << 0;
        QTest::newRow("39 chamber run end") << 39 << "end" << QStringList{turntableStatus[1]}
                                            << "Cool to room temperature, end after 30 minutes" << 0;
        QTest::newRow("75 both status texts replaced") << 75 << "stage 75"
                                                       << QStringList{turntableStatus[0], turntableStatus[1]} << "@stage 75" << 0;
        QTest::newRow("79 run time") << 79 << "79 s" << QStringList{"label_turn_table_current_run_time"} << "79 s" << 0;
        QTest::newRow("80 time left") << 80 << "80 s" << QStringList{"label_turn_table_left_run_time"} << "80 s" << 0;
        QTest::newRow("81 current time") << 81 << "81 s" << QStringList{"label_turn_table_current_time_auto"} << "81 s" << 0;
        QTest::newRow("83 run time") << 83 << "83 s" << QStringList{"label_turn_table_current_run_time"} << "83 s" << 0;
        QTest::newRow("102 chamber set point") << 102 << "-40.5"
                                               << QStringList{"textEdit_hothouse_set_temperature_by_user_manual"} << "-40.5" << 0;
        const QList<QPair<int, int>> broadcasts = {{47, 56007}, {48, 51000}, {49, 52000}, {50, 56010}, {51, 56013},
                                                   {65, 58004}, {66, 58007}, {67, 58010}, {68, 58013}};
        for (const auto &b : broadcasts)
            QTest::addRow("%d broadcasts %d", b.first, b.second) << b.first << QString() << QStringList() << QString() << b.second;
    }
    void eachCodeDoesItsOneThing()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(QStringList, widgets);
        QFETCH(QString, shown);
        QFETCH(int, command);

        Ui::MultiCalib *ui = console->form();
        for (QTextEdit *e : {ui->textEdit_turn_table_status_auto, ui->textEdit_turn_table_status_advanced})
            e->setPlainText("before");
        prompter.shown.clear();
        g_expected_calib_flag = 0;
        sim->clearReceived();
        received.clear();
        QSignalSpy forwarded(console, &MultiCalib::signal_log_from_multi_calib);
        QSignalSpy target(console, &MultiCalib::hothouse_set_target_temp);

        console->rev_log_from_worker(uint8_t(code), text);

        QCOMPARE(forwarded.size(), 1);
        QCOMPARE(forwarded[0][0].value<uint8_t>(), uint8_t(code));
        QCOMPARE(forwarded[0][1].toString(), text);
        const QString expected = QString(shown).replace("@", clock.now().toString("yyyy-MM-dd hh:mm:ss "));
        for (const QString &name : widgets) {
            QWidget *w = console->findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(textOf(w).split('\n').last(), expected);
        }
        if (code == 75) // replaced, not appended
            QCOMPARE(ui->textEdit_turn_table_status_auto->toPlainText(), expected);
        if (code == 38) // the advanced status only
            QCOMPARE(ui->textEdit_turn_table_status_auto->toPlainText(), QString("before"));
        if (code == 39) {
            QCOMPARE(target.size(), 1);
            QCOMPARE(target[0][0].toFloat(), 25.0f);
            // The chamber run's end box follows from the event loop.
            QVERIFY(waitUntil([&] { return !prompter.shown.isEmpty(); }));
            QCOMPARE(prompter.shown[0].text,
                     QString("The full temperature calibration retest is completed. Please check if the retest flag is 16383"));
            QCOMPARE(g_expected_calib_flag, 16383u);
            g_expected_calib_flag = 0;
        } else {
            QCOMPARE(target.size(), 0);
        }

        // The report sends its command ten times and nothing else; a broadcast of another
        // command that follows it marks the row's end.
        const bool otherSentinel = command == kSentinelCommand;
        const uint16_t sentinel = otherSentinel ? kOtherSentinelCommand : kSentinelCommand;
        console->rev_log_from_worker(otherSentinel ? kOtherSentinelCode : kSentinelCode, QString());
        QVERIFY(waitUntil([&] { return received.count(sentinel) == kSends && (command == 0 || received.count(uint16_t(command)) == kSends); },
                          15000));
        QCOMPARE(received.size(), command == 0 ? kSends : 2 * kSends);
        if (command == 0)
            return;
        const auto cmds = sim->commands();
        const auto first = std::find_if(cmds.begin(), cmds.end(), [&](const ModuleSimulator::ReceivedCommand &r) {
            return r.cmd.cmd_id == uint16_t(command);
        });
        QVERIFY(first != cmds.end());
        const LongCommand c = first->cmd;
        QCOMPARE(c.cm1, 0.0f);
        QCOMPARE(c.cm2, 0.0f);
        QCOMPARE(c.cm3, 0u);
        QCOMPARE(c.cm4, 0u);
        QCOMPARE(c.cm5, 0);
        QCOMPARE(c.cm6, 0);
    }
};

QTEST_MAIN(TestConsoleDispatch)
#include "test_console_dispatch.moc"

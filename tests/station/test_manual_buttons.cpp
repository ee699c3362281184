// The manual buttons of the turntable and chamber pages with their link closed: each one tells
// the operator which link to open and sends nothing, neither to the worker nor on the wire.
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "equipment/WorkerThread_hothouse.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/LinkFlags.h"
#include "sim/TurntableSim.h"
#include "station/MultiCalib.h"
#include "tests/equipment/WireTap.h"
#include "tests/kit/TestKit.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;

class TestManualButtons : public QObject {
    Q_OBJECT
private:
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    TurntableSim *table = nullptr;
    WireTap *chamberLine = nullptr;
    MultiCalib *console = nullptr;
    Ui::MultiCalib *ui = nullptr;
    QList<QSignalSpy *> spies;

    QList<QPushButton *> turntableButtons() const
    {
        return {ui->pushButton_neihuan_control_manual,      ui->pushButton_waihuan_control_manual,
                ui->pushButton_neihuan_control_stop_manual, ui->pushButton_waihuan_control_stop_manual,
                ui->pushButton_neihuan_enable_advanced,     ui->pushButton_waihuan_enable_advanced,
                ui->pushButton_neihuan_unEnable_advanced,   ui->pushButton_waihuan_unEnable_advanced};
    }
    QList<QPushButton *> chamberButtons() const
    {
        return {ui->pushButton_hothouse_cmd_start_manual,          ui->pushButton_hothouse_cmd_stop_manual,
                ui->pushButton_hothouse_cmd_stop,                  ui->pushButton_hothouse_cmd_set_target_temp_manual,
                ui->pushButton_hothouse_cmd_read_target_temp_manual, ui->pushButton_hothouse_cmd_set_slope_manual,
                ui->pushButton_hothouse_cmd_read_slope_manual};
    }
    // Every console signal that carries a turntable or chamber command to its worker.
    void spyOnCommands()
    {
        qDeleteAll(spies);
        spies = {new QSignalSpy(console, &MultiCalib::signal_send_turn_table_cmd_general),
                 new QSignalSpy(console, &MultiCalib::signal_common_cmd),
                 new QSignalSpy(console, &MultiCalib::hothouse_generate_start_stop_cmd),
                 new QSignalSpy(console, &MultiCalib::hothouse_set_target_temp),
                 new QSignalSpy(console, &MultiCalib::hothouse_read_target_temp),
                 new QSignalSpy(console, &MultiCalib::hothouse_cmd_set_slope),
                 new QSignalSpy(console, &MultiCalib::hothouse_cmd_read_slope)};
    }
    int commandsEmitted() const
    {
        int n = 0;
        for (QSignalSpy *s : spies)
            n += s->size();
        return n;
    }
    static void select(QComboBox *c, const QString &path)
    {
        c->setCurrentIndex(c->findText(path + " # simulated"));
        QVERIFY(c->currentIndex() > 0);
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        SoundPlayer::install(&sound);
        table = new TurntableSim;
        chamberLine = new WireTap;
        QVERIFY(table->isValid() && chamberLine->isValid());
        qputenv("KELVANTO_EXTRA_PORTS", (table->portPath() + ":" + chamberLine->workerPath()).toLocal8Bit());
        getSettings()->setValue("turnTableType/type", 0);
        getSettings()->sync();
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 115200;
        console = new MultiCalib;
        ui = console->form();
        // Valid entries, so only the closed link can hold a command back.
        ui->neihuan_target_pos_manual->setPlainText("90");
        ui->neihuan_target_vel_manual->setPlainText("30");
        ui->waihuan_target_pos_manual->setPlainText("45");
        ui->waihuan_target_vel_manual->setPlainText("20");
        ui->textEdit_hothouse_set_temperature_by_user_manual->setPlainText("25");
        ui->textEdit_hothouse_temperature_slope_manual->setPlainText("2");
    }

    void cleanupTestCase()
    {
        qDeleteAll(spies);
        console->connect_serial_port(0);
        QVERIFY(TestKit::retireWorker(console->turnTableWorker()));
        QVERIFY(TestKit::retireWorker(console->hothouseWorker()));
        delete console;
        delete table;
        delete chamberLine;
        Prompter::install(nullptr);
        SoundPlayer::install(nullptr);
    }

    void withNothingLinkedEachButtonNamesItsLinkAndSendsNothing()
    {
        QCOMPARE(g_turn_table_connected, uint8_t(0));
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        spyOnCommands();
        for (QPushButton *b : turntableButtons()) {
            prompter.shown.clear();
            b->click();
            QCOMPARE(prompter.texts(), QStringList{"The turntable serial port is not turned on"});
            QCOMPARE(prompter.shown[0].title, QString("Warning"));
        }
        for (QPushButton *b : chamberButtons()) {
            prompter.shown.clear();
            b->click();
            QCOMPARE(prompter.texts(), QStringList{"The incubator serial port is not turned on"});
            QCOMPARE(prompter.shown[0].title, QString("Warning"));
        }
        QCOMPARE(commandsEmitted(), 0);
        // The entries the operator typed stay as they were.
        QCOMPARE(ui->textEdit_hothouse_set_temperature_by_user_manual->toPlainText(), QString("25"));
        QCOMPARE(ui->textEdit_hothouse_temperature_slope_manual->toPlainText(), QString("2"));
    }

    void withTheLinksOpenTheSameButtonsSend()
    {
        select(ui->comboBox_calib_multi_turn_table, table->portPath());
        select(ui->comboBox_calib_multi_hot_house, chamberLine->workerPath());
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QVERIFY(waitUntil([] { return g_turn_table_connected == 1 && g_hothouse_connected == 1; }));
        spyOnCommands();
        prompter.shown.clear();
        ui->pushButton_neihuan_enable_advanced->click();
        ui->pushButton_neihuan_control_stop_manual->click();
        ui->pushButton_hothouse_cmd_start_manual->click();
        ui->pushButton_hothouse_cmd_read_slope_manual->click();
        QCOMPARE(commandsEmitted(), 4);
        QVERIFY(prompter.texts().filter("not turned on").isEmpty());
        QVERIFY(waitUntil([&] { return table->commands().contains("EN X 1"); }));
    }

    void afterTheLinksClosedEachButtonNamesItsLinkAndNothingReachesTheWire()
    {
        // The links were open; closing them keeps their workers.
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
        QCOMPARE(g_turn_table_connected, uint8_t(0));
        QCOMPARE(g_hothouse_connected, uint8_t(0));
        QVERIFY(console->turnTableWorker() && console->hothouseWorker());
        QTest::qWait(200); // whatever was under way reaches the wire first
        table->clearCommands();
        const QByteArray chamberBefore = chamberLine->sent();
        spyOnCommands();
        QStringList texts;
        for (QPushButton *b : turntableButtons() + chamberButtons()) {
            prompter.shown.clear();
            b->click();
            QCOMPARE(prompter.shown.size(), 1);
            texts << prompter.shown[0].text;
        }
        QCOMPARE(texts.count("The turntable serial port is not turned on"), 8);
        QCOMPARE(texts.count("The incubator serial port is not turned on"), 7);
        QCOMPARE(commandsEmitted(), 0);
        QTest::qWait(300);
        QVERIFY(table->commands().isEmpty());
        QCOMPARE(chamberLine->sent(), chamberBefore);
    }
};

QTEST_MAIN(TestManualButtons)
#include "test_manual_buttons.moc"

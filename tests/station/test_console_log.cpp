// The log window fed by the console itself: real rack and turntable workers on simulated
// devices report their links, a lost device and their lines, a failed upload reports itself,
// every line carries its time stamp, and the window keeps the newest lines only.
#include <QDir>
#include <QPushButton>
#include <QtTest>

#include "ConsoleSeams.h"
#include "UploadServer.h"
#include "app/Settings.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "sim/TurntableSim.h"
#include "station/FrmShowLog.h"
#include "station/UploadOutbox.h"
#include "ui_MultiCalib.h"

using TestKit::waitUntil;

class TestConsoleLog : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    ModuleSimulator *unplugged = nullptr; // a plate whose device goes away
    TurntableSim *table = nullptr;
    MultiCalib *console = nullptr;
    QString missingPort;

    QString logText() const { return console->logWindow()->text(); }
    bool logHas(const QString &line) const { return logText().contains(line); }

private slots:
    void initTestCase()
    {
        getSettings()->setValue("turnTableType/type", "0");
        sim = new ModuleSimulator;
        unplugged = new ModuleSimulator;
        table = new TurntableSim;
        QVERIFY(sim->isValid() && unplugged->isValid() && table->isValid());
        missingPort = TestKit::workDir() + "/no-such-port";
        QFile::remove(missingPort);
        qputenv("KELVANTO_EXTRA_PORTS", QStringList{sim->portPath(), unplugged->portPath(), table->portPath(), missingPort}
                                            .join(':').toLocal8Bit());
        g_port_name = "/dev/ttyMAIN";
        g_baud_rate = 921600;
        getSettings()->setValue("httpAddr/officialAddr", defaultServiceAddress(true));
        QDir(uploadOutboxFolder()).removeRecursively();
        console = new MultiCalib;
    }
    void cleanupTestCase()
    {
        QVERIFY(retireConsoleLinks(console));
        delete console;
        delete sim;
        delete unplugged;
        delete table;
    }

    void theServiceAddressIsLoggedAtStart()
    {
        QVERIFY2(logHas("Production-data service: http://127.0.0.1:90, the default: set httpAddr/officialAddr"),
                 qPrintable(logText()));
    }

    void linksOpenedFailedAndClosedAreLogged()
    {
        Ui::MultiCalib *ui = console->form();
        QVERIFY(pickSimulatedPort(ui->comboBox_calib_multi_serial2, sim->portPath()));
        QVERIFY(pickSimulatedPort(ui->comboBox_calib_multi_serial3, missingPort));
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[1] == 1; }));
        QVERIFY(waitUntil([&] { return logHas("Plate 3 link failed to open"); }));
        QVERIFY(logHas("Main link opened: linking the rack"));
        QVERIFY(logHas("Plate 2 link opened"));
        // The worker's own report of why, as it sent it.
        QVERIFY2(logHas("Plate 3: failed to open " + missingPort), qPrintable(logText()));

        console->on_clicked_pushButton_connect_calib_multi_serial(0);
        QVERIFY(logHas("Plate 2 link closed"));
        ui->comboBox_calib_multi_serial3->setCurrentIndex(0);
    }

    void anUnpluggedPlateIsLogged()
    {
        Ui::MultiCalib *ui = console->form();
        QVERIFY(pickSimulatedPort(ui->comboBox_calib_multi_serial4, unplugged->portPath()));
        console->connect_serial_port(1);
        QVERIFY(waitUntil([] { return g_link_status[3] == 1; }));
        QVERIFY(waitUntil([&] { return logHas("Plate 4 link opened"); }));
        unplugged->hangUp();
        QVERIFY(waitUntil([&] { return logHas("Plate 4: link lost"); }, 10000));
        QCOMPARE(g_link_status[3], uint8_t(0));
        ui->comboBox_calib_multi_serial4->setCurrentIndex(0);
    }

    void turntableReportsReachTheWindowWithTheirTimeStamp()
    {
        Ui::MultiCalib *ui = console->form();
        QVERIFY(pickSimulatedPort(ui->comboBox_calib_multi_turn_table, table->portPath()));
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QVERIFY(waitUntil([] { return g_turn_table_connected == 1; }));
        QVERIFY(waitUntil([&] { return logHas("Turntable link opened"); }));
        clock.advance(61000);
        const QString stamp = clock.now().toString("yyyy-MM-dd hh:mm:ss ");
        // The operator enables the inner frame: the worker reports it with code 74.
        ui->pushButton_neihuan_enable_advanced->click();
        QVERIFY(waitUntil([&] { return logHas(stamp + "Inner axis enabled"); }, 10000));
        ui->pushButton_waihuan_unEnable_advanced->click();
        QVERIFY(waitUntil([&] { return logHas("Outer axis disabled"); }, 10000));
        console->on_clicked_pushButton_connect_calib_multi_turn_table();
        QVERIFY(logHas("Turntable link closed"));
    }

    void aFailedUploadAndItsRetryAreLogged()
    {
        UploadServer server(TestKit::workDir() + "/service");
        QVERIFY(server.port() > 0);
        getSettings()->setValue("httpAddr/officialAddr", UploadServer::addressOf(UploadServer::closedPort()));
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        console->exectuePosMethod(2);
        QVERIFY2(logHas("/api/BRAPI/AlanRest failed: ConnectionRefusedError: kept for a later try"), qPrintable(logText()));

        getSettings()->setValue("httpAddr/officialAddr", server.address());
        server.setReply(200, "{\"code\":0,\"msg\":\"stored\"}");
        console->form()->pushButton_resendUploads->click();
        QVERIFY(logHas("Posting again: 1 result waiting to upload"));
        QVERIFY2(logHas("/api/BRAPI/AlanRest: taken, code: 0    msg: stored"), qPrintable(logText()));
        QVERIFY(prompter.shown.isEmpty());
    }

    void closingTheRackIsLogged()
    {
        console->connect_serial_port(0);
        QVERIFY(logHas("Main link closed: every link of the rack closed"));
    }

    void theWindowKeepsTheNewestLinesOnly()
    {
        FrmShowLog *w = console->logWindow();
        w->setMaximumLines(50);
        for (int i = 1; i <= 120; ++i)
            emit console->signalTranspondLog(QString("line %1").arg(i));
        QCOMPARE(w->lineCount(), 50);
        const QStringList lines = w->text().split('\n');
        QVERIFY(lines.first().endsWith("line 71"));
        QVERIFY(lines.last().endsWith("line 120"));
        // Lines that arrive at a full window push out as many of the oldest.
        for (int i = 121; i <= 127; ++i)
            emit console->signalTranspondLog(QString("line %1").arg(i));
        QCOMPARE(w->lineCount(), 50);
        QVERIFY(w->text().section('\n', 0, 0).endsWith("line 78"));
        QVERIFY(w->text().endsWith("line 127"));
        w->setMaximumLines(FrmShowLog::kDefaultMaxLines);
    }

    void markupInALineIsShownAsText()
    {
        emit console->signalTranspondLog("reply <b>busy</b> & <html>");
        QVERIFY(console->logWindow()->text().endsWith("reply <b>busy</b> & <html>"));
    }
};

QTEST_MAIN(TestConsoleLog)
#include "test_console_log.moc"

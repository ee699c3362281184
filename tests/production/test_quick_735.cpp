// The 735 quick test against the main link and a simulated module on a pseudo-terminal.
#include <QDir>
#include <QTableWidgetItem>
#include <QTest>

#include "app/Settings.h"

#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "production/Factory_735_Dlg.h"
#include "tests/production/Module735.h"
#include "tests/production/QuickPageScenarios.h"

class TestQuick735 : public QObject, public QuickPageScenarios {
    Q_OBJECT
private:
    Factory_735_Dlg *page = nullptr;
    Module735 module;

    // One 100 ms step: the module sends (unless silent), then the page ticks.
    void moduleStep() override
    {
        const QByteArray record = module.step();
        if (!record.isEmpty())
            QVERIFY(rig.sendRecord(DeviceMsgId::Test735, record));
    }
    void step()
    {
        moduleStep();
        tick();
    }
    void runSteps(int n) override
    {
        for (int i = 0; i < n && !QTest::currentTestFailed(); ++i)
            step();
    }
    QString dbPath() const { return QDir::current().absoluteFilePath("imu1123.db"); }
    void wirePage() override
    {
        QObject::connect(rig.worker, &WorkerThread::signal_send_735e_test, page, &Factory_735_Dlg::display_735e_test);
        QObject::connect(page, &Factory_735_Dlg::Send_CMD_LONG_SIGNAL, rig.worker, &WorkerThread::Send_CMD_LONG);
        rig.countAfter(&WorkerThread::signal_send_735e_test);
        rig.sim->onCommand = [this](const LongCommand &c) { return module.obey(c); };
    }
    void newPage() override
    {
        delete page;
        page = new Factory_735_Dlg;
        page->tickTimer().stop();
        wirePage();
        page->setOperatorName("Lin");
    }
    void tick() override
    {
        rig.clock.advance(100);
        page->_ackTimeout_735e();
    }

    Names names() const override { return {"imu1123", "log_735_test", 103, "112233|1", "442233|1"}; }
    void useSecondModule() override
    {
        module = Module735();
        module.sn[0] = 44;
    }
    void sendRecord() override { QVERIFY(rig.sendRecord(DeviceMsgId::Test735, module.payload())); }
    QString statusText() const override { return page->statusText(); }
    QString statusStyle() const override { return page->statusStyle(); }
    QString resultLogPath() const override { return page->resultLog().currentPath(); }
    QWidget *pageWidget() const override { return page; }
    QTimer &tickTimer() const override { return page->tickTimer(); }

private slots:
    void init()
    {
        QDir("imu1123.db").removeRecursively();
        QFile::remove("imu1123.db");
        QDir(logRoot()).removeRecursively();
        QVERIFY(rig.start());
        module = Module735();
        page = nullptr;
        newPage();
        // The first tick before any record: the page waits for a module.
        page->_ackTimeout_735e();
        QCOMPARE(page->statusText(), QString("No connection, waiting"));
    }
    void cleanup()
    {
        delete page;
        rig.stop();
    }

    void aModuleThatRestartsAfterCommandNinePassesEverywhere()
    {
        runSteps(1); // the first record starts the test
        QCOMPARE(page->statusText(), QString("During testing, please keep it stationary!"));
        QVERIFY(rig.sounds.played.contains(Sounds::Start));
        runSteps(52);
        QVERIFY(TestKit::waitUntil([&] { return module.restarted; }));
        QCOMPARE(rig.commandCount(DeviceCmdId::Restart), 1);
        runSteps(50);
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(page->statusStyle(), QString("background-color: green;color:black"));
        QCOMPARE(page->cell(0, 7)->background().color(), QColor(Qt::green));
        QVERIFY(rig.sounds.played.contains(Sounds::Pass));
        QCOMPARE(page->countText(0), QString("1"));
        QCOMPARE(page->countText(1), QString("1"));
        QCOMPARE(page->countText(2), QString("0"));
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu1123"), QStringList{"112233|1"});
        QCOMPARE(sqliteLines(dbPath(), "pragma table_info(imu1123)"),
                 (QStringList{"0|sn|TEXT|0||1", "1|result|INTEGER|0||0"}));
        const QStringList lines = fileLines(page->resultLog().currentPath());
        QCOMPARE(lines.size(), 1);
        const QStringList f = lines[0].split(',');
        QCOMPARE(f.size(), 45);
        QCOMPARE(f[0], QString("1"));
        QCOMPARE(f[1], QString("112233"));
        QCOMPARE(f[2], QString("0"));   // failed flag
        QCOMPARE(f[4], QString("Lin"));
        QCOMPARE(f[5], QString("211021"));
        QCOMPARE(f[11], QString("168000000"));
        QCOMPARE(f[16], QString("1"));  // seen-flag
        QCOMPARE(f[20], QString("0"));  // restart failed
        QCOMPARE(f[21], QString("0.05"));
        // Every tick asked for the test output mode.
        QVERIFY(TestKit::waitUntil([&] { return rig.commandCount(DeviceCmdId::SetOutputMode) >= 100; }));
        const LongCommand c = rig.sim->commands().first().cmd;
        QCOMPARE(c.cm1, 5.0f);
        QCOMPARE(c.cm3, 0x1234u);
        QCOMPARE(c.cm6, 200);
    }

    void aModuleThatDoesNotRestartFailsEverywhere()
    {
        module.obeysRestart = false;
        runSteps(103);
        QVERIFY(TestKit::waitUntil([&] { return rig.commandCount(DeviceCmdId::Restart) == 1; }));
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(page->statusStyle(), QString("background-color: red;color:black"));
        QCOMPARE(page->cell(0, 7)->background().color(), QColor(Qt::red));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu1123"), QStringList{"112233|0"});
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.value(2), QString("1"));
        QCOMPARE(f.value(20), QString("1"));
        QCOMPARE(page->countText(2), QString("1"));
    }

    void aModuleNeverShowingTheSeenFlagFailsOnScreenInTheDatabaseAndTheLine()
    {
        module.flag145 = 0;
        runSteps(103);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(sqliteLines(dbPath(), "select result from imu1123"), QStringList{"0"});
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.value(2), QString("1"));
        QCOMPARE(f.value(16), QString("0"));
    }

    void silenceBeforeFiveSecondsGivesNoConnectionAndNoVerdict()
    {
        runSteps(20);
        module.silentSteps = 60; // unplugged before the restart
        runSteps(60);
        QCOMPARE(page->statusText(), QString("No connection, waiting"));
        QCOMPARE(page->statusStyle(), QString("background-color: red;color:black"));
        QCOMPARE(rig.commandCount(DeviceCmdId::Restart), 0);
        QVERIFY(!QFile::exists(page->resultLog().currentPath()));
        QCOMPARE(sqliteLines(dbPath(), "select count(*) from imu1123"), QStringList{"0"});
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QVERIFY(!rig.sounds.played.contains(Sounds::Alarm));
    }

    void dataBeforeTheFirstTickStartsATestAtThatTick() { QuickPageScenarios::dataBeforeTheFirstTickStartsATestAtThatTick(); }

    void dataAfterTheFirstTickStartsATestAtTheNextTick() { QuickPageScenarios::dataAfterTheFirstTickStartsATestAtTheNextTick(); }

    void aNewModuleAfterAVerdictAndAReconnectStartsANewTest() { QuickPageScenarios::aNewModuleAfterAVerdictAndAReconnectStartsANewTest(); }

    void closingThePortMidTestStoresNoRowAndNoLine() { QuickPageScenarios::closingThePortMidTestStoresNoRowAndNoLine(); }

    void aResultLineThatCannotBeWrittenShowsAStorageError() { QuickPageScenarios::aResultLineThatCannotBeWrittenShowsAStorageError(); }

    void aPageHiddenMidTestStoresNoWrongVerdict_data()
    {
        QTest::addColumn<bool>("minimised");
        QTest::newRow("page left") << false;
        QTest::newRow("window minimised") << true;
    }
    void aPageHiddenMidTestStoresNoWrongVerdict() { QuickPageScenarios::aPageHiddenMidTestStoresNoWrongVerdict(names().stepsToVerdict); }

    void ticksThatComeLateRestartTheModuleBeforeTheVerdict()
    {
        runSteps(30);
        for (int i = 0; i < 200; ++i) { // the page's ticks stall for 20 s; the module streams on
            moduleStep();
            rig.clock.advance(100);
        }
        runSteps(1);
        QVERIFY(TestKit::waitUntil([&] { return module.restarted; }));
        QCOMPARE(page->statusText(), QString("During testing, please keep it stationary!"));
        runSteps(52);
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu1123"), QStringList{"112233|1"});
    }

    void aStatusByteOffItsValueFailsTheTest()
    {
        module.status86 = 31;
        runSteps(103);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(page->cell(7, 7)->background().color(), QColor(Qt::red));
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu1123"), QStringList{"112233|0"});
    }

    void aSpreadAboveItsLimitFailsOnlyBetweenFourAndFiveSeconds()
    {
        runSteps(30);
        module.spread = 120; // 0.12 > 0.1, before 4 s: not graded
        runSteps(5);
        QVERIFY(page->cell(7, 1)->background().style() == Qt::NoBrush);
        runSteps(10); // 3.5 .. 4.5 s
        QCOMPARE(page->cell(7, 1)->background().color(), QColor(Qt::red));
        QCOMPARE(page->cell(7, 1)->text(), QString("0.12"));
    }

    void aFailedSaveShowsAStorageErrorInsteadOfTestPassed()
    {
        delete page;
        page = nullptr;
        QFile::remove("imu1123.db");
        QDir().mkpath("imu1123.db"); // the database cannot be opened
        newPage();
        QCOMPARE(rig.prompter.texts(), QStringList{"Unable to establish database connection"});
        page->_ackTimeout_735e();
        runSteps(103);
        QVERIFY(module.restarted);
        QVERIFY(page->statusText().startsWith("Storage error, the result was not saved"));
        QCOMPARE(page->statusStyle(), QString("background-color: red;color:black"));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QDir("imu1123.db").removeRecursively();
    }

    void aRecordShorterThanItsLayoutNeverReachesThePage()
    {
        const uint64_t before = g_test_735_record.stamp();
        rig.sim->sendFrame(DeviceMsgId::Test735, module.payload().left(int(kTest735Bytes) - 1));
        QVERIFY(rig.sendRecord(DeviceMsgId::Test735, module.payload()));
        QCOMPARE(rig.records, 1);
        QCOMPARE(g_test_735_record.stamp(), before + 1);
    }

    void withoutANameTheTestWaitsForOne()
    {
        page->setOperatorName("");
        page->_ackTimeout_735e();
        QCOMPARE(page->statusText(), QString("Please enter your name"));
        QCOMPARE(page->statusStyle(), QString("background-color: yellow;color:black"));
        page->setOperatorName("Lin");
        g_link_status[0] = 0;
        page->_ackTimeout_735e();
        QCOMPARE(page->statusText(), QString("Please open the serial port"));
        g_link_status[0] = 1;
    }

    void moreThanFiveSerialFaultsShowTheBoxOnceAndResetTheCount()
    {
        g_serial_fault_count = 6;
        page->_ackTimeout_735e();
        page->_ackTimeout_735e();
        QCOMPARE(rig.prompter.texts(), QStringList{"The serial hardware has been disconnected, please reconnect!"});
        QCOMPARE(g_serial_fault_count.load(), 0u);
    }
};

QTEST_MAIN(TestQuick735)
#include "test_quick_735.moc"

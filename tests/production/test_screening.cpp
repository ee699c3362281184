// The screening page and its run against the main link and a simulated board of 32 modules.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>

#include "app/Settings.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "production/IMU_Screening_Dlg.h"
#include "tests/production/QuickTestRig.h"

namespace {
// A simulated board: 32 sound modules that report the output mode the board was ordered; the
// step command (24903) restarts their counters.
struct Board {
    uint32_t counter = 100;
    uint8_t mode = 0;
    uint8_t gyroNum[32];
    float accNorm = 1.0f;
    bool dead = false; // counters that stay 0: the board never gives a display
    // Places that hold no module: the whole record reads as this byte (0xFF or 0).
    std::map<int, uint8_t> empty;
    std::function<void(int m, uint8_t *record)> tweak; // a fault put into the records
    Board() { std::fill(std::begin(gyroNum), std::end(gyroNum), uint8_t(3)); }

    QByteArray payload() const
    {
        std::array<uint8_t, 8 + kScreeningBytes> p{};
        for (int m = 0; m < 32; ++m) {
            uint8_t *r = p.data() + 8 + m * kScreeningRecordBytes;
            writeLE<uint32_t>(r + 6, dead ? 0 : counter);
            writeLE<uint32_t>(r + 10, 100);
            writeLE<uint32_t>(r + 14, 200);
            writeLE<uint32_t>(r + 18, 5);
            writeLE<uint32_t>(r + 22, 1000u + uint32_t(m));
            writeLE<uint32_t>(r + 26, 2);
            writeLE<uint32_t>(r + 30, 3);
            r[34] = gyroNum[m];
            r[35] = 3;
            r[37] = mode;
            writeLE<uint16_t>(r + 38, 1500);
            writeLE<float>(r + 48, accNorm);
            writeLE<float>(r + 52, -0.01f * float(m % 3));
            for (int i = 0; i < 6; ++i)
                writeLE<float>(r + 64 + 4 * i, i < 3 ? 0.001f : 0.1f);
            r[88] = 1;
            writeLE<uint32_t>(r + 89, 168000000u);
            memcpy(r + 98, "K35A-x", 6);
            if (tweak)
                tweak(m, r);
            if (empty.count(m))
                memset(r, empty.at(m), kScreeningRecordBytes);
        }
        return QByteArray(reinterpret_cast<const char *>(p.data()), int(p.size()));
    }
};

} // namespace

class TestScreening : public QObject {
    Q_OBJECT
private:
    QuickTestRig rig;
    IMU_Screening_Dlg *page = nullptr;
    Board board;
    QStringList statuses;

    QString dbPath() const { return QDir::current().absoluteFilePath("imu_select.db"); }
    QTableWidgetItem *cell(int row, int module) { return page->table()->item(row, module + 1); }
    bool isRed(int row, int module) { return cell(row, module)->background().color() == QColor(Qt::red); }
    QString status() { return page->findChild<QLabel *>("label_imu_screening_status_auto_16")->text(); }

    void tickOnce(bool send = true)
    {
        if (send)
            QVERIFY(rig.sendRecord(DeviceMsgId::Screening, board.payload()));
        rig.clock.advance(1010);
        page->_ackTimeout_imu_screening_16module();
        board.counter += 10;
    }
    void runTicks(int n)
    {
        for (int i = 0; i < n && !QTest::currentTestFailed(); ++i)
            tickOnce();
    }
    // A new page on the screening table, made and then given the statements in sql.
    void newPageOnTable(const QString &sql)
    {
        delete page;
        page = nullptr;
        sqliteLines(dbPath(), "create table if not exists imu_select(sn TEXT primary key,result INTEGER);" + sql);
        newPage();
    }
    static QString passedRows(int n)
    {
        QString sql;
        for (int i = 0; i < n; ++i)
            sql += QString("insert into imu_select values('old%1', 1);").arg(i);
        return sql;
    }
    // A page made now on the main link, with the reference versions of the simulated board.
    void newPage()
    {
        delete page;
        page = new IMU_Screening_Dlg;
        page->tickTimer().stop();
        QObject::connect(rig.worker, &WorkerThread::signal_send_735e_imu_screening, page,
                         &IMU_Screening_Dlg::display_735e_imu_screening);
        // The record count follows the new page's connection, so a counted record is one the
        // page has shown (counted before it, a tick could come between the two).
        QObject::disconnect(rig.worker, &WorkerThread::signal_send_735e_imu_screening, rig.counter, nullptr);
        rig.countAfter(&WorkerThread::signal_send_735e_imu_screening);
        page->findChild<QTextEdit *>("textEdit_tetest_sw_version_compare_16")->setPlainText("100");
        page->findChild<QTextEdit *>("textEdit_tetest_hw_version_compare_16")->setPlainText("200");
        page->findChild<QTextEdit *>("textEdit_tetest_board_version_compare_16")->setPlainText("5");
    }

private slots:
    void init()
    {
        for (const char *key : {"lp_type", "stream_mode", "sys_clk", "max_min_diff"})
            getSettings()->remove(QString("imu_screening/") + key);
        getSettings()->sync();
        QFile::remove("imu_select.db");
        QDir(logRoot()).removeRecursively();
        QVERIFY(rig.start());
        newPage();
        QObject::connect(page, &IMU_Screening_Dlg::Send_CMD_LONG_SIGNAL, rig.worker, &WorkerThread::Send_CMD_LONG);
        board = Board();
        rig.sim->onCommand = [this](const LongCommand &c) {
            if (c.cmd_id == 24903)
                board.counter = 1;
            if (c.cmd_id == DeviceCmdId::SetOutputMode)
                board.mode = uint8_t(c.cm1); // the board obeys the page's output-mode command
            return false;
        };
        // The page's first tick orders the screening mode; the board streams in it from then on.
        page->_ackTimeout_imu_screening_16module();
        QCOMPARE(status(), QString("Waiting for the next test"));
        QVERIFY(TestKit::waitUntil([&] { return board.mode == 91; }));
    }
    QLineEdit *limitEdit(const char *name) { return page->findChild<QLineEdit *>(QString("lineEdit_limit_") + name); }
    void typeLimit(const char *name, const QString &text)
    {
        QLineEdit *e = limitEdit(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    void cleanup()
    {
        delete page;
        page = nullptr;
        rig.stop();
    }

    void aSoundBoardPassesAfterTwentyFiveTicksAndIsStoredAndLogged()
    {
        QCOMPARE(page->table()->rowCount(), 29);
        QCOMPARE(page->table()->columnCount(), 33);
        runTicks(13);
        QCOMPARE(rig.commandCount(24903), 0);
        QCOMPARE(status(), QString("Testing, normal, please remain stationary"));
        QCOMPARE(cell(4, 7)->text(), QString("100723"));
        QCOMPARE(cell(28, 0)->text(), QString("K35A"));
        runTicks(1); // tick 14: the step
        QVERIFY(TestKit::waitUntil([&] { return rig.commandCount(24903) == 3; }));
        QVERIFY(rig.sounds.played.contains(Sounds::Start));
        runTicks(11); // tick 25: the verdict
        QCOMPARE(status(), QString("Test completed, normal"));
        QCOMPARE(page->run().errorCount(), 0u);
        for (int m = 0; m < 32; ++m)
            QCOMPARE(cell(0, m)->background().color(), QColor(Qt::green));
        QVERIFY(rig.sounds.played.contains(Sounds::Pass));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|32"});
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu_select where sn = '100023'"), QStringList{"100023|1"});
        QCOMPARE(sqliteLines(dbPath(), "pragma table_info(imu_select)"),
                 (QStringList{"0|sn|TEXT|0||1", "1|result|INTEGER|0||0"}));
        const QStringList lines = fileLines(page->logPath());
        QVERIFY(page->logPath().contains("IMU_SCREENING_LOG/LOG_"));
        QCOMPARE(lines.size(), 33);
        QVERIFY(lines[0].startsWith("%SN,start_time,software_ver"));
        QCOMPARE(lines[0].split(',').size(), 30);
        const QStringList f = lines[1].split(',');
        QCOMPARE(f.size(), 27);
        QCOMPARE(f[0], QString("100023"));
        QCOMPARE(f[9], QString("1500"));
        QCOMPARE(f[16], QString("1"));
        QCOMPARE(f[17], QString("168000000"));
        QCOMPARE(f[26], QString("0.1"));
        // The wire: the screening requests of every tick.
        QVERIFY(TestKit::waitUntil([&] { return rig.commandCount(24902) >= 25; }));
        QList<LongCommand> modes;
        for (const auto &c : rig.sim->commands())
            if (c.cmd.cmd_id == DeviceCmdId::SetOutputMode)
                modes << c.cmd;
        QCOMPARE(modes.value(0).cm1, 91.0f);
        QCOMPARE(modes.value(0).cm4, 0xABCDu);
    }

    void aBoardThatObeysTheOutputModeCommandPassesWithTheDefaultLimits()
    {
        runTicks(25);
        QCOMPARE(cell(8, 0)->text(), QString("91"));
        QCOMPARE(status(), QString("Test completed, normal"));
        QCOMPARE(page->run().errorCount(), 0u);
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|32"});
        // The limits in use stand on the page.
        for (const char *name : {"lp_type", "stream_mode", "sys_clk"})
            QVERIFY2(limitEdit(name), name);
        QCOMPARE(limitEdit("lp_type")->text(), QString("0"));
        QCOMPARE(limitEdit("stream_mode")->text(), QString("91"));
        QCOMPARE(limitEdit("sys_clk")->text(), QString("168000000"));
    }

    void changingALimitOnThePageChangesTheVerdictAndIsStored()
    {
        QVERIFY(limitEdit("stream_mode") && limitEdit("sys_clk"));
        typeLimit("stream_mode", "5");
        QCOMPARE(page->run().limits().stream_mode, 5);
        runTicks(25);
        QCOMPARE(status(), QString("Test completed with errors"));
        for (int m = 0; m < 32; ++m)
            QVERIFY(isRed(8, m));
        // A failing cell says what the module reported and what it was held against.
        QCOMPARE(cell(8, 0)->toolTip(), QString("value 91, module 1 reports 91, limit 5"));
        QVERIFY(cell(5, 0)->toolTip().isEmpty());
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|0"});
        QSettings stored(appConfigDir() + "/KelvantoConfig.ini", QSettings::IniFormat);
        QCOMPARE(stored.value("imu_screening/stream_mode").toInt(), 5);
        QVERIFY(!stored.contains("imu_screening/sys_clk")); // only the limit entered is stored

        // The next board with the limit set back passes, and a new page shows what was stored.
        typeLimit("sys_clk", "84000000");
        typeLimit("stream_mode", "91");
        board = Board();
        board.mode = 91;
        for (int i = 0; i < 3; ++i)
            tickOnce(false); // the board is taken away
        runTicks(25);
        QCOMPARE(status(), QString("Test completed with errors"));
        QVERIFY(isRed(15, 3));
        QCOMPARE(cell(15, 3)->toolTip(), QString("value 168000000, limit 84000000"));
        QVERIFY(!isRed(8, 0));
        typeLimit("sys_clk", "168000000");
        delete page;
        page = new IMU_Screening_Dlg;
        page->tickTimer().stop();
        QCOMPARE(limitEdit("stream_mode")->text(), QString("91"));
        QCOMPARE(limitEdit("sys_clk")->text(), QString("168000000"));
    }

    void aScreeningLogThatCannotBeWrittenShowsAStorageError()
    {
        // The log's folder is a file: no line can be written, whoever runs the test.
        delete page;
        page = nullptr;
        QDir(logRoot()).removeRecursively();
        QDir().mkpath(logRoot());
        QFile blocker(logRoot() + "/IMU_SCREENING_LOG");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        newPage();
        runTicks(25);
        QVERIFY(status().startsWith("Storage error, the results were not saved"));
        QVERIFY(status().contains("screening log"));
        QCOMPARE(page->findChild<QLabel *>("label_imu_screening_status_auto_16")->styleSheet(),
                 QString("background-color: red;color:black"));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QVERIFY(blocker.remove());
    }

    void oneDifferingModuleTurnsTheWholeRowRedAndFailsTheBoard()
    {
        board.gyroNum[9] = 4;
        runTicks(1);
        for (int m = 0; m < 32; ++m)
            QVERIFY(isRed(5, m));
        QCOMPARE(page->run().errorCount(), 32u);
        QVERIFY(!isRed(6, 0));
        runTicks(24);
        QCOMPARE(status(), QString("Test completed with errors"));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|0"});
    }

    void aSecondScreeningOfTheSameBoardUpdatesItsRows()
    {
        board.gyroNum[9] = 4;
        runTicks(25);
        board = Board();
        board.mode = 91; // the next board, already streaming in the mode the page orders
        for (int i = 0; i < 3; ++i)
            tickOnce(false); // the board is taken away
        QCOMPARE(status(), QString("Waiting for the next test"));
        QCOMPARE(page->run().tickCount(), 0u);
        QCOMPARE(cell(5, 0)->text(), QString());
        runTicks(25);
        QCOMPARE(status(), QString("Test completed, normal"));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|32"});
    }

    void accNormOutOfRangeIsRedEarlyButNotAfterTickFifteen()
    {
        runTicks(3);
        board.accNorm = 1.15f;
        runTicks(1);
        QVERIFY(isRed(14, 0));
        page->clear_imu_screening_16module();
        QVERIFY(!isRed(14, 0));
        board.accNorm = 1.0f;
        runTicks(24);
        board.accNorm = 1.15f;
        rig.clock.advance(1010);
        QVERIFY(rig.sendRecord(DeviceMsgId::Screening, board.payload())); // shown at tick count 24
        QCOMPARE(cell(14, 0)->text(), QString("1.15"));
        QVERIFY(!isRed(14, 0));
    }

    void emptyPlacesAreNotStored_data()
    {
        QTest::addColumn<QVector<int>>("zeroPlaces"); // places whose whole record reads 0
        QTest::addColumn<QVector<int>>("onesPlaces"); // ... reads 0xFF
        QTest::newRow("place 1 all 0xFF, place 32 all 0") << QVector<int>{31} << QVector<int>{0};
        QTest::newRow("fitted from place 17 up") << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}
                                                 << QVector<int>{};
        QVector<int> allButOne, alternate;
        for (int m = 1; m < 32; ++m)
            allButOne << m;
        for (int m = 1; m < 32; m += 2)
            alternate << m;
        QTest::newRow("one module, in place 1") << allButOne << QVector<int>{};
        QTest::newRow("alternate places") << QVector<int>{} << alternate;
        QTest::newRow("all 32 places") << QVector<int>{} << QVector<int>{};
    }
    void emptyPlacesAreNotStored()
    {
        // A partly fitted board: no module answers in the empty places, the rest are judged.
        QFETCH(QVector<int>, zeroPlaces);
        QFETCH(QVector<int>, onesPlaces);
        for (int m : zeroPlaces)
            board.empty[m] = 0x00;
        for (int m : onesPlaces)
            board.empty[m] = 0xFF;
        const int fitted = 32 - int(board.empty.size());
        runTicks(25);
        QCOMPARE(status(), QString("Test completed, normal"));
        QCOMPARE(page->run().errorCount(), 0u);
        for (int m = 0; m < 32; ++m)
            QCOMPARE(cell(0, m)->background().color() == QColor(Qt::green), !board.empty.count(m));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"),
                 QStringList{QString("%1|%1").arg(fitted)});
        QCOMPARE(sqliteLines(dbPath(), "select count(*) from imu_select where sn like '4294967295%' or sn = '000'"),
                 QStringList{"0"});
        // Exactly the fitted modules, each stored and logged once.
        QStringList serials;
        for (int m = 0; m < 32; ++m)
            if (!board.empty.count(m))
                serials << QString("%1023").arg(1000 + m);
        QCOMPARE(sqliteLines(dbPath(), "select sn from imu_select order by sn"), serials);
        QStringList logged;
        for (const QString &line : fileLines(page->logPath()).mid(1))
            logged << line.section(',', 0, 0);
        logged.sort();
        QCOMPARE(logged, serials);
        QCOMPARE(fileLines(page->logPath()).size(), fitted + 1);
    }

    // A module that answered at a display is judged to the end of the run: one that stops
    // answering fails its board and is stored as failed, whenever it stops and however its
    // place reads from then on.
    void aModuleThatStopsAnsweringFailsItsBoardAndIsStored_data()
    {
        QTest::addColumn<int>("stopsAfter"); // ticks run while it answers
        QTest::addColumn<int>("reads");      // its whole place reads this byte; -1: only its counter reads 0
        QTest::newRow("place all 0 from the step") << 14 << 0x00;
        QTest::newRow("place all 0xFF from the step") << 14 << 0xFF;
        QTest::newRow("counter 0 from the step") << 14 << -1;
        QTest::newRow("place all 0 after the last display") << 24 << 0x00;
    }
    void aModuleThatStopsAnsweringFailsItsBoardAndIsStored()
    {
        QFETCH(int, stopsAfter);
        QFETCH(int, reads);
        runTicks(stopsAfter);
        if (stopsAfter == 24) // the display at tick count 24 still shows it answering
            QVERIFY(rig.sendRecord(DeviceMsgId::Screening, board.payload()));
        if (reads < 0)
            board.tweak = [](int m, uint8_t *r) {
                if (m == 5)
                    writeLE<uint32_t>(r + 6, 0);
            };
        else
            board.empty = {{5, uint8_t(reads)}};
        runTicks(25 - stopsAfter);
        QCOMPARE(status(), QString("Test completed with errors"));
        QVERIFY(isRed(0, 5));
        QVERIFY(!cell(0, 5)->toolTip().isEmpty());
        QCOMPARE(cell(0, 4)->background().color(), QColor(Qt::green));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|0"});
        QCOMPARE(sqliteLines(dbPath(), "select result from imu_select where sn = '100523'"), QStringList{"0"});
        // Its log line holds what it last reported.
        const QStringList lines = fileLines(page->logPath());
        QCOMPARE(lines.size(), 33);
        QCOMPARE(lines.filter(QRegularExpression("^100523,[^,]*,100,200,5,3,3,0,91,1500,")).size(), 1);
    }

    // A module whose counter runs is judged whatever its serial number reads; without one it
    // cannot be stored, and its red serial cell fails the board.
    void aReportingModuleWithABlankSerialIsJudged_data()
    {
        QTest::addColumn<int>("blank");
        QTest::newRow("serial words 0xFF") << 0xFF;
        QTest::newRow("serial words 0") << 0x00;
    }
    void aReportingModuleWithABlankSerialIsJudged()
    {
        QFETCH(int, blank);
        board.tweak = [blank](int m, uint8_t *r) {
            if (m != 3)
                return;
            memset(r + 22, blank, 12);
            writeLE<float>(r + 48, 3.0f);
        };
        runTicks(25);
        QCOMPARE(status(), QString("Test completed with errors"));
        QVERIFY(isRed(14, 3));
        QVERIFY(isRed(4, 3));
        QVERIFY(!isRed(14, 2) && !isRed(4, 2));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"31|0"});
        QCOMPARE(sqliteLines(dbPath(), "select count(*) from imu_select where sn like '4294967295%' or sn = '000'"),
                 QStringList{"0"});
    }

    // A fitted place passes only on the checks that ran on it: one the windowed checks never
    // saw answering, or whose counter never ran, fails the board and is named; a place whose
    // serial number changed fails too, and every serial number it read is stored as failed.
    void aPlaceTheChecksDidNotSeeFailsItsBoard_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("place");          // the module's index
        QTest::addColumn<QVector<int>>("rows");  // its red rows, each with...
        QTest::addColumn<QString>("why");        // ... this tool tip
        QTest::addColumn<QString>("named");      // in the verdict's text
        QTest::addColumn<QStringList>("stored"); // its rows of the table
        QTest::addColumn<int>("tableRows");
        QTest::newRow("first seen after the windows")
            << "late" << 9 << QVector<int>{16}
            << "not checked: no answer in tick count 6 to 9"
            << "Not checked: module 10 (its counter stood still in tick count 0 to 14, no answer in tick count 6 to 9, "
               "no answer in tick count 7 to 12)"
            << QStringList{"100923|0"} << 32;
        QTest::newRow("spreads of a module first seen after the windows")
            << "late" << 9 << QVector<int>{22, 23, 24, 25, 26, 27}
            << "not checked: no answer in tick count 7 to 12"
            << "module 10 (" << QStringList{"100923|0"} << 32;
        QTest::newRow("counters that never run beside sound modules")
            << "still" << 3 << QVector<int>{0} << "not checked: its counter never ran"
            << "Not checked: modules 1 to 16 (its counter never ran)"
            << QStringList{"100323|0"} << 32;
        QTest::newRow("a serial number that changes")
            << "serial" << 4 << QVector<int>{4} << "serial changed from 100423 to 777723"
            << "module 5: serial changed from 100423 to 777723"
            << QStringList{"100423|0", "777723|0"} << 33;
        // A base board that relays a hung module's last record: its counter reads on, unmoved.
        QTest::newRow("a counter frozen for the whole run")
            << "frozen" << 4 << QVector<int>{0} << "not checked: its counter never moved"
            << "Not checked: module 5 (its counter never moved)" << QStringList{"100423|0"} << 32;
        QTest::newRow("a counter frozen from tick count 5")
            << "frozen from 5" << 4 << QVector<int>{16}
            << "not checked: its counter stood still in tick count 6 to 9"
            << "Not checked: module 5 (its counter stood still in tick count 6 to 9, its counter stood still in tick count 7 to 12)"
            << QStringList{"100423|0"} << 32;
        QTest::newRow("spreads of a counter frozen from tick count 5")
            << "frozen from 5" << 4 << QVector<int>{22, 23, 24, 25, 26, 27}
            << "not checked: its counter stood still in tick count 7 to 12" << "module 5 (" << QStringList{"100423|0"} << 32;
    }
    void aPlaceTheChecksDidNotSeeFailsItsBoard()
    {
        QFETCH(QString, fault);
        QFETCH(int, place);
        QFETCH(QVector<int>, rows);
        QFETCH(QString, why);
        QFETCH(QString, named);
        QFETCH(QStringList, stored);
        QFETCH(int, tableRows);
        if (fault == "late") // its place reads all 0 up to tick count 12
            board.empty[place] = 0x00;
        if (fault == "still") // modules 1 to 16 show their serial numbers, their counters stay 0
            board.tweak = [](int m, uint8_t *r) {
                if (m < 16)
                    writeLE<uint32_t>(r + 6, 0);
            };
        // Its counter stands at 555 from the start, or from tick count 5; all else it reads is sound.
        const auto freeze = [place](int m, uint8_t *r) {
            if (m == place)
                writeLE<uint32_t>(r + 6, 555);
        };
        if (fault == "frozen")
            board.tweak = freeze;
        for (int t = 0; t < 25 && !QTest::currentTestFailed(); ++t) {
            if (fault == "frozen from 5" && t == 5)
                board.tweak = freeze;
            if (fault == "late" && t == 13) { // from tick count 13 it answers with values that fail the windows
                board.empty.clear();
                board.tweak = [place](int m, uint8_t *r) {
                    if (m != place)
                        return;
                    r[88] = 0;
                    for (int i = 0; i < 6; ++i)
                        writeLE<float>(r + 64 + 4 * i, 0.5f);
                };
            }
            if (fault == "serial" && t == 16) // another module in its place from tick 17
                board.tweak = [place](int m, uint8_t *r) {
                    if (m == place)
                        writeLE<uint32_t>(r + 22, 7777);
                };
            tickOnce();
        }
        QCOMPARE(page->run().tickCount(), 25u);
        QStringList quoted;
        for (const QString &row : stored)
            quoted << "'" + row.section('|', 0, 0) + "'";
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu_select where sn in (" + quoted.join(',') + ") order by sn"),
                 stored);
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"),
                 QStringList{QString("%1|0").arg(tableRows)});
        QVERIFY2(status().startsWith("Test completed with errors"), qPrintable(status()));
        QVERIFY2(status().contains(named), qPrintable(status()));
        for (int row : rows) {
            QVERIFY2(isRed(row, place), qPrintable(QString("row %1").arg(row)));
            QCOMPARE(cell(row, place)->toolTip(), why);
        }
        QVERIFY(!isRed(16, 20));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QCOMPARE(fileLines(page->logPath()).size(), tableRows + 1);
    }

    // Two places that read one serial number: the board fails naming both, the serial number's
    // row is written once, and each place has its own log line with its own record.
    void twoPlacesThatReadOneSerialFailTheBoard()
    {
        newPageOnTable("create table writes(sn TEXT);"
                       "create trigger inserted after insert on imu_select begin insert into writes values(new.sn); end;"
                       "create trigger updated after update on imu_select begin insert into writes values(new.sn); end;");
        board.tweak = [](int m, uint8_t *r) {
            if (m == 5) { // place 6 reads place 5's serial number
                writeLE<uint32_t>(r + 22, 1004);
                writeLE<uint16_t>(r + 38, 1600);
            }
        };
        runTicks(25);
        QVERIFY2(status().startsWith("Test completed with errors"), qPrintable(status()));
        QVERIFY2(status().contains("serial number 100423 read by modules 5, 6"), qPrintable(status()));
        QVERIFY(isRed(4, 4) && isRed(4, 5));
        QCOMPARE(cell(4, 4)->toolTip(), QString("serial number 100423 is also read by module 6"));
        QCOMPARE(cell(4, 5)->toolTip(), QString("serial number 100423 is also read by module 5"));
        QCOMPARE(page->run().errorCount(), 2u);
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"31|0"});
        // Every row written once: none written over by another place's module.
        QCOMPARE(sqliteLines(dbPath(), "select count(*), count(distinct sn) from writes"), QStringList{"31|31"});
        // One line a place (the log may hold the header of the page made before this one too).
        const QStringList lines = fileLines(page->logPath()).filter(QRegularExpression("^[0-9]"));
        QCOMPARE(lines.size(), 32);
        QCOMPARE(lines.filter(QRegularExpression("^100423,[^,]*,100,200,5,3,3,0,91,1500,")).size(), 1);
        QCOMPARE(lines.filter(QRegularExpression("^100423,[^,]*,100,200,5,3,3,0,91,1600,")).size(), 1);
    }

    // A module changed under the page: each change between two displays is told once, and
    // each serial number's log line holds the record last shown under it and its own largest
    // values.
    void aSerialChangeIsToldOnceAndEachSerialKeepsItsOwnRecord_data()
    {
        QTest::addColumn<QVector<int>>("changes"); // tick counts from which the other module sits there
        QTest::addColumn<QStringList>("told");
        QTest::newRow("changed at tick count 17")
            << QVector<int>{17} << QStringList{"module 5: serial changed from 100423 to 777723"};
        QTest::newRow("changed there and back")
            << QVector<int>{5, 9}
            << QStringList{"module 5: serial changed from 100423 to 777723", "module 5: serial changed from 777723 to 100423"};
    }
    void aSerialChangeIsToldOnceAndEachSerialKeepsItsOwnRecord()
    {
        QFETCH(QVector<int>, changes);
        QFETCH(QStringList, told);
        // The first module: time_stable_us 1111, acc_norm 1.05, bias 0.2, spread 4 at 0.3; the
        // second: 2222, 0.95, 0.5, 0.1 (each larger than the other somewhere).
        const auto module = [](bool second) {
            return [second](int m, uint8_t *r) {
                if (m != 4)
                    return;
                if (second)
                    writeLE<uint32_t>(r + 22, 7777);
                writeLE<uint16_t>(r + 38, second ? 2222 : 1111);
                writeLE<float>(r + 48, second ? 0.95f : 1.05f);
                writeLE<float>(r + 52, second ? 0.5f : -0.2f);
                writeLE<float>(r + 76, second ? 0.1f : 0.3f);
            };
        };
        bool second = false;
        board.tweak = module(second);
        for (int t = 0; t < 25 && !QTest::currentTestFailed(); ++t) {
            if (changes.contains(t)) {
                second = !second;
                board.tweak = module(second);
            }
            tickOnce();
        }
        QCOMPARE(page->run().serialFaults(), told);
        QCOMPARE(page->run().errorCount(), quint32(told.size()));
        for (const QString &line : told)
            QCOMPARE(status().count(line), 1);
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu_select where sn in ('100423', '777723') order by sn"),
                 (QStringList{"100423|0", "777723|0"}));
        const QStringList lines = fileLines(page->logPath());
        QCOMPARE(lines.size(), 34);
        const QStringList first = lines.filter(QRegularExpression("^100423,")).value(0).split(',');
        const QStringList other = lines.filter(QRegularExpression("^777723,")).value(0).split(',');
        QCOMPARE(first.size(), 27);
        QCOMPARE(other.size(), 27);
        QCOMPARE((QStringList{first[9], first[16], first[18], first[24]}), (QStringList{"1111", "1.05", "0.2", "0.3"}));
        QCOMPARE((QStringList{other[9], other[16], other[18], other[24]}), (QStringList{"2222", "0.95", "0.5", "0.1"}));
    }

    // Fresh data is a counter that moves, however slowly: such a place is checked and passes.
    void aCounterThatMovesAtAnyPaceIsFreshData_data()
    {
        QTest::addColumn<int>("ticksAStep");
        QTest::newRow("a step every other tick") << 2;
        QTest::newRow("a step every third tick") << 3;
    }
    void aCounterThatMovesAtAnyPaceIsFreshData()
    {
        QFETCH(int, ticksAStep);
        board.tweak = [this, ticksAStep](int m, uint8_t *r) {
            if (m == 4)
                writeLE<uint32_t>(r + 6, 1000 + board.counter / uint32_t(10 * ticksAStep));
        };
        runTicks(25);
        QVERIFY2(status() == "Test completed, normal", qPrintable(status()));
        QCOMPARE(sqliteLines(dbPath(), "select result from imu_select where sn = '100423'"), QStringList{"1"});
    }

    // A module first seen late: its first record after the empty readings is where its counter
    // starts, not fresh data. A counter that stands from there on was never checked and fails
    // the board; one that runs on from tick count 7 moved in every window and passes.
    void aLateModuleIsFreshDataOnlyOnceItsCounterMoves_data()
    {
        QTest::addColumn<int>("firstSeen"); // the tick count of its first record
        QTest::addColumn<int>("reads");     // its whole place reads this byte before
        QTest::addColumn<bool>("frozen");
        for (int reads : {0x00, 0xFF}) {
            QTest::addRow("frozen from tick count 6, all 0x%02X before", reads) << 6 << reads << true;
            QTest::addRow("frozen from tick count 7, all 0x%02X before", reads) << 7 << reads << true;
            QTest::addRow("running from tick count 7, all 0x%02X before", reads) << 7 << reads << false;
        }
    }
    void aLateModuleIsFreshDataOnlyOnceItsCounterMoves()
    {
        QFETCH(int, firstSeen);
        QFETCH(int, reads);
        QFETCH(bool, frozen);
        board.empty[4] = uint8_t(reads);
        for (int t = 0; t < 25 && !QTest::currentTestFailed(); ++t) {
            if (t == firstSeen) {
                board.empty.clear();
                if (frozen)
                    board.tweak = [](int m, uint8_t *r) {
                        if (m == 4)
                            writeLE<uint32_t>(r + 6, 555);
                    };
            }
            tickOnce();
        }
        const QString result = sqliteLines(dbPath(), "select result from imu_select where sn = '100423'").value(0);
        if (!frozen) {
            QVERIFY2(status() == "Test completed, normal", qPrintable(status()));
            QCOMPARE(result, QString("1"));
            return;
        }
        QVERIFY2(status().startsWith("Test completed with errors"), qPrintable(status()));
        QVERIFY2(status().contains("Not checked: module 5 (its counter never moved)"), qPrintable(status()));
        QVERIFY(isRed(0, 4));
        QCOMPARE(cell(0, 4)->toolTip(), QString("not checked: its counter never moved"));
        QCOMPARE(result, QString("0"));
        QCOMPARE(page->run().errorCount(), 1u);
    }

    // A value that is not a number fails its check whatever it compares with, and the cell, the
    // reason and the log show it as it came: acc_norm and the first gyro bias (not judged) at
    // place 3, the six max_min_diff at place 7.
    void aValueThatIsNotANumberFailsItsCheckAndIsLoggedAsItCame_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << "nan";
        QTest::newRow("+inf") << std::numeric_limits<float>::infinity() << "inf";
        QTest::newRow("-inf") << -std::numeric_limits<float>::infinity() << "-inf";
    }
    void aValueThatIsNotANumberFailsItsCheckAndIsLoggedAsItCame()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        board.tweak = [value](int m, uint8_t *r) {
            if (m == 2) {
                writeLE<float>(r + 48, value);
                writeLE<float>(r + 52, value);
            }
            for (int i = 0; i < 6 && m == 6; ++i)
                writeLE<float>(r + 64 + 4 * i, value);
        };
        runTicks(25);
        QVERIFY2(status().startsWith("Test completed with errors"), qPrintable(status()));
        QVERIFY(isRed(14, 2));
        QCOMPARE(cell(14, 2)->text(), text);
        QCOMPARE(cell(14, 2)->toolTip(), "value " + text + ", limits 0.9 to 1.1");
        for (int row = 22; row <= 27; ++row)
            QVERIFY2(isRed(row, 6), qPrintable(QString("row %1").arg(row)));
        QCOMPARE(cell(22, 6)->toolTip(), "value " + text + ", limit below 0.02");
        QCOMPARE(cell(27, 6)->toolTip(), "value " + text + ", limit below 0.5");
        QVERIFY(!isRed(14, 6) && !isRed(22, 2));
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from imu_select where sn in ('100223', '100623') order by sn"),
                 (QStringList{"100223|0", "100623|0"}));
        const QStringList lines = fileLines(page->logPath());
        const QStringList accNorm = lines.filter(QRegularExpression("^100223,")).value(0).split(',');
        const QStringList spreads = lines.filter(QRegularExpression("^100623,")).value(0).split(',');
        QCOMPARE(accNorm.size(), 27);
        QCOMPARE(spreads.size(), 27);
        QCOMPARE(accNorm[16], text);
        QCOMPARE(accNorm[18], QString(text).remove('-')); // the gyro bias's magnitude
        QCOMPARE(spreads.mid(21, 6), (QStringList{text, text, text, text, text, text}));
        QCOMPARE(spreads[16], QString("1"));
    }

    // In Chinese the not-checked line and every failing cell's reason hold no English word of
    // the program's: only the places' numbers and the values.
    void theNotCheckedLineAndEveryReasonHaveNoEnglishWordInChinese()
    {
        TestKit::Translation chinese("/Chinese.qm");
        QVERIFY(chinese.installed);
        board.gyroNum[17] = 4;  // row 5 differs
        board.empty[20] = 0x00; // module 21 first seen after the windows
        board.tweak = [](int m, uint8_t *r) {
            r[37] = 5; // every module reports stream_mode 5, the limit is 91
            if (m < 16) // modules 1 to 16 show their serial numbers, their counters stay 0
                writeLE<uint32_t>(r + 6, 0);
            if (m == 25)
                r[88] = 0;
            if (m == 26)
                writeLE<float>(r + 48, 3.0f);
            if (m == 27)
                writeLE<float>(r + 64, 0.05f);
            if (m == 28)
                writeLE<uint32_t>(r + 10, 999);
            if (m == 29)
                r[93] = 2;
            if (m == 30)
                memset(r + 22, 0xFF, 12);
        };
        for (int t = 0; t < 25 && !QTest::currentTestFailed(); ++t) {
            if (t == 13)
                board.empty.clear();
            if (t == 20) { // module 19 leaves its place, module 20's counter stops
                board.empty[18] = 0x00;
                const auto faults = board.tweak;
                board.tweak = [faults](int m, uint8_t *r) {
                    faults(m, r);
                    if (m == 19)
                        writeLE<uint32_t>(r + 6, 0);
                };
            }
            tickOnce();
        }
        const QStringList notChecked = status().split('\n').filter(QRegularExpression("^未检查："));
        QCOMPARE(notChecked.size(), 1);
        const QRegularExpression english("[A-Za-z]");
        QVERIFY2(!notChecked[0].contains(english), qPrintable(notChecked[0]));
        QVERIFY2(notChecked[0].contains("模块 1 至 16（") && notChecked[0].contains("模块 21（"), qPrintable(notChecked[0]));
        const std::pair<int, int> reasons[] = {{0, 3},   {16, 20}, {22, 20}, {16, 25}, {5, 17}, {8, 22}, {14, 26},
                                               {22, 27}, {1, 28},  {17, 29}, {4, 30},  {0, 18}, {0, 19}};
        for (const auto &[row, place] : reasons) {
            const QString why = cell(row, place)->toolTip();
            QVERIFY2(isRed(row, place) && !why.isEmpty() && !why.contains(english),
                     qPrintable(QString("row %1, place %2: %3").arg(row).arg(place).arg(why)));
        }
    }

    // Rows the table refused beside rows it took: the verdict says how many were stored and
    // names the others.
    void aPartlyStoredVerdictSaysWhatWasStored()
    {
        newPageOnTable("create trigger refuse before insert on imu_select when new.sn in ('100523', '101723')"
                       " begin select raise(abort, 'refused by the test'); end;");
        runTicks(25);
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"30|30"});
        QCOMPARE(page->passedCount(), 30u);
        QVERIFY2(status().startsWith("Storage error: 30 of 32 results were stored; not stored: 100523, 101723 ("),
                 qPrintable(status()));
        QVERIFY2(status().contains("refused by the test"), qPrintable(status()));
        QCOMPARE(page->findChild<QLabel *>("label_imu_screening_status_auto_16")->styleSheet(),
                 QString("background-color: red;color:black"));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
    }

    // A count the locked table does not give leaves the last counts read on the page, and the
    // reminder counts from them, not from nothing.
    void aCountThatCannotBeReadLeavesTheLastCounts()
    {
        newPageOnTable(passedRows(150));
        QCOMPARE(page->passedCount(), 150u);
        QProcess holder;
        QVERIFY(TestKit::holdSqliteWriteLock(&holder, dbPath()));
        runTicks(25);
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(30000));
        QCOMPARE(page->passedCount(), 150u);
        QCOMPARE(page->totalCount(), 150u);
        QVERIFY2(status().startsWith("Storage error, the results were not saved: "), qPrintable(status()));
        QVERIFY2(status().contains("The counts were not read again"), qPrintable(status()));
        QCOMPARE(page->findChild<QLabel *>("imu_screening_test_total_num")->text(), QString("150"));
        QCOMPARE(page->findChild<QLabel *>("imu_screening_test_succssful_num")->text(), QString("150"));
        // The next board is stored and counted: 150 to 182 crosses no hundred.
        board = Board();
        board.mode = 91;
        for (int i = 0; i < 3; ++i)
            tickOnce(false);
        runTicks(25);
        QCOMPARE(status(), QString("Test completed, normal"));
        QCOMPARE(page->passedCount(), 182u);
        QCOMPARE(page->findChild<QLabel *>("imu_screening_test_total_num")->text(), QString("182"));
        QCOMPARE(rig.prompter.shown.size(), 0);
        QCOMPARE(rig.sounds.played.count(Sounds::Class), 0);
    }

    void aBoardThatGaveNoDisplayToJudgeIsNotTestedAndNotStored_data()
    {
        QTest::addColumn<int>("ticksShown");
        QTest::newRow("counters 0 from the start") << 0;
        QTest::newRow("counters 0 from tick 5") << 5;
    }
    void aBoardThatGaveNoDisplayToJudgeIsNotTestedAndNotStored()
    {
        QFETCH(int, ticksShown);
        runTicks(ticksShown);
        board.dead = true;
        runTicks(25 - ticksShown);
        QCOMPARE(status(), QString("Board not tested: no data to judge, nothing was stored"));
        QCOMPARE(page->findChild<QLabel *>("label_imu_screening_status_auto_16")->styleSheet(),
                 QString("background-color: red;color:black"));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QCOMPARE(sqliteLines(dbPath(), "select count(*) from imu_select"), QStringList{"0"});
        QCOMPARE(fileLines(page->logPath()).size(), 1);
    }

    void aFaultFailsItsRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("wholeRow");
        QTest::newRow("calib_flag of one module differs") << 9 << true;
        QTest::newRow("flag byte 0") << 16 << false;
        QTest::newRow("max_min_diff 3 at 0.05") << 24 << false;
        QTest::newRow("max_min_diff 1 at 0.02") << 22 << false;
    }
    void aFaultFailsItsRow()
    {
        QFETCH(int, row);
        QFETCH(bool, wholeRow);
        board.tweak = [row](int m, uint8_t *r) {
            if (m != 6)
                return;
            if (row == 9)
                r[43] = 1;
            if (row == 16)
                r[88] = 0;
            if (row == 22 || row == 24)
                writeLE<float>(r + 64 + 4 * (row - 22), row == 22 ? 0.02f : 0.05f);
        };
        runTicks(25);
        QCOMPARE(status(), QString("Test completed with errors"));
        for (int m = 0; m < 32; ++m)
            QCOMPARE(isRed(row, m), wholeRow || m == 6);
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|0"});
    }

    void aRefusedLimitTextIsNeitherStoredNorApplied()
    {
        page->show();
        page->tickTimer().stop();
        QApplication::setActiveWindow(page);
        QVERIFY(QTest::qWaitForWindowActive(page));
        // The operator empties stream_mode and goes on to sys_clk: the empty text is refused.
        limitEdit("stream_mode")->setFocus();
        limitEdit("stream_mode")->clear();
        typeLimit("sys_clk", "84000000");
        QCOMPARE(limitEdit("stream_mode")->text(), QString("91"));
        // Texts out of the fields' ranges, refused where they are entered.
        limitEdit("lp_type")->setText("300");
        QTest::keyClick(limitEdit("lp_type"), Qt::Key_Return);
        limitEdit("sys_clk")->setText("9999999999");
        QTest::keyClick(limitEdit("sys_clk"), Qt::Key_Return);
        QCOMPARE(limitEdit("lp_type")->text(), QString("0"));
        QCOMPARE(limitEdit("sys_clk")->text(), QString("84000000"));
        QCOMPARE(rig.prompter.shown.size(), 3);
        QVERIFY(rig.prompter.texts()[0].contains("stream_mode"));
        QVERIFY(rig.prompter.texts()[2].contains("9999999999"));
        // Only the limit entered is stored and applied; the others stay as they were.
        QSettings stored(appConfigDir() + "/KelvantoConfig.ini", QSettings::IniFormat);
        QCOMPARE(stored.value("imu_screening/sys_clk").toUInt(), 84000000u);
        QVERIFY(!stored.contains("imu_screening/stream_mode"));
        QVERIFY(!stored.contains("imu_screening/lp_type"));
        const ScreeningLimits l = page->run().limits();
        QCOMPARE(l.stream_mode, 91);
        QCOMPARE(l.lp_type, 0);
        QCOMPARE(l.sys_clk, 84000000u);
    }

    void theRemindBoxComesOnceWhenThePassedCountReachesAHundred()
    {
        newPageOnTable(passedRows(70));
        QCOMPARE(page->passedCount(), 70u);
        runTicks(25);
        QCOMPARE(page->passedCount(), 102u);
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(rig.prompter.shown[0].title, QString("Remind"));
        QVERIFY(rig.prompter.shown[0].text.endsWith("102，请检查!"));
        QCOMPARE(rig.sounds.played.count(Sounds::Class), 1);
        QCOMPARE(page->findChild<QLabel *>("imu_screening_test_total_num")->text(), QString("102"));
    }

    void theRemindRuleCountsNewMultiplesOnly()
    {
        QVERIFY(!ScreeningRun::remindDue(98, 99));
        QVERIFY(ScreeningRun::remindDue(99, 100));
        QVERIFY(ScreeningRun::remindDue(170, 202));
        QVERIFY(!ScreeningRun::remindDue(100, 100));
        QVERIFY(!ScreeningRun::remindDue(0, 0));
    }

    void theTickRunsEverySecondOnlyWhileThePageIsShown()
    {
        QVERIFY(!page->tickTimer().isActive());
        page->show();
        QVERIFY(page->tickTimer().isActive());
        QCOMPARE(page->tickTimer().interval(), 1000);
        page->hide();
        QVERIFY(!page->tickTimer().isActive());
    }

    // A field emptied and left shows the limit that still holds, not a blank.
    void aLimitFieldLeftWithoutAValueShowsTheLimitInForce()
    {
        page->show();
        page->tickTimer().stop();
        QApplication::setActiveWindow(page);
        QLineEdit *lp = limitEdit("lp_type");
        lp->setFocus();
        QVERIFY(TestKit::waitUntil([&] { return lp->hasFocus(); }));
        lp->selectAll();
        QTest::keyClick(lp, Qt::Key_Backspace);
        QCOMPARE(lp->text(), QString());
        limitEdit("sys_clk")->setFocus();
        QVERIFY(TestKit::waitUntil([&] { return !lp->hasFocus(); }));
        QCOMPARE(lp->text(), QString::number(page->run().limits().lp_type));
        QCOMPARE(lp->text(), QString("0"));
    }

    // At the form's size, in Chinese and in English: the failed count stands on the row of the
    // tested and passed counts, each after its caption, and the report buttons show whole.
    void theCountsShareARowAndTheReportButtonsAreWhole()
    {
        for (bool inEnglish : {false, true}) {
            std::unique_ptr<TestKit::Translation> english;
            if (inEnglish) {
                english = std::make_unique<TestKit::Translation>("/English.qm");
                QVERIFY(english->installed);
            }
            newPage();
            page->resize(1131, 711);
            page->show();
            page->tickTimer().stop();
            QVERIFY(QTest::qWaitForWindowExposed(page));
            const auto at = [&](const char *name) { return page->findChild<QWidget *>(name); };
            const int row = at("imu_screening_test_total_num")->geometry().center().y();
            for (const auto &pair : {std::make_pair("label_190", "imu_screening_test_total_num"),
                                     std::make_pair("label_189", "imu_screening_test_succssful_num"),
                                     std::make_pair("label_137", "imu_screening_test_failed_num")}) {
                const QRect caption = at(pair.first)->geometry(), value = at(pair.second)->geometry();
                QVERIFY2(qAbs(value.center().y() - row) <= 3, pair.second);
                QVERIFY2(qAbs(caption.center().y() - row) <= 3, pair.first);
                QVERIFY2(caption.right() < value.left(), pair.first);
            }
            for (const char *name : {"pushButton_excelExport", "pushButton_pdfExport"}) {
                auto *b = page->findChild<QPushButton *>(name);
                const QString what = QString("%1 %2 in %3").arg(name).arg(b->text()).arg(inEnglish ? "English" : "Chinese");
                QVERIFY2(b->parentWidget()->rect().contains(b->geometry()), qPrintable(what));
                QVERIFY2(b->width() >= b->sizeHint().width() && b->height() >= b->sizeHint().height(), qPrintable(what));
            }
        }
        newPage();
    }

    // A settings file that holds no number as the spread limit judges nothing as passed: every
    // module fails the last three spread rows, naming the limit it could not meet.
    void aStoredSpreadLimitThatIsNoNumberFailsEveryModuleRatherThanPassingIt()
    {
        getSettings()->setValue("imu_screening/max_min_diff", "nan");
        newPage();
        getSettings()->remove("imu_screening/max_min_diff");
        QVERIFY(std::isnan(page->run().limits().max_min_diff));
        runTicks(25);
        QCOMPARE(status(), QString("Test completed with errors"));
        for (int m = 0; m < 32; ++m)
            for (int row = 25; row <= 27; ++row)
                QVERIFY2(isRed(row, m) && cell(row, m)->toolTip().contains("limit below nan"),
                         qPrintable(QString("row %1, place %2: %3").arg(row).arg(m + 1).arg(cell(row, m)->toolTip())));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from imu_select"), QStringList{"32|0"});
    }

    void theLimitsComeFromTheSettings()
    {
        getSettings()->setValue("imu_screening/sys_clk", 84000000);
        delete page;
        page = new IMU_Screening_Dlg;
        page->tickTimer().stop();
        QCOMPARE(page->run().limits().sys_clk, 84000000u);
        QCOMPARE(page->run().limits().max_min_diff, 0.5f);
        getSettings()->remove("imu_screening/sys_clk");
    }
};

QTEST_MAIN(TestScreening)
#include "test_screening.moc"

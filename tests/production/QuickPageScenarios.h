#pragma once
// What both quick-test pages must do alike when the line meets them: start a test on a module's
// first data, start again for a new module after a reconnect, store nothing for a test whose
// port was closed, and show a result line that could not be written. The test class derives
// from this one and says how to make, feed and read its page.
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <limits>

#include "app/Settings.h"
#include "tests/production/QuickTestRig.h"

class QuickPageScenarios {
public:
    virtual ~QuickPageScenarios() = default;

protected:
    struct Names {
        QString table;      // the result table, also the database file's name
        QString logFolder;  // the result log's folder under the log root
        int stepsToVerdict; // 100 ms steps from the first record to the verdict
        QString firstRow;   // "sn|result" of the first module after a pass
        QString secondRow;  // the same for the module useSecondModule() makes
    };
    virtual Names names() const = 0;
    // A page made now and wired to the rig's link, that has not ticked yet.
    virtual void newPage() = 0;
    // The page's connections to the rig's current link, as the main window makes them.
    virtual void wirePage() = 0;
    // The next module, with another serial number.
    virtual void useSecondModule() = 0;
    virtual void sendRecord() = 0;
    // The module's part of a 100 ms step: its record, or nothing while it is silent.
    virtual void moduleStep() = 0;
    // One 100 ms step of the page's clock and one tick.
    virtual void tick() = 0;
    // Steps in which the module sends and the page ticks.
    virtual void runSteps(int n) = 0;
    virtual QString statusText() const = 0;
    virtual QString statusStyle() const = 0;
    virtual QString resultLogPath() const = 0;
    virtual QWidget *pageWidget() const = 0;
    virtual QTimer &tickTimer() const = 0;

    QuickTestRig rig;

    QStringList rows(const QString &columns)
    {
        const Names n = names();
        return sqliteLines(QDir::current().absoluteFilePath(n.table + ".db"),
                           "select " + columns + " from " + n.table + " order by sn");
    }

    // Steps in which the module sends and the page ticks as its own timer would: not while the
    // timer is stopped.
    void runTimedSteps(int n)
    {
        for (int i = 0; i < n && !QTest::currentTestFailed(); ++i) {
            moduleStep();
            if (tickTimer().isActive())
                tick();
            else
                rig.clock.advance(100);
        }
    }

    // A test under way when the page is put away (another page chosen) or the window is
    // minimised, for 20 s: no verdict about what the page did not see is stored.
    void aPageHiddenMidTestStoresNoWrongVerdict(int stepsToVerdict)
    {
        QFETCH(bool, minimised);
        const Names n = names();
        tickTimer().setInterval(std::numeric_limits<int>::max()); // the test takes the timer's ticks
        pageWidget()->show();
        QVERIFY(tickTimer().isActive());
        runTimedSteps(30);
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
        if (minimised) {
            pageWidget()->showMinimized();
            QVERIFY(QTest::qWaitFor([&] { return pageWidget()->isMinimized(); }));
            QVERIFY(tickTimer().isActive()); // still the page in use: the test goes on
        } else {
            pageWidget()->hide();
            QCOMPARE(statusText(), QString("Test interrupted, nothing was stored: the test page was left"));
        }
        runTimedSteps(200);
        if (minimised)
            pageWidget()->showNormal();
        else
            pageWidget()->show();
        runTimedSteps(stepsToVerdict);
        QCOMPARE(statusText(), QString("Test passed"));
        QCOMPARE(rows("sn, result"), QStringList{n.firstRow});
        QCOMPARE(fileLines(resultLogPath()).size(), 1);
    }

    void dataBeforeTheFirstTickStartsATestAtThatTick()
    {
        // A fresh page: the module's first record comes before the page's first tick.
        newPage();
        sendRecord();
        tick();
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
        // The same after the page ticked with the port closed: the port opens and the data
        // comes before the next tick.
        newPage();
        g_link_status[0] = 0;
        tick();
        QCOMPARE(statusText(), QString("Please open the serial port"));
        g_link_status[0] = 1;
        sendRecord();
        tick();
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
    }

    void dataAfterTheFirstTickStartsATestAtTheNextTick()
    {
        newPage();
        tick();
        QCOMPARE(statusText(), QString("No connection, waiting"));
        runSteps(1);
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
        QVERIFY(rig.sounds.played.contains(Sounds::Start));
    }

    void aNewModuleAfterAVerdictAndAReconnectStartsANewTest()
    {
        const Names n = names();
        runSteps(n.stepsToVerdict);
        QCOMPARE(statusText(), QString("Test passed"));
        rig.closePort();
        tick();
        QCOMPARE(statusText(), QString("Please open the serial port"));
        QVERIFY(rig.relink());
        wirePage();
        useSecondModule();
        runSteps(2);
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
        runSteps(n.stepsToVerdict - 2);
        QCOMPARE(statusText(), QString("Test passed"));
        QStringList expected{n.firstRow, n.secondRow};
        expected.sort();
        QCOMPARE(rows("sn, result"), expected);
        QCOMPARE(fileLines(resultLogPath()).size(), 2);
    }

    void closingThePortMidTestStoresNoRowAndNoLine()
    {
        const Names n = names();
        runSteps(30);
        rig.closePort();
        for (int i = 0; i < n.stepsToVerdict; ++i) // longer than a test with the port closed
            tick();
        const QString shownWhileClosed = statusText();
        QCOMPARE(statusStyle(), QString("background-color: yellow;color:black"));
        QVERIFY(rig.relink());
        wirePage();
        runSteps(5);
        QCOMPARE(rows("count(*)"), QStringList{"0"});
        QVERIFY(!QFile::exists(resultLogPath()));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QVERIFY(!rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(rig.prompter.shown.isEmpty()); // no repeat-test notice for a test never judged
        QCOMPARE(shownWhileClosed, QString("Test interrupted, nothing was stored: please open the serial port"));
        // The module plugged back in starts a new test, judged after its full length.
        QCOMPARE(statusText(), QString("During testing, please keep it stationary!"));
        runSteps(n.stepsToVerdict - 5);
        QCOMPARE(statusText(), QString("Test passed"));
        QCOMPARE(rows("sn, result"), QStringList{n.firstRow});
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void aResultLineThatCannotBeWrittenShowsAStorageError()
    {
        // The result log's folder is a file: the line cannot be written, whoever runs the test.
        const Names n = names();
        QDir().mkpath(logRoot());
        QFile blocker(logRoot() + "/" + n.logFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        runSteps(n.stepsToVerdict);
        QVERIFY(statusText().startsWith("Storage error, the result was not saved"));
        QVERIFY(statusText().contains("result line not written"));
        QCOMPARE(statusStyle(), QString("background-color: red;color:black"));
        QVERIFY(rig.sounds.played.contains(Sounds::Alarm));
        QVERIFY(!rig.sounds.played.contains(Sounds::Pass));
        QCOMPARE(rows("sn, result"), QStringList{n.firstRow}); // the database kept its row
        QVERIFY(blocker.remove());
    }
};

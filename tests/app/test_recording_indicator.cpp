// The main window's Record button and recording indicator: "recording" is shown only while the
// main link really writes a file; otherwise the operator sees that nothing is recorded and why.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/WorkerThread.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/TestKit.h"

using TestKit::waitUntil;

class TestRecordingIndicator : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;
    ModuleSimulator *sim = nullptr;

    static QLabel *indicator(MainWindow &w) { return w.findChild<QLabel *>("label_record"); }
    static QPushButton *recordButton(MainWindow &w) { return w.findChild<QPushButton *>("pushButton_record"); }
    static bool showsRecording(MainWindow &w)
    {
        return !indicator(w)->isHidden() || recordButton(w)->text() != "Record" || w.recording();
    }
    void link(MainWindow &w)
    {
        auto *port = w.findChild<QComboBox *>("comboBox_port");
        port->setCurrentIndex(port->findText(sim->portPath() + ' ', Qt::MatchStartsWith));
        QVERIFY(port->currentIndex() >= 0);
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(waitUntil([&] { return g_link_status[0] == 1; }));
    }
    void unlink(MainWindow &w)
    {
        QPointer<WorkerThread> worker = w.worker();
        if (g_link_status[0] == 1)
            w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(TestKit::retireWorker(worker.data()));
    }
    // Removes whatever stands at the record folder's place.
    static void clearRecordPlace()
    {
        const QString place = logRoot() + "/record";
        QFile::remove(place);
        QDir(place).removeRecursively();
    }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        sim = new ModuleSimulator;
        QVERIFY(sim->isValid());
        qputenv("KELVANTO_EXTRA_PORTS", sim->portPath().toLocal8Bit());
    }
    void cleanupTestCase()
    {
        clearRecordPlace();
        delete sim;
        Prompter::install(nullptr);
    }

    void withNoLinkNothingIsRecordingAndTheReasonIsShown()
    {
        MainWindow w;
        w.show();
        recordButton(w)->click();
        QVERIFY(!showsRecording(w));
        QCOMPARE(g_recording.load(), 0);
        QVERIFY2(w.recordingStatus().contains("no link"), qPrintable(w.recordingStatus()));
        QCOMPARE(w.statusBar()->currentMessage(), w.recordingStatus());
        // The console asking for the indicator shows nothing while nothing is recorded.
        w.label_record_visible(1);
        QVERIFY(indicator(w)->isHidden());
        // A link opened: "no link" is no longer true and goes from the status bar.
        link(w);
        QCOMPARE(w.statusBar()->currentMessage(), QString());
        unlink(w);
    }

    void aFileThatCannotBeOpenedShowsNothingRecordingAndWhy()
    {
        clearRecordPlace();
        {
            // A file where the record folder should be: no recording can be made under it.
            QFile blocker(logRoot() + "/record");
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        MainWindow w;
        w.show();
        link(w);
        recordButton(w)->click();
        QVERIFY(waitUntil([&] { return w.recordingStatus().startsWith("Not recording"); }));
        QVERIFY2(w.recordingStatus().contains("cannot open"), qPrintable(w.recordingStatus()));
        QVERIFY(!showsRecording(w));
        QCOMPARE(g_recording.load(), 0);
        unlink(w);
        clearRecordPlace();
    }

    void aRecordingShowsUntilTheLinkThatWritesItCloses()
    {
        clearRecordPlace();
        MainWindow w;
        w.show();
        link(w);
        recordButton(w)->click();
        QVERIFY(waitUntil([&] { return w.recording(); }));
        QCOMPARE(g_recording.load(), 1);
        QVERIFY(!indicator(w)->isHidden());
        QCOMPARE(recordButton(w)->text(), QString("Stop recording"));
        QVERIFY(w.recordingStatus().startsWith("Recording to "));
        const QString file = w.recordingStatus().mid(QString("Recording to ").size());
        QVERIFY(QFile::exists(file));

        // Closing the link ends what it wrote; the indicator goes with it.
        w.findChild<QPushButton *>("pushButton_connect")->click();
        QVERIFY(waitUntil([&] { return !w.recording(); }));
        QVERIFY(!showsRecording(w));
        QCOMPARE(g_recording.load(), 0);
        QVERIFY2(w.recordingStatus().contains("closed"), qPrintable(w.recordingStatus()));

        // A reconnect retires the old link: a recording it had does not carry on in the indicator.
        link(w);
        recordButton(w)->click();
        QVERIFY(waitUntil([&] { return w.recording(); }));
        w.findChild<QPushButton *>("pushButton_connect")->click(); // disconnect
        QVERIFY(waitUntil([&] { return !w.recording(); }));
        link(w);
        QVERIFY(!showsRecording(w));
        unlink(w);
    }
};

QTEST_MAIN(TestRecordingIndicator)
#include "test_recording_indicator.moc"

// The console's replay controls with the real replay worker: file choice, plate 1 filled from
// the recording, progress, speed buttons, pause, seek by the slider and continue.
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QThread>

#include <atomic>

#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "production/DecodeDlg.h"
#include "production/WorkerThread_Replay.h"
#include "sim/ModuleSimulator.h"
#include "station/ConsoleDialogs.h"
#include "station/MultiCalib.h"
#include "tests/kit/TestKit.h"
#include "ui_MultiCalib.h"

namespace {
// A recording of `size` bytes: one calibration frame per 10000 bytes whose IMU times carry
// the frame's number (1, 2, ...), zero bytes between them; the IMUs past `fitted` never report.
QString writeRecording(const QString &name, int size, int fitted = 32)
{
    QByteArray data;
    for (uint32_t n = 1; data.size() + 9000 < size; ++n) {
        std::array<SimPayload::ImuValues, 32> imus{};
        for (int i = 0; i < fitted; ++i) {
            imus[size_t(i)].time_ms = n * 1000 + uint32_t(i);
            imus[size_t(i)].calib_flag_h = 3999;
        }
        const QByteArray frame = buildDeviceFrame(DeviceMsgId::CalibB6B6, SimPayload::calibMessage(DeviceMsgId::CalibB6B6, imus));
        data += frame;
        data += QByteArray(int((n * 10000) - data.size() % 10000) % 10000, '\0');
        data.resize(int(n * 10000));
    }
    data += QByteArray(size - data.size(), '\0');
    const QString path = TestKit::workDir() + "/" + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return path;
}
uint32_t plateOneTime(int imu) { return g_calib_status.record(0, imu).time_ms; }
} // namespace

class TestActionsReplay : public QObject {
    Q_OBJECT
private:
    ScriptedPrompter prompter;
    ScriptedConsoleDialogs dialogs;
    RecordingSoundPlayer sound;
    MultiCalib *console = nullptr;

    QString progress() const { return console->form()->label_replay_percentage->text(); }

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
        ConsoleDialogs::install(&dialogs);
        SoundPlayer::install(&sound);
        console = new MultiCalib;
    }
    void cleanupTestCase()
    {
        delete console;
        Prompter::install(nullptr);
        ConsoleDialogs::install(nullptr);
        SoundPlayer::install(nullptr);
    }
    void init()
    {
        dialogs.asked.clear();
        dialogs.files.clear();
        g_calib_status.clearAll();
        g_link_status.fill(0);
        g_replay_speed = ReplaySpeed::All;
        console->form()->label_replay_percentage->clear();
    }

    void aCancelledChoiceChangesNothing()
    {
        Ui::MultiCalib *ui = console->form();
        QTest::mouseClick(ui->pushButton_log_replay, Qt::LeftButton);
        QCOMPARE(dialogs.asked, QStringList({"Open data file||data format (*.txt *.dat)"}));
        QVERIFY(ui->pushButton_log_replay->isEnabled());
        QCOMPARE(int(g_link_status[0]), 0);
        QVERIFY(!console->replayWorker());
    }

    void aRecordingFillsPlateOneAndReportsItsProgress()
    {
        const QString file = writeRecording("whole.dat", 25000);
        dialogs.files = QStringList{file};
        QSignalSpy shown(console, &MultiCalib::signal_log_from_multi_calib);
        QTest::mouseClick(console->form()->pushButton_log_replay, Qt::LeftButton);
        QCOMPARE(int(g_link_status[0]), 1);
        QCOMPARE(console->form()->label_logReplayFileName->text(), file);
        QVERIFY(console->replayWorker());
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        QCOMPARE(plateOneTime(0), 2000u);
        QCOMPARE(plateOneTime(31), 2031u);
        QCOMPARE(g_calib_status.record(0, 5).calib_flag_h, 3999u);
        QStringList reports;
        for (const auto &a : shown)
            if (a[0].value<uint8_t>() == 85)
                reports << a[1].toString();
        QCOMPARE(reports, QStringList({"40.0%", "80.0%", "100%"}));
    }

    void aFinishedReplayLeavesNoLinkSoTheDecodingPageDecodes()
    {
        const QString file = writeRecording("decode.dat", 25000);
        dialogs.files = QStringList{file};
        console->on_clicked_pushButton_log_replay();
        QCOMPARE(int(g_link_status[0]), 1); // plate 1 shows the recording while it plays
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        QVERIFY(TestKit::waitUntil([&] { return g_link_status[0] == 0; }));

        DecodeDlg page;
        DecodeDlg::setFileChoosers([file](QWidget *, const QString &, const QString &) { return file; },
                                   [](QWidget *, const QString &, const QString &) { return QString(); });
        auto *start = page.findChild<QPushButton *>("pushButton_start_decode");
        page.findChild<QPushButton *>("pushButton_openfile_for_decode")->click();
        start->click();
        QVERIFY(page.findChild<QLabel *>("label_decode_status")->text() != "Status: Please disconnect the serial port");
        QVERIFY(page.worker());
        QVERIFY(TestKit::waitUntil([&] { return start->isEnabled(); }, 10000));
        QVERIFY(QFile::exists(TestKit::workDir() + "/decode.txt"));
    }

    void aNewFileRetiresTheRunningReplay()
    {
        dialogs.files = QStringList{writeRecording("first.dat", 25000)};
        console->on_clicked_pushButton_log_replay();
        QPointer<WorkerThread_Replay> first = console->replayWorker();
        QVERIFY(first);
        dialogs.files = QStringList{writeRecording("second.dat", 15000)};
        console->on_clicked_pushButton_log_replay();
        QVERIFY(console->replayWorker() && console->replayWorker() != first.data());
        QVERIFY(TestKit::waitUntil([&] { return first.isNull(); }, 5000));
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        // A broadcast reaches the replay without holding it up.
        emit console->Send_CMD_LONG_SIGNAL_times(56004, 0, 0, 0, 0, 0, 0);
    }

    void aNewFileDuringAPacedContinuePassRetiresTheOldWorkerInItsOwnThread_data()
    {
        QTest::addColumn<QString>("speedButton");
        QTest::newRow("slow") << "pushButton_log_replay_setting_slow";
        QTest::newRow("middle") << "pushButton_log_replay_setting_middle";
        QTest::newRow("fast") << "pushButton_log_replay_setting_fast";
        QTest::newRow("pause") << "pushButton_log_replay_setting_pause";
    }
    void aNewFileDuringAPacedContinuePassRetiresTheOldWorkerInItsOwnThread()
    {
        QFETCH(QString, speedButton);
        Ui::MultiCalib *ui = console->form();
        dialogs.files = QStringList{writeRecording("long.dat", 3000000)};
        console->on_clicked_pushButton_log_replay();
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 20000));
        ui->horizontalSlider_Percentage->setValue(10);
        console->onHorizontalSliderReleased();
        QVERIFY(TestKit::waitUntil([&] { return console->replayStopped(); }, 20000));
        QCOMPARE(progress(), QString("10%"));
        QTest::mouseClick(console->findChild<QPushButton *>(speedButton), Qt::LeftButton);
        QTest::mouseClick(ui->pushButton_log_replay_setting_continue, Qt::LeftButton);
        // The continuation is under way (paused at its first mark, or pacing its marks).
        QVERIFY(TestKit::waitUntil([&] { return progress() != "10%"; }, 20000));
        QCOMPARE(plateOneTime(0) >= 30000u, true);

        QPointer<WorkerThread_Replay> old = console->replayWorker();
        QThread *oldThread = old->thread();
        std::atomic<int> releasedInItsThread{0}, releasedElsewhere{0};
        connect(old.data(), &QObject::destroyed, this, [&, oldThread](QObject *) {
            ++(QThread::currentThread() == oldThread ? releasedInItsThread : releasedElsewhere);
        }, Qt::DirectConnection);
        dialogs.files = QStringList{writeRecording("next.dat", 25000)};
        console->on_clicked_pushButton_log_replay();
        QVERIFY(console->replayWorker() && console->replayWorker() != old.data());
        QTest::mouseClick(ui->pushButton_log_replay_setting_all, Qt::LeftButton);
        QVERIFY(TestKit::waitUntil([&] { return old.isNull(); }, 20000));
        QCOMPARE(releasedInItsThread.load(), 1);
        QCOMPARE(releasedElsewhere.load(), 0);
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 20000));
        ui->horizontalSlider_Percentage->setValue(0);
    }

    void theSpeedButtonsSetTheModeAndMarkTheirButton()
    {
        Ui::MultiCalib *ui = console->form();
        const QList<QPair<QPushButton *, int>> buttons = {
            {ui->pushButton_log_replay_setting_pause, ReplaySpeed::Pause}, {ui->pushButton_log_replay_setting_slow, ReplaySpeed::Slow},
            {ui->pushButton_log_replay_setting_middle, ReplaySpeed::Middle}, {ui->pushButton_log_replay_setting_fast, ReplaySpeed::Fast},
            {ui->pushButton_log_replay_setting_all, ReplaySpeed::All}};
        for (const auto &b : buttons) {
            QTest::mouseClick(b.first, Qt::LeftButton);
            QCOMPARE(g_replay_speed.load(), b.second);
            QCOMPARE(b.first->styleSheet(), QString("QPushButton{background-color:red;}"));
            for (const auto &other : buttons)
                if (other.first != b.first)
                    QVERIFY(other.first->styleSheet() != b.first->styleSheet());
        }
    }

    void aPausedReplayWaitsAtItsMarkUntilAnotherSpeedIsChosen()
    {
        QTest::mouseClick(console->form()->pushButton_log_replay_setting_pause, Qt::LeftButton);
        dialogs.files = QStringList{writeRecording("paused.dat", 25000)};
        console->on_clicked_pushButton_log_replay();
        QVERIFY(TestKit::waitUntil([&] { return progress() == "40.0%"; }, 10000));
        QTest::qWait(300);
        QCOMPARE(progress(), QString("40.0%"));
        QCOMPARE(plateOneTime(0), 1000u);
        // The slider and its value show where the replay stands too.
        QCOMPARE(console->form()->horizontalSlider_Percentage->value(), 40);
        QCOMPARE(console->form()->label_PercentageValue->text(), QString("40"));
        QTest::mouseClick(console->form()->pushButton_log_replay_setting_fast, Qt::LeftButton);
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        QCOMPARE(plateOneTime(0), 2000u);
        QCOMPARE(console->form()->horizontalSlider_Percentage->value(), 100);
        QCOMPARE(console->form()->label_PercentageValue->text(), QString("100"));
    }

    // A recording of a board of 30 modules played after one of 32: only its 30 are counted.
    void aNewRecordingIsJudgedByItsOwnModules()
    {
        console->setMainLinkOpen(true); // plate 1 stays linked after each replay
        // The modules are counted while the replay is held after its first frames.
        const auto play = [&](const QString &file) {
            QTest::mouseClick(console->form()->pushButton_log_replay_setting_pause, Qt::LeftButton);
            console->form()->label_replay_percentage->clear();
            dialogs.files = QStringList{file};
            console->on_clicked_pushButton_log_replay();
            QVERIFY(TestKit::waitUntil([&] { return progress() == "40.0%"; }, 10000));
            console->check_total_imu_num_alive();
        };
        play(writeRecording("board32.dat", 25000));
        QCOMPARE(console->aliveImuCount(), 32);
        play(writeRecording("board30.dat", 25000, 30));
        QCOMPARE(console->aliveImuCount(), 30);
        QTest::mouseClick(console->form()->pushButton_log_replay_setting_all, Qt::LeftButton);
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        console->setMainLinkOpen(false);
    }

    // When a replay ends plate 1's link flag tells whether the main link is open then.
    void theReplaysEndLeavesPlateOneLinkedAsTheMainLinkIsThen()
    {
        for (const bool openAtEnd : {true, false}) {
            console->setMainLinkOpen(!openAtEnd);
            QTest::mouseClick(console->form()->pushButton_log_replay_setting_pause, Qt::LeftButton);
            console->form()->label_replay_percentage->clear();
            dialogs.files = QStringList{writeRecording("link.dat", 25000)};
            console->on_clicked_pushButton_log_replay();
            QSignalSpy reading(console->replayWorker(), &WorkerThread_Replay::signalReading);
            QVERIFY(TestKit::waitUntil([&] { return progress() == "40.0%"; }, 10000));
            console->setMainLinkOpen(openAtEnd); // the main link opened (closed) meanwhile
            QCOMPARE(int(g_link_status[0]), 1);   // plate 1 still shows the recording
            QTest::mouseClick(console->form()->pushButton_log_replay_setting_all, Qt::LeftButton);
            QVERIFY(TestKit::waitUntil([&] { return !reading.isEmpty() && !reading.last()[0].toBool(); }, 10000));
            QCoreApplication::sendPostedEvents(console, QEvent::MetaCall); // the console hears the end too
            QCOMPARE(int(g_link_status[0]), openAtEnd ? 1 : 0);
        }
    }

    // A replay that ends while the main link stays open gives plate 1 back to the board on it:
    // the recording's modules are no longer judged there.
    void aReplaysEndGivesPlateOneBackToTheBoardOnTheMainLink()
    {
        console->setMainLinkOpen(true);
        QTest::mouseClick(console->form()->pushButton_log_replay_setting_pause, Qt::LeftButton);
        console->form()->label_replay_percentage->clear();
        dialogs.files = QStringList{writeRecording("board32then30.dat", 25000)};
        console->on_clicked_pushButton_log_replay();
        QSignalSpy reading(console->replayWorker(), &WorkerThread_Replay::signalReading);
        QVERIFY(TestKit::waitUntil([&] { return progress() == "40.0%"; }, 10000));
        QTest::mouseClick(console->form()->pushButton_log_replay_setting_all, Qt::LeftButton);
        QVERIFY(TestKit::waitUntil([&] { return !reading.isEmpty() && !reading.last()[0].toBool(); }, 10000));
        QCoreApplication::sendPostedEvents(console, QEvent::MetaCall); // the console hears the end too
        QCOMPARE(int(g_link_status[0]), 1);
        // The board on the main link has 30 modules.
        g_calib_status.writePlate(0, [](CalibImuStatus *r, uint32_t *) {
            for (int i = 0; i < 30; ++i) {
                r[i].time_ms = 90000 + uint32_t(i);
                r[i].calib_flag_h = 3999;
            }
        });
        g_calib_status.bump(0);
        console->check_total_imu_num_alive();
        QCOMPARE(console->aliveImuCount(), 30);
        console->setMainLinkOpen(false);
    }

    void theSliderSeeksAndContinueReadsTheRest()
    {
        Ui::MultiCalib *ui = console->form();
        dialogs.files = QStringList{writeRecording("seek.dat", 100000)};
        console->on_clicked_pushButton_log_replay();
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        QCOMPARE(plateOneTime(0), 10000u);

        // Continue before any seek stop does nothing.
        QSignalSpy again(console, &MultiCalib::signal_readFileAgain);
        QTest::mouseClick(ui->pushButton_log_replay_setting_continue, Qt::LeftButton);
        console->on_clicked_pushButton_log_replay_setting_continue();
        QCOMPARE(again.size(), 0);

        ui->horizontalSlider_Percentage->setValue(50);
        QCOMPARE(g_replay_percent.load(), 50);
        QCOMPARE(ui->label_PercentageValue->text(), QString("50"));
        g_calib_status.clearAll();
        console->onHorizontalSliderReleased();
        QVERIFY(TestKit::waitUntil([&] { return console->replayStopped(); }, 10000));
        QVERIFY(ui->pushButton_log_replay_setting_continue->isEnabled());
        QCOMPARE(progress(), QString("50%"));
        QCOMPARE(ui->horizontalSlider_Percentage->value(), 50);
        QCOMPARE(ui->label_PercentageValue->text(), QString("50"));
        QCOMPARE(plateOneTime(0), 5000u);

        QTest::mouseClick(ui->pushButton_log_replay_setting_continue, Qt::LeftButton);
        QCOMPARE(again.size(), 1);
        QVERIFY(!console->replayStopped());
        QVERIFY(TestKit::waitUntil([&] { return progress() == "100%"; }, 10000));
        QCOMPARE(plateOneTime(0), 10000u);
        // A second press finds nothing to continue.
        console->on_clicked_pushButton_log_replay_setting_continue();
        QCOMPARE(again.size(), 1);
        ui->horizontalSlider_Percentage->setValue(0);
    }
};

QTEST_MAIN(TestActionsReplay)
#include "test_actions_replay.moc"

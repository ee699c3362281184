// The K350 quick test against the main link and a simulated module on a pseudo-terminal.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>
#include <qcustomplot.h>

#include <algorithm>
#include <limits>

#include "app/Settings.h"
#include "link/CommandFrames.h"
#include "link/DeviceRecords.h"
#include "production/Factory_K350_Dlg.h"
#include "tests/production/QuickPageScenarios.h"

namespace {
// A simulated K350 module; command 10 calibrates its gyro bias (silent for a second, then the
// result stands in parameters 8, 9, 10).
struct ModuleK350 {
    bool silent = false;
    int silentSteps = 0;
    float calib[3] = {0.5f, -0.25f, 1.0f};
    float gyroNoise = 0.1f;
    float accNoise = 0.005f;
    float accNoiseY = 0.005f; // the second accelerometer noise value, at 93
    float cpu = 3.3f;
    float temperature = 25.0f;
    uint32_t sn[3] = {9, 8, 7};

    QByteArray payload() const
    {
        std::array<uint8_t, kTestK350Bytes> r{};
        uint8_t *b = r.data();
        writeLE<uint32_t>(b + 0, 1234);
        writeLE<uint32_t>(b + 4, 2);
        writeLE<int16_t>(b + 8, 7481);
        for (int i = 0; i < 3; ++i)
            writeLE<uint32_t>(b + 10 + 4 * i, sn[i]);
        writeLE<float>(b + 51, temperature);
        for (int i = 0; i < 12; ++i)
            writeLE<float>(b + 85 + 4 * i, i >= 6 ? gyroNoise : i == 2 ? accNoiseY : accNoise);
        writeLE<uint32_t>(b + 133, 200000000u);
        writeLE<float>(b + 137, cpu);
        b[141] = 1;
        b[142] = 1;
        return QByteArray(reinterpret_cast<const char *>(b), int(r.size()));
    }
};
} // namespace

class TestQuickK350 : public QObject, public QuickPageScenarios {
    Q_OBJECT
private:
    Factory_K350_Dlg *page = nullptr;
    ModuleK350 module;
    int stepsDone = 0;

    template <class T> T *w(const char *name) { return page->findChild<T *>(name); }
    QString label(const char *name) { return w<QLabel>(name)->text(); }

    void moduleStep() override
    {
        if (module.silentSteps > 0)
            --module.silentSteps;
        else
            QVERIFY(rig.sendRecord(DeviceMsgId::TestK350, module.payload()));
    }
    void step()
    {
        moduleStep();
        tick();
        ++stepsDone;
    }
    void runSteps(int n) override
    {
        for (int i = 0; i < n && !QTest::currentTestFailed(); ++i)
            step();
    }
    QString dbPath() const { return QDir::current().absoluteFilePath("k350.db"); }
    void wirePage() override
    {
        QObject::connect(rig.worker, &WorkerThread::signal_send_k350_test, page, &Factory_K350_Dlg::displayK350_test);
        QObject::connect(page, &Factory_K350_Dlg::Send_CMD_LONG_SIGNAL, rig.worker, &WorkerThread::Send_CMD_LONG);
        QObject::connect(page, &Factory_K350_Dlg::signal_gyro_calib_result_read, rig.worker,
                         &WorkerThread::gyro_calib_result_read);
        rig.countAfter(&WorkerThread::signal_send_k350_test);
        rig.sim->onCommand = [this](const LongCommand &c) {
            if (c.cmd_id == DeviceCmdId::GyroCalib) {
                module.silentSteps = 10;
                for (int i = 0; i < 3; ++i)
                    rig.sim->params[size_t(8 + i)] = module.calib[i];
            }
            return false;
        };
    }
    void newPage() override
    {
        delete page;
        page = new Factory_K350_Dlg;
        page->tickTimer().stop();
        wirePage();
        w<QTextEdit>("textEdit_ahrs_k350_user_name")->setPlainText("Wei");
        w<QTextEdit>("textEdit_k350_software_ver")->setPlainText("1234");
        w<QComboBox>("comboBox_k350_sysclk")->setCurrentIndex(2); // 200 MHz, whatever the last page chose
    }
    void tick() override
    {
        rig.clock.advance(100);
        page->_ackTimeout();
    }

    Names names() const override { return {"k350", "log_k350_test", 81, "987|1", "487|1"}; }
    void useSecondModule() override
    {
        module = ModuleK350();
        module.sn[0] = 4;
    }
    void sendRecord() override { QVERIFY(rig.sendRecord(DeviceMsgId::TestK350, module.payload())); }
    QString statusText() const override { return page->statusText(); }
    QString statusStyle() const override { return page->statusStyle(); }
    QString resultLogPath() const override { return page->resultLog().currentPath(); }
    QWidget *pageWidget() const override { return page; }
    QTimer &tickTimer() const override { return page->tickTimer(); }

private slots:
    void init()
    {
        QFile::remove("k350.db");
        QDir(logRoot()).removeRecursively();
        QVERIFY(rig.start());
        module = ModuleK350();
        page = nullptr;
        newPage();
        page->_ackTimeout();
        QCOMPARE(page->statusText(), QString("No connection, waiting"));
        stepsDone = 0;
    }
    void cleanup()
    {
        delete page;
        rig.stop();
    }

    void withCalibrationTheTimelineRunsSixteenSecondsAndPasses()
    {
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(true);
        g_user_param.update([](auto &p) { p[8] = 9.5f; p[40] = 3.25f; });
        runSteps(1);
        QCOMPARE(page->statusText(), QString("During testing, please keep it stationary!"));
        QCOMPARE(g_user_param.load()[8], 9.5f); // starting a test leaves the parameter image alone
        runSteps(49); // 4.9 s after the start
        QCOMPARE(page->engine().phaseSent(), false);
        runSteps(1); // 5.0 s
        QVERIFY(TestKit::waitUntil([&] { return rig.commandCount(DeviceCmdId::GyroCalib) == 1; }));
        QCOMPARE(page->statusText(), QString("Calibrate the gyroscope, please make sure it is stationary!"));
        runSteps(29); // 7.9 s: the module was silent, the test goes on
        QCOMPARE(page->statusText(), QString("Calibrate the gyroscope, please make sure it is stationary!"));
        QCOMPARE(rig.commandCount(DeviceCmdId::ReadParam), 0);
        runSteps(1); // 8.0 s: the result is requested
        QCOMPARE(page->statusText(), QString("Read gyroscope calibration results"));
        QVERIFY(TestKit::waitUntil([&] {
            const GyroCalibResult g = g_gyro_calib_result.load();
            return g.received[0] && g.received[1] && g.received[2];
        }));
        runSteps(20); // 10.0 s
        QCOMPARE(label("ahrs_k350_test_calib_gyro_bias1"), QString("Zero bias:N/A"));
        runSteps(3); // past 10 s: the result is shown
        QCOMPARE(label("ahrs_k350_test_calib_gyro_bias1"), QString("Zero bias:0.5000"));
        QCOMPARE(label("ahrs_k350_test_calib_gyro_bias2"), QString("Zero bias:-0.2500"));
        runSteps(56); // 15.9 s
        QVERIFY(page->statusText() != "Test passed");
        runSteps(1); // 16 s: the verdict
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(page->statusStyle(), QString("background-color: green;color:black"));
        QCOMPARE(g_user_param.load()[40], 3.25f);
        QCOMPARE(sqliteLines(dbPath(), "select sn, result from k350"), QStringList{"987|1"});
        QCOMPARE(sqliteLines(dbPath(), "pragma table_info(k350)"),
                 (QStringList{"0|sn|TEXT|0||1", "1|result|INTEGER|0||0"}));
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.size(), 42);
        QCOMPARE(f[1], QString("987"));
        QCOMPARE(f[2], QString("0"));
        QCOMPARE(f[7], QString("7481"));
        QCOMPARE(f[23], QString("0.5"));
        QCOMPARE(f[24], QString("-0.25"));
        QCOMPARE(f[27], QString("1"));
        QCOMPARE(f[40], QString("1"));
        QCOMPARE(f[41], QString("1"));
        QCOMPARE(getSettings()->value("k350_factory/k350_version").toString(), QString("1234"));
        QCOMPARE(getSettings()->value("k350_factory/k350_name").toString(), QString("Wei"));
        const LongCommand mode = rig.sim->commands().first().cmd;
        QCOMPARE(mode.cm1, 51.0f);
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
    void aPageHiddenMidTestStoresNoWrongVerdict()
    {
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(true); // the 16 s test with its two phases
        QuickPageScenarios::aPageHiddenMidTestStoresNoWrongVerdict(163);
    }

    void theChoicesOfTheLastVerdictComeBackWithTheNextPage()
    {
        w<QComboBox>("comboBox_k350_sysclk")->setCurrentIndex(1); // 84 MHz expected
        w<QTextEdit>("textEdit_ahrs_k350_user_name")->setPlainText("Ana");
        runSteps(81);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(w<QLabel>("ahrs_k350_test_crystal")->styleSheet(), QString("background-color:red"));
        delete page;
        page = new Factory_K350_Dlg;
        QCOMPARE(w<QComboBox>("comboBox_k350_sysclk")->currentIndex(), 1);
        QCOMPARE(w<QTextEdit>("textEdit_k350_software_ver")->toPlainText(), QString("1234"));
        QCOMPARE(w<QTextEdit>("textEdit_ahrs_k350_user_name")->toPlainText(), QString("Ana"));
    }

    void theClockChoiceComesBackWithoutAVerdict()
    {
        w<QComboBox>("comboBox_k350_sysclk")->setCurrentIndex(0);
        w<QComboBox>("comboBox_k350_sysclk")->setCurrentIndex(1); // chosen, no test run
        delete page;
        page = new Factory_K350_Dlg;
        QCOMPARE(w<QComboBox>("comboBox_k350_sysclk")->currentIndex(), 1);
    }

    // The x axis tells the ticks apart (not "1.79665·10^9" at each); the curves fill their
    // value axis instead of lying flat at the bottom of a fixed 0-5 scale.
    void thePlotsShowReadableTimesAndFitTheirCurves()
    {
        module.gyroNoise = 0.1f;
        runSteps(30);
        for (const char *name : {"ahrs_k350_tet_plot1", "ahrs_k350_tet_plot2"}) {
            auto *plot = w<QCustomPlot>(name);
            plot->replot(QCustomPlot::rpImmediateRefresh);
            const QStringList ticks = plot->xAxis->tickVectorLabels().toList();
            QVERIFY2(ticks.size() >= 2, name);
            QCOMPARE(QSet<QString>(ticks.begin(), ticks.end()).size(), ticks.size());
            const double value = plot == w<QCustomPlot>("ahrs_k350_tet_plot1") ? 0.005 : 0.1;
            const QCPRange y = plot->yAxis->range();
            QVERIFY2(y.contains(value) && y.size() < 10 * value,
                     qPrintable(QString("%1: %2 .. %3").arg(name).arg(y.lower).arg(y.upper)));
        }
    }

    void withoutCalibrationTheTestEndsAfterEightSecondsWithoutCommandTen()
    {
        runSteps(80);
        QVERIFY(page->statusText() != "Test passed");
        runSteps(1);
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(rig.commandCount(DeviceCmdId::GyroCalib), 0);
        QCOMPARE(fileLines(page->resultLog().currentPath()).value(0).split(',').value(27), QString("0"));
    }

    void theCalibrationBoxIsLatchedAtTestStart()
    {
        runSteps(10);
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(true); // too late for this test
        runSteps(71);
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(rig.commandCount(DeviceCmdId::GyroCalib), 0);
    }

    void aCalibrationResultBeyondTwoFails()
    {
        module.calib[1] = -2.1f;
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(true);
        runSteps(161);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(w<QLabel>("ahrs_k350_test_calib_gyro_bias2")->styleSheet(), QString("background-color:red"));
        QCOMPARE(sqliteLines(dbPath(), "select result from k350"), QStringList{"0"});
        QCOMPARE(fileLines(page->resultLog().currentPath()).value(0).split(',').value(2), QString("1"));
    }

    void aResultThatNeverArrivesFails()
    {
        rig.sim->answerParamReads = false;
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(true);
        runSteps(161);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
    }

    void gyroNoiseAtTheLimitShowsPoorAndFails()
    {
        module.gyroNoise = 0.4f; // stored just above 0.4
        runSteps(81);
        QVERIFY(label("ahrs_k350_test_gyro_noise1").startsWith("Poor:0.4\r\n0.4,0.4"));
        QCOMPARE(label("ahrs_k350_test_acc_noise1"), QString("Good"));
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.value(15), QString("0"));
        QCOMPARE(f.value(17), QString("1"));
    }

    void theNoiseVerdictOfTheResultLineDoesNotHangOnTheShownWord()
    {
        // A translation that shows "Good" in other words leaves the line's noise flags alone.
        struct OtherWords : QTranslator {
            QString translate(const char *, const char *source, const char *, int) const override
            {
                return QString(source) == "Good" ? QString("Gut") : QString();
            }
        } words;
        QCoreApplication::installTranslator(&words);
        module.gyroNoise = 0.4f;
        runSteps(81);
        QCoreApplication::removeTranslator(&words);
        QCOMPARE(label("ahrs_k350_test_acc_noise1"), QString("Gut"));
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.value(15), QString("0"));
        QCOMPARE(f.value(17), QString("1"));
    }

    // A module whose sensor or firmware went wrong sends NaN or an infinity: each fails its
    // check, and the label and the result line show the value, never a clean-looking number.
    void aValueThatIsNotANumberFailsTheModuleAndIsShown_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("column"); // of the result line, 0-based
        QTest::addColumn<QString>("written");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        const QString temperature = "ahrs_k350_test_tempature_imu1", cpu = "ahrs_k350_test_cpu_votage";
        QTest::newRow("temperature nan") << "temperature" << nan << temperature << "Temperature:nan" << 19 << "nan";
        QTest::newRow("temperature inf") << "temperature" << inf << temperature << "Temperature:inf" << 19 << "inf";
        QTest::newRow("temperature -inf") << "temperature" << -inf << temperature << "Temperature:-inf" << 19 << "-inf";
        QTest::newRow("cpu voltage nan") << "cpu" << nan << cpu << "nan" << 12 << "nan";
        QTest::newRow("cpu voltage inf") << "cpu" << inf << cpu << "inf" << 12 << "inf";
        QTest::newRow("cpu voltage -inf") << "cpu" << -inf << cpu << "-inf" << 12 << "-inf";
        QTest::newRow("gyro calibration nan")
            << "calib" << nan << "ahrs_k350_test_calib_gyro_bias1" << "Zero bias:nan" << 23 << "nan";
        // Field 17, the largest accelerometer noise: a NaN seen once stays, wherever it stands.
        QTest::newRow("accelerometer noise nan")
            << "accNoiseY" << nan << "ahrs_k350_test_acc_noise1" << "Poor:0.005\r\nnan,0.005" << 16 << "nan";
    }
    void aValueThatIsNotANumberFailsTheModuleAndIsShown()
    {
        QFETCH(QString, field);
        QFETCH(float, value);
        QFETCH(QString, labelName);
        QFETCH(QString, shown);
        QFETCH(int, column);
        QFETCH(QString, written);
        if (field == "temperature")
            module.temperature = value;
        else if (field == "cpu")
            module.cpu = value;
        else if (field == "accNoiseY")
            module.accNoiseY = value;
        else
            std::fill(std::begin(module.calib), std::end(module.calib), value);
        const bool calib = field == "calib";
        w<QCheckBox>("checkBox_calib_gyro")->setChecked(calib);
        runSteps(calib ? 161 : 81);
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
        QCOMPARE(label(qPrintable(labelName)), shown);
        QCOMPARE(w<QLabel>(qPrintable(labelName))->styleSheet(), QString("background-color:red"));
        QCOMPARE(sqliteLines(dbPath(), "select result from k350"), QStringList{"0"});
        const QStringList f = fileLines(page->resultLog().currentPath()).value(0).split(',');
        QCOMPARE(f.value(2), QString("1"));
        QCOMPARE(f.value(column), written);
    }

    void aReferenceVersionThatIsNotANumberFailsTheVersionCheck()
    {
        QList<int> masks;
        QStringList models;
        connect(page, &Factory_K350_Dlg::displayVersionToMain, this,
                [&](QString, QString, QString, QString, QString, QString model, QString, QString, QString, uint8_t mask) {
                    masks << mask;
                    models << model;
                });
        w<QTextEdit>("textEdit_k350_software_ver")->setPlainText("v1.2");
        runSteps(81);
        QVERIFY(masks.contains(1));
        QVERIFY(models.contains("VO350(7481)"));
        QCOMPARE(page->statusText(), QString("Test failed, malfunction occurred"));
    }

    void aSecondPassOfTheSameModuleShowsTheRepeatNotice()
    {
        runSteps(81);
        QCOMPARE(page->statusText(), QString("Test passed"));
        module.silentSteps = 25; // unplugged
        runSteps(25);
        QCOMPARE(page->statusText(), QString("Waiting for the next test"));
        runSteps(82);
        QCOMPARE(page->statusText(), QString("Test passed"));
        QCOMPARE(rig.prompter.texts(),
                 QStringList{"The current SN number has been successfully tested, and it is still successful this time, but there is no duplicate counting"});
        QCOMPARE(rig.prompter.shown.value(0).title, QString("notice"));
        QCOMPARE(sqliteLines(dbPath(), "select count(*), sum(result) from k350"), QStringList{"1|1"});
        QCOMPARE(fileLines(page->resultLog().currentPath()).size(), 2);
    }
};

QTEST_MAIN(TestQuickK350)
#include "test_quick_k350.moc"

// The decoding page, offscreen: naming rule, refusals, buttons, stored decode type, and a
// whole decode started from the page.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include "app/MetaTypes.h"
#include "app/Settings.h"
#include "link/LinkFlags.h"
#include "production/DecodeDlg.h"
#include "production/DecodeFormats.h"
#include "tests/production/DecodeTestKit.h"

using namespace DecodeTestKit;

namespace {
struct Choosers {
    QString openAnswer, saveAnswer;
    int opens = 0, saves = 0;
    QString openTitle, openFilter, saveTitle, saveFilter;
    void install()
    {
        DecodeDlg::setFileChoosers(
            [this](QWidget *, const QString &t, const QString &f) {
                ++opens;
                openTitle = t;
                openFilter = f;
                return openAnswer;
            },
            [this](QWidget *, const QString &t, const QString &f) {
                ++saves;
                saveTitle = t;
                saveFilter = f;
                return saveAnswer;
            });
    }
};

template <class W> W *child(DecodeDlg &page, const char *name)
{
    W *w = page.findChild<W *>(name);
    Q_ASSERT(w);
    return w;
}
QString status(DecodeDlg &page) { return child<QLabel>(page, "label_decode_status")->text(); }
QPushButton *startButton(DecodeDlg &page) { return child<QPushButton>(page, "pushButton_start_decode"); }
QPushButton *openButton(DecodeDlg &page) { return child<QPushButton>(page, "pushButton_openfile_for_decode"); }
bool buttonsEnabled(DecodeDlg &page)
{
    const bool a = startButton(page)->isEnabled(), b = openButton(page)->isEnabled();
    Q_ASSERT(a == b);
    return a;
}

QPushButton *cancelButton(DecodeDlg &page) { return child<QPushButton>(page, "pushButton_cancel_decode"); }

// Processes events until the decode has ended on the page (woken by every event, bounded).
bool waitForDecodeEnd(DecodeDlg &page, int timeoutMs)
{
    QTimer tick; // so the wait below always wakes up
    tick.start(50);
    QElapsedTimer t;
    t.start();
    while (!buttonsEnabled(page) && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return buttonsEnabled(page);
}

// A sparse source of many gigabytes of zeros behind one good frame: it takes long to decode.
QString endlessRecording(const QString &name, const QByteArray &firstFrame)
{
    QFile f(path(name));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(firstFrame);
    f.resize(qint64(16) << 30);
    return f.fileName();
}

QByteArray nineImuRecording(int frames)
{
    QByteArray rec;
    for (int n = 0; n < frames; ++n) {
        Payload p(932);
        p.at<uint32_t>(0, uint32_t(n)).at<float>(4, float(n) * 0.5f).at<uint32_t>(928, uint32_t(n));
        rec += QByteArray("\x00\xAA", 2) + frame(DecodeFormat::Msg::NineImu, p);
    }
    return rec;
}
} // namespace

class TestDecodePage : public QObject {
    Q_OBJECT
    Choosers m_choosers;

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        m_choosers.install();
    }
    void init()
    {
        g_link_status.fill(0);
        getSettings()->remove("decode_index/index");
        m_choosers = Choosers();
        m_choosers.install();
    }

    void targetNameOfModeZeroCutsTheFirstDatOfTheFileName()
    {
        QCOMPARE(DecodeDlg::targetForSource("D:/rec/run1.dat"), QString("D:/rec/run1.txt"));
        QCOMPARE(DecodeDlg::targetForSource("D:/rec/run1.txt"), QString("D:/rec/run1.txt.txt"));
        QCOMPARE(DecodeDlg::targetForSource("D:/rec/run1.dat.bak"), QString("D:/rec/run1.txt"));
        QCOMPARE(DecodeDlg::targetForSource("D:/rec.dat/run1.dat"), QString("D:/rec.dat/run1.txt"));
        QCOMPARE(DecodeDlg::targetForSource("D:/rec/run1.dat.2.dat"), QString("D:/rec/run1.txt"));
        QCOMPARE(DecodeDlg::targetForSource("/data/RUN.DAT"), QString("/data/RUN.DAT.txt"));
        QCOMPARE(DecodeDlg::targetForSource(""), QString(".txt"));
    }

    void pageOffersAllSixDecodeTypesAndBothNamingModes()
    {
        DecodeDlg page;
        auto *types = child<QComboBox>(page, "comboBox_decode");
        QCOMPARE(types->count(), 6);
        QCOMPARE(types->itemText(0), QString("AHRS"));
        QCOMPARE(types->maxVisibleItems(), 30);
        auto *modes = child<QComboBox>(page, "comboBox_decode_target_file_path");
        QCOMPARE(modes->count(), 2);
        QCOMPARE(modes->itemText(0), QString("Current file name"));
        QCOMPARE(modes->itemText(1), QString("Self selected path"));
        QCOMPARE(page.windowTitle(), QString("Form"));
        QCOMPARE(startButton(page)->text(), QString::fromUtf8("数据解码"));
        QCOMPARE(openButton(page)->text(), QString::fromUtf8("选择打开文件"));
        QVERIFY(status(page).contains(QString::fromUtf8("N/A")));
        QCOMPARE(child<QProgressBar>(page, "progressBar")->value(), 0);
        QVERIFY(buttonsEnabled(page));
    }

    void storedDecodeTypeIsShownAndAnUnknownOneFallsBackToTheFirst()
    {
        getSettings()->setValue("decode_index/index", 4);
        {
            DecodeDlg page;
            QCOMPARE(child<QComboBox>(page, "comboBox_decode")->currentIndex(), 4);
        }
        for (int bad : {6, -1, 99}) {
            getSettings()->setValue("decode_index/index", bad);
            DecodeDlg page;
            QCOMPARE(child<QComboBox>(page, "comboBox_decode")->currentIndex(), 0);
        }
    }

    void openButtonAsksOnceWithUpperCaseSuffixesAccepted()
    {
        DecodeDlg page;
        m_choosers.openAnswer = "/tmp/RUN7.DAT";
        openButton(page)->click();
        QCOMPARE(m_choosers.opens, 1);
        QCOMPARE(m_choosers.openTitle, QString("Open data file"));
        QVERIFY(m_choosers.openFilter.contains("*.dat"));
        QVERIFY(m_choosers.openFilter.contains("*.DAT"));
        QVERIFY(m_choosers.openFilter.contains("*.TXT"));
        QCOMPARE(page.sourcePath(), QString("/tmp/RUN7.DAT"));
        QCOMPARE(child<QTextEdit>(page, "textEdit123")->toPlainText(), QString("/tmp/RUN7.DAT"));
        m_choosers.openAnswer.clear();
        openButton(page)->click();
        QCOMPARE(page.sourcePath(), QString());
    }

    void connectedLinkRefusesTheStart()
    {
        DecodeDlg page;
        g_link_status[0] = 1;
        startButton(page)->click();
        QCOMPARE(status(page), QString("Status: Please disconnect the serial port"));
        QVERIFY(page.worker() == nullptr);
        QVERIFY(buttonsEnabled(page));
    }

    void modeZeroWithoutSourceAsksForTheSource()
    {
        DecodeDlg page;
        startButton(page)->click();
        QCOMPARE(child<QTextEdit>(page, "textEdit_decode_dest")->toPlainText(), QString(".txt"));
        QCOMPARE(status(page), QString("Status:Please select the source file"));
        QVERIFY(page.worker() != nullptr); // a new idle worker stays
        QVERIFY(buttonsEnabled(page));
        QVERIFY(!getSettings()->contains("decode_index/index"));
    }

    void cancelledSaveDialogStartsNothing()
    {
        DecodeDlg page;
        child<QComboBox>(page, "comboBox_decode_target_file_path")->setCurrentIndex(1);
        startButton(page)->click();
        QCOMPARE(m_choosers.saves, 1); // one click, one run of the slot
        QCOMPARE(m_choosers.saveTitle, QString("Save decoding file"));
        QCOMPARE(m_choosers.saveFilter, QString("data format (*.txt)"));
        QVERIFY(page.worker() == nullptr);
        QVERIFY(status(page).contains(QString::fromUtf8("N/A")));
        // A chosen target but no source.
        m_choosers.saveAnswer = path("chosen.txt");
        startButton(page)->click();
        QCOMPARE(m_choosers.saves, 2);
        QCOMPARE(status(page), QString("Status:Please select the source file"));
    }

    void reportsDriveTheButtonsAndOnlyCode33Counts()
    {
        DecodeDlg page;
        const QString src = writeFile("page_nine.dat", nineImuRecording(3));
        m_choosers.openAnswer = src;
        openButton(page)->click();
        startButton(page)->click();
        QVERIFY(!buttonsEnabled(page));
        // Hold the worker's own reports off the page: feed the page by hand.
        disconnect(page.worker(), nullptr, &page, nullptr);
        page.rev_log_from_worker(33, "Status: Start decoding");
        QVERIFY(!buttonsEnabled(page));
        QCOMPARE(status(page), QString("Status: Start decoding"));
        page.rev_log_from_worker(5, "something else");
        QCOMPARE(status(page), QString("Status: Start decoding"));
        QVERIFY(!buttonsEnabled(page));
        for (const char *end : {DecodeText::kNoFrame, DecodeText::kSourceUnreadable,
                                "Status: Decoding completed, decoding error count:0,Decoding success rate:100.00%"}) {
            page.rev_log_from_worker(33, "Status: Start decoding");
            page.rev_log_from_worker(33, end);
            QVERIFY(buttonsEnabled(page));
            QCOMPARE(status(page), QString(end));
        }
    }

    void wholeDecodeFromThePageAndARestartRetiresTheOldWorker()
    {
        const QString src = writeFile("page_run.dat", nineImuRecording(40));
        QFile::remove(path("page_run.txt"));
        DecodeDlg page;
        child<QComboBox>(page, "comboBox_decode")->setCurrentIndex(DecodeFormat::NineImu);
        m_choosers.openAnswer = src;
        openButton(page)->click();
        startButton(page)->click();
        QCOMPARE(page.targetPath(), path("page_run.txt"));
        QCOMPARE(child<QTextEdit>(page, "textEdit_decode_dest")->toPlainText(), path("page_run.txt"));
        QVERIFY(!buttonsEnabled(page));
        QCOMPARE(g_decode_type, uint16_t(DecodeFormat::NineImu));
        QCOMPARE(getSettings()->value("decode_index/index").toInt(), int(DecodeFormat::NineImu));
        QVERIFY(TestKit::waitUntil([&] { return buttonsEnabled(page); }, 20000));
        QCOMPARE(status(page), QString("Status: Decoding completed, decoding error count:0,Decoding success rate:100.00%"));
        QTRY_COMPARE_WITH_TIMEOUT(child<QProgressBar>(page, "progressBar")->value(), 100, 5000);
        const Outcome direct = decode(DecodeFormat::NineImu, src, path("page_direct.txt"));
        QCOMPARE(direct.lines().size(), 41);
        QCOMPARE(readFile(path("page_run.txt")), direct.text);

        QPointer<WorkerThread_decode> first = page.worker();
        QPointer<QThread> firstThread = first->thread();
        startButton(page)->click();
        QVERIFY(page.worker() != first.data());
        QVERIFY(TestKit::waitUntil([&] { return buttonsEnabled(page); }, 20000));
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull() && firstThread.isNull(), 5000);
        QCOMPARE(readFile(path("page_run.txt")), direct.text);
    }

    void textTypedIntoTheSourceBoxChangesNeitherSourceNorTarget()
    {
        const QString small = writeFile("small.dat", nineImuRecording(3));
        for (const char *name : {"small.txt", "typed_other.txt"})
            QFile::remove(path(name));
        DecodeDlg page;
        child<QComboBox>(page, "comboBox_decode")->setCurrentIndex(DecodeFormat::NineImu);
        m_choosers.openAnswer = small;
        openButton(page)->click();
        auto *box = child<QTextEdit>(page, "textEdit123");
        QVERIFY(box->isReadOnly());
        box->setFocus();
        QTest::keyClicks(box, "typed_other.dat");
        QCOMPARE(box->toPlainText(), small);
        // Even a text put there by other means names nothing.
        box->setPlainText(path("typed_other.dat"));
        startButton(page)->click();
        QCOMPARE(page.sourcePath(), small);
        QCOMPARE(page.targetPath(), path("small.txt"));
        QVERIFY(waitForDecodeEnd(page, 20000));
        QCOMPARE(readFile(path("small.txt")).count('\n'), 4);
        QVERIFY(!QFileInfo::exists(path("typed_other.txt")));
    }

    void cancelStopsARunningDecodeAndRemovesItsTarget()
    {
        Payload p(932);
        const QString src = endlessRecording("endless.dat", frame(DecodeFormat::Msg::NineImu, p));
        QFile::remove(path("endless.txt"));
        DecodeDlg page;
        child<QComboBox>(page, "comboBox_decode")->setCurrentIndex(DecodeFormat::NineImu);
        m_choosers.openAnswer = src;
        openButton(page)->click();
        QVERIFY(!cancelButton(page)->isEnabled());
        startButton(page)->click();
        QVERIFY(cancelButton(page)->isEnabled());
        QVERIFY(TestKit::waitUntil([&] { return status(page) == DecodeText::kStart; }, 10000));
        // The target is made at the first frame decoded, some time after the start is told: the
        // cancel waits for it (the text grows under its incomplete name).
        QVERIFY(TestKit::waitUntil([&] { return QFileInfo::exists(path("endless.txt.incomplete")); }, 10000));
        cancelButton(page)->click();
        QVERIFY(waitForDecodeEnd(page, 20000));
        QCOMPARE(status(page), QString("Status: Decoding cancelled, the incomplete target file was removed"));
        QVERIFY(!cancelButton(page)->isEnabled());
        QVERIFY(child<QProgressBar>(page, "progressBar")->value() < 100);
        QVERIFY(!QFileInfo::exists(path("endless.txt")));
        QFile::remove(src);
    }

    void closingThePageDuringADecodeStopsAndReleasesTheWorker()
    {
        Payload p(932);
        const QString src = endlessRecording("closing.dat", frame(DecodeFormat::Msg::NineImu, p));
        QPointer<WorkerThread_decode> worker;
        QPointer<QThread> thread;
        {
            DecodeDlg page;
            child<QComboBox>(page, "comboBox_decode")->setCurrentIndex(DecodeFormat::NineImu);
            m_choosers.openAnswer = src;
            openButton(page)->click();
            startButton(page)->click();
            worker = page.worker();
            thread = worker->thread();
            QVERIFY(TestKit::waitUntil([&] { return status(page) == DecodeText::kStart; }, 10000));
        }
        QVERIFY(TestKit::waitUntil([&] { return worker.isNull() && thread.isNull(); }, 20000));
        QVERIFY(!QFileInfo::exists(path("closing.txt")));
        QFile::remove(src);
    }

    void restartingADecode3000TimesInARowIsSafe()
    {
        // Every decode is whole but writes nothing: the restarts are what is tested here.
        const QString src = writeFile("restart.dat", QByteArray::fromHex("00AA55AA00"));
        QFile::remove(path("restart.txt"));
        DecodeDlg page;
        child<QComboBox>(page, "comboBox_decode")->setCurrentIndex(DecodeFormat::NineImu);
        m_choosers.openAnswer = src;
        openButton(page)->click();
        QPointer<WorkerThread_decode> first;
        QPointer<QThread> firstThread;
        for (int i = 0; i < 3000; ++i) {
            startButton(page)->click();
            if (i == 0) {
                first = page.worker();
                firstThread = first->thread();
            }
            QVERIFY2(waitForDecodeEnd(page, 20000), qPrintable(QString::number(i)));
            QCOMPARE(status(page), QString(DecodeText::kNoFrame));
        }
        QVERIFY(!QFileInfo::exists(path("restart.txt")));
        QVERIFY(TestKit::waitUntil([&] { return first.isNull() && firstThread.isNull(); }, 5000));
    }
};

QTEST_MAIN(TestDecodePage)
#include "test_decode_page.moc"

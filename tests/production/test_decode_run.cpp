// One decode from file to file: reports, counts, progress, the target's life, the frame
// search, and the whole text against a plain QTextStream writer on noisy recordings.
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

#include "bench/decode_bench_kit.h"
#include "link/DeviceRecords.h"
#include "production/DecodeFormats.h"
#include "sim/ModuleSimulator.h"
#include "tests/production/DecodeTestKit.h"

using namespace DecodeTestKit;
using namespace DecodeFormat;

namespace {
QByteArray ahrs(uint32_t time)
{
    Payload p(44);
    p.at<uint32_t>(0, time).at<float>(16, 1.0f);
    return frame(Msg::Ahrs, p);
}
QByteArray corrupt(QByteArray f)
{
    f[10] = char(f[10] ^ 0x01);
    return f;
}
const QByteArray kAhrsHeader = "%time_us,accx,accy,accz,gyrox,gyroy,gyroz,temperature,roll,pitch,yaw,mx,my,mz\n";
} // namespace

class TestDecodeRun : public QObject {
    Q_OBJECT
private slots:
    // --- reports and counts ---
    void firstGoodFrameWritesTheHeaderAndItsOwnRow()
    {
        const Outcome o = decodeBytes(Ahrs, ahrs(7));
        QCOMPARE(o.text, kAhrsHeader + "7,1,0,0,0,0,0,0,0,0,0\n");
        QCOMPARE(o.reports, QStringList({DecodeText::kStart,
                                         "Status: Decoding completed, decoding error count:0,Decoding success rate:100.00%"}));
    }

    void successRateIsThePercentageOfGoodFramesAmongGoodAndBad()
    {
        // Bad frames before the first good one are not counted; those after it are.
        const QByteArray rec = corrupt(ahrs(1)) + corrupt(ahrs(2)) + ahrs(3) + ahrs(4) + corrupt(ahrs(5)) + ahrs(6);
        const Outcome o = decodeBytes(Ahrs, rec);
        QCOMPARE(o.result.goodFrames, uint64_t(3));
        QCOMPARE(o.result.badFrames, uint64_t(1));
        QCOMPARE(o.reports.last(), QString("Status: Decoding completed, decoding error count:1,Decoding success rate:75.00%"));
        QCOMPARE(o.lines().size(), 4);
    }

    void emptySourceGivesFullProgressAndTheNoFrameReport()
    {
        const Outcome o = decodeBytes(Ahrs, QByteArray(), "empty");
        QCOMPARE(o.progress, QList<int>({100}));
        QCOMPARE(o.reports, QStringList({DecodeText::kStart, DecodeText::kNoFrame}));
        QVERIFY(!QFileInfo::exists(path("empty.txt")));
    }

    void missingSourceReportsAndTouchesNothing()
    {
        const QString target = writeFile("keep.txt", "old");
        const Outcome o = decode(Ahrs, path("no_such.dat"), target);
        QCOMPARE(o.reports, QStringList({DecodeText::kSourceUnreadable}));
        QVERIFY(o.progress.isEmpty());
        QCOMPARE(readFile(target), QByteArray("old"));
    }

    void readOnlySourceDecodes()
    {
        const QString src = writeFile("ro.dat", ahrs(1) + ahrs(2));
        QFile::setPermissions(src, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const Outcome o = decode(Ahrs, src, path("ro.txt"));
        QCOMPARE(o.result.status, DecodeResult::Completed);
        QCOMPARE(o.lines().size(), 3);
        QCOMPARE(readFile(src), ahrs(1) + ahrs(2));
    }

    // --- the target ---
    void existingLongerTargetLosesItsOldTail()
    {
        const QString src = writeFile("short.dat", ahrs(1));
        const QString target = writeFile("short.txt", QByteArray(10000, 'x'));
        const Outcome o = decode(Ahrs, src, target);
        QCOMPARE(o.text, kAhrsHeader + "1,1,0,0,0,0,0,0,0,0,0\n");
    }

    void targetThatCannotBeOpenedEndsWithAFailureReport()
    {
        const QString src = writeFile("t.dat", ahrs(1) + ahrs(2));
        const Outcome o = decode(Ahrs, src, path("no_such_folder/t.txt"));
        QCOMPARE(o.result.status, DecodeResult::TargetUnwritable);
        QCOMPARE(o.reports.size(), 2);
        QVERIFY(!o.reports.last().contains("Decoding completed"));
        QVERIFY(o.reports.last().contains("failed"));
    }

    void targetThatCannotBeWrittenEndsWithAFailureReport()
    {
        if (!QFileInfo::exists("/dev/full"))
            QSKIP("no /dev/full on this system");
        QByteArray rec;
        for (uint32_t i = 0; i < 20000; ++i)
            rec += ahrs(i);
        const QString src = writeFile("full.dat", rec);
        const Outcome o = decode(Ahrs, src, "/dev/full");
        QCOMPARE(o.result.status, DecodeResult::TargetUnwritable);
        QVERIFY(!o.reports.last().contains("Decoding completed"));
    }

    void targetEqualToTheSourceIsRefused()
    {
        const QByteArray bytes = ahrs(1) + ahrs(2);
        const QString src = writeFile("same.dat", bytes);
        const Outcome o = decode(Ahrs, src, src);
        QCOMPARE(o.result.status, DecodeResult::TargetIsSource);
        QCOMPARE(o.reports.size(), 1);
        QVERIFY(!o.reports.last().contains("Decoding completed"));
        QCOMPARE(readFile(src), bytes);
        // The same file named another way.
        const Outcome o2 = decode(Ahrs, src, TestKit::workDir() + "/./same.dat");
        QCOMPARE(o2.result.status, DecodeResult::TargetIsSource);
        QCOMPARE(readFile(src), bytes);
    }

    void decodeTypeOutsideTheSixFails()
    {
        const QString src = writeFile("bad_type.dat", ahrs(1));
        for (int type : {-1, 6, 200}) {
            const Outcome o = decode(type, src, path("bad_type.txt"));
            QCOMPARE(o.result.status, DecodeResult::BadType);
            QCOMPARE(o.reports.size(), 1);
            QVERIFY(!o.reports.last().contains("Decoding completed"));
            QVERIFY(!QFileInfo::exists(path("bad_type.txt")));
        }
    }

    void targetIsCompleteWhenTheFinalReportArrives()
    {
        QByteArray rec;
        for (uint32_t i = 0; i < 50000; ++i)
            rec += ahrs(i);
        const Outcome o = decodeBytes(Ahrs, rec, "flush");
        QCOMPARE(o.lines().size(), 50001);
        QCOMPARE(o.textAtEnd, o.text);
    }

    // --- progress ---
    void progressOfA2500ByteSourceIs40Then80Then100()
    {
        QByteArray rec = ahrs(1);
        rec += QByteArray(2500 - rec.size(), '\0');
        QCOMPARE(decodeBytes(Ahrs, rec, "p2500").progress, QList<int>({40, 80, 100}));
    }

    void progressRisesInDistinctStepsToOneHundred()
    {
        QByteArray rec;
        while (rec.size() < 3000000)
            rec += ahrs(uint32_t(rec.size()));
        const QList<int> p = decodeBytes(Ahrs, rec, "p3m").progress;
        QVERIFY(p.size() >= 90 && p.size() <= 101);
        for (int i = 1; i < p.size(); ++i)
            QVERIFY(p[i] > p[i - 1]);
        QCOMPARE(p.last(), 100);
    }

    // --- the frame search ---
    void aSecondStartByteRestartsTheFrame()
    {
        const QByteArray rec = QByteArray("\xAA", 1) + ahrs(5) + QByteArray("\xAA\xAA", 2) + ahrs(6);
        QCOMPARE(decodeBytes(Ahrs, rec).lines().size(), 3);
    }

    void frameWithLengthZeroIsDroppedUncounted()
    {
        const QByteArray zero = QByteArray::fromHex("aa55020000000000000000");
        const Outcome o = decodeBytes(Ahrs, ahrs(1) + zero + ahrs(2));
        QCOMPARE(o.lines().size(), 3);
        QCOMPARE(o.result.badFrames, uint64_t(0));
    }

    void falseStartDoesNotSwallowTheFramesBehindIt()
    {
        // A header whose length runs far past the end of the file, then good frames.
        const QByteArray falseStart = QByteArray::fromHex("aa550200ffff");
        const Outcome o = decodeBytes(Ahrs, ahrs(1) + falseStart + ahrs(2) + ahrs(3));
        QCOMPARE(o.lines().size(), 4);
        QVERIFY(o.lines()[3].startsWith("3,"));
    }

    void frameCutOffByTheEndOfTheFileIsDropped()
    {
        const QByteArray last = ahrs(9);
        const Outcome o = decodeBytes(Ahrs, ahrs(1) + last.left(last.size() - 3));
        QCOMPARE(o.lines().size(), 2);
    }

    // --- records kept to the decoder ---
    void calibrationRecordsStayWithTheDecoder()
    {
        std::array<SimPayload::ImuValues, 32> imus{};
        for (int i = 0; i < 32; ++i) {
            imus[size_t(i)].time_ms = uint32_t(100 + i);
            imus[size_t(i)].calib_flag = 3999;
        }
        const auto before256 = g_imu_calib_256.load();
        const auto before1040 = g_imu_calib_1040.load();
        for (int type : {Calib256, Calib1040}) {
            ModuleSimulator sim;
            sim.imus = imus;
            sim.calibMessageId = type == Calib256 ? 0xB6B6 : 0xB6B4;
            const Outcome o = decodeBytes(type, sim.currentCalibFrame() + sim.currentCalibFrame(), "sim");
            QCOMPARE(o.lines().size(), 3);
            QVERIFY(o.lines()[1].contains(",3999,"));
        }
        QVERIFY(g_imu_calib_256.load() == before256);
        QVERIFY(g_imu_calib_1040.load() == before1040);
    }

    // --- whole recordings ---
    void noisyRecordingsOfEveryTypeGiveTheQTextStreamTextWithNoRowLost()
    {
        for (int type = 0; type < kTypeCount; ++type) {
            RecordingOptions opt;
            opt.type = type;
            opt.bytes = 1500000;
            opt.seed = uint32_t(type + 11);
            opt.wildValues = 0.3;
            const QString src = path(QString("noisy%1.dat").arg(type));
            const qint64 frames = writeRecording(src, opt);
            QVERIFY(frames > 10);
            const Outcome fast = decode(type, src, path(QString("noisy%1.txt").arg(type)));
            const Outcome plain = decode(type, src, path(QString("noisy%1.plain").arg(type)), makeQTextStreamSink());
            QCOMPARE(fast.result.status, DecodeResult::Completed);
            QCOMPARE(fast.result.rows, uint64_t(frames));
            QCOMPARE(fast.result.goodFrames, uint64_t(frames));
            QCOMPARE(qint64(fast.lines().size()), frames + 1);
            QVERIFY(fast.text == plain.text);
        }
    }

    void sizesAndPositionsPastFourGigabytes()
    {
        // A sparse file just over 4 GiB with frames at both ends.
        const QString src = path("big.dat");
        QFile::remove(src);
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ahrs(1));
            const qint64 size = (qint64(1) << 32) + 5000;
            QVERIFY(f.resize(size));
            QVERIFY(f.seek(size - 1000));
            f.write(ahrs(2));
        }
        const Outcome o = decode(Ahrs, src, path("big.txt"));
        QFile::remove(src);
        QCOMPARE(o.result.sourceBytes, (qint64(1) << 32) + 5000);
        QCOMPARE(o.lines().size(), 3);
        QVERIFY(o.lines()[2].startsWith("2,"));
        QCOMPARE(o.progress.size(), 101);
        QCOMPARE(o.progress.first(), 0);
        QCOMPARE(o.progress.last(), 100);
    }
};

QTEST_GUILESS_MAIN(TestDecodeRun)
#include "test_decode_run.moc"

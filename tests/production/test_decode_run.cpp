// One decode from file to file: reports, counts, progress, the target's life, the frame
// search, and the whole text against a plain QTextStream writer on noisy recordings.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <vector>
#include <csignal>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/decode_bench_kit.h"
#include "link/DeviceRecords.h"
#include "production/DecodeFormats.h"
#include "sim/ModuleSimulator.h"
#include "tests/kit/FileSizeLimit.h"
#include "tests/kit/ReferenceFrameParser.h"
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

QByteArray ahrsRecording(uint32_t frames)
{
    QByteArray rec;
    for (uint32_t i = 0; i < frames; ++i)
        rec += ahrs(i);
    return rec;
}

// While it lives, this thread meets file permissions as a user and group who own none of the
// test's files: a folder without write permission stops it even when the tests run as root
// (whose file-system user and group, and supplementary groups, are switched for this thread
// only: the C library's setgroups() would change every thread, the system call changes this one).
class AsAnotherUser {
public:
    AsAnotherUser()
    {
        constexpr uid_t kNobody = 65534;
        constexpr gid_t kNogroup = 65534;
        if (::geteuid() != 0)
            return;
        m_groups.resize(::getgroups(0, nullptr));
        m_groups.resize(qMax(0, ::getgroups(int(m_groups.size()), m_groups.data())));
        m_groupsDropped = ::syscall(SYS_setgroups, 0, nullptr) == 0;
        ::setfsgid(kNogroup);
        ::setfsuid(kNobody);
        m_switched = uid_t(::setfsuid(uid_t(-1))) == kNobody && gid_t(::setfsgid(gid_t(-1))) == kNogroup;
    }
    ~AsAnotherUser()
    {
        ::setfsuid(0);
        ::setfsgid(::getegid());
        if (m_groupsDropped)
            ::syscall(SYS_setgroups, m_groups.size(), m_groups.data());
    }
    AsAnotherUser(const AsAnotherUser &) = delete;
    AsAnotherUser &operator=(const AsAnotherUser &) = delete;
    // The other user reaches the folder (every folder on its path lets it pass).
    static bool reaches(const QString &folder)
    {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }

private:
    std::vector<gid_t> m_groups;
    bool m_groupsDropped = false;
    bool m_switched = false;
};

QString freshFolder(const QString &name)
{
    QDir dir(path(name));
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
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

    void decodingOntoAHardLinkOfTheSourceIsRefusedAndTheSourceIsUnchanged()
    {
        const QByteArray bytes = ahrs(1) + ahrs(2);
        const QString src = writeFile("linked.dat", bytes);
        for (const QString &other : {path("linked_hard.txt"), path("linked_soft.txt")}) {
            QFile::remove(other);
            const bool hard = other.contains("hard");
            QVERIFY(hard ? ::link(QFile::encodeName(src).constData(), QFile::encodeName(other).constData()) == 0
                         : QFile::link(src, other));
            const Outcome o = decode(Ahrs, src, other);
            QCOMPARE(o.result.status, DecodeResult::TargetIsSource);
            QCOMPARE(o.reports, QStringList({DecodeText::kTargetIsSource}));
            QCOMPARE(readFile(src), bytes);
            QFile::remove(other);
        }
    }

    void aTargetThatFailsToWriteLeavesNoFileThatLooksComplete()
    {
        // Room for about a third of the text, like a file system too small for it.
        const QString src = writeFile("fsize.dat", ahrsRecording(20000));
        const QString target = writeFile("fsize.txt", "an older decode");
        Outcome o;
        {
            FileSizeLimit limit(256 * 1024);
            o = decode(Ahrs, src, target);
        }
        QCOMPARE(o.result.status, DecodeResult::TargetUnwritable);
        QCOMPARE(o.reports.last(),
                 QString("Status: Decoding failed, unable to write the target file, the incomplete target file was removed"));
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(!QFileInfo::exists(target + ".incomplete"));
        QCOMPARE(readFile(src), ahrsRecording(20000));
    }

    void aDecodeKilledMidWayLeavesNothingThatLooksCompleteUnderTheTargetsName()
    {
        // A file-size limit with its signal left as it is: the process dies in the middle of the
        // text, as in a crash or a power cut.
        const QString src = writeFile("killed.dat", ahrsRecording(20000));
        const QString target = writeFile("killed.txt", "an older decode");
        QFile::remove(target + ".incomplete");
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit l{};
            getrlimit(RLIMIT_FSIZE, &l);
            l.rlim_cur = 256 * 1024;
            setrlimit(RLIMIT_FSIZE, &l);
            DecodeRun run(Ahrs);
            run.run(src, target, [](const QString &) {}, [](int) {});
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGXFSZ);
        QVERIFY(!QFileInfo::exists(target));
        // What was written lies under a name that says it is not whole.
        QCOMPARE(QFileInfo(target + ".incomplete").size(), qint64(256 * 1024));
        QFile::remove(target + ".incomplete");

        // The same decode left alone gives the whole text under the target's name, nothing beside.
        const Outcome o = decode(Ahrs, src, target);
        QCOMPARE(o.result.status, DecodeResult::Completed);
        QCOMPARE(o.lines().size(), 20001);
        QVERIFY(!QFileInfo::exists(target + ".incomplete"));
    }

    void aTargetNameWithNoRoomForTheIncompleteSuffixStillGrowsUnderATemporaryName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("245 bytes") << QString(241, 'n') + ".txt";
        QTest::newRow("255 bytes") << QString(251, 'n') + ".txt";
        // The shorter name must not end in the middle of a character.
        QTest::newRow("255 bytes of Chinese") << "nn" + QString("数").repeated(83) + ".txt";
    }
    void aTargetNameWithNoRoomForTheIncompleteSuffixStillGrowsUnderATemporaryName()
    {
        QFETCH(QString, name);
        QCOMPARE(QFile::encodeName(name).size() >= 245, true);
        const QString src = writeFile("long_name.dat", ahrsRecording(20000));
        const QString dir = freshFolder("long_name");
        const QString target = writeFile("long_name/" + name, "an older decode");
        QStringList midway;
        DecodeRun run(Ahrs);
        const DecodeResult r = run.run(src, target, [](const QString &) {}, [&](int percent) {
            if (midway.isEmpty() && percent >= 50)
                midway = filesIn(dir);
        });
        QCOMPARE(r.status, DecodeResult::Completed);
        QCOMPARE(readFile(target).count('\n'), 20001);
        QCOMPARE(filesIn(dir), QStringList{name});
        // Midway the text lay under a temporary name only.
        QCOMPARE(midway.size(), 1);
        QVERIFY2(midway.first().endsWith(".incomplete"), qPrintable(midway.first()));

        // Cut short, it leaves nothing under the target's name.
        Outcome cut;
        {
            FileSizeLimit limit(256 * 1024);
            cut = decode(Ahrs, src, target);
        }
        QCOMPARE(cut.reports.last(),
                 QString("Status: Decoding failed, unable to write the target file, the incomplete target file was removed"));
        QCOMPARE(filesIn(dir), QStringList());
    }

    void anExistingTargetInAFolderTheUserMayNotWriteToIsWrittenInPlace()
    {
        // The files live outside the test's working folder: a checkout in a private folder (a
        // home of mode 700) lets no other user through to it.
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(base.path(), open));
        const auto put = [&](const QString &name, const QByteArray &bytes) {
            QFile f(base.filePath(name));
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? f.fileName() : QString();
        };
        const QString src = put("in_place.dat", ahrs(1) + ahrs(2));
        const QString big = put("in_place_big.dat", ahrsRecording(20000));
        const QString dir = base.filePath("no_new_files");
        QVERIFY(QDir().mkpath(dir));
        const QString target = put("no_new_files/in_place.txt", "an older decode");
        QVERIFY(!src.isEmpty() && !big.isEmpty() && !target.isEmpty());
        const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup
                         | QFile::ReadOther | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(target, all));
        QVERIFY(QFile::setPermissions(src, all));
        QVERIFY(QFile::setPermissions(big, all));
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                               | QFile::ReadOther | QFile::ExeOther));
        Outcome o, cut;
        bool folderRefused = false;
        bool reached = true;
        {
            AsAnotherUser other;
            reached = AsAnotherUser::reaches(dir);
            if (reached) {
                folderRefused = !QFile(dir + "/probe").open(QIODevice::WriteOnly);
                o = decode(Ahrs, src, target);
                FileSizeLimit limit(256 * 1024);
                cut = decode(Ahrs, big, target);
            }
        }
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!reached)
            QSKIP(qPrintable("no other user may pass the folders on the way to " + base.path()
                             + " (the temporary folder is private), so none can be shown the target"));
        QVERIFY(folderRefused);
        QCOMPARE(o.result.status, DecodeResult::Completed);
        QCOMPARE(o.text, kAhrsHeader + "1,1,0,0,0,0,0,0,0,0,0\n2,1,0,0,0,0,0,0,0,0,0\n");
        // A decode cut short in place leaves the target empty: nothing that looks complete.
        QCOMPARE(cut.result.status, DecodeResult::TargetUnwritable);
        QCOMPARE(cut.reports.last(),
                 QString("Status: Decoding failed, unable to write the target file, the incomplete target file was emptied"));
        QCOMPARE(QFileInfo(target).size(), qint64(0));
        QCOMPARE(filesIn(dir), QStringList{"in_place.txt"});
    }

    void aTemporaryFileBlockedInAWritableFolderLeavesTheTargetAsItWas()
    {
        const QString src = writeFile("blocked_temp.dat", ahrs(1) + ahrs(2));
        const QString dir = freshFolder("blocked_temp");
        const QString target = writeFile("blocked_temp/t.txt", "an older decode");
        QVERIFY(QDir().mkpath(target + ".incomplete")); // a folder where the text would grow
        const Outcome o = decode(Ahrs, src, target);
        QCOMPARE(o.result.status, DecodeResult::TargetUnwritable);
        QCOMPARE(o.text, QByteArray("an older decode"));
        QCOMPARE(filesIn(dir), QStringList{"t.txt"});
    }

    void sourcesThatAreNotPlainFilesAreRefused()
    {
        const QString fifo = path("source.fifo");
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &src : {fifo, QString("/dev/zero"), QString("/proc/self/status")}) {
            if (!QFileInfo::exists(src))
                continue;
            QFile::remove(path("not_plain.txt"));
            const Outcome o = decode(Ahrs, src, path("not_plain.txt"));
            QCOMPARE(o.result.status, DecodeResult::SourceNotRegular);
            QCOMPARE(o.reports, QStringList({DecodeText::kSourceNotRegular}));
            QVERIFY(o.progress.isEmpty());
            QVERIFY(!QFileInfo::exists(path("not_plain.txt")));
        }
        QFile::remove(fifo);
    }

    void aFifoTargetIsRefusedWithoutWaitingForAReader()
    {
        const QString src = writeFile("to_fifo.dat", ahrs(1));
        const QString fifo = path("target.fifo");
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QStringList reports;
        DecodeRun run(Ahrs);
        const DecodeResult r = run.run(src, fifo, [&](const QString &t) { reports << t; }, [](int) {});
        QCOMPARE(r.status, DecodeResult::TargetNotRegular);
        QCOMPARE(reports, QStringList({"Status: Decoding refused, the target file is not a regular file"}));
        QFile::remove(fifo);
    }

    void cancelStopsTheDecodeWithinOneBlockAndRemovesItsTarget()
    {
        const QString src = writeFile("cancel.dat", ahrsRecording(200000)); // about 11 MB
        QFile::remove(path("cancel.txt"));
        std::atomic<bool> cancel{false};
        DecodeRun run(Ahrs);
        run.setCancelFlag(&cancel);
        QStringList reports;
        const DecodeResult r = run.run(
            src, path("cancel.txt"), [&](const QString &t) { reports << t; },
            [&](int) { cancel = true; }); // the first progress comes within the first block
        QCOMPARE(r.status, DecodeResult::Cancelled);
        QVERIFY2(r.bytesRead <= 1024 * 1024, qPrintable(QString::number(r.bytesRead)));
        QCOMPARE(reports.last(), QString("Status: Decoding cancelled, the incomplete target file was removed"));
        QVERIFY(!QFileInfo::exists(path("cancel.txt")));
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
    void noisyRecordingsOfEveryTypeGiveTheQTextStreamTextAndTheReferenceCountsWithNoRowLost()
    {
        for (int type = 0; type < kTypeCount; ++type) {
            RecordingOptions opt;
            opt.type = type;
            opt.bytes = 1500000;
            opt.seed = uint32_t(type + 11);
            opt.wildValues = 0.3;
            opt.longFalseStartEvery = type % 2 ? 7 : 0;
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
            // The counts are those of a parser that waits for every candidate and rescans.
            const QByteArray bytes = readFile(src);
            const RefParse::Result ref = RefParse::parse(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                         size_t(bytes.size()), FrameParser::mainLinkBound);
            QCOMPARE(fast.result.goodFrames, ref.counts.good);
            QCOMPARE(fast.result.badFrames, ref.counts.badCrcAfterGood);
        }
    }

    void falseStartsBeforeEveryTenthFrameChangeNoByteOfTheText()
    {
        RecordingOptions opt;
        opt.type = InsRtk;
        opt.bytes = 2000000;
        opt.noise = false;
        const QString plain = path("ins_plain.dat"), falseStarts = path("ins_false_starts.dat");
        const qint64 frames = writeRecording(plain, opt);
        opt.longFalseStartEvery = 10;
        QCOMPARE(writeRecording(falseStarts, opt), frames);
        const Outcome a = decode(InsRtk, plain, path("ins_plain.txt"));
        const Outcome b = decode(InsRtk, falseStarts, path("ins_false_starts.txt"));
        QCOMPARE(b.result.rows, uint64_t(frames));
        QVERIFY(a.text == b.text);
        // Each false start fails once the 65,535 bytes it claims have passed, as before.
        QVERIFY(b.result.badFrames > 0);
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

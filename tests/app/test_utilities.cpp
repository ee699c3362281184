// Checksums, command frames, version text, settings, machine identity, the regular-file reader
// and the shared widgets.
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/AutoResize.h"
#include "app/CheckBoxDelegate.h"
#include "app/Crc.h"
#include "app/FileRead.h"
#include "app/MachineId.h"
#include "app/Settings.h"
#include "app/VersionText.h"
#include "link/CommandFrames.h"
#include "tests/kit/TestKit.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace {
// Bit-by-bit reference of the frame CRC, independent of the table code under test.
uint32_t crcReference(uint32_t crc, const QByteArray &d)
{
    for (char ch : d) {
        crc ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc;
}
const uint8_t *bytes(const QByteArray &a) { return reinterpret_cast<const uint8_t *>(a.constData()); }

const QString kMadeUpWhy = "a file the system makes up (/proc, /sys and the like), not a regular file";

// A "regular" file on a file system of this type, at the root of a cgroup hierarchy under
// /sys/fs/cgroup; empty when none of that type is mounted there.
QString cgroupFile(quint32 type)
{
    QStringList roots{"/sys/fs/cgroup"};
    for (const QString &sub : QDir(roots.first()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        roots << roots.first() + '/' + sub;
    for (const QString &root : roots) {
        const QString file = root + "/cgroup.procs";
        struct statfs fs;
        if (QFileInfo(file).isFile() && ::statfs(QFile::encodeName(file).constData(), &fs) == 0
            && quint32(fs.f_type) == type)
            return file;
    }
    return QString();
}

// True while the thread sleeps inside open(), as a FIFO's writer does until a reader comes
// (/proc shows the system call only while the thread is blocked in it).
bool sleepsInOpen(pid_t tid)
{
    const QString task = QString("/proc/self/task/%1/").arg(tid);
    QFile call(task + "syscall"), stat(task + "stat");
    if (!call.open(QIODevice::ReadOnly) || !call.readAll().startsWith(QByteArray::number(SYS_openat) + ' ')
        || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll(); // "tid (name) state ..."
    const int nameEnd = line.lastIndexOf(')');
    return nameEnd > 0 && line.mid(nameEnd + 2, 1) == "S";
}

// Writes "x" into the FIFO at path from a thread of its own, whose open() waits for a reader.
class FifoWriter {
public:
    explicit FifoWriter(const QString &path)
        : m_name(QFile::encodeName(path)), m_thread([this] { run(); })
    {}
    ~FifoWriter() { drain(); }
    pid_t tid() const { return m_tid; }
    bool opened() const { return m_opened; }
    int wrote() const { return m_wrote; } // bytes written, or -errno
    // Reads the FIFO as a reader would, till the writer is done; what the writer wrote then.
    QByteArray drain()
    {
        QByteArray got;
        while (!m_done) {
            const int fd = ::open(m_name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                break;
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            char block[16];
            for (ssize_t n; (n = ::read(fd, block, sizeof block)) > 0;)
                got.append(block, int(n));
            ::close(fd);
        }
        if (m_thread.joinable())
            m_thread.join();
        return got;
    }

private:
    void run()
    {
        sigset_t pipeSignal; // a write without a reader fails with EPIPE instead
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        m_tid = pid_t(::syscall(SYS_gettid));
        const int fd = ::open(m_name.constData(), O_WRONLY | O_CLOEXEC);
        m_opened = true;
        const ssize_t n = fd < 0 ? -1 : ::write(fd, "x", 1);
        m_wrote = n < 0 ? -errno : int(n);
        if (fd >= 0)
            ::close(fd);
        m_done = true;
    }
    const QByteArray m_name;
    std::atomic<pid_t> m_tid{0};
    std::atomic<bool> m_opened{false}, m_done{false};
    std::atomic<int> m_wrote{0};
    std::thread m_thread;
};
} // namespace

class TestUtilities : public QObject {
    Q_OBJECT
private slots:
    void crc32OfTheCheckStringStartedAtOneIs3A8639CB()
    {
        const QByteArray s("123456789");
        QCOMPARE(crc32_update(1, bytes(s), 9), 0x3A8639CBu);
        QCOMPARE(crc32_calc(bytes(s), 9, 1), 0x3A8639CBu);
        QCOMPARE(crc32_update(0, bytes(s), 9), crcReference(0, s));
    }
    void crc32BulkPathAgreesWithByteWiseOnEveryLengthAndSplit()
    {
        QByteArray d;
        for (int i = 0; i < 300; ++i)
            d.append(char((i * 37 + 11) & 0xFF));
        for (int len = 0; len <= d.size(); len += 7) {
            const QByteArray part = d.left(len);
            QCOMPARE(crc32_update(1, bytes(part), size_t(len)), crcReference(1, part));
            const int cut = len / 3;
            uint32_t c = crc32_update(1, bytes(part), size_t(cut));
            c = crc32_update(c, bytes(part) + cut, size_t(len - cut));
            QCOMPARE(c, crcReference(1, part));
        }
        uint32_t c = 1;
        for (char ch : d)
            c = crc32_byte(c, uint8_t(ch));
        QCOMPARE(c, crcReference(1, d));
    }
    void crc32OverZerosInFewStepsEqualsTheByteWiseRegister()
    {
        const QByteArray zeros(200000, '\0');
        for (uint32_t len : {0u, 1u, 7u, 16u, 255u, 4096u, 65541u, 100009u, 199999u})
            for (uint32_t c : {0u, 1u, 0x80000000u, 0xDEADBEEFu})
                QCOMPARE(crc32_zeros(c, len), crc32_update(c, bytes(zeros), len));
        // A stretch's CRC from the registers at its two ends.
        QByteArray d;
        for (int i = 0; i < 5000; ++i)
            d.append(char((i * 131 + 7) & 0xFF));
        const uint32_t atStart = crc32_update(0, bytes(d), 1234);
        const uint32_t atEnd = crc32_update(0, bytes(d), 4321);
        QCOMPARE(atEnd ^ crc32_zeros(atStart ^ 1, 4321 - 1234), crcReference(1, d.mid(1234, 4321 - 1234)));
    }
    void crc16ModbusAndCrc8MatchTheirCatalogueCheckValues()
    {
        const QByteArray s("123456789");
        QCOMPARE(crc16_modbus(bytes(s), 9), uint16_t(0x4B37));
        QCOMPARE(crc8_calc(bytes(s), 9), uint8_t(0xF4));
        // A chamber write: 01 06 07 4E FE 70 -> CRC A9 2D on the wire (low byte first).
        const uint8_t frame[] = {0x01, 0x06, 0x07, 0x4E, 0xFE, 0x70};
        QCOMPARE(crc16_modbus(frame, 6), uint16_t(0x2DA9));
    }
    void longCommandHasTheDocumentedBytes()
    {
        const QByteArray f = buildLongCommand(3, 3.0f, 0.0f, 0x1234, 0xABCD, 100, 200);
        QCOMPARE(f.size(), 34);
        const QByteArray head = QByteArray::fromHex("55AA03001800" "00004040" "00000000" "34120000"
                                                    "CDAB0000" "64000000" "C8000000");
        QCOMPARE(f.left(30), head);
        const uint32_t crc = crcReference(1, head);
        QCOMPARE(readLE<uint32_t>(bytes(f) + 30), crc);
        LongCommand back;
        QVERIFY(parseLongCommand(bytes(f), f.size(), &back));
        QCOMPARE(back.cmd_id, uint16_t(3));
        QCOMPARE(back.cm4, 0xABCDu);
        QCOMPARE(back.cm6, 200);
    }
    void ackCommandHasTheDocumentedBytes()
    {
        const QByteArray f = buildAckCommand(30013, 30004, 9);
        QCOMPARE(f.size(), 14);
        QCOMPARE(f.left(10), QByteArray::fromHex("55AA3D75040034750900"));
        QCOMPARE(readLE<uint32_t>(bytes(f) + 10), crcReference(1, f.left(10)));
    }
    void versionTextUsesCharactersFrom30AndDecimalBelow()
    {
        QCOMPARE(version_to_string(29), QString("29"));
        QCOMPARE(version_to_string(0), QString("0"));
        QCOMPARE(version_to_string(0x56312E30), QString("V10")); // '.' is not shown
        QCOMPARE(version_to_string(0x41423132), QString("AB12"));
        QCOMPARE(ascii_to_string('z'), QString("z"));
        QCOMPARE(ascii_to_string('-'), QString());
    }
    void settingsLiveInTheConfiguredFolderAndKeepDefaults()
    {
        QSettings *s = getSettings();
        QVERIFY(s->fileName().startsWith(qEnvironmentVariable("KELVANTO_CONFIG_DIR")));
        QVERIFY(s->fileName().endsWith("KelvantoConfig.ini"));
        QCOMPARE(s->value("never/written", 42).toInt(), 42);
        QVERIFY(!s->value("httpAddr/testAddr").toString().isEmpty());
        s->setValue("turnTableType/type", 3);
        s->sync();
        QSettings again(s->fileName(), QSettings::IniFormat);
        QCOMPARE(again.value("turnTableType/type").toInt(), 3);
    }
    // A Chinese start takes Chinese.qm beside the program even when an English start left
    // English.qm in the same working folder; without a choice that English.qm wins.
    void translationFilesFollowTheChosenLanguage()
    {
        const QString work = "/station/work", program = "/station/build";
        QCOMPARE(translationFiles("zh", work, program), QStringList{"/station/build/Chinese.qm"});
        QCOMPARE(translationFiles(" ZH\n", work, program), QStringList{"/station/build/Chinese.qm"});
        QCOMPARE(translationFiles("en", work, program), (QStringList{"/station/work/English.qm", "/station/build/English.qm"}));
        QCOMPARE(translationFiles("", work, program), (QStringList{"/station/work/English.qm", "/station/build/Chinese.qm"}));
    }
    void machineIdIsAnUpperCaseUuidOrEmpty()
    {
        qunsetenv("KELVANTO_MACHINE_ID");
        const QString id = getBaseboardUuid();
        if (!id.isEmpty())
            QVERIFY2(QRegularExpression("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
                         .match(id).hasMatch(), qPrintable(id));
        QCOMPARE(runWmicQuery("sh -c \"printf 'UUID\\r\\r\\nABC-1  \\r\\n'\" UUID"), QString("ABC-1"));
        QCOMPARE(runWmicQuery("/nonexistent/tool uuid"), QString());
    }
    void checkBoxDelegateTogglesOnLeftReleaseInsideTheBoxOnly()
    {
        QStandardItemModel model(2, 2);
        model.setData(model.index(0, 1), false);
        QTableView view;
        view.setModel(&model);
        CheckBoxDelegate delegate;
        delegate.setColumn(1);
        view.setItemDelegate(&delegate);
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect cell = view.visualRect(model.index(0, 1));
        QStyleOptionViewItem opt;
        opt.rect = cell;
        opt.widget = &view;
        const QPoint inBox = CheckBoxDelegate::checkBoxRect(opt).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, inBox);
        QCOMPARE(model.data(model.index(0, 1)).toBool(), true);
        QTest::mouseClick(view.viewport(), Qt::RightButton, {}, inBox);
        QCOMPARE(model.data(model.index(0, 1)).toBool(), true);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 2, cell.top() + 2));
        QCOMPARE(model.data(model.index(0, 1)).toBool(), true);
        view.setCurrentIndex(model.index(0, 1));
        QTest::keyClick(view.viewport(), Qt::Key_Space);
        QCOMPARE(model.data(model.index(0, 1)).toBool(), false);
    }
    void autoResizeScalesGeometryAndFont()
    {
        QWidget w;
        w.resize(200, 100);
        auto *edit = new QLineEdit(&w);
        edit->setGeometry(10, 10, 100, 20);
        QFont f = edit->font();
        f.setPointSize(10);
        edit->setFont(f);
        AutoResize ar(&w, 200, 100);
        ar.collectItems();
        w.resize(400, 150);
        ar.applyScale();
        QCOMPARE(edit->geometry(), QRect(20, 15, 200, 30));
        QCOMPARE(edit->font().pointSizeF(), 15.0);
    }

    // A regular file at the look, another kind of file at the open: the second look, at what
    // was opened, refuses it with its reason, and nothing of it is read.
    void aFileSwappedBetweenTheLookAndTheOpenIsRefused_data()
    {
        QTest::addColumn<QString>("swappedIn"); // "fifo", or the file a link in its place names
        QTest::addColumn<QString>("why");
        QTest::newRow("a /proc file") << "/proc/self/status" << kMadeUpWhy;
        QTest::newRow("a named pipe") << "fifo" << "a named pipe (FIFO), not a regular file";
    }
    void aFileSwappedBetweenTheLookAndTheOpenIsRefused()
    {
        QFETCH(QString, swappedIn);
        QFETCH(QString, why);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath("record.csv");
        bool swapped = false;
        const auto swap = [&] {
            swapped = QFile::remove(path)
                && (swappedIn == "fifo" ? TestKit::makeFifo(path) : QFile::link(swappedIn, path));
        };
        struct Unhook {
            ~Unhook() { setBetweenLookAndOpen({}); }
        } unhook;
        for (const bool whole : {false, true}) {
            QFile::remove(path);
            QFile original(path);
            QVERIFY(original.open(QIODevice::WriteOnly) && original.write("a,b\n") == 4);
            original.close();
            setBetweenLookAndOpen(swap);
            QString reason;
            if (whole) {
                QByteArray bytes("left over");
                QCOMPARE(readWholeFile(path, &bytes, &reason), WholeFile::NotRegular);
                QVERIFY(bytes.isEmpty());
            } else {
                QFile file(path);
                QCOMPARE(openRegularFile(file, &reason), RegularFile::NotRegular);
                QVERIFY(!file.isOpen());
            }
            QVERIFY(swapped);
            QCOMPARE(reason, why);
            // Left in place, it is refused at the first look.
            setBetweenLookAndOpen({});
            QCOMPARE(notRegularFileReason(path), why);
        }
    }

    // A FIFO is refused at its name, never opened: a writer waiting in its open() for a reader
    // would take even a reader that closes at once for one and go on writing into nothing.
    void aRefusedFifoLeavesItsWaitingWriterWaitingForARealReader()
    {
        if (!QFile::exists("/proc/self/syscall"))
            QSKIP("this kernel does not show a thread's system call in /proc/<id>/syscall");
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath("record.csv");
        QVERIFY(TestKit::makeFifo(path));
        FifoWriter writer(path);
        QTRY_VERIFY(writer.tid() != 0 && sleepsInOpen(writer.tid()));
        QFile file(path);
        QString reason;
        QCOMPARE(openRegularFile(file, &reason), RegularFile::NotRegular);
        QCOMPARE(reason, QString("a named pipe (FIFO), not a regular file"));
        QVERIFY(!file.isOpen());
        // The refusal woke nobody: the writer still waits in its open...
        QVERIFY(sleepsInOpen(writer.tid()));
        QVERIFY(!writer.opened());
        // ...and what it writes once a reader comes reaches that reader.
        QCOMPARE(writer.drain(), QByteArray("x"));
        QCOMPARE(writer.wrote(), 1);
    }

    // Files the kernel makes up as they are read report sizes that say nothing of them: every
    // such file system is known by its type, one whose files hold what was written is not.
    void theFileSystemsTheKernelMakesUpAreKnownByTheirType_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<bool>("madeUp");
        const std::pair<const char *, quint32> madeUp[] = {
            {"proc", 0x9fa0},           {"sysfs", 0x62656572},     {"debugfs", 0x64626720},
            {"tracefs", 0x74726163},    {"cgroup", 0x27e0eb},      {"cgroup2", 0x63677270},
            {"securityfs", 0x73636673}, {"configfs", 0x62656570},  {"pstore", 0x6165676C},
            {"efivarfs", 0xde5e81e4},   {"bpf", 0xcafe4a11},       {"selinuxfs", 0xf97cff8c},
            {"smackfs", 0x43415d53},    {"apparmorfs", 0x5a3c69f0}, {"binfmt_misc", 0x42494e4d},
            {"nsfs", 0x6e736673},       {"resctrl", 0x7655821},    {"xenfs", 0xabba1974},
            {"mqueue", 0x19800202},     {"fusectl", 0x65735543},   {"rpc_pipefs", 0x67596969},
        };
        const std::pair<const char *, quint32> holdsFiles[] = {
            {"ext4", 0xEF53},     {"xfs", 0x58465342},  {"btrfs", 0x9123683E},    {"vfat", 0x4d44},
            {"nfs", 0x6969},      {"fuse", 0x65735546}, {"overlay", 0x794c7630},  {"tmpfs", 0x01021994},
            {"ramfs", 0x858458f6}, {"hugetlbfs", 0x958458f6},
        };
        for (const auto &[name, type] : madeUp)
            QTest::newRow(name) << type << true;
        for (const auto &[name, type] : holdsFiles)
            QTest::newRow(name) << type << false;
    }
    void theFileSystemsTheKernelMakesUpAreKnownByTheirType()
    {
        QFETCH(quint32, type);
        QFETCH(bool, madeUp);
        QCOMPARE(isMadeUpFileSystem(type), madeUp);
    }

    // Such files of this machine: refused at the look and at the open, with what they are.
    void aFileTheKernelMakesUpIsRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("cgroup2") << cgroupFile(0x63677270);
        QTest::newRow("cgroup") << cgroupFile(0x27e0eb);
        QTest::newRow("nsfs") << "/proc/self/ns/net";
    }
    void aFileTheKernelMakesUpIsRefused()
    {
        QFETCH(QString, path);
        if (path.isEmpty())
            QSKIP("no file system of this kind is mounted under /sys/fs/cgroup on this machine");
        QCOMPARE(notRegularFileReason(path), kMadeUpWhy);
        QFile file(path);
        QString reason;
        QCOMPARE(openRegularFile(file, &reason), RegularFile::NotRegular);
        QCOMPARE(reason, kMadeUpWhy);
        QVERIFY(!file.isOpen());
    }
};

QTEST_MAIN(TestUtilities)
#include "test_utilities.moc"

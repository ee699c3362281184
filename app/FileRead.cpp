#include "app/FileRead.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <functional>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {
std::function<void()> g_betweenLookAndOpen;

bool onMadeUpFileSystem(const struct statfs &fs) { return isMadeUpFileSystem(quint32(fs.f_type)); }

// Why a file of this kind, made up by the kernel or not, is no regular file; empty when it is.
QString reasonOf(const struct stat &st, bool madeUp)
{
    const char *text = nullptr;
    if (S_ISREG(st.st_mode))
        text = madeUp
            ? QT_TRANSLATE_NOOP("FileRead", "a file the system makes up (/proc, /sys and the like), not a regular file")
            : nullptr;
    else if (S_ISFIFO(st.st_mode))
        text = QT_TRANSLATE_NOOP("FileRead", "a named pipe (FIFO), not a regular file");
    else if (S_ISDIR(st.st_mode))
        text = QT_TRANSLATE_NOOP("FileRead", "a folder, not a regular file");
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        text = QT_TRANSLATE_NOOP("FileRead", "a device, not a regular file");
    else
        text = QT_TRANSLATE_NOOP("FileRead", "not a regular file");
    return text ? QCoreApplication::translate("FileRead", text) : QString();
}
} // namespace

void setBetweenLookAndOpen(std::function<void()> f) { g_betweenLookAndOpen = std::move(f); }

bool isMadeUpFileSystem(quint32 type)
{
    // Not here: devpts (only devices, refused as such), autofs (only folders), tmpfs, ramfs and
    // hugetlbfs (their files hold what was written to them).
    static constexpr quint32 kMadeUp[] = {
        PROC_SUPER_MAGIC, SYSFS_MAGIC, DEBUGFS_MAGIC, TRACEFS_MAGIC, CGROUP_SUPER_MAGIC,
        CGROUP2_SUPER_MAGIC, SECURITYFS_MAGIC, PSTOREFS_MAGIC, EFIVARFS_MAGIC, BPF_FS_MAGIC,
        SELINUX_MAGIC, SMACK_MAGIC, AAFS_MAGIC, BINFMTFS_MAGIC, NSFS_MAGIC, RDTGROUP_SUPER_MAGIC,
        XENFS_SUPER_MAGIC,
        0x62656570, // configfs
        0x19800202, // mqueue
        0x65735543, // fusectl
        0x67596969, // rpc_pipefs
    };
    return std::find(std::begin(kMadeUp), std::end(kMadeUp), type) != std::end(kMadeUp);
}

QString notRegularFileReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return QString();
    struct statfs fs;
    return reasonOf(st, ::statfs(name.constData(), &fs) == 0 && onMadeUpFileSystem(fs));
}

RegularFile openRegularFile(QFile &file, QString *why)
{
    file.close();
    // The first look, at the name: a FIFO must not be opened, even without waiting and closed
    // at once (a writer waiting in its open for a reader would take ours for one and go on,
    // writing into nothing).
    *why = notRegularFileReason(file.fileName());
    if (!why->isEmpty())
        return RegularFile::NotRegular;
    if (g_betweenLookAndOpen)
        g_betweenLookAndOpen();
    // Opened without waiting, then looked at again with the same checks: what is opened is
    // what was looked at, whatever was put in its place meanwhile. A name that names nothing
    // is told by the open.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = qt_error_string(errno);
        return RegularFile::CannotOpen;
    }
    struct stat st;
    struct statfs fs;
    if (::fstat(fd, &st) != 0 || ::fstatfs(fd, &fs) != 0) {
        *why = qt_error_string(errno);
        ::close(fd);
        return RegularFile::CannotOpen;
    }
    *why = reasonOf(st, onMadeUpFileSystem(fs));
    if (!why->isEmpty()) {
        ::close(fd);
        return RegularFile::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *why = file.errorString();
        ::close(fd);
        return RegularFile::CannotOpen;
    }
    why->clear();
    return RegularFile::Opened;
}

WholeFile readWholeFile(const QString &path, QByteArray *bytes, QString *why, qint64 limit)
{
    bytes->clear();
    QFile file(path);
    switch (openRegularFile(file, why)) {
    case RegularFile::Opened: break;
    case RegularFile::NotRegular: return WholeFile::NotRegular;
    case RegularFile::CannotOpen: return WholeFile::CannotRead;
    }
    const auto tooLarge = [&] {
        bytes->clear();
        *why = QCoreApplication::translate("FileRead", "larger than %1 MB, more than such a file can hold")
                   .arg(limit >> 20);
        return WholeFile::TooLarge;
    };
    const qint64 size = file.size();
    if (size > limit)
        return tooLarge();
    bytes->reserve(int(size));
    char block[64 * 1024];
    for (;;) {
        const qint64 room = std::min<qint64>(sizeof block, limit + 1 - bytes->size());
        const qint64 got = file.read(block, room);
        if (got < 0) {
            *why = file.errorString();
            bytes->clear();
            return WholeFile::CannotRead;
        }
        if (got == 0)
            return WholeFile::Read;
        bytes->append(block, int(got));
        if (bytes->size() > limit)
            return tooLarge();
    }
}

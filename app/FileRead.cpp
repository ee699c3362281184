#include "app/FileRead.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <functional>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {
std::function<void()> g_betweenLookAndOpen;

// File systems whose files report sizes that have nothing to do with their contents.
bool isPseudoFileSystem(const struct statfs &fs)
{
    constexpr long kProc = 0x9fa0, kSys = 0x62656572, kDebug = 0x64626720, kTrace = 0x74726163;
    const long type = long(fs.f_type);
    return type == kProc || type == kSys || type == kDebug || type == kTrace;
}

// Why a file of this kind, on a pseudo file system or not, is no regular file; empty when it is.
QString reasonOf(const struct stat &st, bool onPseudoFileSystem)
{
    const char *text = nullptr;
    if (S_ISREG(st.st_mode))
        text = onPseudoFileSystem
            ? QT_TRANSLATE_NOOP("FileRead", "a file the system makes up (/proc, /sys), not a regular file")
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

QString notRegularFileReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return QString();
    struct statfs fs;
    return reasonOf(st, ::statfs(name.constData(), &fs) == 0 && isPseudoFileSystem(fs));
}

RegularFile openRegularFile(QFile &file, QString *why)
{
    file.close();
    // The first look, at the name: a FIFO must not be opened, even without waiting (a writer
    // waiting for a reader would take the open as one).
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
    *why = reasonOf(st, isPseudoFileSystem(fs));
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

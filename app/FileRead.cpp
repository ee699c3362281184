#include "app/FileRead.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {
// File systems whose files report sizes that have nothing to do with their contents.
bool onPseudoFileSystem(const QByteArray &path)
{
    struct statfs fs;
    if (::statfs(path.constData(), &fs) != 0)
        return false;
    constexpr long kProc = 0x9fa0, kSys = 0x62656572, kDebug = 0x64626720, kTrace = 0x74726163;
    const long type = long(fs.f_type);
    return type == kProc || type == kSys || type == kDebug || type == kTrace;
}

QString reasonOf(const struct stat &st, const QByteArray &path)
{
    const char *text = nullptr;
    if (S_ISREG(st.st_mode))
        text = onPseudoFileSystem(path)
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

QString notRegularFileReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return QString();
    return reasonOf(st, name);
}

RegularFile openRegularFile(QFile &file, QString *why)
{
    file.close();
    const QByteArray name = QFile::encodeName(file.fileName());
    struct stat st;
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0) {
        *why = qt_error_string(name.isEmpty() ? ENOENT : errno);
        return RegularFile::CannotOpen;
    }
    *why = reasonOf(st, name);
    if (!why->isEmpty())
        return RegularFile::NotRegular;
    // Opened without waiting, then looked at again: what is opened is what was looked at.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = qt_error_string(errno);
        return RegularFile::CannotOpen;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = reasonOf(st, name);
        if (why->isEmpty())
            *why = qt_error_string(errno);
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

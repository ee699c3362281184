#pragma once
// Files an operator or a folder hands over (record files, waiting upload bodies, recordings to
// replay or decode, logs to upload) are opened only when they are regular files: a FIFO would
// make the open wait for a writer for good, a device or a file the system makes up (/proc,
// /sys, cgroup and the like) has no end or a size that says nothing. Files read whole into
// memory are also read with a bound: a disk image chosen by mistake is refused, not swallowed.
#include <QByteArray>
#include <QString>
#include <functional>

class QFile;

// Far more than any record or upload body, far less than the memory of the station PC.
constexpr qint64 kMaxWholeFileBytes = qint64(64) << 20;

enum class RegularFile { Opened, NotRegular, CannotOpen };

// Why the file at path is no regular file ("a named pipe (FIFO), not a regular file", ...);
// empty for a regular file and for a path that names nothing (its open says why). Looks at the
// file without opening it, so it never waits.
QString notRegularFileReason(const QString &path);

// Whether a file system of this type (statfs's f_type) is one whose files the kernel makes up
// as they are read (proc, sysfs, cgroup, securityfs, configfs, efivarfs, bpf, ...): such a
// "regular" file is refused.
bool isMadeUpFileSystem(quint32 type);

// Opens file (its name set) read-only when it is a regular file. The file is looked at before
// it is opened, opened without waiting and looked at again with the same checks, so a FIFO or
// a /proc file put in its place meanwhile is refused too. Anything but Opened comes with the
// reason in *why and the file closed.
RegularFile openRegularFile(QFile &file, QString *why);
// For tests: f runs in openRegularFile between its first look and the open (where a test puts
// another file in place of the named one); an empty f runs nothing.
void setBetweenLookAndOpen(std::function<void()> f);

enum class WholeFile { Read, NotRegular, CannotRead, TooLarge };

// Reads the whole file. Anything but Read comes with the reason in *why and no bytes: a file
// that is not a regular file (refused before it is opened), one that cannot be opened or read,
// or one of more than `limit` bytes, refused by its size before reading and by the read itself,
// which never goes past limit + 1 bytes.
WholeFile readWholeFile(const QString &path, QByteArray *bytes, QString *why,
                        qint64 limit = kMaxWholeFileBytes);

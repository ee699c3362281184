#pragma once
// Files read whole into memory (record files, waiting upload bodies) are read with a bound: a
// link to /dev/zero or a disk image chosen by mistake is refused, not swallowed.
#include <QByteArray>
#include <QString>

// Far more than any record or upload body, far less than the memory of the station PC.
constexpr qint64 kMaxWholeFileBytes = qint64(64) << 20;

enum class WholeFile { Read, CannotRead, TooLarge };

// Reads the whole file. Anything but Read comes with the reason in *why and no bytes: a file
// that cannot be opened or read, or one of more than `limit` bytes, refused by its size before
// reading and by the read itself for files whose size says nothing (a device or a /proc file
// reads 0), which never goes past limit + 1 bytes.
WholeFile readWholeFile(const QString &path, QByteArray *bytes, QString *why,
                        qint64 limit = kMaxWholeFileBytes);

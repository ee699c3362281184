#include "app/FileRead.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

WholeFile readWholeFile(const QString &path, QByteArray *bytes, QString *why, qint64 limit)
{
    bytes->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return WholeFile::CannotRead;
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

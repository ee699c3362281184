#include "app/OpenLogFile.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex &listLock()
{
    static QMutex lock;
    return lock;
}
// Paths may be held twice (two objects on the same file): a count per path.
QHash<QString, int> &listed()
{
    static QHash<QString, int> paths;
    return paths;
}
QString keyOf(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

OpenLogFile::~OpenLogFile()
{
    close();
}

bool OpenLogFile::open(OpenMode mode)
{
    if (!QFile::open(mode))
        return false;
    if (mode & WriteOnly) {
        m_listed = keyOf(fileName());
        QMutexLocker lock(&listLock());
        ++listed()[m_listed];
    }
    return true;
}

void OpenLogFile::close()
{
    QFile::close();
    if (m_listed.isEmpty())
        return;
    QMutexLocker lock(&listLock());
    if (--listed()[m_listed] <= 0)
        listed().remove(m_listed);
    m_listed.clear();
}

bool isOpenLogFile(const QString &path)
{
    QMutexLocker lock(&listLock());
    return listed().contains(keyOf(path));
}

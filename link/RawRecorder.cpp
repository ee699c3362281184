#include "link/RawRecorder.h"

#include <QDir>
#include <QFileInfo>

bool RawRecorder::open(const QString &basePath)
{
    close();
    QString stem = basePath;
    if (stem.endsWith(".dat", Qt::CaseInsensitive))
        stem.chop(4);
    QDir().mkpath(QFileInfo(stem).absolutePath());
    for (int n = 0; n < 10000; ++n) {
        const QString name = n == 0 ? stem + ".dat" : QString("%1_%2.dat").arg(stem).arg(n);
        m_file.setFileName(name);
        // NewOnly: never truncate an earlier recording, even if it appears between check and open.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_error.clear();
            return true;
        }
        if (!QFileInfo::exists(name)) {
            m_error = m_file.errorString();
            return false;
        }
    }
    m_error = "too many recordings with this name";
    return false;
}

bool RawRecorder::close()
{
    if (!m_file.isOpen())
        return true;
    m_file.unsetError();
    bool ok = m_file.flush();
    m_file.close();
    ok = ok && m_file.error() == QFileDevice::NoError;
    if (!ok)
        m_error = m_file.errorString();
    return ok;
}

bool RawRecorder::append(const char *data, qint64 size)
{
    if (!m_file.isOpen())
        return false;
    if (m_file.write(data, size) != size) {
        m_error = m_file.errorString();
        m_file.close();
        return false;
    }
    return true;
}

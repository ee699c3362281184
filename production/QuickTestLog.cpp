#include "production/QuickTestLog.h"

#include <QDir>

#include "app/Clock.h"
#include "app/Settings.h"

QString QuickTestLog::currentPath() const
{
    const QString day = Clock::instance().now().toString("yyyy_MMdd");
    return logRoot() + "/" + m_folder + "/" + day + "/T" + day + ".txt";
}

bool QuickTestLog::append(const QString &line)
{
    const QString path = currentPath();
    if (m_file.fileName() != path || !m_file.isOpen()) {
        m_file.close();
        QDir().mkpath(QFileInfo(path).absolutePath());
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return false;
    }
    const QByteArray bytes = (line + "\n").toUtf8();
    const bool ok = m_file.write(bytes) == bytes.size();
    m_file.flush();
    return ok;
}

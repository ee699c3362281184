#include "production/QuickTestLog.h"

#include <QCoreApplication>
#include <QDir>

#include "app/Clock.h"
#include "app/Settings.h"

QString QuickTestLog::currentPath() const
{
    const QString day = Clock::instance().now().toString("yyyy_MMdd");
    return logRoot() + "/" + m_folder + "/" + day + "/T" + day + ".txt";
}

bool QuickTestLog::fail(const QString &why)
{
    m_error = QCoreApplication::translate("QuickTestLog", "result line not written to %1 (%2)").arg(m_file.fileName(), why);
    m_file.close(); // the next line opens the file again
    return false;
}

bool QuickTestLog::append(const QString &line)
{
    const QString path = currentPath();
    m_error.clear();
    if (m_file.fileName() != path || !m_file.isOpen()) {
        m_file.close();
        QDir().mkpath(QFileInfo(path).absolutePath());
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return fail(m_file.errorString());
    }
    const QByteArray bytes = (line + "\n").toUtf8();
    if (m_file.write(bytes) != bytes.size() || !m_file.flush())
        return fail(m_file.errorString());
    return true;
}

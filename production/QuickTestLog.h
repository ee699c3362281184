#pragma once
// The result lines of a quick test: one file per day, "<logRoot>/<folder>/yyyy_MMdd/T<yyyy_MMdd>.txt",
// appended and flushed line by line, so a line written is a line kept.
#include <QFile>
#include <QString>

class QuickTestLog {
public:
    explicit QuickTestLog(const QString &folder) : m_folder(folder) {}
    // Appends one line (the "\n" is added); false when the file cannot be written.
    bool append(const QString &line);
    // The file that today's lines go to.
    QString currentPath() const;
    // Why the last append failed (empty after a line written).
    QString lastError() const { return m_error; }

private:
    bool fail(const QString &why);

    QString m_folder;
    QFile m_file;
    QString m_error;
};

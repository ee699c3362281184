#pragma once
// A log file the program appends to while it runs (the supply and chamber logs). While it is
// open for writing its path is listed process-wide, so that the FTP log upload (another
// thread) never sends a file that is still growing.
#include <QFile>
#include <QString>

class OpenLogFile : public QFile {
public:
    explicit OpenLogFile(const QString &name, QObject *parent = nullptr) : QFile(name, parent) {}
    ~OpenLogFile() override;
    bool open(OpenMode mode) override;
    void close() override;

private:
    QString m_listed; // the path listed while open for writing
};

// True while some OpenLogFile holds this path open for writing (any thread).
bool isOpenLogFile(const QString &path);

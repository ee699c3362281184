#pragma once
// Raw-data recording of a link: every received byte, unchanged, into a new ".dat" file.
#include <QFile>
#include <QString>

class RawRecorder {
public:
    // Opens a new recording named from basePath (".dat" added when missing; an existing file
    // is never overwritten: "_1", "_2", ... are tried instead). Returns false and sets
    // errorString() when the file cannot be made.
    bool open(const QString &basePath);
    // Writes what is left and closes; false (and errorString() set) when the last bytes could
    // not be written: a recording cut short, like a failed append.
    bool close();
    bool isOpen() const { return m_file.isOpen(); }
    // Appends; false (and the file closed) when the write fails.
    bool append(const char *data, qint64 size);
    QString fileName() const { return m_file.fileName(); }
    QString errorString() const { return m_error; }

private:
    QFile m_file;
    QString m_error;
};

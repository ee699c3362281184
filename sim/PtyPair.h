#pragma once
// A pseudo-terminal pair: the program opens slavePath() like any serial port, the simulator
// reads and writes the master side. The slave is kept open here too, in raw mode, so the
// master never sees a hang-up while the program reopens the port.
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // Writes all bytes to the master side, waiting while the reader catches up. When nobody
    // takes a byte for the stall time (10 s) the rest is dropped with a warning, and later writes
    // drop at once until the reader takes bytes again: a program that stopped reading never
    // hangs its peer. Returns whether every byte went.
    bool write(const char *data, int size);
    void setStallMs(int ms) { m_stallMs = ms; }
    // Reads whatever is there (non-blocking); empty when nothing.
    QByteArray readAvailable();
    // The device goes away, as an unplugged adapter: both of this pair's ends close, so the
    // program's open port sees a hang-up and reports read errors.
    void hangUp();

private:
    int m_master = -1;
    int m_slaveKeepAlive = -1;
    int m_stallMs = 10000;
    bool m_stalled = false;
    QString m_slavePath;
};

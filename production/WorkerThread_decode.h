#pragma once
// The offline decoder worker: runs one decode of a recorded data file in a thread of its own
// and reports its progress and status (code 33) to the decoding page.
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>

// Decode type of the next decode (0 AHRS ... 5 nine-IMU), written by the decoding page on the
// GUI thread just before it asks for a decode.
extern uint16_t g_decode_type;

class WorkerThread_decode : public QObject {
    Q_OBJECT
public:
    WorkerThread_decode() = default;

    // Asks the running decode to stop after the block it is reading (callable from any thread
    // while the worker lives); it then reports "Status: Decoding cancelled".
    void cancel() { m_cancel.store(true); }

public slots:
    // One whole decode with the current g_decode_type; returns when it has ended.
    void do_file_decode(QString source, QString target);
    void log(uint8_t code, QString text);

signals:
    void decodeProgressChanged(int percent);
    void signal_log(uint8_t code, QString text);
    void deleteObjAndNewNext();

private:
    std::atomic<bool> m_cancel{false};
};

// Makes a worker in a new thread (started, waiting for do_file_decode).
WorkerThread_decode *createWorker_decode();

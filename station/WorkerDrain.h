#pragma once
// Reports that a worker thread sent before a point in time are dropped on their way to the
// console: from drop() on until a word, sent through the worker's thread after that point, comes
// back to the console's thread queued behind every report the worker posted before it.
#include <QtGlobal>

#include <functional>
#include <memory>

class QObject;

class WorkerDrain {
public:
    // Whether reports are being dropped now.
    bool dropping() const { return m_dropping; }
    // Starts dropping. inWorker, when given, runs in the worker's thread before the word is sent
    // back. A later drop() makes an earlier drop's word end nothing.
    void drop(QObject *worker, std::function<void()> inWorker = {});
    // A new worker has sent nothing yet: stop dropping at once (an earlier drop's word, when it
    // comes, finds nothing to end; a drop after it has a word of its own).
    void reset() { m_dropping = false; }

private:
    bool m_dropping = false;
    quint64 m_serial = 0;
    // Shared with the words on their way, so a word that comes after the drain is gone does nothing.
    std::shared_ptr<quint64> m_live = std::make_shared<quint64>(0);
};

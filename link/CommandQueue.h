#pragma once
// The repeat-sends of one link, run one after another in arrival order on a timer of the link's
// thread, so the wire order is the request order and no request waits inside another's wait.
//   long command: up to 10 sends, 500 ms apart (51000 and 52000 end early once taken)
//   text:         3 writes, 1000 ms apart
#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QTimer>

#include <functional>

#include "link/CommandFrames.h"

class CommandQueue : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray &)>;
    // True when the modules show that the command was taken (ends 51000/52000 early).
    using TakenCheck = std::function<bool(uint16_t cmd)>;

    explicit CommandQueue(Writer writer, QObject *parent = nullptr);
    void setTakenCheck(TakenCheck check) { m_taken = std::move(check); }
    // Scales the waits (tests); defaults 500 and 1000 ms.
    void setIntervals(int longMs, int textMs)
    {
        m_longMs = longMs;
        m_textMs = textMs;
    }

    void enqueueLong(const LongCommand &cmd, int times = 10);
    void enqueueText(const QString &text, int times = 3);
    // Drops every request not yet sent and stops the current one.
    void clear();
    bool busy() const { return m_current.remaining > 0 || !m_pending.isEmpty(); }

private:
    struct Job {
        QByteArray bytes;
        uint16_t cmd = 0; // 0 for text
        bool text = false;
        int remaining = 0;
    };
    void startNext();
    void sendCurrent();
    void onTimer();

    Writer m_writer;
    TakenCheck m_taken;
    QQueue<Job> m_pending;
    Job m_current;
    QTimer m_timer;
    int m_longMs = 500;
    int m_textMs = 1000;
};

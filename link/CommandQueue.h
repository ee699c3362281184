#pragma once
// The repeat-sends of one link, on timers of the link's thread, in lanes: a request whose lane is
// free goes out at once, and the requests of one lane follow each other in arrival order, each
// repeat keeping its spacing. Each command id below 50000 (and the texts) has a lane of its
// own, so such a command never waits behind the repeats of another id (the date of code 46
// does not hold back its 56004). The calibration stage commands (50000 and up) share one lane:
// the modules take each as the stage they are in, so the last stage sent is the last they hear.
//   long command: up to 10 sends, 500 ms apart (51000 and 52000 end early once taken)
//   text:         3 writes, 1000 ms apart
#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QQueue>
#include <QTimer>

#include <functional>
#include <memory>

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
    // Drops every request not yet sent and stops the current ones.
    void clear();
    bool busy() const { return !m_lanes.isEmpty(); }

private:
    struct Job {
        QByteArray bytes;
        uint16_t cmd = 0; // 0 for text
        bool text = false;
        int remaining = 0;
    };
    // The requests of one command id (or of the texts): the head is being repeated.
    struct Lane {
        QQueue<Job> jobs;
        QTimer *timer = nullptr; // a child of the queue, released once the lane is gone
        ~Lane()
        {
            timer->stop();
            timer->deleteLater();
        }
    };
    static constexpr int kTextLane = -1;
    static constexpr int kStageLane = -2;
    static constexpr uint16_t kFirstStageCommand = 50000;
    void enqueue(int lane, const Job &job);
    void sendHead(int lane);
    void onTimer(int lane);

    Writer m_writer;
    TakenCheck m_taken;
    QMap<int, std::shared_ptr<Lane>> m_lanes;
    int m_longMs = 500;
    int m_textMs = 1000;
};

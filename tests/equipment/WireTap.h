#pragma once
// A tap between a worker and a Modbus peer on two pseudo-terminals: the worker opens
// workerPath(), the peer opens peerPath(); every byte is relayed and kept with its direction.
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

#include "sim/PtyPair.h"

class WireTap : public QObject {
    Q_OBJECT
public:
    struct Chunk {
        bool fromWorker;
        QByteArray bytes;
        qint64 atMs; // when passed on (a delayed answer: when released to the worker)
    };
    WireTap()
    {
        m_clock.start();
        m_fromWorker = std::make_unique<QSocketNotifier>(m_worker.masterFd(), QSocketNotifier::Read);
        connect(m_fromWorker.get(), &QSocketNotifier::activated, this, [this] { relay(m_worker, m_peer, true); });
        m_fromPeer = std::make_unique<QSocketNotifier>(m_peer.masterFd(), QSocketNotifier::Read);
        connect(m_fromPeer.get(), &QSocketNotifier::activated, this, [this] { relay(m_peer, m_worker, false); });
    }
    bool isValid() const { return m_worker.isValid() && m_peer.isValid(); }
    QString workerPath() const { return m_worker.slavePath(); }
    QString peerPath() const { return m_peer.slavePath(); }
    // Everything the worker sent, joined.
    QByteArray sent() const
    {
        QByteArray all;
        for (const Chunk &c : chunks)
            if (c.fromWorker)
                all += c.bytes;
        return all;
    }
    // The worker's side goes away (its adapter unplugged); the peer stays.
    void hangUpWorker()
    {
        m_fromWorker.reset();
        m_worker.hangUp();
    }
    // Stops relaying the peer's answers (a silent peer).
    bool muted = false;
    // Holds each of the peer's answers this long before passing it on (a slow peer).
    int answerDelayMs = 0;
    // The tap's clock start on the monotonic reference, to set its times beside other clocks.
    qint64 clockStart() const { return m_clock.msecsSinceReference(); }
    QList<Chunk> chunks;

private:
    void relay(PtyPair &from, PtyPair &to, bool fromWorker)
    {
        const QByteArray b = from.readAvailable();
        if (b.isEmpty())
            return;
        if (!fromWorker && muted) {
            chunks << Chunk{fromWorker, b, m_clock.elapsed()};
            return;
        }
        if (!fromWorker && answerDelayMs > 0) {
            QTimer::singleShot(answerDelayMs, this, [this, &to, b] {
                chunks << Chunk{false, b, m_clock.elapsed()};
                to.write(b.constData(), b.size());
            });
            return;
        }
        chunks << Chunk{fromWorker, b, m_clock.elapsed()};
        to.write(b.constData(), b.size());
    }
    PtyPair m_worker, m_peer;
    std::unique_ptr<QSocketNotifier> m_fromWorker, m_fromPeer;
    QElapsedTimer m_clock;
};

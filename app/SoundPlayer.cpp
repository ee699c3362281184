#include "app/SoundPlayer.h"

#include <QSound>
#include <atomic>
#include <memory>

namespace {
class QSoundPlayer : public SoundPlayer {
public:
    void play(const QString &r) override { QSound::play(r); }
    void playLooping(const QString &r) override
    {
        m_loop = std::make_unique<QSound>(r);
        m_loop->setLoops(QSound::Infinite);
        m_loop->play();
    }
    void stopLoop() override
    {
        if (m_loop)
            m_loop->stop();
        m_loop.reset();
    }

private:
    std::unique_ptr<QSound> m_loop;
};

QSoundPlayer &realPlayer()
{
    static QSoundPlayer p;
    return p;
}
std::atomic<SoundPlayer *> g_player{nullptr};
} // namespace

SoundPlayer &SoundPlayer::instance()
{
    SoundPlayer *p = g_player.load();
    return p ? *p : realPlayer();
}

void SoundPlayer::install(SoundPlayer *p)
{
    g_player.store(p);
}

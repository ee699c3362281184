#pragma once
// Every sound goes through the one player, so tests record what was played. Sounds are
// fire-and-forget: nothing ever waits for a sound to end.
#include <QString>
#include <QStringList>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &resource) = 0;
    // Plays until stopLoop().
    virtual void playLooping(const QString &resource) = 0;
    virtual void stopLoop() = 0;

    static SoundPlayer &instance();
    static void install(SoundPlayer *p); // nullptr restores the real player
};

class RecordingSoundPlayer : public SoundPlayer {
public:
    void play(const QString &r) override { played << r; }
    void playLooping(const QString &r) override { played << r; looping = r; }
    void stopLoop() override { looping.clear(); }
    QStringList played;
    QString looping;
};

// The compiled-in sounds.
namespace Sounds {
inline const char *Start = ":/images/start.wav";
inline const char *Pass = ":/images/pass.wav";
inline const char *Alarm = ":/images/alarm.wav";
inline const char *Class = ":/images/class.wav";
} // namespace Sounds

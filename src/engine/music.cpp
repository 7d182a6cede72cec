#include "music.h"

#include "engineclock.h"

// Silent for now: the track is never opened. The interface stays, so the
// frame loop, the timing log and the follower run as they will with sound.
Music::Music()
    : QObject(nullptr), m_follow(this), m_volume(1.0f), m_audible(true)
{
}

Music::~Music() = default;

void Music::init() {}

void Music::load(const QString& path)
{
    m_path = path;
}

void Music::stateChanged(int) {}

bool Music::isLost() const
{
    return false;
}

void Music::reopen() {}

void Music::SetVolume(float volume)
{
    m_volume = volume;
}

void Music::play(int delay)
{
    m_follow.SetDelay(delay);
    m_sincePlay.start();
}

void Music::Follow(int engineTime)
{
    if (EngineClock::GetInstance()->isPaused())
        m_follow.Hold();
    else
        m_follow.Update(engineTime);
}

void Music::followOwnClock() {}

int Music::ownClock() const
{
    return 0;
}

int Music::GetAudioPosition() const
{
    return -1;
}

bool Music::IsPlaying() const
{
    return false;
}

qint64 Music::Position() const
{
    return 0;
}

qint64 Music::Length() const
{
    return 0;
}

void Music::Seek(qint64) {}

void Music::SetAudible(bool audible)
{
    m_audible = audible;
}

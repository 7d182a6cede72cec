#include "music.h"

#include "engineclock.h"

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <phonon/Path>

#include <QUrl>

Music::Music()
    : QObject(nullptr), m_media(nullptr), m_output(nullptr), m_follow(this), m_volume(1.0f),
      m_audible(true)
{
    m_startTimer.setSingleShot(true);
    // A coarse timer may fire 5% off (250 ms on a 5 s delay).
    m_startTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_startTimer, &QTimer::timeout, this, [this] { followOwnClock(); });
    m_reopenTimer.setSingleShot(true);
    connect(&m_reopenTimer, &QTimer::timeout, this, [this] { reopen(); });
}

// The player never destroys its Music; a Music that is destroyed takes its
// playback graph with it instead of leaving it behind.
Music::~Music()
{
    if (m_media)
        m_media->disconnect(this);  // its last stop is no loss
    delete m_media;
    delete m_output;
}

void Music::init()
{
    m_media = new Phonon::MediaObject();
    m_output = new Phonon::AudioOutput(Phonon::GameCategory);
    Phonon::createPath(m_media, m_output);
    // A track that was still loading when the start came starts once it plays.
    connect(m_media, &Phonon::MediaObject::stateChanged, this,
            [this](Phonon::State state) { stateChanged(state); });
    // The length may be known only after the track starts playing.
    connect(m_media, &Phonon::MediaObject::totalTimeChanged, this,
            [this](qint64 length) { m_length = qMax(m_length, length); });
}

void Music::load(const QString& path)
{
    m_path = path;
    m_media->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(path)));
}

void Music::stateChanged(int state)
{
    if (state == Phonon::PlayingState) {
        m_length = qMax<qint64>(m_length, m_media->totalTime());
        m_played = true;
        m_reopenTimer.stop();
        m_reopenDelay = kFirstReopenDelay;
    } else if ((state == Phonon::StoppedState || state == Phonon::ErrorState) && isLost()) {
        const QString reason = m_media->errorString();
        qWarning("quenvarix: the sound stopped%s; opening it again",
                 qPrintable(reason.isEmpty() ? QString() : " (" + reason + ")"));
        m_reopenTimer.start(m_reopenDelay);
    }
    followOwnClock();
}

// Stopped or failed while the track should still be heard: a track that has
// played once and is not yet at its end, and not already being opened again
// (the timer runs from a loss until the track plays again).
bool Music::isLost() const
{
    if (!m_played || m_length <= 0 || m_reopenTimer.isActive())
        return false;
    return m_follow.ExpectedPosition(ownClock()) < m_length - kEndMargin;
}

// The same file from its start: the follower then seeks it to where it
// belongs, as after any jump. If it does not play by the next attempt (the
// sound server is not back yet), it is opened again, less often each time.
void Music::reopen()
{
    m_reopenDelay = qMin(2 * m_reopenDelay, kMaxReopenDelay);
    m_reopenTimer.start(m_reopenDelay);  // first: opening reports a stop of its own
    load(m_path);
    m_media->play();
}

void Music::SetVolume(float volume)
{
    m_volume = volume;
    if (m_audible)
        m_output->setVolume(double(volume));
}

// The track runs from now on, silently: pausing it instead would be cheaper,
// but the GStreamer back end resumes a paused track late by about as long as
// it was paused, while a seek on a running track lands within tens of ms.
void Music::play(int delay)
{
    m_follow.SetDelay(delay);
    m_sincePlay.start();
    SetAudible(false);
    m_media->play();
    m_startTimer.start(qMax(0, delay - m_follow.SeekCost()));
}

void Music::Follow(int engineTime)
{
    if (EngineClock::GetInstance()->isPaused())
        m_follow.Hold();
    else
        m_follow.Update(engineTime);
}

// Between frames (the start timer, a change of state), the engine clock
// once it runs, else the time since play().
void Music::followOwnClock()
{
    if (EngineClock::GetInstance()->isStarted() || m_sincePlay.isValid())
        Follow(ownClock());
}

int Music::ownClock() const
{
    const EngineClock* clock = EngineClock::GetInstance();
    if (clock->isStarted())
        return clock->now();
    return m_sincePlay.isValid() ? int(m_sincePlay.elapsed()) : 0;
}

int Music::GetAudioPosition() const
{
    return m_follow.IsStarted() && IsPlaying() ? int(Position()) : -1;
}

bool Music::IsPlaying() const
{
    return m_media && m_media->state() == Phonon::PlayingState;
}

qint64 Music::Position() const
{
    return m_media ? m_media->currentTime() : 0;
}

qint64 Music::Length() const
{
    return m_media ? qMax<qint64>(0, m_media->totalTime()) : 0;
}

void Music::Seek(qint64 ms)
{
    if (m_media)
        m_media->seek(ms);
}

void Music::SetAudible(bool audible)
{
    m_audible = audible;
    if (m_output)
        m_output->setVolume(audible ? double(m_volume) : 0.0);
}

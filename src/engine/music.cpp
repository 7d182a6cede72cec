#include "music.h"

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <phonon/Path>

#include <QTimer>
#include <QUrl>

Music::Music()
    : QObject(nullptr), m_media(nullptr), m_output(nullptr)
{
}

// The player never destroys its Music; a Music that is destroyed takes its
// playback graph with it instead of leaving it behind.
Music::~Music()
{
    delete m_media;
    delete m_output;
}

void Music::init()
{
    m_media = new Phonon::MediaObject();
    m_output = new Phonon::AudioOutput(Phonon::GameCategory);
    Phonon::createPath(m_media, m_output);
}

void Music::load(const QString& path)
{
    m_media->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(path)));
}

void Music::SetVolume(float volume)
{
    m_output->setVolume(double(volume));
}

void Music::play(int delay)
{
    QTimer::singleShot(delay, m_media, SLOT(play()));
}

void Music::Hold(bool held)
{
    if (!m_media || held == m_held)
        return;
    m_held = held;
    if (held) {
        m_heldPlaying = m_media->state() == Phonon::PlayingState;
        if (m_heldPlaying)
            m_media->pause();
    } else if (m_heldPlaying) {
        m_media->play();
        m_heldPlaying = false;
    }
}

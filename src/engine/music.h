#ifndef MUSIC_H
#define MUSIC_H

#include <QObject>

namespace Phonon {
class AudioOutput;
class MediaObject;
}

// Plays the soundtrack once, started after a fixed delay. Playback is not
// fed back into the picture: the timeline follows the engine clock only, so
// a missing file or no audio device simply leaves the demo silent.
class Music : public QObject
{
public:
    Music();
    ~Music() override;

    void init();
    void load(const QString& path);
    void SetVolume(float volume);
    // Returns at once; playback starts when the event loop delivers the timer.
    void play(int delay);
    // Holds a playing track where it is while the picture is paused (true)
    // and lets it go on (false).
    void Hold(bool held);

    Phonon::MediaObject* GetMedia() const { return m_media; }
    Phonon::AudioOutput* GetOutput() const { return m_output; }

private:
    Phonon::MediaObject* m_media;   // owned; the engine keeps its Music until the process ends
    Phonon::AudioOutput* m_output;  // owned
    bool m_held = false;
    bool m_heldPlaying = false;     // the track was playing when held
};

#endif

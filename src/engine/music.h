#ifndef MUSIC_H
#define MUSIC_H

#include "musicfollow.h"
#include "musictrack.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Plays the soundtrack once, in step with the engine clock. play() opens the
// file, the decoder and the device at once and lets the track run silently
// through the lead-in, so that its start costs no set-up: a precise timer
// then seeks it to where it belongs and makes it heard, and Follow(), called
// on every frame, keeps it there. A missing file or no audio device leaves
// the demo silent; the picture never waits for the sound. A track that was
// playing and is lost (the sound server went away) is opened again after 1,
// 2, 4, then every 8 s, and the follower puts it back where it belongs.
class Music : public QObject, public MusicTrack
{
public:
    Music();
    ~Music() override;

    void init();
    void load(const QString& path);
    void SetVolume(float volume);
    // Returns at once; the track is heard from `delay` ms after the call,
    // the moment the engine clock counts as engine time `delay`.
    void play(int delay);

    // Brings the track in step with engine time `engineTime` (see MusicFollow);
    // while the engine clock is paused, the track is silent.
    void Follow(int engineTime);
    // Moves the sound later (positive) or earlier against the picture, in ms.
    void SetAudioOffset(int ms) { m_follow.SetOffset(ms); }
    // Where the track is heard now (ms), or -1 before its start and when
    // nothing plays; where it should be at engine time `engineTime`.
    int GetAudioPosition() const;
    int GetExpectedPosition(int engineTime) const { return m_follow.ExpectedPosition(engineTime); }
    const MusicFollow& GetFollow() const { return m_follow; }

    bool IsPlaying() const override;
    qint64 Position() const override;
    qint64 Length() const override;
    void Seek(qint64 ms) override;
    void SetAudible(bool audible) override;

    static constexpr int kFirstReopenDelay = 1000;  // ms after a loss
    static constexpr int kMaxReopenDelay = 8000;
    static constexpr int kEndMargin = 1000;  // ms before its end a stop is taken for the end

private:
    void followOwnClock();
    int ownClock() const;
    void stateChanged(int state);
    bool isLost() const;
    void reopen();

    MusicFollow m_follow;
    QTimer m_startTimer;
    QElapsedTimer m_sincePlay;      // engine time for a Music used without the engine
    QTimer m_reopenTimer;
    QString m_path;
    qint64 m_length = 0;            // ms, 0 while unknown
    bool m_played = false;          // only a track that has played can be lost
    int m_reopenDelay = kFirstReopenDelay;
    float m_volume;
    bool m_audible;
};

#endif

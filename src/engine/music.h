#ifndef MUSIC_H
#define MUSIC_H

#include <QObject>
#include <QString>
#include <QTimer>

#include "firstcyclewatch.h"
#include "trackanchor.h"

typedef struct _GstBus GstBus;
typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// Plays the soundtrack through GStreamer on EngineClock's monotonic time
// base: track position p is heard at engine time delay + offset + p, by
// construction, not by correction. Whenever the engine clock is moved (pause,
// resume, a jump) the track is anchored again: sought to where it belongs and
// scheduled on the new origin.
//
// Faults leave the picture alone: a missing or broken track, or no sound
// server, gives one message and silence. A track lost while playing (the
// server went away) is opened again after 1, 2, 4, then every 8 s, in place.
class Music : public QObject
{
public:
    Music();
    ~Music() override;

    void init();
    // Opens the track and prerolls it (decoder and device are set up here).
    void load(const QString& path);
    void SetVolume(float volume);
    // Returns at once; the track is heard from engine time `delay`, or
    // `delay` ms after the call while the engine clock does not run.
    void play(int delay);

    // Looks at the engine clock and the pipeline's messages: called on every
    // frame and whenever the clock was moved. Between frames a timer does it.
    void Follow();
    // As Follow, and a start it finds under way is taken to its sound before
    // this returns: for a jump of the clock, before the picture is built.
    void StartNow();
    // Moves the sound later (positive) or earlier against the picture, in ms.
    void SetAudioOffset(int ms) { m_offset = ms; }

    // Where the track is heard now (ms), or -1 before its start and when
    // nothing plays; where it should be at engine time `engineTime`.
    int GetAudioPosition() const;
    int GetExpectedPosition(int engineTime) const { return engineTime - trackStart(); }
    int SeekCount() const { return m_seeks; }  // anchors so far
    bool IsPlaying() const;

    static constexpr int kFirstReopenDelay = 1000;  // ms after a loss

private:
    int trackStart() const { return m_delay + m_offset; }
    qint64 origin() const;
    qint64 expectedNow() const;
    void sync();
    void anchor(qint64 originNs);
    void close(bool release = false);
    void advance();
    void open();
    void seek();
    qint64 length();
    void start();
    qint64 streamTime() const;
    void readBus();
    void fail(const QString& reason);
    void reopen();
    void endEarly();
    void warn(const QString& what);

    GstElement* m_pipeline = nullptr;
    GstElement* m_sink = nullptr;  // owned by the pipeline
    GstBus* m_bus = nullptr;
    GstPad* m_held = nullptr;  // where data wait while the track is sought into place
    unsigned long m_hold = 0;  // the probe that holds them, 0 when none
    FirstCycleWatch m_firstCycle;
    QTimer m_busTimer;
    QTimer m_reopenTimer;
    QString m_path;
    int m_delay = 0;
    int m_offset = 0;
    qint64 m_playCalledNs = -1;  // the origin while the engine clock does not run
    static constexpr qint64 kNone = -1, kPaused = -2;
    qint64 m_anchoredTo = kNone;  // the engine clock's origin, kNone or kPaused
    // A start goes through Waiting, Holding and Opening, one step per look
    // once the previous one has landed. Idle: closed, paused or played to
    // its end. Failed: silent until opened again.
    enum class Phase { Idle, Waiting, Holding, Opening, Playing, Failed };
    Phase m_phase = Phase::Idle;
    TrackAnchor m_target;
    qint64 m_openedAt = 0;  // monotonic ns at which the stream was last opened
    bool m_warned = false;  // the one message of a track that never played
    bool m_played = false;  // only a track that has played can be lost
    qint64 m_length = 0;    // see length()
    int m_reopenDelay = kFirstReopenDelay;
    int m_seeks = 0;
};

#endif

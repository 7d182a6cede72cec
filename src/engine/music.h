#ifndef MUSIC_H
#define MUSIC_H

#include <QObject>
#include <QString>
#include <QTimer>

#include "firstcyclewatch.h"
#include "placementwatch.h"
#include "trackanchor.h"

#include <memory>

typedef struct _GstBus GstBus;
typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// Plays the soundtrack through GStreamer on EngineClock's monotonic time base:
// track position p is heard at engine time delay + offset + p by construction.
// Whenever the engine clock moves (pause, resume, a jump) the track is anchored
// again: sought to where it belongs and scheduled on the new origin. A jump
// while it plays is sought within the playing stream, off the player's thread;
// otherwise the stream is opened anew.
//
// Faults leave the picture alone: a missing or broken track, or no sound
// server, gives one message and silence. A track lost while playing (the server
// went away) is opened again after 1, 2, 4, then every 8 s, in place.
class Music : public QObject
{
public:
    Music();
    ~Music() override;

    void init();
    void load(const QString& path);  // prerolls: a missing file or server is told at once
    void SetVolume(float volume);
    // The track is heard from engine time `delay`, or `delay` ms after the call
    // while the engine clock does not run.
    void play(int delay);

    // Reads the pipeline's messages and anchors the track again if the engine
    // clock moved: on every frame, and between frames by a timer.
    void Follow();
    // As Follow, and a start under way is taken to its sound before this
    // returns: for a jump of the clock, before the picture is built. At most
    // 100 ms: a stalled sound server holds the sound, not the picture.
    void StartNow();
    void SetAudioOffset(int ms) { m_offset = ms; }  // positive: the sound later

    // Where the track is heard (ms; -1 before its start and while silent), and
    // where it should be at `engineTime`.
    int GetAudioPosition() const;
    int GetExpectedPosition(int engineTime) const { return engineTime - trackStart(); }
    int SeekCount() const { return m_seeks; }  // anchors so far
    bool IsPlaying() const;

    static constexpr int kFirstReopenDelay = 1000;  // ms after a loss

private:
    // A start goes Waiting, Holding, Opening (in this order), one step per look
    // once the one before has landed; a seek in the playing stream is Seeking
    // until it lands. Idle: closed, paused or at its end. Failed: silent until
    // opened again.
    enum class Phase { Idle, Waiting, Holding, Opening, Seeking, Playing, Failed };
    struct SeekJob;
    static void runSeek(GstElement* pipeline, void* job);
    static void dropSeek(void* job);

    int trackStart() const { return m_delay + m_offset; }
    qint64 origin() const;
    qint64 expectedNow() const;
    bool starting() const { return m_phase >= Phase::Waiting && m_phase <= Phase::Seeking; }
    qint64 offPlace() const;
    void anchor(qint64 originNs, bool keepStream);
    void seekInPlace();
    void landInPlace();
    void close(bool release = false);
    void advance();
    void open();
    void hold();
    void setSinkOffset(qint64 offset);
    void seek();
    bool pastEnd();
    void start();
    qint64 length();
    qint64 streamTime() const;
    void readBus();
    void fail(const QString& reason);
    void reopen();
    void ended();
    void warn(const QString& what);

    GstElement* m_pipeline = nullptr;
    GstElement* m_sink = nullptr;  // owned by the pipeline
    GstBus* m_bus = nullptr;
    GstPad* m_held = nullptr;  // where data wait while the track is sought
    unsigned long m_hold = 0;  // the probe that holds them, 0 when none
    std::shared_ptr<SeekJob> m_seek;  // the seek in the playing stream under way
    FirstCycleWatch m_firstCycle;
    PlacementWatch m_placement;
    QTimer m_busTimer;
    QTimer m_reopenTimer;
    QString m_path;
    int m_delay = 0;
    int m_offset = 0;
    qint64 m_playCalledNs = -1;  // the origin while the engine clock does not run
    static constexpr qint64 kNone = -1, kPaused = -2;
    qint64 m_anchoredTo = kNone;  // the engine clock's origin, kNone or kPaused
    Phase m_phase = Phase::Idle;
    TrackAnchor m_target;
    qint64 m_openedAt = 0;  // monotonic ns of the stream's last opening
    bool m_warned = false;  // the one message of a track that never played
    bool m_played = false;  // only a track that has played can be lost
    qint64 m_length = 0;    // ns, see length()
    int m_reopenDelay = kFirstReopenDelay;
    int m_seeks = 0;
};

#endif

#ifndef MUSICFOLLOW_H
#define MUSICFOLLOW_H

#include <QtGlobal>

class MusicTrack;

// Keeps a track in step with the engine clock, which stays the master: the
// track should be at engine time − delay − offset, and when it is not, the
// follower seeks the track, never the clock.
//
// The track runs silently through the lead-in; the start is a seek to where
// the track belongs, then it is made audible. A seek on the back end takes a
// while to land (tens of ms, more on a busy machine) and is heard as a small
// gap, so the follower seeks rarely: only when the difference stays over the
// tolerance on a track that plays steadily, aimed ahead by what the previous
// seeks took, with a pause for breath after a run of failed attempts. A track that
// does not move (device gone, stalled, ended, missing) is never sought.
class MusicFollow
{
public:
    static constexpr int kTolerance = 15;      // ms either way that are left alone
    static constexpr int kSteadyReadings = 3;  // readings that advance with the clock before a judgement
    static constexpr int kOutsideReadings = 3; // steady readings in a row over the tolerance before a seek
    static constexpr int kFreeRetries = 3;     // seeks in a row before backing off
    static constexpr int kMaxBackoff = 8000;   // ms between attempts at most

    explicit MusicFollow(MusicTrack* track);

    // Where the track should be: engine time − delay − offset. The delay is
    // the engine time at which the track starts; the offset moves the sound
    // later (positive) or earlier against the picture.
    void SetDelay(int ms) { m_delay = ms; }
    void SetOffset(int ms) { m_offset = ms; }
    int ExpectedPosition(int engineTime) const { return engineTime - m_delay - m_offset; }

    // One look at the track at engine time `engineTime`: start it, leave it,
    // or seek it. Called on every frame and by the precise start timer; a
    // jump of the picture is simply corrected on the next call.
    void Update(int engineTime);
    // The picture holds still: the track goes silent, and starts again where
    // it belongs on the first Update after.
    void Hold();

    bool IsStarted() const { return m_started; }
    int SeekCount() const { return m_seeks; }
    // What a seek is currently expected to take, in ms.
    int SeekCost() const { return m_seekCost; }

private:
    void leadIn(qint64 length);
    void start(int engineTime, int expected);
    void seek(int engineTime, int expected);
    bool readSteadily(int engineTime, qint64 position);
    void learnSeekCost(int difference);
    bool mayRetry(int engineTime) const;

    MusicTrack* m_track;  // not owned
    int m_delay = 0;
    int m_offset = 0;
    bool m_started = false;
    int m_seekCost = 20;      // ms; a first guess, measured on the development machine
    bool m_learning = false;  // the next steady reading tells what the last seek took
    int m_aim = 0;            // difference the last seek aimed at (not 0 when its target was clamped)
    int m_seeks = 0;
    int m_failedSeeks = 0;    // seeks since the track was last within tolerance
    int m_lastSeekAt = 0;
    int m_steady = 0;
    int m_outside = 0;        // steady readings in a row over the tolerance
    int m_lastTime = 0;
    qint64 m_lastPosition = -1;
};

#endif

#include "musicfollow.h"

#include "musictrack.h"

#include <QtGlobal>

namespace {
const int kSteadySlack = 5;     // ms a reading may stray from the clock and still count as steady
const int kMaxSeekCost = 500;   // ms; a seek that seems to take longer is a stall, not a cost
const int kFirstBackoff = 1000; // ms after the free retries are spent; doubles each time
}

MusicFollow::MusicFollow(MusicTrack* track)
    : m_track(track)
{
}

void MusicFollow::Update(int engineTime)
{
    if (!m_track->IsPlaying()) {
        m_steady = 0;
        m_lastPosition = -1;
        return;
    }
    const int expected = ExpectedPosition(engineTime);
    // Before the start, or the picture went back there: run silently. A
    // started track keeps a margin so that a grown seek cost cannot stop it.
    const qint64 length = m_track->Length();
    if (expected + m_seekCost + (m_started ? kTolerance : 0) < 0) {
        leadIn(length);
        return;
    }
    if (length > 0 && expected + m_seekCost >= length)
        return;  // the last moments: let the track finish on its own
    if (!m_started) {
        start(engineTime, expected);
        return;
    }
    const qint64 position = m_track->Position();
    if (!readSteadily(engineTime, position))
        return;
    const int difference = int(position - expected);
    if (m_learning)
        learnSeekCost(difference);
    if (qAbs(difference) <= kTolerance) {
        m_failedSeeks = 0;
        m_outside = 0;
        return;
    }
    // One reading over the line may be jitter on a track that sits near it.
    if (++m_outside >= kOutsideReadings && mayRetry(engineTime))
        seek(engineTime, expected);
}

void MusicFollow::Hold()
{
    if (m_started)
        m_track->SetAudible(false);
    m_started = false;
}

// Silent until the start; a track shorter than the lead-in is sent back to
// its beginning before it can end.
void MusicFollow::leadIn(qint64 length)
{
    Hold();
    if (length > 0 && m_track->Position() >= length / 2)
        m_track->Seek(0);
}

void MusicFollow::start(int engineTime, int expected)
{
    seek(engineTime, expected);
    m_failedSeeks = 0;
    m_track->SetAudible(true);
    m_started = true;
}

// Aims ahead by what a seek takes, so that the track is where it belongs
// once the seek has landed. A target before the track's start is clamped,
// and remembered, so the cost is still learnt right.
void MusicFollow::seek(int engineTime, int expected)
{
    const int target = qMax(0, expected + m_seekCost);
    m_aim = target - (expected + m_seekCost);
    m_track->Seek(target);
    ++m_seeks;
    ++m_failedSeeks;
    m_lastSeekAt = engineTime;
    m_learning = true;
    m_steady = 0;
    m_outside = 0;
    m_lastPosition = -1;
}

// A judgement needs a track that advances with the clock: not one that is
// still landing after a seek, stalled or gone, and not across a jump of
// either the picture or the track.
bool MusicFollow::readSteadily(int engineTime, qint64 position)
{
    if (engineTime == m_lastTime && m_lastPosition >= 0)
        return m_steady >= kSteadyReadings;
    const bool advancing = m_lastPosition >= 0 && engineTime > m_lastTime && position > m_lastPosition
        && qAbs((position - m_lastPosition) - (engineTime - m_lastTime)) <= kSteadySlack;
    m_steady = advancing ? m_steady + 1 : 0;
    m_lastTime = engineTime;
    m_lastPosition = position;
    return m_steady >= kSteadyReadings;
}

// The first steady difference after a seek tells what that seek took; the
// estimate moves halfway towards it, as single seeks vary a lot.
void MusicFollow::learnSeekCost(int difference)
{
    const int took = qBound(0, m_seekCost + m_aim - difference, kMaxSeekCost);
    m_seekCost = (m_seekCost + took) / 2;
    m_learning = false;
}

bool MusicFollow::mayRetry(int engineTime) const
{
    if (m_failedSeeks < kFreeRetries)
        return true;
    const int doublings = qMin(m_failedSeeks - kFreeRetries, 3);
    const int backoff = qMin(kMaxBackoff, kFirstBackoff << doublings);
    return engineTime - m_lastSeekAt >= backoff;
}

#ifndef FRAMECLOCK_H
#define FRAMECLOCK_H

// The engine times of a capture, on the player's frame grid (framestep.h):
// frame i is rendered at from + i * 1000 / fps ms, rounded down, for every
// such time before `to`.
//
// Before `from`, the clock ticks on the same step from engine time 0 without
// rendering (the pre-roll), as the player's frame loop would have ticked, so
// a capture that starts late shows the scene as a whole capture shows it.
class FrameClock
{
public:
    FrameClock(int from, int to, int fps);

    int frameCount() const { return m_frameCount; }
    int frameTime(int frame) const;

    int prerollCount() const { return m_prerollCount; }
    int prerollTime(int tick) const { return stepTime(0, tick); }

    int fps() const { return m_fps; }
    // Length of the capture in seconds, as a video of frameCount() frames.
    double durationSeconds() const { return double(m_frameCount) / m_fps; }

private:
    int stepTime(int origin, int step) const;

    int m_from;
    int m_fps;
    int m_frameCount;
    int m_prerollCount;
};

#endif

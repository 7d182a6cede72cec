#ifndef TIMINGLOG_H
#define TIMINGLOG_H

#include <QtGlobal>

#include <cstdio>

// The player's --timing-log: for anyone checking how a machine keeps time.
// First one line that ties engine time 0 to the system's real-time clock,
// then once a second the engine time, where the track is heard against where
// it should be, and the pacing of that second's frames.
class TimingLog
{
public:
    static constexpr int kLateInterval = 25;  // ms between frames that count as a late frame

    explicit TimingLog(FILE* out = stderr) : m_out(out) {}

    // `unixMs`: the real-time clock, in ms since the epoch, at engine time 0.
    void begin(qint64 unixMs);
    // Where the track is heard (-1: not heard), where it should be, and how
    // often it was sought so far.
    struct Audio
    {
        int position = -1;
        int expected = 0;
        int seeks = 0;
    };

    // One frame at `engineTime`, `interval` ms after the previous one.
    void frame(int engineTime, int interval, const Audio& audio);

private:
    void report(int engineTime, const Audio& audio);

    FILE* m_out;
    int m_nextReport = 1000;
    int m_frames = 0;
    int m_late = 0;
    int m_longest = 0;
};

#endif

#ifndef TIMINGLOG_H
#define TIMINGLOG_H

#include <QtGlobal>

#include <cstdio>

// The player's --timing-log: for anyone checking how a machine keeps time.
// First one line that ties engine time 0 to the system's real-time clock and
// one that says what paces the frames, then once a second the engine time,
// where the track is heard against where it should be, and the pacing of
// that second's frames.
class TimingLog
{
public:
    enum class Pacing { Timer, Display };

    explicit TimingLog(FILE* out = stderr) : m_out(out) {}

    // `unixMs`: the real-time clock, in ms since the epoch, at engine time 0.
    // Called again whenever the engine clock was moved (a seek, a pause, a
    // loop), at `engineTime`: the reports go on from there.
    void begin(qint64 unixMs, int engineTime = 0);
    // The frames follow the display's refresh or the frame timer, `period`
    // ms apart; a frame more than a quarter of a period late counts as late.
    void pacing(Pacing pacing, double period);

    // Where the track is heard (-1: not heard), where it should be, and how
    // often it was sought so far.
    struct Audio
    {
        int position = -1;
        int expected = 0;
        int seeks = 0;
    };

    // One frame at `engineTime`, `interval` ms after the previous one;
    // `repeats`: refreshes since the previous frame that showed the picture
    // before it again (counted with the display only).
    void frame(int engineTime, int interval, const Audio& audio, int repeats = 0);

    static constexpr double kLateShare = 1.25;  // of the period: a late frame

private:
    void report(int engineTime, const Audio& audio);

    FILE* m_out;
    Pacing m_pacing = Pacing::Timer;
    double m_lateAfter = 20 * kLateShare;  // ms; the default 50 fps until told
    int m_nextReport = 1000;
    int m_frames = 0;
    int m_late = 0;
    int m_longest = 0;
    int m_repeats = 0;
};

#endif

#ifndef FRAMEPACING_H
#define FRAMEPACING_H

#include <QVector>

// Whether the frame loop follows the display or its own timer. Where the
// buffer swap waits for the display's refresh (vertical sync), the next
// frame is drawn as soon as the previous one is on screen: one new picture
// every refresh, at whatever rate the screen runs, each at the clock's
// reading just after a refresh. Where the swap returns at once (a virtual X
// server, a driver with vertical sync off), the loop keeps the frame timer.
//
// The screen's reported rate cannot tell the two apart (virtual displays
// report 60 Hz too), so the first frames are watched: each is finished
// before its swap, so that a swap that still takes a while is waiting for
// the display, not for the drawing.
class FramePacing
{
public:
    enum class Mode { Probing, Display, Timer };

    static constexpr int kSettleFrames = 4;      // first frames, not measured: set-up
    static constexpr int kProbeFrames = 20;      // measured
    static constexpr double kWaitingSwap = 2.0;  // ms: a swap this long waits for the display...
    static constexpr double kWaitingShare = 0.25;  // ...when it is this share of the frame too
    static constexpr double kFastestRefresh = 2.0;  // ms: no display refreshes faster (500 Hz)

    // A forced timer (--fps) skips the watching.
    explicit FramePacing(bool timerForced = false);

    Mode mode() const { return m_mode; }
    // A frame of the loop was swapped: asked for at `askedMs`, returned at
    // `returnedMs` (fractional ms on one steady clock).
    void swapped(double askedMs, double returnedMs);

    // With the display: the refresh period in ms, as measured.
    double refreshPeriod() const { return m_refreshPeriod; }
    // With the display: refreshes that showed the previous picture again
    // since the last call.
    int takeRepeats();

private:
    void decide();
    void countRepeats(double interval);

    Mode m_mode;
    int m_frame = 0;  // frames swapped so far
    double m_lastSwap = -1;
    QVector<double> m_intervals;  // between the returns of consecutive swaps
    QVector<double> m_waits;      // inside the swaps
    double m_refreshPeriod = 0;
    int m_repeats = 0;
};

#endif

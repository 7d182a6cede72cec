#ifndef STALLWATCH_H
#define STALLWATCH_H

#include <QtGlobal>

#include <atomic>
#include <limits>
#include <vector>

typedef struct _GstPad GstPad;

// A stall of the sound server (PipeWire's graph held up, a sound card's
// overrun) leaves the sound late for good: the sink plays on from where it was
// placed. The server makes room for the sound as it plays it, and the sink
// takes the next buffer as soon as there is room, so the time a buffer passes
// less its position in the track runs steady while the sound is in place, and
// rises for good by a stall.
//
// Its least value over each half second is compared with the median of the
// five before. A stall is told by two windows running: a busy machine holds the
// streaming thread up for a while, and the sound in the server's buffer plays
// on in place. The first seconds after a start, while the server settles on its
// latency, are left out.
class StallWatch
{
public:
    ~StallWatch() { stop(); }
    void start(GstPad* pad);  // whenever the sound starts; `pad` leads to the sink
    void stop();
    // ns the sound has fallen behind, once by more than kLimit; else 0.
    qint64 fellBehind() const { return m_behind; }

    // A buffer at `position` in the track passed at `now` (both ns).
    void passed(qint64 now, qint64 position);

    static constexpr qint64 kSettle = 2000000000;  // ns left out after a start
    static constexpr qint64 kWindow = 500000000;   // ns
    static constexpr qint64 kLimit = 4000000;      // ns late that count as a stall
    static constexpr int kPast = 5;                // windows the median is taken over

private:
    void closeWindow();
    qint64 median() const;

    static constexpr qint64 kUnknown = std::numeric_limits<qint64>::max();
    // On the streaming thread only, but for m_behind.
    qint64 m_windowEnd = -1;     // -1 before the first buffer
    bool m_settling = true;      // the first window is the settling time
    qint64 m_least = kUnknown;   // least lag of the window so far
    std::vector<qint64> m_past;  // least lags of the last windows, oldest first
    qint64 m_rise = 0;           // the last window's least over the median before
    std::atomic<qint64> m_behind{0};
    GstPad* m_pad = nullptr;     // held while watched
    unsigned long m_probe = 0;
};

#endif

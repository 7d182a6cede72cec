#ifndef PLACEMENTWATCH_H
#define PLACEMENTWATCH_H

#include <QtGlobal>

#include <atomic>
#include <limits>
#include <vector>

typedef struct _GstPad GstPad;

// Tells when the sound is heard off its place. The server makes room for the
// sound as it plays it, and the sink takes the next buffer as soon as there is
// room, so the time a buffer passes less the time its position is to be heard
// runs steady while the sound is in place: the sound the server holds ahead,
// the same from start to start on one server. It rises for good by a stall of
// the server (PipeWire's graph held up), and a start placed off moves it too
// (a late notice of the server's first cycle, a stream placed off by the
// server): either way the sink plays on from where it is.
//
// Every half second its least value over the last second is compared with the
// median of the five before, of this start or those before it: the server may
// make room in bursts up to 0.9 s apart, and a window must hold the earliest.
// Two windows running must be off: a busy machine holds the streaming thread up
// for a while, and the sound in the server's buffer plays on in place. The
// first second of a start, while the buffer fills, is not compared. Early
// sound is told only at a start. A server whose placement moves (its quantum
// changed) is told once: the median follows it. Late sound told later in a
// start is moved back by the player, and what was seen of it with it.
//
// A server that makes room steadily (PipeWire) shows a stall sooner: every
// quarter second of the last three lies above all of the six before by more
// than the limit. That is told at once, about a second before the windows.
class PlacementWatch
{
public:
    ~PlacementWatch() { stop(); }
    // Whenever the sound starts: `pad` leads to the sink, and the track's
    // position 0 is to be heard at `zeroAt` (monotonic ns).
    void start(GstPad* pad, qint64 zeroAt);
    // After a seek in the playing stream: the stream's pace is the same, so
    // what was seen of it before still counts (seeks closer together than a
    // look would otherwise leave a stall amid them untold for good).
    void resume(GstPad* pad, qint64 zeroAt);
    void stop();
    void forget() { m_past.clear(); }  // a new server: nothing to compare with
    // ns the sound is heard late (negative: early), once by more than kLimit; else 0.
    qint64 offPlace() const { return m_off; }

    void begin(qint64 zeroAt);     // start() but the pad
    void resumeAt(qint64 zeroAt);  // resume() but the pad
    // A buffer at `position` in the track passed at `now` (both ns).
    void passed(qint64 now, qint64 position);

    static constexpr qint64 kSettle = 500000000;   // ns left out after a start
    static constexpr qint64 kQuarter = 250000000;  // ns; a window takes in four, every second one
    static constexpr qint64 kLimit = 4000000;      // ns off that count
    static constexpr int kPast = 5;                // windows the median is taken over
    static constexpr int kRisen = 3;               // quarters above the ones before: a stall
    static constexpr int kBefore = 6;              // the quarters they are compared with

private:
    void watch(GstPad* pad);
    void closeQuarter();
    void look(qint64 least);
    void tell(qint64 off, qint64 place);
    bool starting() const { return m_looks <= kPast / 2; }  // the looks that may tell early sound
    bool risen() const;
    qint64 offBy(qint64 rise) const;
    qint64 median() const;

    static constexpr qint64 kUnknown = std::numeric_limits<qint64>::max();
    // On the streaming thread only, but for m_off.
    qint64 m_zeroAt = 0;
    qint64 m_windowEnd = -1;     // -1 before the first buffer
    bool m_settling = true;      // the first window is the settling time
    qint64 m_least = kUnknown;   // least lag of the quarter so far
    std::vector<qint64> m_quarters;  // least lags of this start's last quarters, oldest first
    int m_quarterCount = 0;      // quarters of this start so far
    std::vector<qint64> m_past;  // least lags of the last windows, oldest first
    qint64 m_lastOff = 0;        // the last window's move past the limit, else 0
    int m_looks = 0;             // windows of this start looked at so far
    std::atomic<qint64> m_off{0};
    GstPad* m_pad = nullptr;     // held while watched
    unsigned long m_probe = 0;
};

#endif

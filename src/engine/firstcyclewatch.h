#ifndef FIRSTCYCLEWATCH_H
#define FIRSTCYCLEWATCH_H

#include <QtGlobal>

#include <atomic>

typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// PipeWire takes a new stream into its graph at the graph's next cycle, up to
// a period (tens of ms on a desktop) after the sink started it, while the sink
// places the sound as if it were heard at once. The server tells the stream
// when it first reads it ("started"); pulsesink passes that on only to its
// debug log, so the watch listens there. Told of the read, it moves the sink's
// mapping earlier by the wait and leaves that much of the sound out where the
// sink writes next (about 150 ms on, one skip of up to a period). PulseAudio
// starts a stream at once: its notice comes back within a millisecond and
// moves nothing.
class FirstCycleWatch
{
public:
    ~FirstCycleWatch() { stop(); }
    // Right before `sink` (a pulsesink) is set playing.
    void start(GstElement* sink);
    // Before the sink's stream is closed.
    void stop();

private:
    std::atomic<qint64> m_skip{0};  // ns of sound still to leave out
    GstPad* m_pad = nullptr;        // the sink's, while watched
    unsigned long m_probe = 0;      // what leaves the sound out
};

#endif

#ifndef FIRSTCYCLEWATCH_H
#define FIRSTCYCLEWATCH_H

#include <QtGlobal>

#include <atomic>
#include <thread>

typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// PipeWire takes a new stream into its graph at the graph's next cycle, up to
// a period (tens of ms on a desktop) after the sink started it, while the sink
// places the sound as if it were heard at once. The stream's time tells when:
// it stands until the server answers, then runs, and steps up when the graph
// first reads it, or starts right there with a step from where it stood; when
// it already ran from the answer, the read may instead set it back, and the
// time stands until it is due again. This watch looks at it every 0.25 ms on a
// thread of its own and, seeing the step or the stand, moves the sink's mapping
// earlier by the wait and leaves that much of the sound out where the sink
// writes next (about 150 ms on, one skip of up to a period). PulseAudio starts
// a stream at once; its time starts to run and runs on.
class FirstCycleWatch
{
public:
    ~FirstCycleWatch() { stop(); }
    // Right after `sink` (a pulsesink) was set playing.
    void start(GstElement* sink);
    // Before the sink's stream is closed.
    void stop();

private:
    std::thread m_thread;
    std::atomic<bool> m_watching{false};
    std::atomic<qint64> m_skip{0};  // ns of sound still to leave out
    GstPad* m_pad = nullptr;        // the sink's, while watched
    unsigned long m_probe = 0;      // what leaves the sound out
};

#endif

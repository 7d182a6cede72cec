#ifndef FIRSTCYCLEWATCH_H
#define FIRSTCYCLEWATCH_H

#include <QtGlobal>

#include <condition_variable>

typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;
typedef struct _GstPadProbeInfo GstPadProbeInfo;

// PipeWire reads a new stream first at its graph's next cycle, up to a period
// (tens of ms) after the sink started it, while the sink places the sound as if
// it were read at once. The server's "started" notice tells of the read;
// pulsesink passes it on only to its debug log, so the watch listens there.
//
// The sink starts its stream on a lead-in of silence, and the first sound waits
// before the sink until the read (60 ms at most). The sink's mapping is then
// moved earlier by the wait, and what of the sound is due by then is left out.
// PulseAudio reads a stream at once: its notice moves nothing.
class FirstCycleWatch
{
public:
    ~FirstCycleWatch() { stop(); }
    // Before the first sound reaches `pad`, the last pad before `sink` (a pulsesink).
    void start(GstElement* sink, GstPad* pad);
    // Before the sink's stream is closed; lets the sound go.
    void stop();
    // On the server's thread, from the debug log: `sink`'s stream was read.
    static void streamRead(const void* sink);
    // The sink's clock maps the pipeline's time to the stream's: moved, the same
    // pipeline time lands `by` ns earlier in `sink`'s stream (negative: later).
    static void moveMapping(GstElement* sink, qint64 by);

private:
    void onSound(GstPad* pad, GstPadProbeInfo* info);
    void startStream(GstPad* pad, quint64 start);
    void awaitRead();

    enum class Step { FirstSound, LeadIn, Passing };
    Step m_step = Step::Passing;  // these two on the streaming thread only
    quint64 m_leadInEnd = 0;      // ns of the track
    GstElement* m_sink = nullptr;
    GstPad* m_pad = nullptr;      // held while watched
    unsigned long m_probe = 0;
    // Guarded by the lock the server's thread and the streaming thread share.
    bool m_read = false;  // the server has read the stream, or the wait is over
    std::condition_variable m_readBegun;
};

#endif

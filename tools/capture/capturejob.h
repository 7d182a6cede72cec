#ifndef CAPTUREJOB_H
#define CAPTUREJOB_H

#include "frameclock.h"

#include <QString>

class FrameSink;
class OffscreenTarget;
class ProgressBar;

// The offline frame loop: builds the demo on a manual clock without music,
// ticks it on the frame steps from 0 up to the first frame without drawing
// (the pre-roll), then renders, reads back and hands on every frame.
class CaptureJob
{
public:
    enum class Outcome { Done, Failed, Interrupted };

    CaptureJob(const FrameClock& clock, OffscreenTarget* target, FrameSink* sink);

    Outcome run(ProgressBar* progress, QString* error);

private:
    Outcome interrupted();

    FrameClock m_clock;
    OffscreenTarget* m_target;
    FrameSink* m_sink;
};

#endif

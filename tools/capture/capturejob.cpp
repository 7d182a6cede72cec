#include "capturejob.h"

#include "capturesession.h"
#include "framesink.h"
#include "interrupt.h"
#include "offscreentarget.h"
#include "progressbar.h"

CaptureJob::CaptureJob(const FrameClock& clock, OffscreenTarget* target, FrameSink* sink)
    : m_clock(clock), m_target(target), m_sink(sink)
{
}

CaptureJob::Outcome CaptureJob::run(ProgressBar* progress, QString* error)
{
    CaptureSession session(m_target->size());
    for (int tick = 0; tick < m_clock.prerollCount(); ++tick) {
        if (Interrupt::requested())
            return interrupted();
        session.tick(m_clock.prerollTime(tick));
    }
    for (int frame = 0; frame < m_clock.frameCount(); ++frame) {
        if (Interrupt::requested())
            return interrupted();
        session.tick(m_clock.frameTime(frame));
        session.draw();
        if (!m_sink->write(m_target->read(), error))
            return Outcome::Failed;
        progress->update(frame + 1);
    }
    return m_sink->finish(error) ? Outcome::Done : Outcome::Failed;
}

CaptureJob::Outcome CaptureJob::interrupted()
{
    m_sink->abort();
    return Outcome::Interrupted;
}

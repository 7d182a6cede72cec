#include "capturejob.h"

#include "demorun.h"
#include "engine.h"
#include "framesink.h"
#include "interrupt.h"
#include "offscreentarget.h"
#include "progressbar.h"
#include "renderer.h"

CaptureJob::CaptureJob(const FrameClock& clock, OffscreenTarget* target, FrameSink* sink)
    : m_clock(clock), m_target(target), m_sink(sink)
{
}

CaptureJob::Outcome CaptureJob::run(ProgressBar* progress, QString* error)
{
    DemoRun demo(DemoRun::offline());
    demo.start();
    Engine* engine = Engine::GetInstance();
    engine->GetRenderer()->ResizeWindow(m_target->size().width(), m_target->size().height());
    if (!demo.advanceTo(m_clock.frameTime(0), m_clock.fps(), &Interrupt::requested))
        return interrupted();
    for (int frame = 0; frame < m_clock.frameCount(); ++frame) {
        if (Interrupt::requested())
            return interrupted();
        demo.tick(m_clock.frameTime(frame));
        engine->Draw();
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

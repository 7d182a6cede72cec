#include "transport.h"

#include "demorun.h"
#include "engine.h"
#include "framestep.h"
#include "music.h"
#include "timeline.h"

#include <QtGlobal>

Transport::Transport(DemoRun* demo, int fps)
    : m_demo(demo), m_fps(qMax(fps, 1))
{
}

void Transport::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    m_stoodAt = -1;
    if (paused)
        m_demo->pause();
    else
        m_demo->resume();
    followMusic();
}

void Transport::seekTo(int ms, bool soundFirst)
{
    const int target = qBound(0, ms, kTimelineEnd);
    if (canGoOnFrom(target))
        m_demo->seekAhead(target, m_fps, soundFirst);
    else
        m_demo->seek(target, m_fps, soundFirst);  // the clock stays paused if it was
    const bool onStep = frameTime(frameAtOrBefore(target)) == target;
    m_stoodAt = m_paused && onStep ? target : -1;
}

bool Transport::canGoOnFrom(int target) const
{
    return m_paused && m_stoodAt >= 0 && target > m_stoodAt;
}

void Transport::stepFrames(int frames)
{
    const int now = Engine::GetInstance()->GetCurrentTime();
    seekTo(frameTime(frameAtOrBefore(now) + frames));
}

void Transport::restart()
{
    m_paused = false;
    m_stoodAt = -1;
    m_demo->restart();
}

int Transport::frameAtOrBefore(int ms) const
{
    return frameStepAtOrBefore(ms, m_fps);
}

int Transport::frameTime(int frame) const
{
    return frameStepTime(frame, m_fps);
}

// The music follows the engine clock: silent while it is paused, started
// where it belongs at once when it runs again (a seek does the same).
void Transport::followMusic()
{
    Engine* engine = Engine::GetInstance();
    if (Music* music = engine->GetMusic())
        music->StartNow();
}

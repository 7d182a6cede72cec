#include "transport.h"

#include "demorun.h"
#include "engine.h"
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
    if (paused)
        m_demo->pause();
    else
        m_demo->resume();
    holdMusic(paused);
}

void Transport::seekTo(int ms)
{
    m_demo->seek(qBound(0, ms, kTimelineEnd), m_fps);
    // The rebuilt demo starts running, with music of its own.
    if (m_paused) {
        m_demo->pause();
        holdMusic(true);
    }
}

void Transport::stepFrames(int frames)
{
    const int now = Engine::GetInstance()->GetCurrentTime();
    seekTo(frameTime(frameAtOrBefore(now) + frames));
}

void Transport::restart()
{
    m_paused = false;
    m_demo->restart();
}

int Transport::frameAtOrBefore(int ms) const
{
    // The largest k with k * 1000 / fps <= ms.
    return int((qint64(ms) * m_fps + m_fps - 1) / 1000);
}

int Transport::frameTime(int frame) const
{
    return int(qint64(frame) * 1000 / m_fps);
}

void Transport::holdMusic(bool held)
{
    if (Music* music = Engine::GetInstance()->GetMusic())
        music->Hold(held);
}

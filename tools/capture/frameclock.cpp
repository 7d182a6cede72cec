#include "frameclock.h"

#include "framestep.h"

#include <QtGlobal>

FrameClock::FrameClock(int from, int to, int fps)
    : m_from(from), m_fps(qMax(fps, 1)),
      m_frameCount(frameStepsBefore(qint64(to) - from, m_fps)),
      m_prerollCount(frameStepsBefore(from, m_fps))
{
}

int FrameClock::frameTime(int frame) const
{
    return stepTime(m_from, frame);
}

int FrameClock::stepTime(int origin, int step) const
{
    return origin + frameStepTime(step, m_fps);
}

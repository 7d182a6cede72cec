#include "frameclock.h"

#include <QtGlobal>

namespace {
// Number of steps k >= 0 with k * 1000 / fps < span, i.e. ceil(span * fps / 1000).
int stepsBefore(qint64 span, int fps)
{
    return span <= 0 ? 0 : int((span * fps + 999) / 1000);
}
}  // namespace

FrameClock::FrameClock(int from, int to, int fps)
    : m_from(from), m_fps(qMax(fps, 1)),
      m_frameCount(stepsBefore(qint64(to) - from, m_fps)),
      m_prerollCount(stepsBefore(from, m_fps))
{
}

int FrameClock::frameTime(int frame) const
{
    return stepTime(m_from, frame);
}

int FrameClock::stepTime(int origin, int step) const
{
    return origin + int(qint64(step) * 1000 / m_fps);
}

#include "tickrecorder.h"

TickRecorder::TickRecorder()
    : GLWidget(50, nullptr)
{
    m_clock.start();
    m_intervals.reserve(4096);
    m_workTimes.reserve(4096);
}

void TickRecorder::update(float dt)
{
    const qint64 tick = m_clock.nsecsElapsed();
    if (m_lastTickNs >= 0)
        m_intervals.push_back(double(tick - m_lastTickNs) / 1e6);
    m_lastTickNs = tick;
    GLWidget::update(dt);
    m_workTimes.push_back(double(m_clock.nsecsElapsed() - tick) / 1e6);
}

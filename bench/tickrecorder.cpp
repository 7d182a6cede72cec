#include "tickrecorder.h"

#include "engine.h"

TickRecorder::TickRecorder()
    : GLWidget(50, nullptr)
{
    m_clock.start();
    m_intervals.reserve(4096);
    m_workTimes.reserve(4096);
    m_engineTimes.reserve(4096);
}

void TickRecorder::update(float dt)
{
    const qint64 tick = m_clock.nsecsElapsed();
    const bool first = m_lastTickNs < 0;
    if (!first)
        m_intervals.push_back(double(tick - m_lastTickNs) / 1e6);
    m_lastTickNs = tick;
    const int engineTime = Engine::GetInstance()->GetCurrentTime();
    GLWidget::update(dt);
    if (first)
        return;
    m_workTimes.push_back(double(m_clock.nsecsElapsed() - tick) / 1e6);
    m_engineTimes.push_back(engineTime);
}

#include "tickrecorder.h"

#include "engine.h"

#include <ctime>

namespace {

double processCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

}  // namespace

TickRecorder::TickRecorder()
    : GLWidget(50, nullptr)
{
    m_clock.start();
    m_intervals.reserve(4096);
    m_workTimes.reserve(4096);
    m_engineTimes.reserve(4096);
    m_workCpuTimes.reserve(4096);
}

void TickRecorder::update(float dt)
{
    const qint64 tick = m_clock.nsecsElapsed();
    const bool first = m_lastTickNs < 0;
    if (!first)
        m_intervals.push_back(double(tick - m_lastTickNs) / 1e6);
    m_lastTickNs = tick;
    const int engineTime = Engine::GetInstance()->GetCurrentTime();
    const double cpuStart = processCpuMs();
    GLWidget::update(dt);
    if (first)
        return;
    m_workCpuTimes.push_back(processCpuMs() - cpuStart);
    m_workTimes.push_back(double(m_clock.nsecsElapsed() - tick) / 1e6);
    m_engineTimes.push_back(engineTime);
}

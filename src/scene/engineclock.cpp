#include "engineclock.h"

#include <QElapsedTimer>

namespace {

EngineClock::Source monotonicSource()
{
    QElapsedTimer timer;
    timer.start();
    return [timer] { return timer.elapsed(); };
}

} // namespace

EngineClock* EngineClock::GetInstance()
{
    static EngineClock clock;
    return &clock;
}

EngineClock::EngineClock(Source source)
    : m_source(source ? std::move(source) : monotonicSource())
{
}

void EngineClock::start()
{
    m_started = true;
    m_paused = false;
    m_origin = m_source();
}

void EngineClock::stop()
{
    m_started = false;
    m_paused = false;
}

int EngineClock::now() const
{
    return m_manual ? m_manualMs : runningTime();
}

int EngineClock::runningTime() const
{
    if (!m_started)
        return 0;
    if (m_paused)
        return m_heldAt;
    return int(m_source() - m_origin);
}

void EngineClock::pause()
{
    if (!m_started || m_paused)
        return;
    m_heldAt = runningTime();
    m_paused = true;
}

void EngineClock::resume()
{
    if (!m_paused)
        return;
    m_origin = m_source() - m_heldAt;
    m_paused = false;
}

void EngineClock::jumpTo(int ms)
{
    m_started = true;
    m_origin = m_source() - ms;
    m_heldAt = ms;
}

void EngineClock::setManualTime(int ms)
{
    m_manual = true;
    m_manualMs = ms;
}

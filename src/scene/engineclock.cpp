#include "engineclock.h"

#include <chrono>

namespace {

const qint64 kNsPerMs = 1000000;

// std::chrono::steady_clock is CLOCK_MONOTONIC with glibc, the clock the sound
// is scheduled on.
qint64 monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

EngineClock* EngineClock::GetInstance()
{
    static EngineClock clock;
    return &clock;
}

EngineClock::EngineClock(Source source)
    : m_source(source ? std::move(source) : monotonicNs)
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
    return int((m_source() - m_origin) / kNsPerMs);
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
    m_origin = m_source() - m_heldAt * kNsPerMs;
    m_paused = false;
}

void EngineClock::jumpTo(int ms)
{
    m_started = true;
    m_origin = m_source() - ms * kNsPerMs;
    m_heldAt = ms;
}

void EngineClock::setManualTime(int ms)
{
    m_manual = true;
    m_manualMs = ms;
}

#include "timinglog.h"

void TimingLog::begin(qint64 unixMs)
{
    std::fprintf(m_out, "quenvarix: engine time 0 = unix time %lld.%03lld\n", unixMs / 1000,
                 unixMs % 1000);
    std::fflush(m_out);
}

void TimingLog::frame(int engineTime, int interval, const Audio& audio)
{
    ++m_frames;
    m_late += interval > kLateInterval;
    m_longest = qMax(m_longest, interval);
    if (engineTime < m_nextReport)
        return;
    report(engineTime, audio);
    m_nextReport = (engineTime / 1000 + 1) * 1000;
    m_frames = m_late = m_longest = 0;
}

void TimingLog::report(int engineTime, const Audio& audio)
{
    if (audio.position >= 0) {
        std::fprintf(m_out, "quenvarix: engine %d ms, audio %d ms, difference %+d ms", engineTime,
                     audio.position, audio.position - audio.expected);
    } else {
        std::fprintf(m_out, "quenvarix: engine %d ms, audio -, difference -", engineTime);
    }
    std::fprintf(m_out, ", frames %d, late %d, longest %d ms, seeks %d\n", m_frames, m_late,
                 m_longest, audio.seeks);
    std::fflush(m_out);
}

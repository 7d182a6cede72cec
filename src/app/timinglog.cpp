#include "timinglog.h"

void TimingLog::begin(qint64 unixMs, int engineTime)
{
    m_nextReport = (engineTime / 1000 + 1) * 1000;
    m_frames = m_late = m_longest = m_repeats = 0;
    std::fprintf(m_out, "quenvarix: engine time 0 = unix time %lld.%03lld\n", unixMs / 1000,
                 unixMs % 1000);
    std::fflush(m_out);
}

void TimingLog::pacing(Pacing pacing, double period)
{
    m_pacing = pacing;
    m_lateAfter = period * kLateShare;
    if (pacing == Pacing::Display) {
        std::fprintf(m_out, "quenvarix: frames follow the display, one per refresh (%.2f ms)\n",
                     period);
    } else {
        std::fprintf(m_out, "quenvarix: frames follow the frame timer, every %.0f ms\n", period);
    }
    std::fflush(m_out);
}

void TimingLog::frame(int engineTime, int interval, const Audio& audio, int repeats)
{
    ++m_frames;
    m_late += interval > m_lateAfter;
    m_longest = qMax(m_longest, interval);
    m_repeats += repeats;
    if (engineTime < m_nextReport)
        return;
    report(engineTime, audio);
    m_nextReport = (engineTime / 1000 + 1) * 1000;
    m_frames = m_late = m_longest = m_repeats = 0;
}

void TimingLog::report(int engineTime, const Audio& audio)
{
    if (audio.position >= 0) {
        std::fprintf(m_out, "quenvarix: engine %d ms, audio %d ms, difference %+d ms", engineTime,
                     audio.position, audio.position - audio.expected);
    } else {
        std::fprintf(m_out, "quenvarix: engine %d ms, audio -, difference -", engineTime);
    }
    std::fprintf(m_out, ", frames %d, late %d, longest %d ms, seeks %d", m_frames, m_late,
                 m_longest, audio.seeks);
    if (m_pacing == Pacing::Display)
        std::fprintf(m_out, ", repeated refreshes %d", m_repeats);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}

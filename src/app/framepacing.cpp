#include "framepacing.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
}  // namespace

FramePacing::FramePacing(bool timerForced)
    : m_mode(timerForced ? Mode::Timer : Mode::Probing)
{
}

void FramePacing::swapped(double askedMs, double returnedMs)
{
    const double interval = m_lastSwap < 0 ? -1 : returnedMs - m_lastSwap;
    m_lastSwap = returnedMs;
    if (m_frame++ < kSettleFrames || interval < 0)
        return;
    if (m_mode == Mode::Probing) {
        m_intervals.append(interval);
        m_waits.append(returnedMs - askedMs);
        if (m_intervals.size() >= kProbeFrames)
            decide();
    } else if (m_mode == Mode::Display) {
        countRepeats(interval);
    }
}

// A frame that takes longer than a refresh shows for two, and a swap that
// returned late makes the next interval short: the period is the typical
// interval among the short ones (those near the lower quartile).
void FramePacing::decide()
{
    const double wait = median(m_waits);
    QVector<double> sorted = m_intervals;
    std::sort(sorted.begin(), sorted.end());
    const double lowerQuartile = sorted[sorted.size() / 4];
    QVector<double> single;
    for (double interval : std::as_const(sorted)) {
        if (interval < 1.5 * lowerQuartile)
            single.append(interval);
    }
    const double period = median(single);
    const bool swapWaits = wait >= kWaitingSwap && wait >= kWaitingShare * median(m_intervals);
    if (swapWaits && period >= kFastestRefresh) {
        m_mode = Mode::Display;
        m_refreshPeriod = period;
    } else {
        m_mode = Mode::Timer;
    }
    m_intervals.clear();
    m_waits.clear();
}

// An interval of n refreshes showed the previous picture n - 1 times.
void FramePacing::countRepeats(double interval)
{
    const int refreshes = int(std::lround(interval / m_refreshPeriod));
    m_repeats += std::max(0, refreshes - 1);
}

int FramePacing::takeRepeats()
{
    const int repeats = m_repeats;
    m_repeats = 0;
    return repeats;
}

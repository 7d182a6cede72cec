#include "placementwatch.h"

#include "engineclock.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

void PlacementWatch::start(GstPad* pad, qint64 zeroAt)
{
    stop();
    begin(zeroAt);
    watch(pad);
}

void PlacementWatch::resume(GstPad* pad, qint64 zeroAt)
{
    stop();
    resumeAt(zeroAt);
    watch(pad);
}

void PlacementWatch::watch(GstPad* pad)
{
    m_pad = GST_PAD(gst_object_ref(pad));
    const auto onBuffer = [](GstPad*, GstPadProbeInfo* info, gpointer watch) {
        const GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        if (GST_BUFFER_PTS_IS_VALID(buffer))
            static_cast<PlacementWatch*>(watch)->passed(EngineClock::GetInstance()->sourceNs(),
                                                        qint64(GST_BUFFER_PTS(buffer)));
        return GST_PAD_PROBE_OK;
    };
    m_probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, onBuffer, this, nullptr);
}

void PlacementWatch::stop()
{
    if (m_pad)
        gst_pad_remove_probe(m_pad, std::exchange(m_probe, 0));
    gst_clear_object(&m_pad);
}

// What the starts before have seen is kept to compare with.
void PlacementWatch::begin(qint64 zeroAt)
{
    resumeAt(zeroAt);
    m_quarters.clear();
    m_quarterCount = 0;
    m_lastOff = 0;
    m_looks = 0;
}

// The buffer fills again first. What was told before is gone: the player has
// acted on it.
void PlacementWatch::resumeAt(qint64 zeroAt)
{
    m_zeroAt = zeroAt;
    m_windowEnd = -1;
    m_settling = true;
    m_least = kUnknown;
    m_off = 0;
}

void PlacementWatch::passed(qint64 now, qint64 position)
{
    if (m_windowEnd < 0)
        m_windowEnd = now + kSettle;
    if (now >= m_windowEnd) {
        closeQuarter();
        m_windowEnd = now + kQuarter;
    }
    m_least = std::min(m_least, now - position - m_zeroAt);
}

void PlacementWatch::closeQuarter()
{
    const qint64 quarter = std::exchange(m_least, kUnknown);
    if (std::exchange(m_settling, false))
        return;
    m_quarters.push_back(quarter);
    if (m_quarters.size() > kBefore + kRisen)
        m_quarters.erase(m_quarters.begin());
    if (risen() && m_off == 0) {
        const qint64 place = median();
        tell(*std::min_element(m_quarters.end() - kRisen, m_quarters.end()) - place, place);
    }
    if (++m_quarterCount % 2 == 0 && m_quarterCount >= 4)
        look(*std::min_element(m_quarters.end() - 4, m_quarters.end()));
}

// The last second's least lag; told: the lesser of two looks' moves.
void PlacementWatch::look(qint64 least)
{
    const qint64 place = m_past.empty() ? 0 : median();
    qint64 told = 0;
    if (!m_past.empty()) {
        const qint64 off = offBy(least - place);
        if (off && m_lastOff && m_off == 0)
            told = std::abs(off) < std::abs(m_lastOff) ? off : m_lastOff;
        m_lastOff = off;
    }
    if (m_past.size() == kPast)
        m_past.erase(m_past.begin());
    m_past.push_back(least);
    if (told)
        tell(told, place);
    ++m_looks;
}

// The player moves late sound back by what is told, and the lag with it; so is
// what was seen of the move, lest it stand as the place and a stall soon after
// hide under it. Not in a start's first looks: there a move may be the
// server's placement, which the median is to follow.
void PlacementWatch::tell(qint64 off, qint64 place)
{
    m_off = off;
    if (off < 0 || starting())
        return;
    for (std::vector<qint64>* lags : {&m_past, &m_quarters})
        for (qint64& lag : *lags)
            if (lag > place + kLimit)
                lag -= off;
}

// Only once the median is known (a look has been), so the move can be told.
bool PlacementWatch::risen() const
{
    if (m_quarters.size() < kBefore + kRisen || m_past.empty())
        return false;
    const auto last = m_quarters.end() - kRisen;
    return *std::min_element(last, m_quarters.end()) > *std::max_element(m_quarters.begin(), last) + kLimit;
}

// Late sound comes of a stall at any time; early sound only of a start placed
// so, while the median is still of the starts before. Later, a lag that falls
// is PulseAudio taking more of the sound ahead, not the sound moving.
qint64 PlacementWatch::offBy(qint64 rise) const
{
    return rise > kLimit || (rise < -kLimit && starting()) ? rise : 0;
}

// Of an even count, the lower of the middle two: early in the first start two
// windows may lie either side of a stall, and the higher would take the stall
// for the place.
qint64 PlacementWatch::median() const
{
    std::vector<qint64> sorted = m_past;
    std::sort(sorted.begin(), sorted.end());
    return sorted[(sorted.size() - 1) / 2];
}

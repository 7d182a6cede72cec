#include "stallwatch.h"

#include "engineclock.h"

#include <gst/gst.h>

#include <algorithm>
#include <utility>

void StallWatch::start(GstPad* pad)
{
    stop();
    m_windowEnd = -1;
    m_settling = true;
    m_least = kUnknown;
    m_past.clear();
    m_rise = 0;
    m_behind = 0;
    m_pad = GST_PAD(gst_object_ref(pad));
    const auto onBuffer = [](GstPad*, GstPadProbeInfo* info, gpointer watch) {
        const GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        if (GST_BUFFER_PTS_IS_VALID(buffer))
            static_cast<StallWatch*>(watch)->passed(EngineClock::GetInstance()->sourceNs(),
                                                    qint64(GST_BUFFER_PTS(buffer)));
        return GST_PAD_PROBE_OK;
    };
    m_probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, onBuffer, this, nullptr);
}

void StallWatch::stop()
{
    if (m_pad)
        gst_pad_remove_probe(m_pad, std::exchange(m_probe, 0));
    gst_clear_object(&m_pad);
}

void StallWatch::passed(qint64 now, qint64 position)
{
    if (m_windowEnd < 0)
        m_windowEnd = now + kSettle;
    if (now >= m_windowEnd) {
        closeWindow();
        m_windowEnd = now + kWindow;
    }
    m_least = std::min(m_least, now - position);
}

void StallWatch::closeWindow()
{
    const qint64 least = std::exchange(m_least, kUnknown);
    if (std::exchange(m_settling, false))
        return;
    if (!m_past.empty()) {
        const qint64 rise = least - median();
        if (rise > kLimit && m_rise > kLimit && m_behind == 0)
            m_behind = std::min(rise, m_rise);
        m_rise = rise;
    }
    if (m_past.size() == kPast)
        m_past.erase(m_past.begin());
    m_past.push_back(least);
}

qint64 StallWatch::median() const
{
    std::vector<qint64> sorted = m_past;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
}

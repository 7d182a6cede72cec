#include "firstcyclewatch.h"

#include "engineclock.h"

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <QLoggingCategory>

#include <cstdlib>
#include <optional>

// Off by default; QT_LOGGING_RULES="quenvarix.sound.info=true" tells each move.
Q_LOGGING_CATEGORY(lcSound, "quenvarix.sound", QtWarningMsg)

namespace {

// A period of PipeWire's graph at its largest by default (2048 samples at 48 kHz),
// with the server's answer and a margin: a later move is something else.
const qint64 kWatchFor = 60 * GST_MSECOND;
const qint64 kStep = GST_MSECOND;             // the least step up seen as the read at any time
const qint64 kLeastMove = 200 * GST_USECOND;  // the least move either way once the time runs
const qint64 kHeldUp = 20 * GST_USECOND;      // a reading that took longer is not used
const int kRunning = 3;                       // readings that found the time moved on: it runs

// The sink's clock maps the pipeline's time to the stream's; moved later, the
// same pipeline time lands earlier in the stream. Returns by how much (ns).
qint64 moveEarlier(GstClock* sinkClock, qint64 now)
{
    GstClockTime internal, external, num, denom;
    gst_clock_get_calibration(sinkClock, &internal, &external, &num, &denom);
    const qint64 waited = now - qint64(external);  // since the sink started the stream
    if (waited <= 0 || waited >= kWatchFor)
        return 0;
    gst_clock_set_calibration(sinkClock, internal, external + waited, num, denom);
    return waited;
}

// After a move the sink would write the next sound that much earlier, over
// sound it has already handed to the server. Instead that much of the sound
// is left out, so that what follows lands right after what was written.
GstPadProbeReturn skipSound(GstPad* pad, GstPadProbeInfo* info, gpointer toSkip)
{
    std::atomic<qint64>& skip = *static_cast<std::atomic<qint64>*>(toSkip);
    if (skip <= 0)
        return GST_PAD_PROBE_OK;
    GstAudioInfo format;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    const bool known = caps && gst_audio_info_from_caps(&format, caps);
    gst_clear_caps(&caps);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (!known || !GST_BUFFER_PTS_IS_VALID(buffer)) {  // not sound the sink can place: left as it is
        skip = 0;
        return GST_PAD_PROBE_OK;
    }
    const gsize samples = gst_buffer_get_size(buffer) / format.bpf;
    const gsize trim = gst_util_uint64_scale_round(skip, format.rate, GST_SECOND);
    const auto duration = [&](gsize count) { return gst_util_uint64_scale(count, GST_SECOND, format.rate); };
    if (trim >= samples) {  // the whole buffer (an empty one too)
        skip -= duration(samples);
        return GST_PAD_PROBE_DROP;
    }
    skip = 0;
    if (trim == 0)
        return GST_PAD_PROBE_OK;
    const GstClockTime start = GST_BUFFER_PTS(buffer) + duration(trim);
    buffer = gst_audio_buffer_truncate(buffer, format.bpf, trim, -1);  // a new buffer
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) = duration(samples - trim);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return GST_PAD_PROBE_OK;
}

// One reading of the stream's time (ns) and the monotonic time it was taken at.
struct Reading
{
    qint64 time;
    qint64 at;
};

// Nothing when the thread was held up while reading: the reading would look like a step.
std::optional<Reading> readTimes(GstClock* sinkClock, const EngineClock* monotonic)
{
    const qint64 before = monotonic->sourceNs();
    const qint64 time = qint64(gst_audio_clock_get_time(GST_AUDIO_CLOCK(sinkClock)));
    const qint64 after = monotonic->sourceNs();
    if (after - before > kHeldUp)
        return std::nullopt;
    return Reading{time, (before + after) / 2};
}

// Tells the graph's first read from the readings of the stream's time. Its
// lead over the monotonic clock falls while the time stands and holds while it
// runs; the read moves it: up when the read starts the time or steps it on,
// down when the time had run on from the server's answer beyond where the read
// puts it (it stands). After a seek the time of the stream before runs on into
// the watch and then stands too, and PulseAudio's time may start a little
// ahead: a small move counts only once the new stream's time stood and ran.
class FirstRead
{
public:
    bool seenIn(const Reading& reading)
    {
        const auto [time, at] = reading;
        const qint64 change = m_lastLead ? time - at - *m_lastLead : 0;
        const bool running = m_stood && m_advances >= kRunning;
        if (change > kStep || (running && std::abs(change) > kLeastMove))
            return true;
        m_stood = m_stood || time == m_lastTime;
        m_advances = time > m_lastTime && m_lastLead ? m_advances + 1 : 0;
        m_lastTime = time;
        m_lastLead = time - at;
        return false;
    }

private:
    std::optional<qint64> m_lastLead;  // the stream's time less the monotonic one, last read
    qint64 m_lastTime = -1;
    bool m_stood = false;  // the new stream's time has stood, waiting for the server
    int m_advances = 0;    // readings in a row since then that found the time moved on
};

void watch(GstClock* sinkClock, const std::atomic<bool>* watching, std::atomic<qint64>* skip)
{
    const EngineClock* monotonic = EngineClock::GetInstance();  // the pipeline's time base
    const qint64 started = monotonic->sourceNs();
    FirstRead firstRead;
    for (qint64 now = started; *watching && now - started < kWatchFor; now = monotonic->sourceNs()) {
        const auto reading = readTimes(sinkClock, monotonic);
        if (reading && firstRead.seenIn(*reading)) {
            const qint64 moved = moveEarlier(sinkClock, reading->at);
            *skip = moved;
            if (moved > 0)
                qCInfo(lcSound, "the sound moved %.1f ms earlier (the server's first cycle)", moved / 1e6);
            break;
        }
        g_usleep(250);
    }
    gst_object_unref(sinkClock);
}

}  // namespace

void FirstCycleWatch::start(GstElement* sink)
{
    stop();
    m_pad = gst_element_get_static_pad(sink, "sink");
    m_probe = gst_pad_add_probe(m_pad, GST_PAD_PROBE_TYPE_BUFFER, skipSound, &m_skip, nullptr);
    m_watching = true;
    m_thread = std::thread(watch, gst_element_provide_clock(sink), &m_watching, &m_skip);
}

void FirstCycleWatch::stop()
{
    m_watching = false;
    if (m_thread.joinable())
        m_thread.join();
    if (m_pad)
        gst_pad_remove_probe(m_pad, m_probe);
    gst_clear_object(&m_pad);
    m_skip = 0;
}

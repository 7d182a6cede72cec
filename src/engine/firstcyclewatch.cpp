#include "firstcyclewatch.h"

#include "engineclock.h"

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

// Off by default; QT_LOGGING_RULES="quenvarix.sound.info=true" tells each move.
Q_LOGGING_CATEGORY(lcSound, "quenvarix.sound", QtWarningMsg)

namespace {

// A period of PipeWire's graph at its largest by default (2048 samples at 48 kHz),
// with the server's answer and a margin: a later notice is something else (the
// stream starting again after it ran dry).
const qint64 kWatchFor = 60 * GST_MSECOND;
// PulseAudio starts a stream at once; its notice is the answer's round trip
// (0.3 to 0.9 ms measured), not a wait worth a skip in the sound.
const qint64 kLeastWait = GST_MSECOND;

// The sink's clock maps the pipeline's time to the stream's; moved later, the
// same pipeline time lands earlier in the stream. Returns by how much (ns).
qint64 moveEarlier(GstClock* sinkClock, qint64 now)
{
    GstClockTime internal, external, num, denom;
    gst_clock_get_calibration(sinkClock, &internal, &external, &num, &denom);
    const qint64 waited = now - qint64(external);  // since the sink started the stream
    if (waited < kLeastWait || waited >= kWatchFor)
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

// Sinks set playing whose stream the server has not read yet.
struct Watched
{
    GstElement* sink;
    GstClock* clock;  // the sink's, held
    std::atomic<qint64>* skip;
};
std::mutex watchedLock;  // the server's thread and the player's meet here
std::vector<Watched> watched;

// On the sound server's thread: the server has read the sink's stream.
void readBegun(GObject* sink)
{
    const std::lock_guard<std::mutex> lock(watchedLock);
    const auto it = std::find_if(watched.begin(), watched.end(),
                                 [sink](const Watched& w) { return G_OBJECT(w.sink) == sink; });
    if (it == watched.end())
        return;
    const qint64 moved = moveEarlier(it->clock, EngineClock::GetInstance()->sourceNs());
    *it->skip = moved;
    if (moved > 0)
        qCInfo(lcSound, "the sound moved %.1f ms earlier (the server's first cycle)", moved / 1e6);
    gst_object_unref(it->clock);
    watched.erase(it);
}

GstDebugCategory* pulseCategory = nullptr;  // the sink's debug category
GstDebugLevel shownLevel = GST_LEVEL_NONE;  // what of it the user asked to see
bool forwarding = false;                    // this log stands in for GStreamer's own

void onLog(GstDebugCategory* category, GstDebugLevel level, const gchar* file, const gchar* function,
           gint line, GObject* object, GstDebugMessage* message, gpointer)
{
    if (category == pulseCategory && level == GST_LEVEL_DEBUG && object && function
        && std::strcmp(function, "gst_pulsering_stream_started_cb") == 0)
        readBegun(object);
    if (forwarding && (category != pulseCategory || level <= shownLevel))
        gst_debug_log_default(category, level, file, function, line, object, message, nullptr);
}

// Once pulsesink is loaded (its category exists). GStreamer's own log writes
// to standard error unless GST_DEBUG_FILE names a file; this log shows the
// same, less the sink's messages raised to be heard here. With a file, the
// file gets those too.
void listen()
{
    GSList* categories = gst_debug_get_all_categories();
    for (GSList* c = categories; c; c = c->next) {
        auto* category = static_cast<GstDebugCategory*>(c->data);
        if (std::strcmp(gst_debug_category_get_name(category), "pulse") == 0)
            pulseCategory = category;
    }
    g_slist_free(categories);
    if (!pulseCategory)
        return;
    shownLevel = gst_debug_category_get_threshold(pulseCategory);
    gst_debug_category_set_threshold(pulseCategory, std::max(shownLevel, GST_LEVEL_DEBUG));
    // (GStreamer's remove is a macro that needs the parentheses.)
    forwarding = qEnvironmentVariableIsEmpty("GST_DEBUG_FILE")
                 && (gst_debug_remove_log_function(gst_debug_log_default)) > 0;
    gst_debug_add_log_function(onLog, nullptr, nullptr);
}

}  // namespace

void FirstCycleWatch::start(GstElement* sink)
{
    stop();
    static std::once_flag listening;
    std::call_once(listening, listen);
    m_pad = gst_element_get_static_pad(sink, "sink");
    m_probe = gst_pad_add_probe(m_pad, GST_PAD_PROBE_TYPE_BUFFER, skipSound, &m_skip, nullptr);
    const std::lock_guard<std::mutex> lock(watchedLock);
    watched.push_back({sink, gst_element_provide_clock(sink), &m_skip});
}

void FirstCycleWatch::stop()
{
    {
        const std::lock_guard<std::mutex> lock(watchedLock);
        const auto it = std::find_if(watched.begin(), watched.end(),
                                     [this](const Watched& w) { return w.skip == &m_skip; });
        if (it != watched.end()) {
            gst_object_unref(it->clock);
            watched.erase(it);
        }
    }
    if (m_pad)
        gst_pad_remove_probe(m_pad, m_probe);
    gst_clear_object(&m_pad);
    m_skip = 0;
}

#include "firstcyclewatch.h"

#include "engineclock.h"

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <QLoggingCategory>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

// Off by default; QT_LOGGING_RULES="quenvarix.sound.info=true" tells each move.
Q_LOGGING_CATEGORY(lcSound, "quenvarix.sound", QtWarningMsg)

namespace {

// The longest the first sound waits: PipeWire's largest default period (2048
// samples at 48 kHz), the server's answer and a margin.
const qint64 kWaitFor = 60 * GST_MSECOND;
// PulseAudio's notice is the answer's round trip (0.3 to 0.9 ms), not a wait.
const qint64 kLeastWait = GST_MSECOND;
// PipeWire starts a stream only once it holds a period's worth of data.
const GstClockTime kLeadIn = 100 * GST_MSECOND;

// ns from the moment the sink started its stream (its clock's calibration) to
// `now`; 0 once the stream is gone.
qint64 sinceStarted(GstElement* sink, qint64 now)
{
    GstClock* clock = gst_element_provide_clock(sink);
    if (!clock)
        return 0;
    GstClockTime internal, external, num, denom;
    gst_clock_get_calibration(clock, &internal, &external, &num, &denom);
    gst_object_unref(clock);
    return now - qint64(external);
}

// kLeadIn of silence in the format `pad` carries, from `start` on (the sound
// then written over it), or null before the format is known.
GstBuffer* leadIn(GstPad* pad, GstClockTime start)
{
    GstAudioInfo format;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    const bool known = caps && gst_audio_info_from_caps(&format, caps);
    gst_clear_caps(&caps);
    if (!known)
        return nullptr;
    const gsize size = gst_util_uint64_scale(kLeadIn, format.rate, GST_SECOND) * format.bpf;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, size, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    gst_audio_format_info_fill_silence(format.finfo, map.data, map.size);
    gst_buffer_unmap(buffer, &map);
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) = kLeadIn;
    return buffer;
}

std::mutex watchLock;  // the server's thread and the streaming thread meet here
std::vector<FirstCycleWatch*> watched;  // sinks whose stream the server has not read yet

GstDebugCategory* pulseCategory = nullptr;  // the sink's debug category
GstDebugLevel shownLevel = GST_LEVEL_NONE;  // what of it the user asked to see
bool forwarding = false;                    // this log stands in for GStreamer's own

void onLog(GstDebugCategory* category, GstDebugLevel level, const gchar* file, const gchar* function,
           gint line, GObject* object, GstDebugMessage* message, gpointer)
{
    if (category == pulseCategory && level == GST_LEVEL_DEBUG && object && function
        && std::strcmp(function, "gst_pulsering_stream_started_cb") == 0)
        FirstCycleWatch::streamRead(object);
    if (forwarding && (category != pulseCategory || level <= shownLevel))
        gst_debug_log_default(category, level, file, function, line, object, message, nullptr);
}

// Once pulsesink is loaded. Without GST_DEBUG_FILE, this log stands in for
// GStreamer's printer, less the sink's messages raised to be heard here.
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

void FirstCycleWatch::start(GstElement* sink, GstPad* pad)
{
    stop();
    static std::once_flag listening;
    std::call_once(listening, listen);
    m_step = Step::FirstSound;
    m_leadInEnd = 0;
    m_sink = sink;
    m_pad = GST_PAD(gst_object_ref(pad));
    const auto onSound = [](GstPad* pad, GstPadProbeInfo* info, gpointer watch) {
        static_cast<FirstCycleWatch*>(watch)->onSound(pad, info);
        return GST_PAD_PROBE_OK;
    };
    m_probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, onSound, this, nullptr);
    const std::lock_guard<std::mutex> lock(watchLock);
    m_read = false;
    watched.push_back(this);
}

void FirstCycleWatch::stop()
{
    {
        const std::lock_guard<std::mutex> lock(watchLock);
        watched.erase(std::remove(watched.begin(), watched.end(), this), watched.end());
        m_read = true;
    }
    m_readBegun.notify_all();
    if (m_pad)
        gst_pad_remove_probe(m_pad, std::exchange(m_probe, 0));
    gst_clear_object(&m_pad);
}

void FirstCycleWatch::streamRead(const void* sink)
{
    const std::lock_guard<std::mutex> lock(watchLock);
    const auto it = std::find_if(watched.begin(), watched.end(),
                                 [sink](const FirstCycleWatch* w) { return w->m_sink == sink; });
    if (it == watched.end())
        return;
    FirstCycleWatch* watch = *it;
    watched.erase(it);
    if (watch->m_read)
        return;
    const qint64 waited = sinceStarted(watch->m_sink, EngineClock::GetInstance()->sourceNs());
    if (waited >= kLeastWait && waited < kWaitFor) {
        moveMapping(watch->m_sink, waited);
        qCInfo(lcSound, "the sound moved %.1f ms earlier (the server's first cycle)", waited / 1e6);
    }
    watch->m_read = true;
    watch->m_readBegun.notify_all();
}

void FirstCycleWatch::moveMapping(GstElement* sink, qint64 by)
{
    GstClock* clock = gst_element_provide_clock(sink);  // none once the stream is gone
    if (!clock)
        return;
    GstClockTime internal, external, num, denom;
    gst_clock_get_calibration(clock, &internal, &external, &num, &denom);
    gst_clock_set_calibration(clock, internal, GstClockTime(qint64(external) + by), num, denom);
    gst_object_unref(clock);
}

// On the streaming thread. The first sound starts the stream; what lies over
// the lead-in is placed where it belongs, not after what the sink wrote last
// (the lead-in, or the end of sound it left out as too late).
void FirstCycleWatch::onSound(GstPad* pad, GstPadProbeInfo* info)
{
    GstBuffer* sound = GST_PAD_PROBE_INFO_BUFFER(info);
    if (m_step == Step::LeadIn || !GST_BUFFER_PTS_IS_VALID(sound))
        return;
    if (m_step == Step::FirstSound)
        startStream(pad, GST_BUFFER_PTS(sound));
    if (GST_BUFFER_PTS(sound) >= m_leadInEnd)
        return;
    sound = gst_buffer_make_writable(sound);
    GST_BUFFER_FLAG_SET(sound, GST_BUFFER_FLAG_RESYNC);
    GST_PAD_PROBE_INFO_DATA(info) = sound;
}

// The lead-in in front of the sound from `start` (the sink prerolls on it and
// starts the stream once playing); then the wait for the server's read.
void FirstCycleWatch::startStream(GstPad* pad, quint64 start)
{
    m_step = Step::LeadIn;
    if (GstBuffer* silence = leadIn(pad, start); silence && gst_pad_push(pad, silence) == GST_FLOW_OK)
        awaitRead();
    m_leadInEnd = start + kLeadIn;
    m_step = Step::Passing;
}

void FirstCycleWatch::awaitRead()
{
    std::unique_lock<std::mutex> lock(watchLock);
    if (!m_readBegun.wait_for(lock, std::chrono::nanoseconds(kWaitFor), [this] { return m_read; }))
        qCInfo(lcSound, "the server did not read the stream within %lld ms; the sound goes unmoved",
               kWaitFor / GST_MSECOND);
    m_read = true;  // a later notice moves nothing: the sound is being written
}

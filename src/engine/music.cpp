#include "music.h"

#include "engineclock.h"
#include "trackanchor.h"

#include <gst/gst.h>

namespace {

// The track is always an MP3; naming the decoder keeps its timing the same
// on every machine.
const char* const kPipeline =
    "filesrc name=file ! mpegaudioparse ! mpg123audiodec ! audioconvert ! audioresample"
    " ! volume name=volume ! pulsesink name=sink client-name=Quenvarix";

const int kBusInterval = 20;  // ms between looks at the pipeline's messages
// What a seek on a playing track takes before the sound can be heard in
// place: an anchor aims this far ahead.
const qint64 kSeekLead = 40 * GST_MSECOND;
// pulsesink's clock runs from the moment its stream is opened, corked or not,
// and the sink places the first sound by that clock: a stream opened seconds
// before it plays is heard seconds late until the sink notices. So a track
// whose start lies ahead is opened again only this long before it.
const qint64 kPlayAhead = 250 * GST_MSECOND;

bool gstreamerReady()
{
    static const bool ready = gst_init_check(nullptr, nullptr, nullptr);
    return ready;
}

// The clock EngineClock reads: CLOCK_MONOTONIC, in ns.
GstClock* monotonicClock()
{
    GstClock* clock = gst_system_clock_obtain();
    g_object_set(clock, "clock-type", GST_CLOCK_TYPE_MONOTONIC, nullptr);
    return clock;
}

qint64 monotonicNow()
{
    GstClock* clock = monotonicClock();
    const qint64 now = qint64(gst_clock_get_time(clock));
    gst_object_unref(clock);
    return now;
}

GstState currentState(GstElement* pipeline)
{
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    return state;
}

// The state change under way has ended (a preroll, a seek landing).
bool settled(GstElement* pipeline)
{
    return gst_element_get_state(pipeline, nullptr, nullptr, 0) != GST_STATE_CHANGE_ASYNC;
}

}  // namespace

Music::Music()
    : QObject(nullptr)
{
    m_busTimer.setInterval(kBusInterval);
    connect(&m_busTimer, &QTimer::timeout, this, [this] { Follow(); });
    m_reopenTimer.setSingleShot(true);
    connect(&m_reopenTimer, &QTimer::timeout, this, [this] { reopen(); });
}

Music::~Music()
{
    if (!m_pipeline)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_bus);
    gst_object_unref(m_pipeline);
}

void Music::init()
{
    if (m_pipeline)
        return;
    GError* error = nullptr;
    if (gstreamerReady())
        m_pipeline = gst_parse_launch(kPipeline, &error);
    if (!m_pipeline || error) {
        warn(error ? QString::fromUtf8(error->message) : QString("GStreamer cannot start"));
        g_clear_error(&error);
        if (m_pipeline)
            gst_object_unref(m_pipeline);
        m_pipeline = nullptr;
        return;
    }
    m_source = gst_bin_get_by_name(GST_BIN(m_pipeline), "file");
    m_volume = gst_bin_get_by_name(GST_BIN(m_pipeline), "volume");
    gst_object_unref(m_source);  // the pipeline keeps them
    gst_object_unref(m_volume);
    m_sink = gst_bin_get_by_name(GST_BIN(m_pipeline), "sink");
    gst_object_unref(m_sink);
    GstStructure* role = gst_structure_new("props", "media.role", G_TYPE_STRING, "game", nullptr);
    g_object_set(m_sink, "stream-properties", role, nullptr);
    gst_structure_free(role);
    // The engine's time base, and a base time that only this class sets.
    GstClock* clock = monotonicClock();
    gst_pipeline_use_clock(GST_PIPELINE(m_pipeline), clock);
    gst_object_unref(clock);
    gst_element_set_start_time(m_pipeline, GST_CLOCK_TIME_NONE);
    m_bus = gst_element_get_bus(m_pipeline);
    m_busTimer.start();
}

// Prerolled at once: the file, the decoder and the sound server are open
// before the start, so that the first sound costs no set-up.
void Music::load(const QString& path)
{
    m_path = path;
    if (!m_pipeline)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    g_object_set(m_source, "location", path.toLocal8Bit().constData(), nullptr);
    m_anchored = false;
    m_startAt = -1;
    m_failed = false;
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
}

void Music::SetVolume(float volume)
{
    if (m_volume)
        g_object_set(m_volume, "volume", double(qMax(0.0f, volume)), nullptr);
}

void Music::play(int delay)
{
    m_delay = delay;
    m_playCalledNs = monotonicNow();
}

void Music::Follow()
{
    if (!m_pipeline)
        return;
    readBus();
    sync();
}

// The engine clock once it runs, else the moment play() was called.
bool Music::reference(qint64* originNs, bool* paused) const
{
    const EngineClock* clock = EngineClock::GetInstance();
    if (clock->isStarted()) {
        *originNs = clock->originNs();
        *paused = clock->isPaused();
        return true;
    }
    *originNs = m_playCalledNs;
    *paused = false;
    return m_playCalledNs >= 0;
}

// Anchors the track again when the clock moved since the last anchor. A
// pipeline still opening or seeking is left to finish first.
void Music::sync()
{
    qint64 origin = 0;
    bool paused = false;
    if (m_failed || !reference(&origin, &paused) || !settled(m_pipeline))
        return;
    if (m_startAt >= 0 && !paused && monotonicNow() >= m_startAt) {
        m_startAt = -1;
        gst_element_set_base_time(m_pipeline, GstClockTime(m_startBase));
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    }
    if (m_anchored && paused == m_anchoredPaused && (paused || origin == m_anchoredOrigin))
        return;
    m_anchored = true;
    m_anchoredOrigin = origin;
    m_anchoredPaused = paused;
    m_startAt = -1;
    if (paused)
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    else
        anchor(origin);
}

// The track is sought to the first position that can still be heard in place
// and the pipeline's base time set so that it is heard then: after a flushing
// seek the running time starts again at 0 at the seek's target.
void Music::anchor(qint64 originNs)
{
    const TrackAnchor where = anchorTrack(originNs, monotonicNow(), trackStart(), kSeekLead);
    m_ended = false;
    ++m_seeks;
    if (where.heardAt - monotonicNow() > kPlayAhead) {
        // The start lies ahead (so the track starts from its beginning):
        // the stream is opened again shortly before it.
        gst_element_set_state(m_pipeline, GST_STATE_READY);
        m_startAt = where.heardAt - kPlayAhead;
        m_startBase = where.heardAt;
        return;
    }
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    gint64 length = 0;
    if (gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &length))
        m_length = length;
    if (m_length > 0 && where.position >= m_length)
        return;  // the track is over at this time: silence
    gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), where.position);
    gst_element_set_base_time(m_pipeline, GstClockTime(where.heardAt));
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
}

void Music::readBus()
{
    const auto wanted = GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS | GST_MESSAGE_STATE_CHANGED);
    while (GstMessage* message = gst_bus_pop_filtered(m_bus, wanted)) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            m_ended = true;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            const bool fromOutput = GST_MESSAGE_SRC(message) == GST_OBJECT(m_sink);
            fail((fromOutput ? QString("sound output") : m_path) + ": " + QString::fromUtf8(error->message));
            g_error_free(error);
        } else if (GST_MESSAGE_SRC(message) == GST_OBJECT(m_pipeline)) {
            GstState state = GST_STATE_NULL;
            gst_message_parse_state_changed(message, nullptr, &state, nullptr);
            if (state == GST_STATE_PLAYING) {
                m_played = true;
                m_reopenTimer.stop();
                m_reopenDelay = kFirstReopenDelay;
            }
        }
        gst_message_unref(message);
    }
}

// Silence from here on; a track lost while it should still be heard is
// opened again (the timer runs from a loss until the track plays again).
void Music::fail(const QString& reason)
{
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    m_anchored = false;
    m_startAt = -1;
    m_failed = true;
    if (m_reopenTimer.isActive())
        return;
    if (isLost()) {
        qWarning("quenvarix: the sound stopped (%s); opening it again", qPrintable(reason));
        m_reopenTimer.start(m_reopenDelay);
    } else if (!m_warned) {
        warn(reason);
    }
}

bool Music::isLost() const
{
    qint64 origin = 0;
    bool paused = false;
    if (!m_played || !reference(&origin, &paused))
        return false;
    if (paused || m_length <= 0)
        return true;  // better opened once too often than never
    const qint64 position = monotonicNow() - origin - trackStart() * GST_MSECOND;
    return position < m_length - kEndMargin * GST_MSECOND;
}

// The same file again; once it has prerolled, the next look anchors it where
// it belongs. If it does not play by the next attempt (the sound server is
// not back yet), it is opened again, less often each time.
void Music::reopen()
{
    m_reopenDelay = qMin(2 * m_reopenDelay, kMaxReopenDelay);
    m_reopenTimer.start(m_reopenDelay);  // first: a failure to open is no new loss
    load(m_path);
}

void Music::warn(const QString& what)
{
    qWarning("quenvarix: no sound (%s)", qPrintable(what));
    m_warned = true;
}

int Music::GetAudioPosition() const
{
    qint64 origin = 0;
    bool paused = false;
    if (!IsPlaying() || !reference(&origin, &paused) || monotonicNow() < origin + trackStart() * GST_MSECOND)
        return -1;
    gint64 position = 0;
    if (!gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position))
        return -1;
    return int(position / GST_MSECOND);
}

bool Music::IsPlaying() const
{
    return m_pipeline && !m_failed && !m_ended && currentState(m_pipeline) == GST_STATE_PLAYING;
}

#include "music.h"

#include "engineclock.h"

#include <gst/audio/gstaudioclock.h>
#include <gst/gst.h>

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QThread>

#include <atomic>
#include <utility>

Q_DECLARE_LOGGING_CATEGORY(lcSound)

namespace {

// The decoder is named so its timing is the same on every machine. The sink
// plays on from where it was placed: PipeWire reports the stream's position in
// steps of its period, and following them skipped 20 to 50 ms at a time.
const char* const kPipeline =
    "filesrc name=file ! mpegaudioparse ! mpg123audiodec ! audioconvert ! audioresample"
    " ! volume name=volume ! pulsesink name=sink client-name=Quenvarix slave-method=none"
    " stream-properties=\"props,media.role=game\"";

const int kBusInterval = 20;                     // ms between looks at the bus
const int kStartInterval = 5;                    // the same while a start is under way
const qint64 kSeekLead = 25 * GST_MSECOND;       // what a start takes: an anchor aims this far ahead
const qint64 kOpenAhead = 150 * GST_MSECOND;     // a later start waits closed until this long before
const int kStartBudget = 100;                    // ms StartNow waits at most
const int kMaxReopenDelay = 8000;                // ms between attempts once they are rare
const qint64 kEndMargin = 1000 * GST_MSECOND;    // a loss this close to the end is the end
// What the sink holds ahead (pulsesink's buffer-time): a stream is moved in
// place by less. Moved further, the sink left every buffer out as late.
const qint64 kSinkHolds = 200 * GST_MSECOND;

// CLOCK_MONOTONIC, as GStreamer's system clock, the pipeline's.
qint64 monotonicNow()
{
    return EngineClock::GetInstance()->sourceNs();
}

// A flushing seek of the track, sent up from `pad`, the last pad before the
// sink. It has landed when this returns: what passes `pad` from then on is the
// track from `position`. Unless `flushSink`, the flush is kept from the sink (a
// blocking probe does not see it) and leaves the sink's stream playing: flushed,
// the sink pauses it and takes its bearing anew, up to 1.5 periods early on
// PipeWire. Sent to the pad, not the pipeline, it leaves the pipeline's state
// free while it waits: a player that quits meanwhile closes the stream at once,
// not when the seek lands.
bool seekStream(GstPad* pad, qint64 position, bool flushSink)
{
    const auto drop = [](GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_DROP; };
    const gulong flushes =
        flushSink ? 0 : gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_FLUSH, drop, nullptr, nullptr);
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    GstEvent* seek = gst_event_new_seek(1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, position,
                                        GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    const bool sought = gst_pad_send_event(pad, seek);
    if (flushes)
        gst_pad_remove_probe(pad, flushes);
    return sought;
}

// Borrowed: the pipeline keeps its elements.
GstElement* child(GstElement* pipeline, const char* name)
{
    GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name);
    gst_object_unref(element);
    return element;
}

}  // namespace

// A seek in the playing stream lands once the sink has written what it holds,
// which waits for the server to make room: on GStreamer's own thread, which
// lets the new sound go on to the sink as soon as it lands, so a server that
// stalls holds the sound and a picture being built holds nothing.
struct Music::SeekJob
{
    SeekJob(GstPad* pad, unsigned long hold, qint64 position)
        : pad(GST_PAD(gst_object_ref(pad))), hold(hold), position(position)
    {
    }
    ~SeekJob() { gst_object_unref(pad); }

    GstPad* pad;
    unsigned long hold;  // the probe that holds the data before the sink, removed here
    qint64 position;
    std::atomic<qint64> landedAt{-1};  // monotonic ns, 0 when the seek failed
};

void Music::runSeek(GstElement*, void* data)
{
    SeekJob& job = **static_cast<std::shared_ptr<SeekJob>*>(data);
    const bool sought = seekStream(job.pad, job.position, false);
    gst_pad_remove_probe(job.pad, job.hold);
    job.landedAt = sought ? monotonicNow() : 0;
}

void Music::dropSeek(void* data)
{
    delete static_cast<std::shared_ptr<SeekJob>*>(data);
}

Music::Music()
{
    connect(&m_busTimer, &QTimer::timeout, this, [this] { Follow(); });
    m_reopenTimer.setSingleShot(true);
    connect(&m_reopenTimer, &QTimer::timeout, this, [this] { reopen(); });
}

Music::~Music()
{
    if (m_pipeline)
        close(true);
    gst_clear_object(&m_held);
    gst_clear_object(&m_bus);
    gst_clear_object(&m_pipeline);
}

void Music::init()
{
    if (m_pipeline)
        return;
    static const bool gstreamerReady = gst_init_check(nullptr, nullptr, nullptr);
    GError* error = nullptr;
    m_pipeline = gstreamerReady ? gst_parse_launch(kPipeline, &error) : nullptr;
    if (!m_pipeline || error) {
        warn(error ? QString::fromUtf8(error->message) : QString("GStreamer cannot start"));
        g_clear_error(&error);
        gst_clear_object(&m_pipeline);
        return;
    }
    m_sink = child(m_pipeline, "sink");
    m_held = gst_element_get_static_pad(child(m_pipeline, "volume"), "src");
    // The engine's time base, and a base time that only this class sets.
    GstClock* clock = gst_system_clock_obtain();
    gst_pipeline_use_clock(GST_PIPELINE(m_pipeline), clock);
    gst_object_unref(clock);
    gst_element_set_start_time(m_pipeline, GST_CLOCK_TIME_NONE);
    m_bus = gst_element_get_bus(m_pipeline);
    m_busTimer.start(kBusInterval);
}

void Music::load(const QString& path)
{
    m_path = path;
    if (!m_pipeline)
        return;
    close(true);
    g_object_set(child(m_pipeline, "file"), "location", path.toLocal8Bit().constData(), nullptr);
    m_anchoredTo = kNone;
    m_placement.forget();  // maybe another server: its own placement
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
}

void Music::SetVolume(float volume)
{
    if (m_pipeline)
        g_object_set(child(m_pipeline, "volume"), "volume", double(qMax(0.0f, volume)), nullptr);
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
    if (m_phase == Phase::Seeking)
        advance();  // a seek that has landed is done with before the clock is looked at
    const qint64 to = origin();
    if (m_phase == Phase::Failed || to == kNone)
        return;
    if (m_phase == Phase::Seeking) {
        // The seek under way lands first; what moved since is seen then.
    } else if (to != m_anchoredTo) {
        m_anchoredTo = to;
        to == kPaused ? close() : anchor(to, m_phase == Phase::Playing);
    } else if (const qint64 off = offPlace()) {
        // A skip of the few ms off, in the playing stream; a stall of the
        // server for seconds, by a new stream.
        const bool inStream = qAbs(off) < kSinkHolds;
        if (inStream)
            FirstCycleWatch::moveMapping(m_sink, off);
        anchor(to, inStream);
    }
    advance();
    m_busTimer.setInterval(starting() ? kStartInterval : kBusInterval);
}

// A start that lies further ahead goes on waiting.
void Music::StartNow()
{
    QElapsedTimer waited;
    waited.start();
    Follow();
    while (m_phase >= Phase::Holding && m_phase <= Phase::Seeking && waited.elapsed() < kStartBudget) {
        QThread::usleep(500);
        Follow();
    }
}

// The engine clock's origin (monotonic ns) once it runs, else the moment
// play() was called; kPaused while the clock holds, kNone before either.
qint64 Music::origin() const
{
    const EngineClock* clock = EngineClock::GetInstance();
    if (!clock->isStarted())
        return m_playCalledNs >= 0 ? m_playCalledNs : kNone;
    return clock->isPaused() ? kPaused : clock->originNs();
}

// Where the track should be now (ns; negative before its start, -1 idle).
qint64 Music::expectedNow() const
{
    const qint64 from = origin();
    return from < 0 ? -1 : monotonicNow() - from - trackStart() * GST_MSECOND;
}

// ns the sound is heard late (negative: early), once off its place; else 0.
qint64 Music::offPlace() const
{
    const qint64 off = m_phase == Phase::Playing ? m_placement.offPlace() : 0;
    if (off != 0)
        qCInfo(lcSound, "the sound %s %.1f ms %s; placed again", off > 0 ? "fell" : "ran",
               qAbs(off) / 1e6, off > 0 ? "behind" : "ahead");
    return off;
}

// A jump while the track plays, or sound placed again, is sought in the playing
// stream. Otherwise the stream is closed, and opened again for the new anchor
// now or shortly before a start that lies ahead.
void Music::anchor(qint64 originNs, bool keepStream)
{
    m_target = anchorTrack(originNs, monotonicNow(), trackStart(), kSeekLead);
    ++m_seeks;
    if (keepStream && m_target.position > 0)
        return seekInPlace();
    close();
    m_phase = Phase::Waiting;
}

// The stream plays on, and the sink places the new sound by its clock over
// what it had written, on the mapping the stream started with. An opened
// stream would wait for the server (25 to 30 ms on PipeWire, then up to a
// period for its first read).
void Music::seekInPlace()
{
    if (pastEnd())
        return close();
    m_firstCycle.stop();
    m_placement.stop();
    hold();
    setSinkOffset(m_target.heardAt - m_openedAt);  // the sink's clock counts from the opening
    m_seek = std::make_shared<SeekJob>(m_held, std::exchange(m_hold, 0), m_target.position);
    gst_element_call_async(m_pipeline, runSeek, new std::shared_ptr<SeekJob>(m_seek), dropSeek);
    m_phase = Phase::Seeking;
}

// A seek that landed long after its sound was due (the server stalled) is
// placed again by a new stream.
void Music::landInPlace()
{
    const qint64 landedAt = std::exchange(m_seek, nullptr)->landedAt;
    if (landedAt == 0)
        return fail(m_path + ": cannot seek");
    if (landedAt > m_target.heardAt + kSinkHolds)
        return anchor(m_anchoredTo, false);
    m_placement.resume(m_held, m_target.heardAt - m_target.position);
    m_phase = Phase::Playing;
}

// The stream closed (READY), or everything let go (NULL); nothing held.
void Music::close(bool release)
{
    m_firstCycle.stop();
    gst_element_set_state(m_pipeline, release ? GST_STATE_NULL : GST_STATE_READY);
    m_placement.stop();
    if (m_hold)
        gst_pad_remove_probe(m_held, std::exchange(m_hold, 0));
    m_seek.reset();  // one still under way lands on its own, and lets its hold go
    m_phase = Phase::Idle;
}

void Music::advance()
{
    if (m_phase == Phase::Waiting && monotonicNow() >= m_target.heardAt - kOpenAhead)
        open();
    else if (m_phase == Phase::Holding && gst_pad_is_blocking(m_held))
        seek();
    else if (m_phase == Phase::Opening
             && gst_element_get_state(m_pipeline, nullptr, nullptr, 0) == GST_STATE_CHANGE_SUCCESS)
        start();  // a failure is told on the bus
    else if (m_phase == Phase::Seeking && m_seek->landedAt >= 0)
        landInPlace();
}

// The sink's offset carries the distance from now to where the track is to be
// heard (set later, it would split the sound). The data wait before the sink
// until the track is sought: a stream flushed by a seek was heard 6-8 ms late.
void Music::open()
{
    m_openedAt = monotonicNow();
    setSinkOffset(m_target.heardAt - m_openedAt);
    hold();
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    m_phase = Phase::Holding;
}

// The data wait before the sink.
void Music::hold()
{
    const auto wait = [](GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; };
    m_hold = gst_pad_add_probe(m_held, GST_PAD_PROBE_TYPE_BLOCK_DOWNSTREAM, wait, nullptr, nullptr);
}

void Music::setSinkOffset(qint64 offset)
{
    GstPad* pad = gst_element_get_static_pad(m_sink, "sink");
    gst_pad_set_offset(pad, offset);
    gst_object_unref(pad);
}

// A position past the end is silence.
void Music::seek()
{
    if (pastEnd()) {
        close();
    } else if (seekStream(m_held, m_target.position, true)) {
        m_firstCycle.start(m_sink, m_held);
        gst_pad_remove_probe(m_held, std::exchange(m_hold, 0));
        m_phase = Phase::Opening;
    } else {
        fail(m_path + ": cannot seek");
    }
}

bool Music::pastEnd()
{
    const qint64 end = length();
    return end > 0 && m_target.position >= end;
}

// ns, 0 while unknown: known once prerolled, maybe sooner, and kept.
qint64 Music::length()
{
    if (gint64 length = 0; gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &length))
        m_length = length;
    return m_length;
}

// pulsesink places the first sound by the stream's time, which counts from its
// opening whether it plays or not: the base time is the moment of opening,
// moved earlier by what the stream has counted.
void Music::start()
{
    const qint64 openFor = streamTime();
    gst_element_set_base_time(m_pipeline, GstClockTime(m_openedAt - openFor));
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    m_placement.start(m_held, m_target.heardAt - m_target.position);
    m_phase = Phase::Playing;
    m_played = true;  // the stream opened: the sound server is there
    m_reopenTimer.stop();
    m_reopenDelay = kFirstReopenDelay;
}

// The stream's own time (ns), not the sink's clock, which carries over a few ms
// more from every stream before; at most the time since opening (a server that
// cannot tell yet may answer with an older stream's time).
qint64 Music::streamTime() const
{
    GstClock* clock = gst_element_provide_clock(m_sink);  // none until it has a stream
    if (!clock)
        return 0;
    const GstClockTime time = gst_audio_clock_get_time(GST_AUDIO_CLOCK(clock));
    gst_object_unref(clock);
    const qint64 sinceOpened = monotonicNow() - m_openedAt;
    return time == GST_CLOCK_TIME_NONE ? 0 : qBound<qint64>(0, qint64(time), sinceOpened);
}

void Music::readBus()
{
    const auto wanted = GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
    while (GstMessage* message = gst_bus_pop_filtered(m_bus, wanted)) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            ended();
        } else {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            const bool fromOutput = GST_MESSAGE_SRC(message) == GST_OBJECT(m_sink);
            fail((fromOutput ? QString("sound output") : m_path) + ": " + QString::fromUtf8(error->message));
            g_error_free(error);
        }
        gst_message_unref(message);
    }
}

// A track lost while it should still be heard is opened again (the timer runs
// from a loss until it plays again); of unknown length, once too often.
void Music::fail(const QString& reason)
{
    const qint64 end = length();  // while the pipeline still knows it
    close(true);
    m_anchoredTo = kNone;
    m_phase = Phase::Failed;
    if (m_reopenTimer.isActive())
        return;
    if (m_played && (end <= 0 || expectedNow() < end - kEndMargin)) {
        qWarning("quenvarix: the sound stopped (%s); opening it again", qPrintable(reason));
        m_reopenTimer.start(m_reopenDelay);
    } else if (!m_warned) {
        warn(reason);
    }
}

// Once prerolled, the next look anchors it. Until it plays (the server is not
// back yet) it is opened again, less often each time.
void Music::reopen()
{
    m_reopenDelay = qMin(2 * m_reopenDelay, kMaxReopenDelay);
    m_reopenTimer.start(m_reopenDelay);  // first: a failure to open is no new loss
    load(m_path);
}

// At the track's end. One that ends well before its length was cut short or
// turned to noise (not opened again: the file would not get better).
void Music::ended()
{
    m_phase = Phase::Idle;
    const qint64 at = expectedNow(), end = length();
    if (end > 0 && at < end - kEndMargin && !m_warned)
        warn(QString("%1: the track ends at %2 s of %3 s")
                 .arg(m_path).arg(at / 1e9, 0, 'f', 1).arg(end / 1e9, 0, 'f', 1));
}

void Music::warn(const QString& what)
{
    qWarning("quenvarix: no sound (%s)", qPrintable(what));
    m_warned = true;
}

int Music::GetAudioPosition() const
{
    gint64 position = 0;
    if (!IsPlaying() || expectedNow() < 0
        || !gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position))
        return -1;
    return int(position / GST_MSECOND);
}

bool Music::IsPlaying() const
{
    const bool sounding = m_phase == Phase::Playing || m_phase == Phase::Seeking;
    return sounding && GST_STATE(m_pipeline) == GST_STATE_PLAYING;
}

#ifndef ENGINECLOCK_H
#define ENGINECLOCK_H

#include <QtGlobal>

#include <functional>

// Engine time: the whole milliseconds since the engine started its clock, the
// time every time window and every key frame is measured against. It lives
// below the scene graph so that nodes and controllers can read it without
// knowing the engine; the engine starts and stops it.
//
// Besides running freely it can pause (the picture holds), jump (a seek) and
// be overridden by a manual time, which offline rendering and the tests use
// to step through the demo frame by frame.
class EngineClock
{
public:
    // Nanoseconds of a monotonic source.
    using Source = std::function<qint64()>;

    // The clock the engine runs and every node reads.
    static EngineClock* GetInstance();

    // Without a source, CLOCK_MONOTONIC: a wall-clock change cannot make the
    // picture jump, and the sound can be scheduled on the same time base.
    explicit EngineClock(Source source = Source());

    // Engine time 0 is now; a pause is lifted.
    void start();
    // Back to the state before start(): engine time 0 and standing still.
    void stop();
    bool isStarted() const { return m_started; }

    // The manual time when one is set, else the running time (0 before start).
    int now() const;

    // The source's reading (ns) at which the running clock stands at engine
    // time 0; moved by resume() and jumpTo(). Meaningless while paused.
    qint64 originNs() const { return m_origin; }
    // The source's reading now (ns).
    qint64 sourceNs() const { return m_source(); }

    // Engine time holds still from now until resume().
    void pause();
    void resume();
    bool isPaused() const { return m_paused; }

    // Engine time is `ms` from now on and runs on from there (holds there
    // while paused). Starts a clock that was not started.
    void jumpTo(int ms);

    // Engine time is `ms` until changed or cleared, whatever the running time.
    void setManualTime(int ms);
    void clearManualTime() { m_manual = false; }
    bool hasManualTime() const { return m_manual; }

private:
    int runningTime() const;

    Source m_source;
    qint64 m_origin = 0;     // source reading (ns) at engine time 0
    int m_heldAt = 0;        // engine time while paused
    int m_manualMs = 0;
    bool m_started = false;
    bool m_paused = false;
    bool m_manual = false;
};

#endif

#ifndef DEMORUN_H
#define DEMORUN_H

#include <functional>

class Renderer;
class Scene;
class WorldObject;

// One run of the demo in the engine, from start-up to tear-down. start() hands
// Engine::Init the renderer, the whole demo tree (which becomes the current
// scene) and, if wanted, the soundtrack; stop() takes all of it down again:
// the tree (a scene does not own its root), the textures, the renderer, the
// music and the clock. So the demo can be built any number of times in one
// process: a restart or a seek is one call.
//
// The engine is a singleton, so one run at a time: starting a run stops the
// one running before. Starting and stopping need the GL context of the
// renderer to be current.
class DemoRun
{
public:
    struct Options
    {
        bool music = true;         // false: no track is opened at all
        int audioOffset = 0;       // ms the sound lags the picture (negative: leads)
        bool manualClock = false;  // true: engine time moves only by tick() and advanceTo()
        // Draws the tree unseen before the clock starts, so that no sequence
        // starts with a slow frame (see warmUp()).
        bool warmUp = true;
        // The renderer to build; none: the WidgetRenderer.
        std::function<Renderer*()> renderer;
    };

    // For rendering frame by frame: no music, a manual clock.
    static Options offline();

    DemoRun();  // the player's: music, the engine clock, the WidgetRenderer
    explicit DemoRun(const Options& options);
    ~DemoRun();
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;

    // Builds the demo at engine time 0; does nothing while running.
    void start();
    // Takes everything down; does nothing while stopped.
    void stop();
    void restart();
    bool isRunning() const { return m_running; }
    // Whether the next start() opens the soundtrack, and how much later than
    // the picture the sound is to be heard.
    void setMusic(bool music, int audioOffset = 0)
    {
        m_options.music = music;
        m_options.audioOffset = audioOffset;
    }

    // The demo's root node, null while stopped.
    WorldObject* root() const { return m_root; }

    // One frame of the player's loop without drawing: engine time is set to
    // `ms` (a manual time) and the tree is updated with the milliseconds since
    // the previous tick (the first counts from 0, where the clock starts).
    void tick(int ms);
    // Ticks on the player's steps for `fps` frames per second (k * 1000 / fps
    // ms, rounded down, the first at 0) through every step before `ms` not yet
    // ticked, so the demo stands as a played run stands there. Stops early,
    // returning false, when `cancelled` says so.
    bool advanceTo(int ms, int fps = 50, const std::function<bool()>& cancelled = {});
    // Builds the demo tree again and advances it on the player's steps for
    // `fps` up to and including `ms`; a run on the engine's own clock then
    // runs on from `ms`, its music started there. `soundFirst` (a demo
    // maker's key): the clock moves and the music starts before the tree is
    // built, and the first picture shows where the clock has got to by then.
    void seek(int ms, int fps = 50, bool soundFirst = false);
    // As seek(), without building the demo again: on from the last tick. The
    // picture is seek()'s when nothing but tick() has moved the demo since a
    // tick on the steps of `fps` (a paused player stepping on).
    void seekAhead(int ms, int fps = 50, bool soundFirst = false);

    // The picture holds still (engine time stops) until resume().
    void pause();
    void resume();

private:
    void rebuildTree();
    void jump(int ms, int fps, bool clockFirst, bool build);
    void moveClock(int ms);
    void advance(int ms, int fps);
    void useNewTree();
    void warmUp(Scene* scene);

    Options m_options;
    WorldObject* m_root = nullptr;
    bool m_running = false;
    bool m_ticked = false;
    int m_lastTick = 0;
};

#endif

#include "demorun.h"

#include "engine.h"
#include "engineclock.h"
#include "enginesetup.h"
#include "materials.h"
#include "path.h"
#include "qtrenderer.h"
#include "scene.h"
#include "timeline.h"
#include "worldobject.h"

namespace {
DemoRun* running = nullptr;  // the engine holds one demo at a time
}

DemoRun::Options DemoRun::offline()
{
    Options options;
    options.music = false;
    options.manualClock = true;
    return options;
}

DemoRun::DemoRun()
    : DemoRun(Options())
{
}

DemoRun::DemoRun(const Options& options)
    : m_options(options)
{
    if (!m_options.renderer)
        m_options.renderer = [] { return new WidgetRenderer(); };
}

DemoRun::~DemoRun()
{
    stop();
}

void DemoRun::start()
{
    if (m_running)
        return;
    if (running)
        running->stop();
    running = this;
    Engine* engine = Engine::GetInstance();
    if (m_options.manualClock)
        engine->SetManualTime(0);
    EngineSetup setup;
    setup.createRenderer = m_options.renderer;
    setup.buildScene = [this] {
        Scene* scene = init_scene_1();
        m_root = scene->GetRoot();
        return scene;
    };
    if (m_options.music)
        setup.track = PATH + "/data/tavrenQuisk.mp3";
    engine->Init(setup);
    engine->UseScene(engine->GetScenes().size() - 1);
    m_running = true;
    m_ticked = false;
    m_lastTick = 0;
}

// The tree goes first, while the textures it points to still exist; the
// textures go while the renderer that uploaded them still exists.
void DemoRun::stop()
{
    if (!m_running)
        return;
    Engine* engine = Engine::GetInstance();
    delete m_root;
    m_root = nullptr;
    release_textures();
    engine->Uninit();
    if (m_options.manualClock)
        engine->ClearManualTime();
    m_running = false;
    running = nullptr;
}

void DemoRun::restart()
{
    stop();
    start();
}

void DemoRun::tick(int ms)
{
    Engine* engine = Engine::GetInstance();
    const float dt = float(ms - m_lastTick);
    m_lastTick = ms;
    m_ticked = true;
    engine->SetManualTime(ms);
    engine->Update(dt);
}

bool DemoRun::advanceTo(int ms, int fps, const std::function<bool()>& cancelled)
{
    fps = qMax(fps, 1);
    for (qint64 step = 0;; ++step) {
        const int time = int(step * 1000 / fps);
        if (time >= ms)
            return true;
        if (m_ticked && time <= m_lastTick)
            continue;
        if (cancelled && cancelled())
            return false;
        tick(time);
    }
}

// The last step is `ms` itself, as the first frame of a capture from `ms`.
void DemoRun::seek(int ms)
{
    restart();
    advanceTo(ms);
    tick(ms);
    if (m_options.manualClock)
        return;
    Engine::GetInstance()->ClearManualTime();
    EngineClock::GetInstance()->jumpTo(ms);
}

void DemoRun::pause()
{
    EngineClock::GetInstance()->pause();
}

void DemoRun::resume()
{
    EngineClock::GetInstance()->resume();
}

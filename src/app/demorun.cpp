#include "demorun.h"

#include "engine.h"
#include "engineclock.h"
#include "enginesetup.h"
#include "framestep.h"
#include "materials.h"
#include "music.h"
#include "path.h"
#include "qtrenderer.h"
#include "renderer.h"
#include "scene.h"
#include "timeline.h"
#include "worldobject.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {
DemoRun* running = nullptr;  // the engine holds one demo at a time

// The projection is first set by the resize that follows start-up; until then
// every triangle would be clipped away and nothing rasterised. So the
// renderer is fitted to the viewport GL starts with (the window's or the
// target's size); whoever shows the picture sizes it again anyway.
void fitToViewport(Renderer* renderer)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context)
        return;
    GLint viewport[4] = {0, 0, 0, 0};
    context->functions()->glGetIntegerv(GL_VIEWPORT, viewport);
    renderer->ResizeWindow(viewport[2], viewport[3]);
}
}  // namespace

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
        if (m_options.warmUp)
            warmUp(scene);
        return scene;
    };
    if (m_options.music)
        setup.track = PATH + EngineSetup::kDemoTrack;
    setup.trackOffset = m_options.audioOffset;
    engine->Init(setup);
    m_running = true;
    useNewTree();
}

// The tree just built is the current scene and has not been ticked yet.
void DemoRun::useNewTree()
{
    Engine* engine = Engine::GetInstance();
    engine->UseScene(engine->GetScenes().size() - 1);
    m_ticked = false;
    m_lastTick = 0;
}

// Every new combination of GL state makes llvmpipe compile shader code, and
// every new mesh is compiled into a display list: done on the first frame of
// a sequence, that work makes it tens of milliseconds late. So, before the
// clock starts, the tree is drawn once at moments inside every sequence,
// into the back buffer, never shown and cleared again. It is only drawn,
// never updated: the tree stands as it was built, and engine time is put back.
void DemoRun::warmUp(Scene* scene)
{
    Engine* engine = Engine::GetInstance();
    Renderer* renderer = engine->GetRenderer();
    if (!renderer)
        return;
    fitToViewport(renderer);
    const bool wasManual = engine->HasManualTime();
    const int wasTime = engine->GetCurrentTime();
    for (int moment : timeline_moments()) {
        engine->SetManualTime(moment);
        renderer->StartDraw();
        scene->Draw(renderer);
        renderer->EndDraw();
    }
    renderer->StartDraw();  // clears the last of them away
    renderer->EndDraw();
    if (QOpenGLContext* context = QOpenGLContext::currentContext())
        context->functions()->glFinish();  // rasterised now, not in the first frame
    if (wasManual)
        engine->SetManualTime(wasTime);
    else
        engine->ClearManualTime();
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
        const int time = frameStepTime(step, fps);
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
// A running demo keeps its renderer, clock and music: only the tree and its
// textures are built again. The track then only has to be sought back into
// step, where a new one would first have to open and load.
void DemoRun::seek(int ms, int fps, bool soundFirst)
{
    jump(ms, fps, soundFirst && m_running, true);
}

void DemoRun::rebuildTree()
{
    Engine* engine = Engine::GetInstance();
    for (Scene* scene : QList<Scene*>(engine->GetScenes())) {
        if (scene->GetRoot() == m_root)
            engine->RemoveScene(scene);  // not its root
    }
    delete m_root;
    release_textures();  // while the renderer that uploaded them exists
    Scene* scene = init_scene_1();
    m_root = scene->GetRoot();
    engine->AddScene(scene);
    useNewTree();
}

void DemoRun::seekAhead(int ms, int fps, bool soundFirst)
{
    jump(ms, fps, soundFirst, false);
}

// The clock moves before the tree is built and advanced, or after it.
void DemoRun::jump(int ms, int fps, bool clockFirst, bool build)
{
    if (clockFirst)
        moveClock(ms);
    if (build)
        m_running ? rebuildTree() : start();
    advance(ms, fps);
    if (!clockFirst)
        moveClock(ms);
}

// The music is started in its new place at once, not on the next frame.
// Before the tree is built for a key, so that it is heard within 50 ms; after
// it otherwise, so that a run from --start begins exactly there (a slow
// advance would otherwise carry the clock on, even past the demo's end).
void DemoRun::moveClock(int ms)
{
    if (m_options.manualClock)
        return;
    Engine* engine = Engine::GetInstance();
    engine->ClearManualTime();
    EngineClock::GetInstance()->jumpTo(ms);
    if (Music* music = engine->GetMusic())
        music->StartNow();
}

void DemoRun::advance(int ms, int fps)
{
    advanceTo(ms, fps);
    tick(ms);
    if (!m_options.manualClock)
        Engine::GetInstance()->ClearManualTime();
}

void DemoRun::pause()
{
    EngineClock::GetInstance()->pause();
}

void DemoRun::resume()
{
    EngineClock::GetInstance()->resume();
}

#include "engine.h"

#include "engineclock.h"
#include "enginesetup.h"
#include "music.h"
#include "renderer.h"
#include "scene.h"
#include "worldobject.h"

Engine* Engine::m_engine = new Engine();

Engine::Engine()
    : m_clock(EngineClock::GetInstance()), m_renderer(nullptr), m_music(nullptr),
      m_currentScene(0)
{
}

Engine::~Engine()
{
    Uninit();
}

Engine* Engine::GetInstance()
{
    return m_engine;
}

bool Engine::InitWindow()
{
    return true;
}

// The content uploads its textures through the renderer, so the renderer is
// ready first; the clock starts last, so building takes no demo time.
bool Engine::Init(const EngineSetup& setup)
{
    if (setup.createRenderer) {
        SetRenderer(setup.createRenderer());
        if (m_renderer)
            m_renderer->Init();
    }
    delete m_music;  // a second Init without Uninit: one track at a time
    m_music = nullptr;
    if (!setup.track.isEmpty()) {
        m_music = new Music();
        m_music->init();
    }
    if (setup.buildScene)
        AddScene(setup.buildScene());
    if (m_music) {
        m_music->load(setup.track);
        m_music->SetVolume(1.0f);
        m_music->SetAudioOffset(setup.trackOffset);
        m_music->play(setup.trackDelay);
    }
    m_clock->start();
    return true;
}

// The music goes too (it would otherwise play on beside the next Init's).
void Engine::Uninit()
{
    SetRenderer(nullptr);
    delete m_music;
    m_music = nullptr;
    m_clock->stop();
    qDeleteAll(m_scenes);
    m_scenes.clear();
    m_currentScene = 0;
}

Scene* Engine::currentScene() const
{
    if (m_currentScene < 0 || m_currentScene >= m_scenes.size())
        return nullptr;
    return m_scenes.at(m_currentScene);
}

void Engine::Update(float dt)
{
    // A manual time steps the picture without its music (offline frames,
    // the advance of a seek); the track follows the engine's own clock.
    if (m_music && !HasManualTime())
        m_music->Follow();
    if (m_renderer)
        m_renderer->UpdateCameras(dt);
    // The root directly: Scene::Update is there for callers outside the loop.
    Scene* scene = currentScene();
    if (scene && scene->GetRoot())
        scene->GetRoot()->Update(dt);
}

void Engine::Draw()
{
    if (!m_renderer)
        return;
    m_renderer->StartDraw();
    if (Scene* scene = currentScene())
        scene->Draw(m_renderer);
    m_renderer->EndDraw();
}

int Engine::GetCurrentTime() const
{
    return m_clock->now();
}

void Engine::SetManualTime(int ms)
{
    m_clock->setManualTime(ms);
}

void Engine::ClearManualTime()
{
    m_clock->clearManualTime();
}

bool Engine::HasManualTime() const
{
    return m_clock->hasManualTime();
}

void Engine::SetRenderer(Renderer* renderer)
{
    if (renderer == m_renderer)
        return;
    if (m_renderer)
        m_renderer->Uninit();
    delete m_renderer;
    m_renderer = renderer;
}

void Engine::AddScene(Scene* scene)
{
    if (scene)
        m_scenes.append(scene);
}

bool Engine::UseScene(int index)
{
    if (index < 0 || index >= m_scenes.size())
        return false;
    m_currentScene = index;
    return true;
}

// The scene that was current stays current when one before it goes; when the
// current one goes, the one after it (or the new last one) takes its place.
void Engine::RemoveScene(int index)
{
    if (index < 0 || index >= m_scenes.size())
        return;
    delete m_scenes.takeAt(index);
    if (index < m_currentScene)
        --m_currentScene;
    m_currentScene = qBound(0, m_currentScene, qMax(0, m_scenes.size() - 1));
}

void Engine::RemoveScene(Scene* scene)
{
    if (scene)
        RemoveScene(m_scenes.indexOf(scene));
}

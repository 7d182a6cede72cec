#include "engine.h"

#include "music.h"
#include "path.h"
#include "qtrenderer.h"
#include "renderer.h"
#include "scene.h"
#include "timeline.h"
#include "worldobject.h"

#include <QElapsedTimer>

Engine* Engine::m_engine = new Engine();

Engine::Engine()
    : m_time(nullptr), m_renderer(nullptr), m_music(nullptr), m_currentScene(0),
      m_manualTime(false), m_manualMs(0)
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

bool Engine::Init()
{
    m_renderer = new WidgetRenderer();
    m_renderer->Init();
    m_music = new Music();
    m_music->init();
    AddScene(init_scene_1());
    m_music->load(PATH + "/data/tavrenQuisk.mp3");
    m_music->SetVolume(1.0f);
    m_music->play(5000);
    m_time = new QElapsedTimer();
    m_time->start();
    return true;
}

void Engine::Uninit()
{
    if (m_renderer) {
        m_renderer->Uninit();
        delete m_renderer;
    }
    m_renderer = nullptr;
    delete m_time;
    m_time = nullptr;
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
    if (m_music)
        m_music->Follow(GetCurrentTime());
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
    if (m_manualTime)
        return m_manualMs;
    return m_time ? int(m_time->elapsed()) : 0;
}

void Engine::SetManualTime(int ms)
{
    m_manualTime = true;
    m_manualMs = ms;
}

void Engine::ClearManualTime()
{
    m_manualTime = false;
}

void Engine::SetRenderer(Renderer* renderer)
{
    if (renderer == m_renderer)
        return;
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

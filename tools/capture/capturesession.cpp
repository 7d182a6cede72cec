#include "capturesession.h"

#include "engine.h"
#include "qtrenderer.h"
#include "scene.h"
#include "timeline.h"
#include "worldobject.h"

CaptureSession::CaptureSession(const QSize& size)
{
    Engine* engine = Engine::GetInstance();
    // As Engine::Init, minus the music and the real clock: the content
    // uploads its textures through the renderer, so it comes first.
    engine->SetManualTime(0);
    auto* renderer = new WidgetRenderer();
    engine->SetRenderer(renderer);
    renderer->Init();
    m_scene = init_scene_1();
    engine->AddScene(m_scene);
    engine->UseScene(engine->GetScenes().size() - 1);
    renderer->ResizeWindow(size.width(), size.height());
}

CaptureSession::~CaptureSession()
{
    Engine* engine = Engine::GetInstance();
    // A scene does not own its root: the tree goes separately.
    WorldObject* root = m_scene->GetRoot();
    engine->RemoveScene(m_scene);
    delete root;
    if (engine->GetRenderer())
        engine->GetRenderer()->Uninit();
    engine->SetRenderer(nullptr);
    engine->UseScene(0);
    engine->ClearManualTime();
}

void CaptureSession::tick(int ms)
{
    Engine* engine = Engine::GetInstance();
    const float dt = float(ms - m_lastTick);
    m_lastTick = ms;
    engine->SetManualTime(ms);
    engine->Update(dt);
}

void CaptureSession::draw()
{
    Engine::GetInstance()->Draw();
}

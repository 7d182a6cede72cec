#include "demotree.h"

#include "engine.h"
#include "scene.h"
#include "timeline.h"
#include "worldobject.h"

DemoTree::DemoTree()
    : m_scene(init_scene_1())
{
    Engine* engine = Engine::GetInstance();
    engine->AddScene(m_scene);
    engine->UseScene(engine->GetScenes().size() - 1);
}

DemoTree::~DemoTree()
{
    WorldObject* tree = m_scene->GetRoot();
    Engine::GetInstance()->RemoveScene(m_scene);  // destroys the scene, not its root
    delete tree;
}

WorldObject* DemoTree::root() const
{
    return m_scene->GetRoot();
}

void DemoTree::stepTo(int moment, int frameMs)
{
    Engine* engine = Engine::GetInstance();
    for (int now = frameMs; now <= moment; now += frameMs) {
        engine->SetManualTime(now);
        engine->Update(float(frameMs));
    }
    engine->SetManualTime(moment);
}

void DemoTree::frame(float dt)
{
    Engine* engine = Engine::GetInstance();
    engine->Update(dt);
    engine->Draw();
}

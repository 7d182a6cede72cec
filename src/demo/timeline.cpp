#include "timeline.h"

#include "scene.h"
#include "worldobject.h"

#include <cstdlib>

Scene* init_scene_1()
{
    srand(0);
    auto* scene = new Scene(nullptr);
    auto* root = new WorldObject(nullptr, "root");
    root->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    scene->SetRoot(root);
    root->AddChild(main_scene());
    return scene;
}

WorldObject* main_scene()
{
    auto* scene = new WorldObject(nullptr, "scene");
    scene->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    return scene;
}

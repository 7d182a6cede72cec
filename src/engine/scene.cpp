#include "scene.h"

#include "worldobject.h"

Scene::Scene(WorldObject* root)
    : m_root(root)
{
}

Scene::~Scene() = default;

void Scene::SetRoot(WorldObject* root)
{
    if (root)
        m_root = root;
}

void Scene::Update(float dt)
{
    if (m_root)
        m_root->Update(dt);
}

void Scene::Draw(Renderer* renderer)
{
    if (m_root)
        m_root->Draw(renderer, m_root->m_transform);
}

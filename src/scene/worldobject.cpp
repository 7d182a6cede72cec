#include "worldobject.h"

#include "controller.h"

WorldObject::WorldObject(Object* parent, QString id)
    : Object(parent, std::move(id))
{
    m_transform.SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

WorldObject::WorldObject(const WorldObject& other)
    : Object(other), m_transform(other.m_transform)
{
}

WorldObject::~WorldObject()
{
    for (Controller* controller : qAsConst(m_controllers))
        delete controller;
    m_controllers.clear();
}

// A null controller would crash the next update pass, so it is ignored.
void WorldObject::AddController(Controller* controller)
{
    if (controller)
        m_controllers.append(controller);
}

void WorldObject::RemoveController(Controller* controller)
{
    if (controller && m_controllers.removeOne(controller))
        delete controller;
}

bool WorldObject::Update(float dt)
{
    if (!Exists(0))
        return false;
    // Most nodes are mesh points with neither children nor controllers, and
    // there are tens of thousands of them: skip the snapshots for them.
    if (m_children.isEmpty() && m_controllers.isEmpty())
        return false;
    const QList<Object*> children = m_children;
    for (Object* child : children)
        child->Update(dt);
    // Controllers that a finishing controller hands over are not in this
    // snapshot: they first run in the next pass.
    const QList<Controller*> controllers = m_controllers;
    for (Controller* controller : controllers) {
        if (controller->Update(dt))
            RemoveController(controller);
    }
    return false;
}

void WorldObject::Draw(Renderer* renderer, const Transform& inherited)
{
    if (!Exists(0) || m_children.isEmpty())
        return;
    const QList<Object*> children = m_children;
    // The composed transform is the same for every child: build it once.
    const Transform composed = m_transform + inherited;
    for (Object* child : children)
        child->Draw(renderer, composed);
}

#include "controller.h"

#include "worldobject.h"

Controller::Controller(WorldObject* parent)
    : m_parent(parent)
{
}

Controller::~Controller()
{
    for (Controller* next : qAsConst(m_next))
        delete next;
    m_next.clear();
}

void Controller::Draw(Renderer*, const Transform&)
{
}

void Controller::OnFinish()
{
    if (!m_parent)
        return;
    const QList<Controller*> successors = m_next;
    for (Controller* next : successors)
        m_parent->AddController(next);
    m_next.clear();
}

void Controller::SetParent(WorldObject* parent)
{
    if (parent)
        m_parent = parent;
}

void Controller::SetNextConroller(Controller* next)
{
    if (next)
        m_next.append(next);
}

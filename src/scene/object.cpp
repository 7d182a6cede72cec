#include "object.h"

Object::Object(Object* parent, QString id)
    : m_id(std::move(id)), m_parent(parent)
{
    if (!parent)
        m_types.append(TYPE_ROOT);
}

Object::Object(const Object& other)
    : DemoObject(other), m_id(other.m_id), m_parent(other.m_parent), m_types(other.m_types)
{
}

Object::~Object()
{
    for (Object* child : qAsConst(m_children))
        delete child;
    m_children.clear();
    m_types.clear();
}

void Object::SetParent(Object* parent)
{
    if (parent)
        m_parent = parent;
}

void Object::AddChild(Object* child)
{
    if (!child)
        return;
    child->SetParent(this);
    m_children.append(child);
}

void Object::RemoveChild(Object* child)
{
    if (child && m_children.removeOne(child))
        delete child;
}

void Object::RemoveChild(QString id)
{
    const QList<Object*> snapshot = m_children;
    for (Object* child : snapshot) {
        if (child->GetId() == id)
            RemoveChild(child);
    }
}

Object* Object::Find(QString id)
{
    if (m_id == id)
        return this;
    const QList<Object*> snapshot = m_children;
    for (Object* child : snapshot) {
        if (Object* found = child->Find(id))
            return found;
    }
    return nullptr;
}

void Object::AddType(ObjectType type)
{
    m_types.append(type);
}

void Object::RemoveType(ObjectType type)
{
    m_types.removeOne(type);
}

bool Object::IsType(ObjectType type) const
{
    return m_types.contains(type);
}

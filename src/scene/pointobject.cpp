#include "pointobject.h"

PointObject::PointObject(Object* parent, QString id)
    : WorldObject(parent, std::move(id)), m_normal(0.0f, 0.0f, 0.0f)
{
}

#include "pointobject.h"

#include "pointid.h"

PointObject::PointObject(Object* parent, QString id)
    : WorldObject(parent, std::move(id)), m_normal(0.0f, 0.0f, 0.0f)
{
}

PointObject* PointObject::numbered(Object* owner, int index, float x, float y, float z)
{
    auto* point = new PointObject(owner, numberedId(owner->GetId(), "_point_", index));
    point->m_transform.SetTranslation(x, y, z);
    return point;
}

bool PointObject::IsAt(float x, float y, float z) const
{
    const QVector3D& t = m_transform.translation;
    return t.x() == x && t.y() == y && t.z() == z;
}

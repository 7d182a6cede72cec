#include "polygonobject.h"

#include "pointobject.h"
#include "renderer.h"

#include <algorithm>

PolygonObject::PolygonObject(Object* parent, QString id)
    : WorldObject(parent, std::move(id)), m_texture(nullptr)
{
    AddType(TYPE_POLYGON);
}

PolygonObject::PolygonObject(const PolygonObject& other)
    : WorldObject(other), m_texture(other.m_texture)
{
    for (const QPointF* coord : other.m_texCoords)
        m_texCoords.append(new QPointF(*coord));
    for (const PointObject* source : other.m_points) {
        auto* point = new PointObject(*source);
        m_points.append(point);
    }
}

PolygonObject::~PolygonObject()
{
    qDeleteAll(m_texCoords);
    m_texCoords.clear();
    m_texture = nullptr;
    m_points.clear();
}

void PolygonObject::AddPoint(PointObject* point)
{
    if (point)
        m_points.append(point);
}

PointObject* PolygonObject::AddPoint(float x, float y, float z)
{
    auto* point = PointObject::numbered(this, m_points.size(), x, y, z);
    m_points.append(point);
    return point;
}

void PolygonObject::RemovePoint(PointObject* point)
{
    m_points.removeOne(point);
}

void PolygonObject::RemovePoint(float x, float y, float z)
{
    m_points.erase(std::remove_if(m_points.begin(), m_points.end(),
                                  [=](const PointObject* p) { return p->IsAt(x, y, z); }),
                   m_points.end());
}

void PolygonObject::RemovePoint(const QString& id)
{
    m_points.erase(std::remove_if(m_points.begin(), m_points.end(),
                                  [&](const PointObject* p) { return p->GetId() == id; }),
                   m_points.end());
}

void PolygonObject::AddTexCoord(float u, float v)
{
    m_texCoords.append(new QPointF(u, v));
}

void PolygonObject::AddTexCoord(QPointF* coord)
{
    if (coord)
        m_texCoords.append(coord);
}

void PolygonObject::RemoveTexCoord(QPointF* coord)
{
    if (coord && m_texCoords.removeOne(coord))
        delete coord;
}

void PolygonObject::SetTexture(Texture* texture)
{
    if (texture)
        m_texture = texture;
}

bool PolygonObject::IsValid() const
{
    return IsTexCoordsValid();
}

bool PolygonObject::IsTexCoordsValid() const
{
    return !m_texture || m_texCoords.size() == m_points.size();
}

void PolygonObject::Draw(Renderer* renderer, const Transform& inherited)
{
    if (!Exists(0))
        return;
    WorldObject::Draw(renderer, inherited);
    renderer->DrawPolygon(m_points, m_texture, m_texCoords);
}

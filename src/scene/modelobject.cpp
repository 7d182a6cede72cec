#include "modelobject.h"

#include "pointobject.h"
#include "polygonobject.h"
#include "renderer.h"

ModelObject::ModelObject(Object* parent, QString id)
    : WorldObject(parent, std::move(id))
{
    AddType(TYPE_MODEL);
}

ModelObject::ModelObject(const ModelObject& other)
    : WorldObject(other)
{
    for (const PolygonObject* source : other.m_polygons) {
        auto* polygon = new PolygonObject(*source);
        m_polygons.append(polygon);
        m_points.append(polygon->GetPoints());
    }
}

ModelObject::~ModelObject()
{
    qDeleteAll(m_points);
    m_points.clear();
    qDeleteAll(m_polygons);
    m_polygons.clear();
}

void ModelObject::AddPoint(PointObject* point)
{
    if (point)
        m_points.append(point);
}

PointObject* ModelObject::AddPoint(float x, float y, float z)
{
    auto* point = PointObject::numbered(this, m_points.size(), x, y, z);
    m_points.append(point);
    return point;
}

void ModelObject::AddPolygon(PolygonObject* polygon)
{
    if (polygon)
        m_polygons.append(polygon);
}

void ModelObject::destroyPoint(PointObject* point)
{
    for (PolygonObject* polygon : qAsConst(m_polygons))
        polygon->GetPoints().removeAll(point);
    delete point;
}

void ModelObject::RemovePoint(PointObject* point)
{
    if (point && m_points.removeOne(point))
        destroyPoint(point);
}

template <typename Match>
void ModelObject::removePointsWhere(Match match)
{
    const QList<PointObject*> snapshot = m_points;
    for (PointObject* point : snapshot) {
        if (match(point))
            RemovePoint(point);
    }
}

void ModelObject::RemovePoint(float x, float y, float z)
{
    removePointsWhere([=](const PointObject* p) { return p->IsAt(x, y, z); });
}

void ModelObject::RemovePoint(const QString& id)
{
    removePointsWhere([&](const PointObject* p) { return p->GetId() == id; });
}

void ModelObject::RemovePolygon(PolygonObject* polygon)
{
    if (polygon && m_polygons.removeOne(polygon))
        delete polygon;
}

void ModelObject::RemovePolygon(const QString& id)
{
    const QList<PolygonObject*> snapshot = m_polygons;
    for (PolygonObject* polygon : snapshot) {
        if (polygon->GetId() == id)
            RemovePolygon(polygon);
    }
}

bool ModelObject::Update(float dt)
{
    if (!Exists(0))
        return false;
    WorldObject::Update(dt);
    const QList<PointObject*> points = m_points;
    for (PointObject* point : points) {
        if (point->Update(dt))
            RemovePoint(point);
    }
    const QList<PolygonObject*> polygons = m_polygons;
    for (PolygonObject* polygon : polygons) {
        if (polygon->Update(dt))
            RemovePolygon(polygon);
    }
    return false;
}

void ModelObject::Draw(Renderer* renderer, const Transform& inherited)
{
    if (!Exists(0))
        return;
    WorldObject::Draw(renderer, inherited);
    renderer->DrawMesh(*this, inherited + m_transform, m_transform + inherited);
}

void ModelObject::DrawPolygons(Renderer* renderer, const Transform& own)
{
    const QList<PolygonObject*> polygons = m_polygons;
    for (PolygonObject* polygon : polygons)
        polygon->Draw(renderer, own);
}

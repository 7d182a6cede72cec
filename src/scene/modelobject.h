#ifndef MODELOBJECT_H
#define MODELOBJECT_H

#include "worldobject.h"

class PointObject;
class PolygonObject;

// A mesh: owns its points and the polygons that refer to them. Points and
// polygons are not children; they live only in these two lists.
class ModelObject : public WorldObject
{
public:
    ModelObject(Object* parent, QString id);
    // Rebuilds the points from copies of the polygons: a shared point becomes
    // one point per polygon, an unused one is not copied.
    ModelObject(const ModelObject& other);
    ~ModelObject() override;

    void AddPoint(PointObject* point);
    PointObject* AddPoint(float x, float y, float z);
    void AddPolygon(PolygonObject* polygon);

    // Removing a point also drops it from every polygon that refers to it,
    // so no polygon is left holding a destroyed point.
    void RemovePoint(PointObject* point);
    void RemovePoint(float x, float y, float z);
    void RemovePoint(const QString& id);
    void RemovePolygon(PolygonObject* polygon);
    void RemovePolygon(const QString& id);

    QList<PointObject*>& GetPoints() { return m_points; }
    const QList<PointObject*>& GetPoints() const { return m_points; }
    QList<PolygonObject*>& GetPolygons() { return m_polygons; }
    const QList<PolygonObject*>& GetPolygons() const { return m_polygons; }
    int NumFaces() const { return m_polygons.size(); }

    bool Update(float dt) override;
    // Children, then the mesh itself through Renderer::DrawMesh.
    void Draw(Renderer* renderer, const Transform& inherited) override;
    // Every face in order, each under `own` (the mesh's transform composed
    // with what it inherits), as Renderer::DrawMesh draws them by default.
    void DrawPolygons(Renderer* renderer, const Transform& own);

protected:
    QList<PointObject*> m_points;
    QList<PolygonObject*> m_polygons;

private:
    template <typename Match> void removePointsWhere(Match match);
    void destroyPoint(PointObject* point);
};

#endif

#ifndef POLYGONOBJECT_H
#define POLYGONOBJECT_H

#include "nodepool.h"
#include "worldobject.h"

#include <QPointF>

class PointObject;
class Texture;

// One face: corners in drawing order (owned by the mesh node), an optional
// texture (owned by the registry) and one texture coordinate per corner.
class PolygonObject : public WorldObject
{
public:
    PolygonObject(Object* parent, QString id);
    // Shares the texture, copies the coordinates and makes new points.
    PolygonObject(const PolygonObject& other);
    ~PolygonObject() override;

    // Polygons come from a pool of their own: see NodePool.
    static void* operator new(std::size_t size) { return NodePool<sizeof(PolygonObject)>::allocate(size); }
    static void operator delete(void* block, std::size_t size)
    {
        NodePool<sizeof(PolygonObject)>::release(block, size);
    }

    void AddPoint(PointObject* point);
    // Creates a point that the caller must register with the mesh node.
    PointObject* AddPoint(float x, float y, float z);
    void RemovePoint(PointObject* point);
    void RemovePoint(float x, float y, float z);
    void RemovePoint(const QString& id);
    QList<PointObject*>& GetPoints() { return m_points; }
    const QList<PointObject*>& GetPoints() const { return m_points; }

    void AddTexCoord(float u, float v);
    void AddTexCoord(QPointF* coord);
    void RemoveTexCoord(QPointF* coord);
    const QList<QPointF*>& GetTexCoords() const { return m_texCoords; }

    // A null texture is ignored: once set, a texture stays.
    void SetTexture(Texture* texture);
    Texture* GetTexture() const { return m_texture; }

    // True without a texture, else when there is a coordinate per point.
    bool IsValid() const;
    bool IsTexCoordsValid() const;

    void Draw(Renderer* renderer, const Transform& inherited) override;

protected:
    Texture* m_texture;
    QList<QPointF*> m_texCoords;
    QList<PointObject*> m_points;
};

#endif

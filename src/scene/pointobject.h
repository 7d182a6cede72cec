#ifndef POINTOBJECT_H
#define POINTOBJECT_H

#include "nodepool.h"
#include "worldobject.h"

#include <QVector3D>

// One vertex: the position is the translation of its own transform. Its
// rotation, scale and colour do not affect drawing.
class PointObject : public WorldObject
{
public:
    PointObject(Object* parent, QString id);
    // The point number `index` of `owner` (a mesh or a polygon) at (x, y, z),
    // named after the owner's id with the "_point_" character suffix.
    static PointObject* numbered(Object* owner, int index, float x, float y, float z);

    // Exactly at (x, y, z): three float equality tests, no tolerance.
    bool IsAt(float x, float y, float z) const;

    // Points come from a pool of their own: see NodePool.
    static void* operator new(std::size_t size) { return NodePool<sizeof(PointObject)>::allocate(size); }
    static void operator delete(void* block, std::size_t size)
    {
        NodePool<sizeof(PointObject)>::release(block, size);
    }

    QVector3D m_normal;  // vertex normal handed to the renderer; (0, 0, 0) at first
};

#endif

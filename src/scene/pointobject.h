#ifndef POINTOBJECT_H
#define POINTOBJECT_H

#include "worldobject.h"

#include <QVector3D>

// One vertex: the position is the translation of its own transform. Its
// rotation, scale and colour do not affect drawing.
class PointObject : public WorldObject
{
public:
    PointObject(Object* parent, QString id);

    QVector3D m_normal;  // vertex normal handed to the renderer; (0, 0, 0) at first
};

#endif

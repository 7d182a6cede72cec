#ifndef MODELTRIANGLE_H
#define MODELTRIANGLE_H

#include <QVector>
#include <QVector3D>

// One triangle of a Model, its corners in order. Normals and texture
// coordinates are empty when the file has none.
struct ModelTriangle {
    QVector<QVector3D> positions;  // the three corner positions
    QVector<QVector3D> normals;    // the three corner normals
    QVector<QVector3D> texCoords;  // u in x, v in y; z is always 0
};

#endif

#ifndef MODELGROUP_H
#define MODELGROUP_H

#include "modeltriangle.h"

#include <QVector>

// The triangles of one group of the file, in file order.
struct ModelGroup {
    QVector<ModelTriangle> triangles;
};

#endif

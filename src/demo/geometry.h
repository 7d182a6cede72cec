#ifndef GEOMETRY_H
#define GEOMETRY_H

class ModelObject;
class QQuaternion;
class QVector3D;

// Hand-made meshes. Sizes are half-extents: a quad of (w, h) spans -w..w by
// -h..h. The optional position and rotation go to the node's transform, never
// into the corner coordinates. The new node is unattached and owned by the caller.

// One face in the z = 0 plane facing +z, texture coordinates (0, 0) to (1, 1).
ModelObject* create_quad(int w, int h, QVector3D* position, QQuaternion* rotation);
// Six faces with separate corner points, each point carrying its face's normal.
ModelObject* create_box(int w, int h, int d, QVector3D* position, QQuaternion* rotation);

#endif

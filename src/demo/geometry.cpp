#include "geometry.h"

#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <QQuaternion>
#include <QVector>
#include <QVector3D>

namespace {

ModelObject* newModel(const QVector3D* position, const QQuaternion* rotation)
{
    auto* model = new ModelObject(nullptr, QString());
    if (position)
        model->m_transform.SetTranslation(position->x(), position->y(), position->z());
    if (rotation)
        model->m_transform.rotation = *rotation;
    return model;
}

struct Corner {
    int x, y, z;
    float u, v;
};

struct Face {
    Corner corners[4];
    QVector3D normal;
};

// The box's faces in building order. The two z faces carry normals pointing
// into the box; lighting depends on them exactly as they stand.
QVector<Face> boxFaces(int w, int h, int d)
{
    const float u[4] = {0, 0, 1, 1};
    const float v[4] = {1, 0, 0, 1};
    const int corners[6][4][3] = {
        {{-w, h, -d}, {-w, -h, -d}, {w, -h, -d}, {w, h, -d}},
        {{w, h, d}, {w, -h, d}, {-w, -h, d}, {-w, h, d}},
        {{-w, h, -d}, {-w, h, d}, {w, h, d}, {w, h, -d}},
        {{w, -h, d}, {w, -h, -d}, {-w, -h, -d}, {-w, -h, d}},
        {{-w, h, -d}, {-w, -h, -d}, {-w, -h, d}, {-w, h, d}},
        {{w, h, d}, {w, -h, d}, {w, -h, -d}, {w, h, -d}},
    };
    const QVector3D normals[6] = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0},
                                  {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}};
    QVector<Face> faces;
    for (int f = 0; f < 6; ++f) {
        Face face;
        for (int k = 0; k < 4; ++k)
            face.corners[k] = {corners[f][k][0], corners[f][k][1], corners[f][k][2], u[k], v[k]};
        face.normal = normals[f];
        faces.append(face);
    }
    return faces;
}

PolygonObject* buildBoxFace(ModelObject* model, const Face& face, QList<PointObject*>& allPoints)
{
    auto* polygon = new PolygonObject(model, QString());
    for (const Corner& c : face.corners)
        polygon->AddPoint(float(c.x), float(c.y), float(c.z));
    for (const Corner& c : face.corners)
        polygon->AddTexCoord(c.u, c.v);
    for (PointObject* point : polygon->GetPoints()) {
        point->m_normal = face.normal;
        allPoints.append(point);
    }
    return polygon;
}

} // namespace

ModelObject* create_quad(int w, int h, QVector3D* position, QQuaternion* rotation)
{
    ModelObject* model = newModel(position, rotation);
    auto* polygon = new PolygonObject(model, QString());
    const Corner corners[4] = {
        {-w, -h, 0, 0, 0}, {w, -h, 0, 1, 0}, {w, h, 0, 1, 1}, {-w, h, 0, 0, 1}};
    QList<PointObject*> points;
    for (const Corner& c : corners) {
        auto* point = new PointObject(model, QString());
        point->m_normal = QVector3D(0, 0, 1);
        point->m_transform.SetTranslation(float(c.x), float(c.y), float(c.z));
        polygon->AddPoint(point);
        polygon->AddTexCoord(c.u, c.v);
        points.append(point);
    }
    for (PointObject* point : points)
        model->AddPoint(point);
    model->AddPolygon(polygon);
    return model;
}

ModelObject* create_box(int w, int h, int d, QVector3D* position, QQuaternion* rotation)
{
    ModelObject* model = newModel(position, rotation);
    const QVector<Face> faces = boxFaces(w, h, d);
    QList<PointObject*> points;
    QVector<PolygonObject*> polygons;
    for (const Face& face : faces)
        polygons.append(buildBoxFace(model, face, points));
    // The top, bottom and side faces are drawn before the two z faces.
    for (int index : {2, 3, 4, 5, 0, 1})
        model->AddPolygon(polygons.at(index));
    for (PointObject* point : points)
        model->AddPoint(point);
    return model;
}

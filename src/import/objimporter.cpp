#include "objimporter.h"

#include "model.h"
#include "modelobject.h"
#include "pointid.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <QPointF>

// "/data/cargoContainer.obj" gives "cargoContainer".
QString ObjImporter::baseName(const QString& file)
{
    const QString name = file.mid(file.lastIndexOf('/') + 1);
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}

ModelObject* ObjImporter::load(const QString& file)
{
    Model model;
    model.load(file);
    return convert(model, baseName(file));
}

// Polygons are numbered over the whole model; the name carries the number as
// one character (mod 256), so names repeat in large models.
ModelObject* ObjImporter::convert(const Model& model, const QString& name)
{
    auto* mesh = new ModelObject(nullptr, QString());
    int index = 0;
    for (const ModelGroup& group : model.groups)
        for (const ModelTriangle& triangle : group.triangles)
            mesh->AddPolygon(convertTriangle(triangle, mesh, name, index++));
    return mesh;
}

// Corners are never shared: every triangle gets three points of its own.
PolygonObject* ObjImporter::convertTriangle(const ModelTriangle& triangle, ModelObject* mesh,
                                            const QString& name, int index)
{
    auto* polygon = new PolygonObject(mesh, numberedId(name, "_poly_", index));
    for (int k = 0; k < triangle.positions.size(); ++k) {
        auto* point = new PointObject(mesh, numberedId(name, "_point_", k));
        const QVector3D& position = triangle.positions[k];
        point->m_transform.SetTranslation(position.x(), position.y(), position.z());
        if (k < triangle.normals.size())
            point->m_normal = triangle.normals[k];
        polygon->AddPoint(point);
        mesh->AddPoint(point);
        if (k < triangle.texCoords.size())
            polygon->AddTexCoord(new QPointF(triangle.texCoords[k].x(), triangle.texCoords[k].y()));
    }
    return polygon;
}

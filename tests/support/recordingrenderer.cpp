#include "recordingrenderer.h"

#include "pointobject.h"
#include "texture.h"

void RecordingRenderer::ResizeWindow(int width, int height)
{
    calls << QString("ResizeWindow %1x%2").arg(width).arg(height);
}

void RecordingRenderer::LoadTexture(Texture* texture)
{
    calls << "LoadTexture";
    texture->SetGlId(nextTextureId++);
}

void RecordingRenderer::SetTransform(const Transform& transform)
{
    calls << "SetTransform";
    transforms.append(transform);
}

void RecordingRenderer::DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                                    const QList<QPointF*>& texCoords)
{
    calls << "DrawPolygon";
    Polygon polygon;
    polygon.texture = texture;
    for (const PointObject* point : points) {
        polygon.vertices.append(point->m_transform.translation);
        polygon.normals.append(point->m_normal);
    }
    for (const QPointF* coord : texCoords)
        polygon.texCoords.append(*coord);
    polygons.append(polygon);
}

void RecordingRenderer::clear()
{
    calls.clear();
    transforms.clear();
    polygons.clear();
}

#include "countingrenderer.h"

#include "pointobject.h"
#include "texture.h"
#include "transform.h"

void CountingRenderer::LoadTexture(Texture* texture)
{
    if (texture)
        texture->SetGlId(m_nextTextureId++);
}

void CountingRenderer::SetTransform(const Transform& transform)
{
    ++m_counts.transforms;
    m_checksum += transform.translation.x() + transform.scale;
}

void CountingRenderer::DrawPolygon(const QList<PointObject*>& points, Texture*,
                                   const QList<QPointF*>& texCoords)
{
    ++m_counts.polygons;
    m_counts.corners += points.size();
    // Summed locally: a running total in the member would be stored and
    // loaded again for every corner, a cost no real renderer has.
    float sum = 0.0f;
    for (const PointObject* point : points)
        sum += point->m_transform.translation.z() + point->m_normal.x();
    if (!texCoords.isEmpty())
        sum += float(texCoords.first()->x());
    m_checksum += sum;
}

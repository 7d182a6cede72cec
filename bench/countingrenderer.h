#ifndef COUNTINGRENDERER_H
#define COUNTINGRENDERER_H

#include "renderer.h"

// A renderer that draws nothing and only counts what it is asked to do: the
// scene graph's own cost, without the graphics library. Touches each corner
// it is handed, as a real renderer would, so the walk over the points is
// not optimised away.
class CountingRenderer : public Renderer
{
public:
    struct Counts {
        long long transforms = 0;
        long long polygons = 0;
        long long corners = 0;
    };

    void Init() override {}
    void Uninit() override {}
    void StartDraw() override {}
    void EndDraw() override {}
    void ResizeWindow(int, int) override {}
    void LoadTexture(Texture* texture) override;
    void SetTransform(const Transform& transform) override;
    void DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                     const QList<QPointF*>& texCoords) override;

    const Counts& counts() const { return m_counts; }
    void resetCounts() { m_counts = Counts(); }
    // A value that depends on every vertex drawn, so the compiler keeps the reads.
    float checksum() const { return m_checksum; }

private:
    Counts m_counts;
    float m_checksum = 0.0f;
    unsigned int m_nextTextureId = 1;
};

#endif

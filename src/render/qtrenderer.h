#ifndef QTRENDERER_H
#define QTRENDERER_H

#include "meshcache.h"
#include "renderer.h"

// The fixed-function OpenGL 1.x renderer that fixes the demo's look: black
// background, additive blending weighted by alpha, no depth test, one white
// light beside the viewer, a 45-degree perspective down -z. Needs a current
// GL context. Single polygons go in immediate mode; whole meshes are kept
// on the GL side (MeshCache) and drawn with one call, unless they change
// from frame to frame.
class WidgetRenderer : public Renderer
{
public:
    WidgetRenderer();
    ~WidgetRenderer() override;

    void Init() override;
    void Uninit() override;
    void StartDraw() override;
    void EndDraw() override;
    void ResizeWindow(int width, int height) override;
    void LoadTexture(Texture* texture) override;
    void UnloadTexture(Texture* texture) override;
    void SetTransform(const Transform& transform) override;
    void DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                     const QList<QPointF*>& texCoords) override;
    void DrawMesh(ModelObject& mesh, const Transform& transform,
                  const Transform& faceTransform) override;

    const MeshCache& meshCache() const { return m_meshes; }

private:
    MeshCache m_meshes;
};

#endif

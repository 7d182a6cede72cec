#ifndef RENDERER_H
#define RENDERER_H

#include <QList>
#include <QPointF>

class Camera;
class ModelObject;
class PointObject;
class Texture;
class Transform;

// The boundary between the scene graph and the graphics library. Besides the
// drawing interface it keeps a list of cameras that it advances every frame.
class Renderer
{
public:
    Renderer();
    virtual ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    virtual void Init() = 0;
    virtual void Uninit() = 0;
    virtual void StartDraw() = 0;
    virtual void EndDraw() = 0;
    virtual void ResizeWindow(int width, int height) = 0;
    virtual void LoadTexture(Texture* texture) = 0;
    // Replaces (never composes with) the current model transform and colour.
    virtual void SetTransform(const Transform& transform) = 0;
    virtual void DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                             const QList<QPointF*>& texCoords) = 0;
    // Frees what LoadTexture made for the texture on the graphics side, before
    // the texture itself is deleted (a demo taken down to be built again).
    // Renderers that keep nothing per texture leave it as it is.
    virtual void UnloadTexture(Texture* texture);
    // Draws a whole mesh: `transform` is set once, then every face is drawn
    // in order under it (faces hand `faceTransform` on to their children).
    // The default makes exactly those calls; a renderer may draw the mesh
    // at once where the picture is the same.
    virtual void DrawMesh(ModelObject& mesh, const Transform& transform,
                          const Transform& faceTransform);

    void AddCamera(Camera* camera);
    void RemoveCamera(Camera* camera);
    bool UseCamera(int index);
    Camera* getCamera() const;
    void UpdateCameras(float dt);
    const QList<Camera*>& GetCameras() const { return m_cameras; }

protected:
    int m_currentCamera;
    QList<Camera*> m_cameras;
};

#endif

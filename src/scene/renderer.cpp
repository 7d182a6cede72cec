#include "renderer.h"

#include "camera.h"
#include "modelobject.h"

Renderer::Renderer()
    : m_currentCamera(0)
{
}

Renderer::~Renderer()
{
    qDeleteAll(m_cameras);
    m_cameras.clear();
}

void Renderer::AddCamera(Camera* camera)
{
    if (camera)
        m_cameras.append(camera);
}

void Renderer::RemoveCamera(Camera* camera)
{
    if (camera && m_cameras.removeOne(camera))
        delete camera;
}

bool Renderer::UseCamera(int index)
{
    if (index < 0 || index >= m_cameras.size())
        return false;
    m_currentCamera = index;
    return true;
}

Camera* Renderer::getCamera() const
{
    if (m_currentCamera < 0 || m_currentCamera >= m_cameras.size())
        return nullptr;
    return m_cameras.at(m_currentCamera);
}

void Renderer::UpdateCameras(float dt)
{
    const QList<Camera*> cameras = m_cameras;
    for (Camera* camera : cameras)
        camera->Update(dt);
}

void Renderer::UnloadTexture(Texture*)
{
}

void Renderer::DrawMesh(ModelObject& mesh, const Transform& transform,
                        const Transform& faceTransform)
{
    SetTransform(transform);
    mesh.DrawPolygons(this, faceTransform);
}

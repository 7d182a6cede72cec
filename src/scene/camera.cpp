#include "camera.h"

Camera::Camera()
    : WorldObject(nullptr, QString())
{
}

Camera::~Camera() = default;

bool Camera::Update(float dt)
{
    return WorldObject::Update(dt);
}

void Camera::Draw(Renderer*, const Transform&)
{
}

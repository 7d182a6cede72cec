#ifndef CAMERA_H
#define CAMERA_H

#include "worldobject.h"

// A node the renderer keeps in its own list and advances every frame before
// the scene. It never draws; the view itself is fixed in the renderer.
class Camera : public WorldObject
{
public:
    Camera();
    ~Camera() override;

    bool Update(float dt) override;
    void Draw(Renderer* renderer, const Transform& inherited) override;
};

#endif

#ifndef COLORCONTROLLER_H
#define COLORCONTROLLER_H

#include "keyframecontroller.h"

// Moves the node's colour, alpha included (the renderer's additive blending
// turns alpha into brightness); key frames hold a QColor.
class ColorController : public KeyFrameController
{
public:
    ColorController();
    ~ColorController() override;

    using KeyFrameController::AddKeyFrame;
    void AddKeyFrame(int time, float r, float g, float b, float a);

    bool DataUpdate(float dt, KeyFrame* next, float factor) override;
};

#endif

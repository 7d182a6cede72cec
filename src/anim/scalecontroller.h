#ifndef SCALECONTROLLER_H
#define SCALECONTROLLER_H

#include "keyframecontroller.h"

// Moves the node's uniform scale; key frames hold any number.
class ScaleController : public KeyFrameController
{
public:
    ScaleController();
    ~ScaleController() override;

    bool DataUpdate(float dt, KeyFrame* next, float factor) override;
};

#endif

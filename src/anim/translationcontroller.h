#ifndef TRANSLATIONCONTROLLER_H
#define TRANSLATIONCONTROLLER_H

#include "keyframecontroller.h"

#include <QVector3D>

// Moves the node's translation; key frames hold a QVector3D.
class TranslationController : public KeyFrameController
{
public:
    TranslationController();
    ~TranslationController() override;

    using KeyFrameController::AddKeyFrame;
    void AddKeyFrame(int time, float x, float y, float z);
    void AddKeyFrame(int time, const QVector3D& position);

    bool DataUpdate(float dt, KeyFrame* next, float factor) override;

private:
    static float step(float from, float to, float factor);
};

#endif

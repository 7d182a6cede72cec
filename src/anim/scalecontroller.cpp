#include "scalecontroller.h"

#include "worldobject.h"

ScaleController::ScaleController()
    : KeyFrameController(nullptr)
{
}

ScaleController::~ScaleController() = default;

bool ScaleController::DataUpdate(float, KeyFrame* next, float factor)
{
    if (!m_parent || !next->value.canConvert<float>())
        return false;
    const long double target = next->value.value<float>();
    float& scale = m_parent->m_transform.scale;
    scale = float(scale + (target - scale) * factor);
    return false;
}

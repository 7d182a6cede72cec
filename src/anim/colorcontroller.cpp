#include "colorcontroller.h"

#include "colorcomponents.h"

#include "worldobject.h"

#include <QColor>

ColorController::ColorController()
    : KeyFrameController(nullptr)
{
}

ColorController::~ColorController() = default;

void ColorController::AddKeyFrame(int time, float r, float g, float b, float a)
{
    QColor color;
    setRgbaF(color, r, g, b, a);
    KeyFrameController::AddKeyFrame(time, QVariant::fromValue(color));
}

bool ColorController::DataUpdate(float, KeyFrame* next, float factor)
{
    if (!m_parent || !next->value.canConvert<QColor>())
        return false;
    const QColor target = next->value.value<QColor>();
    QColor& color = m_parent->m_transform.color;
    double r, g, b, a, tr, tg, tb, ta;
    readRgbaF(color, &r, &g, &b, &a);
    readRgbaF(target, &tr, &tg, &tb, &ta);
    const double f = factor;
    setRgbaF(color, r + f * (tr - r), g + f * (tg - g), b + f * (tb - b), a + f * (ta - a));
    return false;
}

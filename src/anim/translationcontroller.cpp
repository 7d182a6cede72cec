#include "translationcontroller.h"

#include "worldobject.h"

TranslationController::TranslationController()
    : KeyFrameController(nullptr)
{
}

TranslationController::~TranslationController() = default;

void TranslationController::AddKeyFrame(int time, float x, float y, float z)
{
    AddKeyFrame(time, QVector3D(x, y, z));
}

void TranslationController::AddKeyFrame(int time, const QVector3D& position)
{
    KeyFrameController::AddKeyFrame(time, QVariant::fromValue(position));
}

bool TranslationController::DataUpdate(float, KeyFrame* next, float factor)
{
    // No node to move yet, or a value of the wrong type: leave everything as it
    // is. Only a QVector3D converts to QVector3D under Qt's conversion rules.
    if (!m_parent || !next->value.canConvert<QVector3D>())
        return false;
    const QVector3D target = next->value.value<QVector3D>();
    QVector3D& current = m_parent->m_transform.translation;
    current = QVector3D(step(current.x(), target.x(), factor), step(current.y(), target.y(), factor),
                        step(current.z(), target.z(), factor));
    return false;
}

// Worked out in double and rounded to float once, as the colour and scale
// controllers do: a difference rounded to float first can miss the target
// even when the factor is 1 (7 to 0.3 would land on 0.30000019).
float TranslationController::step(float from, float to, float factor)
{
    return float(from + double(factor) * (double(to) - from));
}

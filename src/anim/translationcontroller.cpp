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
    current.setX(current.x() + float(factor * (target.x() - current.x())));
    current.setY(current.y() + float(factor * (target.y() - current.y())));
    current.setZ(current.z() + float(factor * (target.z() - current.z())));
    return false;
}

#ifndef DEMOTREE_H
#define DEMOTREE_H

// Helpers shared by the demo content tests: reading controllers and key
// frames off a built tree, describing a whole tree for comparison, and
// registering generated images as textures.

#include "colorcontroller.h"
#include "engine.h"
#include "keyframecontroller.h"
#include "materials.h"
#include "modelobject.h"
#include "objectmanager.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "recordingrenderer.h"
#include "texture.h"
#include "worldobject.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector3D>

#include <typeinfo>

template <typename T>
QList<T*> controllersOf(const Object* node)
{
    QList<T*> found;
    if (auto* world = dynamic_cast<const WorldObject*>(node)) {
        for (Controller* controller : world->GetControllers()) {
            if (auto* typed = dynamic_cast<T*>(controller))
                found.append(typed);
        }
    }
    return found;
}

inline QList<int> frameTimes(const KeyFrameController* controller)
{
    QList<int> times;
    for (const KeyFrameController::KeyFrame* frame : controller->GetKeyFrames())
        times.append(frame->time);
    return times;
}

inline QColor frameColor(const KeyFrameController::KeyFrame* frame)
{
    return frame->value.value<QColor>();
}

inline QVector3D frameVector(const KeyFrameController::KeyFrame* frame)
{
    return frame->value.value<QVector3D>();
}

inline WorldObject* childAt(const Object* node, int index)
{
    return dynamic_cast<WorldObject*>(node->GetChildren().at(index));
}

inline Texture* textureOf(const Object* node)
{
    auto* model = dynamic_cast<const ModelObject*>(node);
    if (!model || model->GetPolygons().isEmpty())
        return nullptr;
    return model->GetPolygons().first()->GetTexture();
}

inline QString describeValue(const QVariant& value)
{
    if (value.canConvert<QVector3D>() && value.userType() == QMetaType::QVector3D) {
        const QVector3D v = value.value<QVector3D>();
        return QString("(%1 %2 %3)").arg(v.x()).arg(v.y()).arg(v.z());
    }
    if (value.userType() == QMetaType::QColor)
        return value.value<QColor>().name(QColor::HexArgb);
    return value.toString();
}

inline QString describeTransform(const Transform& t)
{
    const QQuaternion& r = t.rotation;
    return QString("t(%1 %2 %3) r(%4 %5 %6 %7) c%8 s%9")
        .arg(t.translation.x()).arg(t.translation.y()).arg(t.translation.z())
        .arg(r.scalar()).arg(r.x()).arg(r.y()).arg(r.z())
        .arg(t.color.name(QColor::HexArgb)).arg(t.scale);
}

inline void describeController(const Controller* controller, const QString& indent, QStringList& out)
{
    out << indent + QString("controller %1 [%2 %3]")
               .arg(typeid(*controller).name()).arg(controller->GetStart()).arg(controller->GetEnd());
    auto* keyed = dynamic_cast<const KeyFrameController*>(controller);
    if (!keyed)
        return;
    out << indent + QString(" repeat %1").arg(keyed->GetRepeat());
    for (const KeyFrameController::KeyFrame* frame : keyed->GetKeyFrames())
        out << indent + QString(" %1 %2").arg(frame->time).arg(describeValue(frame->value));
}

// One line per node, controller and key frame: two trees built the same way
// describe the same.
inline void describeTree(const Object* node, QStringList& out, const QString& indent = QString())
{
    out << indent + QString("%1 [%2 %3]").arg(node->GetId()).arg(node->GetStart()).arg(node->GetEnd());
    if (auto* world = dynamic_cast<const WorldObject*>(node)) {
        out << indent + " " + describeTransform(world->m_transform);
        for (const Controller* controller : world->GetControllers())
            describeController(controller, indent + " ", out);
    }
    if (auto* model = dynamic_cast<const ModelObject*>(node))
        out << indent + QString(" mesh %1 polygons %2 points").arg(model->NumFaces()).arg(model->GetPoints().size());
    for (const Object* child : node->GetChildren())
        describeTree(child, out, indent + "  ");
}

inline RecordingRenderer* installRecordingRenderer()
{
    auto* renderer = new RecordingRenderer();
    Engine::GetInstance()->SetRenderer(renderer);
    return renderer;
}

// Writes a small image and registers it under `name` through init_texture.
inline Texture* registerGeneratedTexture(const QString& name)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(name + ".png");
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::white);
    image.save(file);
    init_texture(file, name);
    return ObjectManager<Texture>::tm->find_object(name);
}

#endif

#ifndef TRANSFORM_H
#define TRANSFORM_H

#include <QColor>
#include <QMatrix4x4>
#include <QQuaternion>
#include <QVector3D>

// Places, turns, tints and sizes a node. Composition is component-wise:
// translations add, rotations multiply, colours multiply per channel and
// scales multiply, so a parent's rotation never turns a child's offset.
//
// The rotation is a tuple, not a unit quaternion: the scalar is an angle in
// degrees and (x, y, z) the axis, as the renderer applies it with glRotatef.
class Transform
{
public:
    QVector3D translation;
    QQuaternion rotation;   // (angle in degrees, axis x, y, z); (1, 0, 0, 0) rotates nothing
    QColor color;           // invalid until a world node makes it white
    float scale = 1.0f;

    Transform();
    Transform(const Transform& other);
    Transform& operator=(const Transform& other);

    void SetTransform(const QVector3D& t, const QQuaternion& r, const QColor& c, float s);
    void SetTransform(const Transform* other);
    void SetTransform(const Transform& other);

    void SetTranslation(float x, float y, float z);
    void SetRotation(float angle, float x, float y, float z);
    void SetScale(float s);
    void SetColor(float r, float g, float b, float a);

    void AddTranslation(const QVector3D& v);
    void AddRotation(const QQuaternion& q);
    void AddScale(float s);
    void AddColor(const QColor& c);
    void AddTransform(const QVector3D& t, const QQuaternion& r, const QColor& c, float s);
    void AddTransform(const Transform* other);
    void AddTransform(const Transform& other);
    Transform& operator+=(const Transform& other);

    QMatrix4x4 toMatrix() const;
};

Transform operator+(const Transform& a, const Transform& b);
bool operator==(const Transform& a, const Transform& b);
bool operator!=(const Transform& a, const Transform& b);

#endif

#include "transform.h"

#include "colorcomponents.h"

Transform::Transform()
    : rotation(1.0f, 0.0f, 0.0f, 0.0f)
{
}

Transform::Transform(const Transform& other)
{
    SetTransform(other);
}

Transform& Transform::operator=(const Transform& other)
{
    SetTransform(other);
    return *this;
}

void Transform::SetTransform(const QVector3D& t, const QQuaternion& r, const QColor& c, float s)
{
    translation = t;
    rotation = r;
    color = c;
    scale = s;
}

void Transform::SetTransform(const Transform* other)
{
    SetTransform(*other);
}

void Transform::SetTransform(const Transform& other)
{
    SetTransform(other.translation, other.rotation, other.color, other.scale);
}

void Transform::SetTranslation(float x, float y, float z)
{
    translation = QVector3D(x, y, z);
}

void Transform::SetRotation(float angle, float x, float y, float z)
{
    rotation = QQuaternion(angle, x, y, z);
}

void Transform::SetScale(float s)
{
    scale = s;
}

void Transform::SetColor(float r, float g, float b, float a)
{
    setRgbaF(color, r, g, b, a);
}

void Transform::AddTranslation(const QVector3D& v)
{
    translation += v;
}

// The Hamilton product with this rotation on the left, taken literally on the
// (angle, axis) tuples: (20,1,0,0) x (90,1,0,0) = (1799,110,0,0). QQuaternion
// holds floats, so the product is formed in double and stored once.
void Transform::AddRotation(const QQuaternion& q)
{
    const double p0 = rotation.scalar(), p1 = rotation.x(), p2 = rotation.y(), p3 = rotation.z();
    const double q0 = q.scalar(), q1 = q.x(), q2 = q.y(), q3 = q.z();
    rotation = QQuaternion(float(p0 * q0 - p1 * q1 - p2 * q2 - p3 * q3),
                           float(p0 * q1 + p1 * q0 + p2 * q3 - p3 * q2),
                           float(p0 * q2 - p1 * q3 + p2 * q0 + p3 * q1),
                           float(p0 * q3 + p1 * q2 - p2 * q1 + p3 * q0));
}

void Transform::AddScale(float s)
{
    scale *= s;
}

// An invalid colour reads as (0, 0, 0, 1) and so takes part as opaque black.
void Transform::AddColor(const QColor& c)
{
    double r1, g1, b1, a1, r2, g2, b2, a2;
    readRgbaF(color, &r1, &g1, &b1, &a1);
    readRgbaF(c, &r2, &g2, &b2, &a2);
    setRgbaF(color, r1 * r2, g1 * g2, b1 * b2, a1 * a2);
}

void Transform::AddTransform(const QVector3D& t, const QQuaternion& r, const QColor& c, float s)
{
    translation += t;
    AddRotation(r);
    AddColor(c);
    scale *= s;
}

void Transform::AddTransform(const Transform* other)
{
    AddTransform(*other);
}

void Transform::AddTransform(const Transform& other)
{
    AddTransform(other.translation, other.rotation, other.color, other.scale);
}

Transform& Transform::operator+=(const Transform& other)
{
    AddTransform(other);
    return *this;
}

// Reads the rotation as a true quaternion, unlike the renderer.
QMatrix4x4 Transform::toMatrix() const
{
    QMatrix4x4 m;
    m.translate(translation);
    m.rotate(rotation);
    m.scale(scale);
    return m;
}

Transform operator+(const Transform& a, const Transform& b)
{
    Transform sum(a);
    sum.AddTransform(b);
    return sum;
}

bool operator==(const Transform& a, const Transform& b)
{
    const QQuaternion& p = a.rotation;
    const QQuaternion& q = b.rotation;
    return a.scale == b.scale
        && a.translation.x() == b.translation.x()
        && a.translation.y() == b.translation.y()
        && a.translation.z() == b.translation.z()
        && p.scalar() == q.scalar() && p.x() == q.x() && p.y() == q.y() && p.z() == q.z()
        && a.color == b.color;
}

bool operator!=(const Transform& a, const Transform& b)
{
    return !(a == b);
}

#ifndef MESHBUILDER_H
#define MESHBUILDER_H

#include <QColor>
#include <QHash>
#include <QMatrix4x4>
#include <QString>
#include <QStringList>
#include <QVector2D>
#include <QVector3D>

#include <vector>

// A rectangle of a texture atlas: local (s, t) in [0, 1] maps onto it.
struct UvRect
{
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
    QVector2D map(float s, float t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};

// A surface description for the MTL library.
struct Material
{
    QString name;
    QColor diffuse;
    QString texture;         // file name beside the model, or empty
    float specular = 0.2f;   // grey level of Ks
    float shininess = 60.0f; // Ns, 0 to 1000
};

// One profile point of a surface of revolution; the segment from this point
// to the next one is textured with `rect`, wrapped around the axis or, for a
// lid, projected flat from above.
struct LathePoint
{
    LathePoint(float r, float h, const UvRect& uv = {}, bool flat = false)
        : radius(r), height(h), rect(uv), planar(flat) {}
    float radius;
    float height;
    UvRect rect;
    bool planar;
};

// Collects the geometry of one prop and writes it as a Wavefront OBJ file with
// its MTL library. Positions, normals and texture coordinates are shared by
// value, faces are written as "v/vt/vn" triangles or quads, wound
// counter-clockwise as seen from outside with normals pointing outward.
class MeshBuilder
{
public:
    struct Corner { QVector3D position; QVector3D normal; QVector2D uv; };
    struct Triangle { Corner corners[3]; int material; };

    explicit MeshBuilder(const QString& name);

    void addMaterial(const Material& material);
    // Starts the group ("g") whose faces use the named material ("usemtl").
    void beginGroup(const QString& group, const QString& material);
    // Applied to everything added afterwards (normals by its normal matrix).
    void setTransform(const QMatrix4x4& transform) { m_transform = transform; }
    void resetTransform() { m_transform.setToIdentity(); }

    // One planar polygon (3 or 4 corners) with a flat normal.
    void addFlat(const std::vector<QVector3D>& points, const std::vector<QVector2D>& uvs);
    // One polygon with a normal of its own at every corner.
    void addFace(const std::vector<Corner>& corners);
    // An axis-aligned box; every face shows the whole of `rect`.
    void addBox(const QVector3D& min, const QVector3D& max, const UvRect& rect = {});
    // A surface of revolution about the y axis, profile listed bottom to top.
    void addLathe(const std::vector<LathePoint>& profile, int segments);
    // A closed tapered cylinder from `a` to `b`.
    void addTube(const QVector3D& a, const QVector3D& b, float radiusA, float radiusB,
                 int segments, const UvRect& rect = {});
    // An ellipsoid around `centre` with the given half-axes.
    void addEllipsoid(const QVector3D& centre, const QVector3D& radii, int segments, int rings,
                      const UvRect& rect = {});

    int triangleCount() const { return int(m_triangles.size()); }
    const std::vector<Triangle>& triangles() const { return m_triangles; }
    const std::vector<Material>& materials() const { return m_materials; }
    QString name() const { return m_name; }

    QByteArray objText() const;
    QByteArray mtlText() const;

private:
    struct Face { std::vector<int> v, vt, vn; };
    struct Group { QString name; QString material; std::vector<Face> faces; };

    int indexOf(QStringList& list, QHash<QString, int>& lookup, const QString& text);
    int materialIndex(const QString& name) const;
    Corner transformed(const Corner& corner) const;

    QString m_name;
    QMatrix4x4 m_transform;
    std::vector<Material> m_materials;
    std::vector<Group> m_groups;
    std::vector<Triangle> m_triangles;
    QStringList m_positions, m_normals, m_uvs;
    QHash<QString, int> m_positionIndex, m_normalIndex, m_uvIndex;
};

#endif

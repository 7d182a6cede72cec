#include "meshbuilder.h"

#include <QtMath>

namespace {

const float kTwoPi = 6.28318530718f;

// Four decimals in the C locale; "-0.0000" is written as "0.0000" so that the
// sign of a rounding residue never makes two equal values differ.
QString number(float value)
{
    QString text = QString::number(double(value), 'f', 4);
    return text == QLatin1String("-0.0000") ? QStringLiteral("0.0000") : text;
}

QString triple(const QVector3D& v)
{
    return number(v.x()) + ' ' + number(v.y()) + ' ' + number(v.z());
}

QString colour(const QColor& c)
{
    return number(float(c.redF())) + ' ' + number(float(c.greenF())) + ' ' + number(float(c.blueF()));
}

// Drops corners that repeat the one before (collapsed lathe poles).
std::vector<MeshBuilder::Corner> withoutRepeats(const std::vector<MeshBuilder::Corner>& corners)
{
    std::vector<MeshBuilder::Corner> kept;
    for (const auto& corner : corners) {
        if (!kept.empty() && qFuzzyCompare(kept.back().position, corner.position))
            continue;
        kept.push_back(corner);
    }
    while (kept.size() > 1 && qFuzzyCompare(kept.front().position, kept.back().position))
        kept.pop_back();
    return kept;
}

} // namespace

MeshBuilder::MeshBuilder(const QString& name) : m_name(name) {}

void MeshBuilder::addMaterial(const Material& material)
{
    m_materials.push_back(material);
}

void MeshBuilder::beginGroup(const QString& group, const QString& material)
{
    m_groups.push_back({group, material, {}});
}

int MeshBuilder::materialIndex(const QString& name) const
{
    for (size_t i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i].name == name)
            return int(i);
    }
    return -1;
}

int MeshBuilder::indexOf(QStringList& list, QHash<QString, int>& lookup, const QString& text)
{
    auto found = lookup.constFind(text);
    if (found != lookup.constEnd())
        return found.value();
    list.append(text);
    lookup.insert(text, list.size());
    return list.size(); // OBJ indices count from 1
}

MeshBuilder::Corner MeshBuilder::transformed(const Corner& corner) const
{
    const QVector3D normal = m_transform.inverted().transposed().mapVector(corner.normal).normalized();
    return {m_transform.map(corner.position), normal, corner.uv};
}

void MeshBuilder::addFace(const std::vector<Corner>& input)
{
    std::vector<Corner> corners;
    for (const Corner& corner : input)
        corners.push_back(transformed(corner));
    corners = withoutRepeats(corners);
    if (corners.size() < 3 || m_groups.empty())
        return;
    Face face;
    for (const Corner& c : corners) {
        face.v.push_back(indexOf(m_positions, m_positionIndex, triple(c.position)));
        face.vn.push_back(indexOf(m_normals, m_normalIndex, triple(c.normal)));
        face.vt.push_back(indexOf(m_uvs, m_uvIndex, number(c.uv.x()) + ' ' + number(c.uv.y())));
    }
    m_groups.back().faces.push_back(face);
    // The reader splits a polygon into a fan from its first corner; so do we.
    const int material = materialIndex(m_groups.back().material);
    for (size_t k = 2; k < corners.size(); ++k)
        m_triangles.push_back({{corners[0], corners[k - 1], corners[k]}, material});
}

void MeshBuilder::addFlat(const std::vector<QVector3D>& points, const std::vector<QVector2D>& uvs)
{
    const QVector3D normal =
        QVector3D::normal(points[1] - points[0], points[points.size() - 1] - points[0]);
    std::vector<Corner> corners;
    for (size_t i = 0; i < points.size(); ++i)
        corners.push_back({points[i], normal, uvs[i]});
    addFace(corners);
}

void MeshBuilder::addBox(const QVector3D& lo, const QVector3D& hi, const UvRect& r)
{
    const QVector2D uv[4] = {r.map(0, 0), r.map(1, 0), r.map(1, 1), r.map(0, 1)};
    auto face = [&](QVector3D a, QVector3D b, QVector3D c, QVector3D d) {
        addFlat({a, b, c, d}, {uv[0], uv[1], uv[2], uv[3]});
    };
    const float x0 = lo.x(), y0 = lo.y(), z0 = lo.z(), x1 = hi.x(), y1 = hi.y(), z1 = hi.z();
    face({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}); // front  (+z)
    face({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}); // back   (-z)
    face({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}); // right  (+x)
    face({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}); // left   (-x)
    face({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}); // top    (+y)
    face({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}); // bottom (-y)
}

void MeshBuilder::addLathe(const std::vector<LathePoint>& profile, int segments)
{
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const LathePoint& p0 = profile[i];
        const LathePoint& p1 = profile[i + 1];
        // Outward normal of this profile segment in the (radius, height) plane.
        QVector2D n(p1.height - p0.height, -(p1.radius - p0.radius));
        n.normalize();
        const float reach = qMax(qMax(p0.radius, p1.radius), 1e-6f);
        for (int j = 0; j < segments; ++j) {
            std::vector<Corner> quad;
            const int steps[4][2] = {{0, j}, {0, j + 1}, {1, j + 1}, {1, j}};
            for (const auto& step : steps) {
                const LathePoint& p = step[0] ? p1 : p0;
                const float angle = kTwoPi * step[1] / segments;
                const float c = qCos(angle), s = qSin(angle);
                const QVector3D position(p.radius * c, p.height, -p.radius * s);
                const QVector3D normal(n.x() * c, n.y(), -n.x() * s);
                const QVector2D uv = p0.planar
                    ? p0.rect.map(0.5f + position.x() / (2 * reach), 0.5f - position.z() / (2 * reach))
                    : p0.rect.map(float(step[1]) / segments, float(step[0]));
                quad.push_back({position, normal, uv});
            }
            addFace(quad);
        }
    }
}

void MeshBuilder::addTube(const QVector3D& a, const QVector3D& b, float radiusA, float radiusB,
                          int segments, const UvRect& rect)
{
    const QVector3D axis = b - a;
    const float length = axis.length();
    const QVector3D d = axis / length;
    const QVector3D helper = qAbs(d.y()) < 0.9f ? QVector3D(0, 1, 0) : QVector3D(1, 0, 0);
    const QVector3D u = QVector3D::crossProduct(helper, d).normalized();
    const QVector3D w = QVector3D::crossProduct(d, u);
    auto direction = [&](int j) {
        const float angle = kTwoPi * j / segments;
        return u * qCos(angle) + w * qSin(angle);
    };
    for (int j = 0; j < segments; ++j) {
        const QVector3D r0 = direction(j), r1 = direction(j + 1);
        const QVector3D n0 = (r0 * length + d * (radiusA - radiusB)).normalized();
        const QVector3D n1 = (r1 * length + d * (radiusA - radiusB)).normalized();
        const float s0 = float(j) / segments, s1 = float(j + 1) / segments;
        addFace({{a + r0 * radiusA, n0, rect.map(s0, 0)}, {a + r1 * radiusA, n1, rect.map(s1, 0)},
                 {b + r1 * radiusB, n1, rect.map(s1, 1)}, {b + r0 * radiusB, n0, rect.map(s0, 1)}});
        const QVector2D centre = rect.map(0.5f, 0.5f);
        addFace({{b, d, centre}, {b + r0 * radiusB, d, rect.map(s0, 1)}, {b + r1 * radiusB, d, rect.map(s1, 1)}});
        addFace({{a, -d, centre}, {a + r1 * radiusA, -d, rect.map(s1, 0)}, {a + r0 * radiusA, -d, rect.map(s0, 0)}});
    }
}

void MeshBuilder::addEllipsoid(const QVector3D& centre, const QVector3D& radii, int segments,
                               int rings, const UvRect& rect)
{
    auto corner = [&](int ring, int j) {
        const float phi = float(M_PI) * ring / rings; // 0 at the bottom pole
        const float angle = kTwoPi * j / segments;
        const QVector3D unit(qSin(phi) * qCos(angle), -qCos(phi), -qSin(phi) * qSin(angle));
        const QVector3D normal = (unit / radii).normalized();
        return Corner{centre + unit * radii, normal, rect.map(float(j) / segments, float(ring) / rings)};
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int j = 0; j < segments; ++j)
            addFace({corner(ring, j), corner(ring, j + 1), corner(ring + 1, j + 1), corner(ring + 1, j)});
    }
}

QByteArray MeshBuilder::objText() const
{
    QString out;
    out += QStringLiteral("# %1: generated by quenvarix-assetgen\n").arg(m_name);
    out += QStringLiteral("mtllib %1.mtl\n").arg(m_name);
    for (const QString& v : m_positions)
        out += "v " + v + '\n';
    for (const QString& vt : m_uvs)
        out += "vt " + vt + '\n';
    for (const QString& vn : m_normals)
        out += "vn " + vn + '\n';
    for (const Group& group : m_groups) {
        if (group.faces.empty())
            continue;
        out += "g " + group.name + "\nusemtl " + group.material + '\n';
        for (const Face& face : group.faces) {
            out += 'f';
            for (size_t k = 0; k < face.v.size(); ++k)
                out += QStringLiteral(" %1/%2/%3").arg(face.v[k]).arg(face.vt[k]).arg(face.vn[k]);
            out += '\n';
        }
    }
    return out.toUtf8();
}

QByteArray MeshBuilder::mtlText() const
{
    QString out = QStringLiteral("# %1 materials: generated by quenvarix-assetgen\n").arg(m_name);
    for (const Material& m : m_materials) {
        const QColor ambient = QColor::fromRgbF(m.diffuse.redF() * 0.25, m.diffuse.greenF() * 0.25,
                                                m.diffuse.blueF() * 0.25);
        const QColor specular = QColor::fromRgbF(m.specular, m.specular, m.specular);
        out += "\nnewmtl " + m.name + '\n';
        out += "Ka " + colour(ambient) + '\n';
        out += "Kd " + colour(m.diffuse) + '\n';
        out += "Ks " + colour(specular) + '\n';
        out += "Ns " + number(m.shininess) + '\n';
        out += QStringLiteral("d 1.0000\nillum 2\n");
        if (!m.texture.isEmpty())
            out += "map_Kd " + m.texture + '\n';
    }
    return out.toUtf8();
}

#include "meshsnapshot.h"

#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "texture.h"

#include <cstring>
#include <typeinfo>

namespace {

// A face whose Draw is exactly "send my corners": always there, no
// children, not a subclass with a drawing of its own.
bool drawnPlainly(const PolygonObject& polygon)
{
    return polygon.GetStart() == 0 && polygon.GetEnd() == 0 && polygon.GetChildren().isEmpty()
           && typeid(polygon) == typeid(PolygonObject);
}

MeshSnapshot::Face faceOf(const PolygonObject& polygon)
{
    const Texture* texture = polygon.GetTexture();
    return {texture ? texture->GetGlId() : 0u, texture ? 1u : 0u,
            quint32(polygon.GetPoints().size())};
}

void store(const QVector3D& v, float* xyz)
{
    xyz[0] = v.x();
    xyz[1] = v.y();
    xyz[2] = v.z();
}

// Walks the mesh as WidgetRenderer::DrawPolygon would send it, handing each
// face and corner to `sink` (which may stop the walk by returning false).
// The texture coordinate of a corner is the one sent last: a textured corner
// sends its own, if it has one; any other corner reuses the current one.
template <typename Sink> bool walk(const ModelObject& mesh, Sink& sink)
{
    MeshSnapshot::Corner corner = {};
    bool texCoordKnown = false;
    bool usedUnknown = false;  // a corner relied on a coordinate from before the mesh
    for (const PolygonObject* polygon : mesh.GetPolygons()) {
        if (!drawnPlainly(*polygon) || !sink.face(faceOf(*polygon)))
            return false;
        const QList<QPointF*>& coords = polygon->GetTexCoords();
        const bool textured = polygon->GetTexture() != nullptr;
        int i = 0;
        for (const PointObject* point : polygon->GetPoints()) {
            if (textured && i < coords.size()) {
                if (usedUnknown)
                    return false;
                corner.texCoord[0] = float(coords.at(i)->x());
                corner.texCoord[1] = float(coords.at(i)->y());
                texCoordKnown = true;
            } else {
                usedUnknown = usedUnknown || !texCoordKnown;
            }
            store(point->m_normal, corner.normal);
            store(point->m_transform.translation, corner.position);
            if (!sink.corner(corner))
                return false;
            ++i;
        }
    }
    return sink.end(texCoordKnown);
}

struct Recorder
{
    std::vector<MeshSnapshot::Corner>& corners;
    std::vector<MeshSnapshot::Face>& faces;
    bool& textured;

    bool face(const MeshSnapshot::Face& face) { faces.push_back(face); return true; }
    bool corner(const MeshSnapshot::Corner& corner) { corners.push_back(corner); return true; }
    bool end(bool texCoordSent) { textured = texCoordSent; return true; }
};

// Bitwise comparison: -0 and 0 differ, a NaN equals itself, as on the GL side.
template <typename T> bool sameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

struct Comparer
{
    const MeshSnapshot& snapshot;
    std::size_t nextFace = 0;
    std::size_t nextCorner = 0;

    bool face(const MeshSnapshot::Face& face)
    {
        return nextFace < snapshot.faces().size() && sameBits(face, snapshot.faces()[nextFace++]);
    }
    bool corner(const MeshSnapshot::Corner& corner)
    {
        return nextCorner < snapshot.corners().size()
               && sameBits(corner, snapshot.corners()[nextCorner++]);
    }
    bool end(bool texCoordSent)
    {
        return nextFace == snapshot.faces().size() && nextCorner == snapshot.corners().size()
               && texCoordSent == snapshot.textured();
    }
};

template <typename T> bool sameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

// FNV-1a over the bytes.
std::size_t hashBytes(const void* data, std::size_t size, std::size_t hash)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

}  // namespace

bool MeshSnapshot::capture(const ModelObject& mesh)
{
    m_corners.clear();
    m_faces.clear();
    m_textured = false;
    Recorder recorder{m_corners, m_faces, m_textured};
    return walk(mesh, recorder);
}

bool MeshSnapshot::matches(const ModelObject& mesh) const
{
    Comparer comparer{*this};
    return walk(mesh, comparer);
}

std::size_t MeshSnapshot::hash() const
{
    std::size_t hash = m_textured ? 14695981039346656037ull : 1469598103934665603ull;
    hash = hashBytes(m_faces.data(), m_faces.size() * sizeof(Face), hash);
    return hashBytes(m_corners.data(), m_corners.size() * sizeof(Corner), hash);
}

bool MeshSnapshot::operator==(const MeshSnapshot& other) const
{
    return m_textured == other.m_textured && sameBits(m_faces, other.m_faces)
           && sameBits(m_corners, other.m_corners);
}

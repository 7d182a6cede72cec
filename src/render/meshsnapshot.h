#ifndef MESHSNAPSHOT_H
#define MESHSNAPSHOT_H

#include <QtGlobal>

#include <cstddef>
#include <vector>

class ModelObject;

// What a mesh hands the graphics library when it is drawn face by face:
// every corner as sent (normal, current texture coordinate, position) and
// every face's texture and corner count, in drawing order. Meshes with equal
// snapshots draw the same picture under the same transform; that is what
// lets a renderer keep a mesh on the GL side and share it between copies.
class MeshSnapshot
{
public:
    struct Corner
    {
        float normal[3];
        float texCoord[2];  // the texture coordinate current at this corner
        float position[3];
    };
    struct Face
    {
        quint32 texture;   // GL texture id, when textured
        quint32 textured;  // 0 or 1: an untextured face keeps the last binding
        quint32 corners;
    };

    // False when the mesh cannot be drawn from a snapshot: a face that has a
    // time window, children or a drawing of its own, or that depends on a
    // texture coordinate sent before the mesh (an untextured face ahead of
    // the first textured one).
    bool capture(const ModelObject& mesh);
    // True when drawing `mesh` face by face would send exactly this.
    bool matches(const ModelObject& mesh) const;

    // Corners carry texture coordinates: some face is textured.
    bool textured() const { return m_textured; }
    const std::vector<Corner>& corners() const { return m_corners; }
    const std::vector<Face>& faces() const { return m_faces; }

    std::size_t hash() const;
    bool operator==(const MeshSnapshot& other) const;

private:
    std::vector<Corner> m_corners;
    std::vector<Face> m_faces;
    bool m_textured = false;
};

#endif

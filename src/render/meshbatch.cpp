#include "meshbatch.h"

#include <GL/gl.h>

#include <utility>

namespace {

// Sends faces as immediate mode would, but keeps consecutive triangles in
// one glBegin(GL_TRIANGLES) and binds a texture only when it changes.
// Faces of other sizes keep their own GL_POLYGON; faces of fewer than
// three corners draw nothing, but their texture is still bound, as it would
// be face by face.
class FaceSender
{
public:
    explicit FaceSender(bool texCoords) : m_texCoords(texCoords) {}

    void face(const MeshSnapshot::Face& face, const MeshSnapshot::Corner* corners)
    {
        if (face.textured)
            bind(face.texture);
        if (face.corners == 3)
            return triangle(corners);
        if (face.corners < 3)
            return;
        begin(GL_POLYGON);
        for (quint32 i = 0; i < face.corners; ++i)
            send(corners[i]);
        end();
    }

    void finish() { end(); }

private:
    // Mesa turns a three-cornered GL_POLYGON into the triangle (1, 2, 0);
    // sent in that order, the rasteriser interpolates from the same corner
    // and the pixels come out exactly as face by face. (In (0, 1, 2) order
    // a few edge pixels differ by a count or two.)
    void triangle(const MeshSnapshot::Corner* corners)
    {
        begin(GL_TRIANGLES);
        send(corners[1]);
        send(corners[2]);
        send(corners[0]);
    }
    void bind(quint32 texture)
    {
        if (m_bound && m_texture == texture)
            return;
        end();
        glBindTexture(GL_TEXTURE_2D, texture);
        m_bound = true;
        m_texture = texture;
    }
    void begin(GLenum mode)
    {
        if (m_open && m_mode == GL_TRIANGLES && mode == GL_TRIANGLES)
            return;
        end();
        glBegin(mode);
        m_open = true;
        m_mode = mode;
    }
    void end()
    {
        if (m_open)
            glEnd();
        m_open = false;
    }
    void send(const MeshSnapshot::Corner& corner)
    {
        glNormal3fv(corner.normal);
        if (m_texCoords)
            glTexCoord2fv(corner.texCoord);
        glVertex3fv(corner.position);
    }

    const bool m_texCoords;
    bool m_open = false;
    GLenum m_mode = GL_TRIANGLES;
    bool m_bound = false;
    quint32 m_texture = 0;
};

}  // namespace

MeshBatch::MeshBatch(MeshSnapshot snapshot)
    : m_snapshot(std::move(snapshot))
{
}

MeshBatch::~MeshBatch()
{
    if (m_list != 0)
        glDeleteLists(m_list, 1);
}

void MeshBatch::compile()
{
    if (m_list == 0)
        m_list = glGenLists(1);
    if (m_list == 0)  // no context, or out of list names
        return;
    glNewList(m_list, GL_COMPILE);
    sendFaces();
    glEndList();
}

void MeshBatch::draw() const
{
    glCallList(m_list);
}

void MeshBatch::sendFaces() const
{
    FaceSender sender(m_snapshot.textured());
    const MeshSnapshot::Corner* corners = m_snapshot.corners().data();
    for (const MeshSnapshot::Face& face : m_snapshot.faces()) {
        sender.face(face, corners);
        corners += face.corners;
    }
    sender.finish();
    // The coordinate current after the last corner, which may belong to a
    // face too small to draw: the next untextured mesh samples with it.
    if (m_snapshot.textured() && !m_snapshot.corners().empty())
        glTexCoord2fv(m_snapshot.corners().back().texCoord);
}

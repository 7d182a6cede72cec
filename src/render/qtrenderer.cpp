#include "qtrenderer.h"

#include "colorcomponents.h"
#include "meshbatch.h"
#include "pointobject.h"
#include "texture.h"
#include "transform.h"

#include <QImage>

#include <malloc.h>

#include <GL/gl.h>
#include <GL/glu.h>

WidgetRenderer::WidgetRenderer() = default;

WidgetRenderer::~WidgetRenderer() = default;

namespace {

// Mesa's software rasteriser allocates and frees vertex buffers of a hundred
// kilobytes and more for every draw. By default glibc hands each freed one
// back to the kernel and faults fresh pages in for the next (some 1200
// faults a frame with the 50 cogwheels, and a fault is dear on a virtual
// machine); keep such buffers in the heap instead.
void keepDriverBuffersInHeap()
{
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
}

}  // namespace

void WidgetRenderer::Init()
{
    keepDriverBuffersInHeap();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_DEPTH_TEST);  // draw order alone decides what covers what
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);

    const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 0.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[] = {1.0f, 1.0f, 0.0f, 1.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();  // the light sits at (1, 1, 0) in eye space
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void WidgetRenderer::Uninit()
{
}

void WidgetRenderer::StartDraw()
{
    m_meshes.frameStarted();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void WidgetRenderer::EndDraw()
{
}

void WidgetRenderer::ResizeWindow(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(width) / double(height), double(0.1f), 3000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void WidgetRenderer::LoadTexture(Texture* texture)
{
    const QImage* image = texture ? texture->GetImage() : nullptr;
    if (!image || image->isNull())
        return;
    // The upload reads four bytes a pixel; anything narrower would be read
    // past its end.
    if (image->depth() != 32) {
        qWarning("texture image of %d bits per pixel converted to the GL layout before upload",
                 image->depth());
        texture->convertToGl();
        image = texture->GetImage();
    }
    UnloadTexture(texture);  // a second upload replaces the first
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Internal format 3: the alpha channel is dropped; on screen transparency
    // comes only from the node colour.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width(), image->height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image->constBits());
    texture->SetGlId(name);
}

void WidgetRenderer::UnloadTexture(Texture* texture)
{
    if (!texture || texture->GetStatus() != Texture::Uploaded)
        return;
    const GLuint name = texture->GetGlId();
    glDeleteTextures(1, &name);
}

// The rotation is read as (angle in degrees, axis), not as a unit quaternion.
void WidgetRenderer::SetTransform(const Transform& t)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(t.translation.x(), t.translation.y(), t.translation.z());
    const QQuaternion& r = t.rotation;
    // glRotatef normalises the axis; a zero axis would divide by zero, and
    // every default node has one, so it is skipped: nothing to rotate about.
    if (r.x() != 0.0f || r.y() != 0.0f || r.z() != 0.0f)
        glRotatef(r.scalar(), r.x(), r.y(), r.z());
    glScalef(t.scale, t.scale, t.scale);
    double red, green, blue, alpha;
    rgbaF(t.color, &red, &green, &blue, &alpha);
    glColor4f(GLfloat(red), GLfloat(green), GLfloat(blue), GLfloat(alpha));
}

void WidgetRenderer::DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                                 const QList<QPointF*>& texCoords)
{
    if (texture)
        glBindTexture(GL_TEXTURE_2D, texture->GetGlId());
    glBegin(GL_POLYGON);
    for (int i = 0; i < points.size(); ++i) {
        const PointObject* point = points.at(i);
        glNormal3f(point->m_normal.x(), point->m_normal.y(), point->m_normal.z());
        // A corner without its coordinate reuses the last one sent rather
        // than reading past the list.
        if (texture && i < texCoords.size())
            glTexCoord2f(GLfloat(texCoords.at(i)->x()), GLfloat(texCoords.at(i)->y()));
        const QVector3D& v = point->m_transform.translation;
        glVertex3f(v.x(), v.y(), v.z());
    }
    glEnd();
}

void WidgetRenderer::DrawMesh(ModelObject& mesh, const Transform& transform,
                              const Transform& faceTransform)
{
    const MeshBatch* batch = m_meshes.batchFor(mesh);
    if (!batch)
        return Renderer::DrawMesh(mesh, transform, faceTransform);
    SetTransform(transform);
    batch->draw();
}

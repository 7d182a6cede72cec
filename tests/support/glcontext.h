#ifndef GLCONTEXT_H
#define GLCONTEXT_H

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

// A current OpenGL context with a colour + depth framebuffer of the given
// size, for tests that drive the real renderer (Mesa llvmpipe under Xvfb).
class GlContext
{
public:
    GlContext(int width, int height);
    ~GlContext();

    bool isValid() const { return m_valid; }
    // The framebuffer as an image, top row first.
    QImage grab() const;

private:
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    bool m_valid = false;
};

#endif

#ifndef OFFSCREENTARGET_H
#define OFFSCREENTARGET_H

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// An OpenGL 1.x-capable context with no window, drawing into a framebuffer
// object of a fixed size, and the readback of what was drawn. While it
// exists the context is current and the framebuffer bound, so plain GL calls
// (the WidgetRenderer's) land in it. Needs a QGuiApplication.
class OffscreenTarget
{
public:
    OffscreenTarget();
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // False with a message in `error` when no context or framebuffer can be made.
    bool create(const QSize& size, QString* error);
    // Makes the context current and binds the framebuffer again.
    bool makeCurrent();

    QSize size() const { return m_size; }
    // The framebuffer as shown on screen: opaque RGBX8888, top row first.
    // The image is reused by the next read(); copy it to keep it longer.
    const QImage& read();
    // GL_RENDERER of the context, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)".
    QString rendererName() const;

private:
    bool createContext(QString* error);
    bool createFramebuffer(QString* error);

    QSize m_size;
    std::vector<quint32> m_upsideDown;  // as GL hands it over, bottom row first
    QImage m_frame;
    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_framebuffer;
};

#endif

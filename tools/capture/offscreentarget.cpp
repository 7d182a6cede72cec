#include "offscreentarget.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QtEndian>

#include <GL/gl.h>


namespace {
// What the player's OpenGL widget gets by default, plus the depth buffer
// that StartDraw clears: a compatibility context for the fixed pipeline.
QSurfaceFormat fixedPipelineFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    format.setSamples(0);  // no multisampling: frames must be reproducible
    return format;
}
}  // namespace

OffscreenTarget::OffscreenTarget() = default;

OffscreenTarget::~OffscreenTarget()
{
    // The framebuffer is a GL object: it goes while its context is current.
    if (m_context && m_surface)
        m_context->makeCurrent(m_surface.get());
    m_framebuffer.reset();
    if (m_context)
        m_context->doneCurrent();
}

bool OffscreenTarget::create(const QSize& size, QString* error)
{
    m_size = size;
    return createContext(error) && createFramebuffer(error);
}

bool OffscreenTarget::createContext(QString* error)
{
    const QString platform = QGuiApplication::platformName();
    m_context.reset(new QOpenGLContext());
    m_context->setFormat(fixedPipelineFormat());
    m_surface.reset(new QOffscreenSurface());
    m_surface->setFormat(m_context->format());
    m_surface->create();
    if (!m_context->create() || !m_surface->isValid()
        || !m_context->makeCurrent(m_surface.get())) {
        *error = QStringLiteral("cannot create an offscreen OpenGL context on the '%1' "
                                "platform; run under X (or xvfb-run)")
                     .arg(platform);
        return false;
    }
    return true;
}

bool OffscreenTarget::createFramebuffer(QString* error)
{
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setSamples(0);
    m_framebuffer.reset(new QOpenGLFramebufferObject(m_size, format));
    if (!m_framebuffer->isValid() || !m_framebuffer->bind()) {
        *error = QStringLiteral("cannot create a %1x%2 OpenGL framebuffer")
                     .arg(m_size.width())
                     .arg(m_size.height());
        return false;
    }
    return true;
}

bool OffscreenTarget::makeCurrent()
{
    return m_context && m_context->makeCurrent(m_surface.get()) && m_framebuffer->bind();
}

const QImage& OffscreenTarget::read()
{
    // Both buffers are kept from frame to frame: fresh 3.7 MB ones would
    // cost page faults on every frame, more than the readback itself.
    const int width = m_size.width(), height = m_size.height();
    m_upsideDown.resize(size_t(width) * size_t(height));
    if (m_frame.size() != m_size)
        m_frame = QImage(m_size, QImage::Format_RGBX8888);
    // Four bytes a pixel in the framebuffer's own order: a plain copy for
    // the driver, where packed RGB would be converted pixel by pixel.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, m_upsideDown.data());
    // GL's first row is the bottom one. The alpha channel holds what
    // blending left there; the frame is opaque, as it is on screen.
    const quint32 opaque = qToLittleEndian<quint32>(0xff000000u);
    for (int y = 0; y < height; ++y) {
        const quint32* from = m_upsideDown.data() + size_t(height - 1 - y) * size_t(width);
        auto* to = reinterpret_cast<quint32*>(m_frame.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x] | opaque;
    }
    return m_frame;
}

QString OffscreenTarget::rendererName() const
{
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name ? QString::fromLatin1(name) : QString();
}

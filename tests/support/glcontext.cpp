#include "glcontext.h"

GlContext::GlContext(int width, int height)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    m_surface.setFormat(format);
    m_surface.create();
    m_context.setFormat(format);
    if (!m_context.create() || !m_context.makeCurrent(&m_surface))
        return;
    m_fbo = std::make_unique<QOpenGLFramebufferObject>(
        width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
    m_valid = m_fbo->isValid() && m_fbo->bind();
}

GlContext::~GlContext()
{
    if (m_fbo)
        m_fbo->release();
    m_fbo.reset();
    m_context.doneCurrent();
}

QImage GlContext::grab() const
{
    return m_fbo ? m_fbo->toImage() : QImage();
}

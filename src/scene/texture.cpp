#include "texture.h"

#include <QGLWidget>
#include <QImage>

Texture::Texture(QImage* image)
    : m_image(image), m_glId(0), m_status(ImageOnly)
{
}

Texture::~Texture()
{
    delete m_image;
}

void Texture::SetImage(QImage* image)
{
    if (!image || image == m_image)
        return;
    delete m_image;
    m_image = image;
}

void Texture::convertToGl()
{
    if (m_image)
        *m_image = QGLWidget::convertToGLFormat(*m_image);
    m_status = Converted;
}

void Texture::SetGlId(unsigned int id)
{
    m_glId = id;
    m_status = Uploaded;
}

#include "texture.h"

#include <QImage>

#include <utility>

namespace {

// An ARGB32 pixel as GL's RGBA bytes: red, green, blue, alpha in memory.
inline quint32 toGlRgba(quint32 argb)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // B, G, R, A in memory: red and blue swap.
    return ((argb << 16) & 0xff0000) | ((argb >> 16) & 0xff) | (argb & 0xff00ff00);
#else
    // A, R, G, B in memory: alpha moves to the end.
    return (argb << 8) | (argb >> 24);
#endif
}

// Turns an image upside down (GL's first row is the bottom one) and into
// GL's byte order in its own buffer, labelled ARGB32 as before. Working in
// place spares two fresh image-sized buffers (and the page faults on them,
// which made this the slowest step of start-up).
void convertToGlInPlace(QImage& image)
{
    image = std::move(image).convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    for (int top = 0, bottom = image.height() - 1; top <= bottom; ++top, --bottom) {
        auto* upper = reinterpret_cast<quint32*>(image.scanLine(top));
        auto* lower = reinterpret_cast<quint32*>(image.scanLine(bottom));
        for (int x = 0; x < width; ++x) {
            const quint32 pixel = upper[x];
            upper[x] = toGlRgba(lower[x]);
            if (lower != upper)
                lower[x] = toGlRgba(pixel);
        }
    }
}

}  // namespace

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
        convertToGlInPlace(*m_image);
    m_status = Converted;
}

void Texture::SetGlId(unsigned int id)
{
    m_glId = id;
    m_status = Uploaded;
}

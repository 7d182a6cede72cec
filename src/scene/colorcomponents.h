#ifndef COLORCOMPONENTS_H
#define COLORCOMPONENTS_H

#include <QColor>
#include <QRgba64>
#include <QtGlobal>

// The colour arithmetic works in double on the colour's 16 bits a channel:
// the toolkit's own float accessors would round differently, and a colour
// one step off in 65535 can change a pixel of the picture.

// Red, green, blue and alpha of `color` in [0, 1], read as they are stored.
inline void rgbaF(const QColor& color, double* r, double* g, double* b, double* a)
{
    const QRgba64 stored = color.rgba64();
    *r = stored.red() / 65535.0;
    *g = stored.green() / 65535.0;
    *b = stored.blue() / 65535.0;
    *a = stored.alpha() / 65535.0;
}

// As rgbaF, except that an invalid colour reads as opaque black (0, 0, 0, 1):
// as stored it has alpha 0, which would make every product with a default
// colour, and every fade from one, transparent.
inline void readRgbaF(const QColor& color, double* r, double* g, double* b, double* a)
{
    if (!color.isValid()) {
        *r = *g = *b = 0.0;
        *a = 1.0;
        return;
    }
    rgbaF(color, r, g, b, a);
}

// Sets `color` from components in [0, 1] (values outside are clamped).
inline void setRgbaF(QColor& color, double r, double g, double b, double a)
{
    const auto channel = [](double value) {
        return quint16(qRound(qBound(0.0, value, 1.0) * 65535.0));
    };
    color.setRgba64(qRgba64(channel(r), channel(g), channel(b), channel(a)));
}

#endif

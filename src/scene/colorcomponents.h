#ifndef COLORCOMPONENTS_H
#define COLORCOMPONENTS_H

#include <QColor>

// Red, green, blue and alpha of `color` in [0, 1]. An invalid colour reads as
// opaque black (0, 0, 0, 1): Qt 5's getRgbF gives it alpha 0, which would make
// every product with a default colour, and every fade from one, transparent.
inline void readRgbaF(const QColor& color, qreal* r, qreal* g, qreal* b, qreal* a)
{
    if (!color.isValid()) {
        *r = *g = *b = 0.0;
        *a = 1.0;
        return;
    }
    color.getRgbF(r, g, b, a);
}

#endif

#ifndef PAINTKIT_H
#define PAINTKIT_H

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;
class ValueNoise;

// Small drawing helpers shared by the texture and caption painters.
namespace paintkit {

// A DejaVu face read straight from its TTF file (never from the system font
// configuration), at a pixel size, without hinting. Returns a default font and
// prints why when the file is missing.
QFont dejavu(const QString& fileName, int pixelSize);
// The outline of `text` with its bounding box centred on `centre`.
QPainterPath centredText(const QString& text, const QFont& font, const QPointF& centre);
// Scales `path` about its centre so that it fits `width` wide.
QPainterPath fittedToWidth(const QPainterPath& path, qreal width);

// Blends every pixel between `dark` and `light` by fractal noise.
void fillNoise(QImage& image, const ValueNoise& noise, const QColor& dark, const QColor& light,
               int octaves, int frequency, double contrast = 1.0);
// Multiplies the image by noise stretched along x (brushed metal, wood grain).
void streak(QImage& image, const ValueNoise& noise, double strength, int frequencyX, int frequencyY);
// A dome-headed rivet or bolt with a highlight towards the light (upper right).
void rivet(QPainter& painter, const QPointF& centre, qreal radius, const QColor& base);
// Diagonal warning stripes of two colours clipped to `rect`.
void hazardStripes(QPainter& painter, const QRectF& rect, const QColor& a, const QColor& b, qreal width);
// Lighter top-left and darker bottom-right edges: a raised panel.
void bevel(QPainter& painter, const QRectF& rect, qreal width, int strength);
// Draws `count` short random scratches in `colour` over the whole image.
void scratches(QPainter& painter, const QSize& size, unsigned seed, int count, const QColor& colour);

} // namespace paintkit

#endif

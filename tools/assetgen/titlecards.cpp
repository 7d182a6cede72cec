#include "titlecards.h"

#include "paintkit.h"
#include "rng.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

using namespace paintkit;

namespace titlecards {

namespace {

const int kTitleSize = 1024;
const int kCaptionSize = 512;
const int kIconSize = 512;

// A faint floor grid in perspective below the horizon of a square picture.
void horizonGrid(QPainter& p, qreal size, qreal horizon, qreal rayWidth = 1.6, qreal lineWidth = 1.4)
{
    const QPointF vanish(size / 2.0, horizon);
    for (int i = -14; i <= 14; ++i) {
        const qreal alpha = 120 - qAbs(i) * 6;
        p.setPen(QPen(QColor(40, 170, 255, int(alpha)), rayWidth));
        p.drawLine(vanish, QPointF(size / 2.0 + i * 140 * size / 1024, size));
    }
    for (int k = 1; k < 12; ++k) {
        const qreal y = horizon + (size - horizon) * qPow(k / 11.0, 2.2);
        p.setPen(QPen(QColor(40, 170, 255, 30 + k * 8), lineWidth));
        p.drawLine(QPointF(0, y), QPointF(size, y));
    }
}

// A dial of 46 ticks, one per second of the demo, around the centre.
void dial(QPainter& p, const QPointF& centre, qreal radius)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 60, 190, 150), 3));
    p.drawArc(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), 200 * 16, 140 * 16);
    p.drawArc(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), 20 * 16, 140 * 16);
    for (int i = 0; i < 46; ++i) {
        const qreal angle = 2 * M_PI * i / 46 - M_PI / 2;
        const QPointF dir(qCos(angle), qSin(angle));
        const qreal length = i % 5 == 0 ? 34 : 16;
        p.setPen(QPen(QColor(120, 220, 255, i % 5 == 0 ? 220 : 120), i % 5 == 0 ? 4 : 2));
        p.drawLine(centre + dir * (radius + 12), centre + dir * (radius + 12 + length));
    }
}

// Wire-frame cube in a simple oblique projection.
void cube(QPainter& p, const QPointF& at, qreal edge, const QColor& colour)
{
    const QPointF depth(edge * 0.45, -edge * 0.35);
    const QRectF front(at, QSizeF(edge, edge));
    p.setPen(QPen(colour, 3));
    p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 40));
    p.drawRect(front);
    QPolygonF top, side;
    top << front.topLeft() << front.topLeft() + depth << front.topRight() + depth << front.topRight();
    side << front.topRight() << front.topRight() + depth << front.bottomRight() + depth << front.bottomRight();
    p.drawPolygon(top);
    p.drawPolygon(side);
}

// Glowing text: wide translucent strokes under a gradient fill.
void glowingText(QPainter& p, const QPainterPath& path, const QColor& glow)
{
    for (int i = 6; i >= 1; --i) {
        QColor c = glow;
        c.setAlpha(18 + (6 - i) * 6);
        p.setPen(QPen(c, i * 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    const QRectF box = path.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(0.55, QColor(190, 240, 255));
    fill.setColorAt(1.0, QColor(90, 190, 255));
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(fill);
    p.drawPath(path);
}

} // namespace

QImage titleScreen()
{
    QImage image(kTitleSize, kTitleSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kTitleSize / 2.0, 450);
    QRadialGradient halo(centre, 420);
    halo.setColorAt(0.0, QColor(30, 60, 120));
    halo.setColorAt(1.0, QColor(0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, 420, 420);
    p.setCompositionMode(QPainter::CompositionMode_Plus); // lines glow over the halo
    horizonGrid(p, kTitleSize, 640);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    dial(p, centre, 330);
    Rng stars(91);
    for (int i = 0; i < 160; ++i) {
        const int v = stars.range(60, 255);
        const QPointF at(stars.uniform(0, kTitleSize), stars.uniform(0, 600));
        p.setBrush(QColor(v, v, 255));
        p.drawEllipse(at, 1.2, 1.2);
    }
    cube(p, {110, 200}, 90, QColor(80, 200, 255));
    cube(p, {840, 720}, 70, QColor(255, 80, 200));
    cube(p, {170, 700}, 50, QColor(255, 200, 80));
    const QPainterPath name = fittedToWidth(
        centredText("QUENVARIX", dejavu("DejaVuSans-Bold.ttf", 150), centre), 860);
    glowingText(p, name, QColor(60, 160, 255));
    // A bar under the name, then the tagline and a line of small print.
    QLinearGradient bar(80, 0, 944, 0);
    bar.setColorAt(0.0, QColor(0, 0, 0));
    bar.setColorAt(0.5, QColor(255, 70, 200));
    bar.setColorAt(1.0, QColor(0, 0, 0));
    p.fillRect(QRectF(80, 560, 864, 6), bar);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 240, 255));
    p.drawPath(centredText("FORTY-SIX SECONDS OF REAL TIME", dejavu("DejaVuSansCondensed-Bold.ttf", 44),
                           {kTitleSize / 2.0, 618}));
    p.setBrush(QColor(150, 200, 255));
    p.drawPath(centredText("boxes  \u00b7  cogwheels  \u00b7  props  \u00b7  one clock",
                           dejavu("DejaVuSans.ttf", 28), {kTitleSize / 2.0, 890}));
    return image;
}

// The title screen in brief, legible at 48 pixels: its halo, grid and dial on
// a rounded black tile, and the glowing initial in place of the name.
QImage appIcon()
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(16, 16, kIconSize - 32, kIconSize - 32), 96, 96);
    p.fillPath(tile, Qt::black);
    p.setClipPath(tile);
    const QPointF centre(kIconSize / 2.0, 236);
    QRadialGradient halo(centre, 250);
    halo.setColorAt(0.0, QColor(30, 60, 120));
    halo.setColorAt(1.0, QColor(0, 0, 0));
    p.fillRect(image.rect(), halo);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    horizonGrid(p, kIconSize, 350, 4, 3.5);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    dial(p, centre, 150);
    const QPainterPath initial = centredText("Q", dejavu("DejaVuSans-Bold.ttf", 280), centre);
    glowingText(p, initial, QColor(60, 160, 255));
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 200, 255, 160), 6));
    p.drawPath(tile);
    return image;
}

QImage caption(const QString& word)
{
    QImage image(kCaptionSize, kCaptionSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kCaptionSize / 2.0, kCaptionSize / 2.0);
    QPainterPath text = centredText(word, dejavu("DejaVuSans-Bold.ttf", 120), centre);
    if (text.boundingRect().width() > 440)
        text = fittedToWidth(text, 440);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(text);
    // Two thin rules frame the word.
    const QRectF box = text.boundingRect();
    p.fillRect(QRectF(box.left(), box.top() - 30, box.width() * 0.35, 5), Qt::white);
    p.fillRect(QRectF(box.right() - box.width() * 0.35, box.bottom() + 25, box.width() * 0.35, 5), Qt::white);
    return image;
}

} // namespace titlecards

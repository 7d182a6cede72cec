#include "materialtextures.h"

#include "paintkit.h"
#include "rng.h"
#include "valuenoise.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

using namespace paintkit;

namespace materialtextures {

namespace {

const int kSize = 512;

QImage blank() { return QImage(kSize, kSize, QImage::Format_RGB32); }

// Image rectangle of the atlas region u0..u1, v0..v1 (v counts upward, as in
// the texture coordinates of the models; image rows count downward).
QRectF region(double u0, double v0, double u1, double v1)
{
    return QRectF(u0 * kSize, (1.0 - v1) * kSize, (u1 - u0) * kSize, (v1 - v0) * kSize);
}

void stencil(QPainter& p, const QString& text, const QFont& font, const QPointF& centre, const QColor& colour)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(centredText(text, font, centre));
    p.restore();
}

void crateRivets(QPainter& p, const QRectF& r, qreal inset, int perSide, const QColor& colour)
{
    for (int i = 0; i <= perSide; ++i) {
        const qreal f = qreal(i) / perSide;
        const qreal x = r.left() + inset + (r.width() - 2 * inset) * f;
        const qreal y = r.top() + inset + (r.height() - 2 * inset) * f;
        rivet(p, {x, r.top() + inset}, 6, colour);
        rivet(p, {x, r.bottom() - inset}, 6, colour);
        if (i > 0 && i < perSide) {
            rivet(p, {r.left() + inset, y}, 6, colour);
            rivet(p, {r.right() - inset, y}, 6, colour);
        }
    }
}

} // namespace

QImage box()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(11, 8), QColor(150, 156, 164), QColor(214, 220, 226), 5, 1, 1.4);
    streak(image, ValueNoise(12, 16), 0.12, 1, 2);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0, 0, kSize, kSize);
    const QRectF inner = outer.adjusted(56, 56, -56, -56);
    // Frame and a recessed centre panel with a diagonal brace.
    bevel(p, outer.adjusted(6, 6, -6, -6), 10, 110);
    p.fillRect(inner, QColor(120, 128, 140, 110));
    bevel(p, inner, 8, 120);
    p.setPen(QPen(QColor(225, 230, 236), 34, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(inner.topLeft() + QPointF(22, 22), inner.bottomRight() - QPointF(22, 22));
    p.setPen(QPen(QColor(90, 96, 106, 160), 4));
    p.drawLine(inner.topLeft() + QPointF(34, 10), inner.bottomRight() - QPointF(10, 34));
    crateRivets(p, outer, 28, 6, QColor(180, 186, 194));
    // A stencilled label plate and warning stripes on the lower frame.
    const QRectF plate(inner.right() - 170, inner.top() + 24, 146, 62);
    p.fillRect(plate, QColor(236, 238, 240));
    p.setPen(QPen(QColor(60, 64, 72), 3));
    p.drawRect(plate);
    stencil(p, QStringLiteral("QVX-04"), dejavu("DejaVuSansMono-Bold.ttf", 30), plate.center(), QColor(40, 44, 52));
    hazardStripes(p, QRectF(inner.left(), inner.bottom() - 44, 150, 30), QColor(240, 196, 40), QColor(50, 50, 50), 16);
    scratches(p, image.size(), 13, 160, QColor(255, 255, 255, 90));
    return image;
}

QImage cogwheel()
{
    QImage image = blank();
    // Dark steel: fifty gears overlap under additive blending, and a bright
    // texture would add up to a white blur.
    fillNoise(image, ValueNoise(21, 8), QColor(62, 66, 74), QColor(104, 108, 118), 5, 1, 1.2);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const qreal unit = kSize / 64.0; // one model unit of the 60-unit gear
    // Lathe rings: fine concentric grooves whose brightness varies with radius.
    Rng rng(22);
    for (qreal r = 8 * unit; r < 31 * unit; r += rng.uniform(1.2, 3.0)) {
        const int shade = int(rng.uniform(-30, 30));
        p.setPen(QPen(QColor(80 + shade, 84 + shade, 92 + shade, 70), rng.uniform(0.8, 2.2)));
        p.drawEllipse(centre, r, r);
    }
    // Rim and hub are polished; the web between them is darker, with five
    // lightening holes painted black so that additive blending shows through.
    p.setPen(QPen(QColor(150, 154, 162), 10));
    p.drawEllipse(centre, 23.5 * unit, 23.5 * unit);
    QRadialGradient hub(centre, 12.5 * unit);
    hub.setColorAt(0.5, QColor(140, 144, 152));
    hub.setColorAt(1.0, QColor(90, 94, 102));
    p.setPen(Qt::NoPen);
    p.setBrush(hub);
    p.drawEllipse(centre, 12.5 * unit, 12.5 * unit);
    for (int i = 0; i < 5; ++i) {
        const qreal angle = 2 * M_PI * i / 5 + M_PI / 2;
        const QPointF at = centre + QPointF(qCos(angle), qSin(angle)) * 17.8 * unit;
        p.setBrush(QColor(0, 0, 0));
        p.setPen(QPen(QColor(140, 144, 150), 5));
        p.drawEllipse(at, 4.2 * unit, 4.2 * unit);
    }
    for (int i = 0; i < 6; ++i) {
        const qreal angle = 2 * M_PI * i / 6;
        rivet(p, centre + QPointF(qCos(angle), qSin(angle)) * 10 * unit, 7, QColor(120, 124, 132));
    }
    p.setBrush(QColor(20, 20, 22));
    p.setPen(QPen(QColor(150, 150, 156), 4));
    p.drawEllipse(centre, 7 * unit, 7 * unit); // the bore
    scratches(p, image.size(), 23, 120, QColor(255, 255, 255, 40));
    return image;
}

QImage can()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(31, 8), QColor(190, 194, 200), QColor(236, 238, 242), 4, 2, 1.0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Body wrap, v 0.06 .. 0.68: the label. u runs once around the can.
    const QRectF label = region(0.0, 0.06, 1.0, 0.68);
    QLinearGradient paint(label.topLeft(), label.bottomLeft());
    paint.setColorAt(0.0, QColor(40, 210, 200));
    paint.setColorAt(1.0, QColor(20, 120, 220));
    p.fillRect(label, paint);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 70, 170));
    QPainterPath wave;
    wave.moveTo(label.left(), label.center().y() + 40);
    for (int x = 0; x <= kSize; x += 8)
        wave.lineTo(x, label.center().y() + 40 + 28 * qSin(x * 4 * M_PI / kSize));
    wave.lineTo(label.right(), label.bottom());
    wave.lineTo(label.left(), label.bottom());
    p.drawPath(wave);
    // Brand on the front half (u 0.05 .. 0.55), small print on the back half.
    const QFont brand = dejavu("DejaVuSans-Bold.ttf", 110);
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(fittedToWidth(centredText("KVO", brand, {150, label.center().y() - 40}), 230));
    stencil(p, "SPARKLING  VOLTAGE", dejavu("DejaVuSansCondensed-Bold.ttf", 22), {150, label.center().y() + 20}, Qt::white);
    stencil(p, "330 ml", dejavu("DejaVuSans-Bold.ttf", 26), {150, label.bottom() - 30}, Qt::white);
    const QFont small = dejavu("DejaVuSansCondensed.ttf", 14);
    const char* lines[] = {"INGREDIENTS: CARBONATED WATER,", "SUGAR, CITRIC ACID, NATURAL", "FLAVOURS, CAFFEINE, COLOUR",
                           "BEST BEFORE: SEE BASE", "QUENVARIX BEVERAGE WORKS"};
    for (int i = 0; i < 5; ++i)
        stencil(p, lines[i], small, {390, label.top() + 40 + i * 20.0}, QColor(235, 250, 255));
    Rng bars(32); // a barcode
    for (qreal x = 330; x < 450;) {
        const qreal w = bars.range(1, 4);
        p.fillRect(QRectF(x, label.bottom() - 80, w, 46), Qt::black);
        x += w + bars.range(1, 4);
    }
    // Lid (u 0 .. 0.25, v 0.75 .. 1) and base (u 0.25 .. 0.5): pressed aluminium.
    const QRectF lid = region(0.0, 0.75, 0.25, 1.0);
    const QRectF base = region(0.25, 0.75, 0.5, 1.0);
    for (const QRectF& disc : {lid, base}) {
        QRadialGradient metal(disc.center(), disc.width() / 2);
        metal.setColorAt(0.0, QColor(214, 218, 224));
        metal.setColorAt(0.8, QColor(180, 184, 192));
        metal.setColorAt(0.92, QColor(240, 242, 246));
        metal.setColorAt(1.0, QColor(150, 154, 160));
        p.setBrush(metal);
        p.drawEllipse(disc.adjusted(2, 2, -2, -2));
    }
    p.setBrush(QColor(200, 204, 210));
    p.setPen(QPen(QColor(120, 124, 132), 3));
    p.drawRoundedRect(QRectF(lid.center().x() - 18, lid.top() + 22, 36, 50), 14, 14); // ring pull
    p.setBrush(QColor(60, 62, 66));
    p.drawRoundedRect(QRectF(lid.center().x() - 14, lid.center().y() + 14, 28, 34), 10, 10); // opening
    stencil(p, "2510", dejavu("DejaVuSansMono-Bold.ttf", 16), base.center(), QColor(110, 114, 122));
    return image;
}

QImage cargoContainer()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(41, 8), QColor(170, 60, 40), QColor(226, 104, 64), 5, 1, 1.3);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Side panel, v 0.5 .. 1: vertical corrugation, a top and bottom rail,
    // the owner code stencilled in white. u runs along the container.
    const QRectF side = region(0.0, 0.5, 1.0, 1.0);
    for (qreal x = side.left(); x < side.right(); x += 16) {
        QLinearGradient rib(x, 0, x + 16, 0);
        rib.setColorAt(0.0, QColor(255, 255, 255, 60));
        rib.setColorAt(0.5, QColor(0, 0, 0, 0));
        rib.setColorAt(1.0, QColor(0, 0, 0, 70));
        p.fillRect(QRectF(x, side.top(), 16, side.height()), rib);
    }
    p.fillRect(QRectF(side.left(), side.top(), side.width(), 14), QColor(200, 90, 60));
    p.fillRect(QRectF(side.left(), side.bottom() - 14, side.width(), 14), QColor(150, 56, 36));
    stencil(p, "QVXU 204117 3", dejavu("DejaVuSansMono-Bold.ttf", 40), {180, side.top() + 60}, QColor(245, 245, 240));
    stencil(p, "45G1", dejavu("DejaVuSansMono-Bold.ttf", 28), {150, side.top() + 104}, QColor(245, 245, 240));
    stencil(p, "QUENVARIX LINES", dejavu("DejaVuSansCondensed-Bold.ttf", 54), {300, side.bottom() - 70},
            QColor(250, 240, 220));
    // Doors, u 0 .. 0.5, v 0 .. 0.5: two leaves, four locking bars, handles.
    const QRectF doors = region(0.0, 0.0, 0.5, 0.5);
    bevel(p, doors.adjusted(6, 6, -6, -6), 10, 120);
    p.setPen(QPen(QColor(90, 30, 20), 4));
    p.drawLine(QPointF(doors.center().x(), doors.top() + 8), QPointF(doors.center().x(), doors.bottom() - 8));
    for (int i = 0; i < 4; ++i) {
        const qreal x = doors.left() + 30 + i * 62 + (i >= 2 ? 10 : 0);
        p.fillRect(QRectF(x, doors.top() + 14, 8, doors.height() - 28), QColor(210, 210, 205));
        p.fillRect(QRectF(x - 6, doors.center().y() + 10, 20, 34), QColor(230, 230, 225));
    }
    stencil(p, "MAX GROSS 30480 KG", dejavu("DejaVuSansCondensed-Bold.ttf", 14), doors.center() - QPointF(64, 60),
            QColor(245, 245, 240));
    // Roof, u 0.5 .. 1, v 0 .. 0.5: weathered corrugation with rust.
    const QRectF roof = region(0.5, 0.0, 1.0, 0.5);
    for (qreal y = roof.top(); y < roof.bottom(); y += 20)
        p.fillRect(QRectF(roof.left(), y, roof.width(), 6), QColor(0, 0, 0, 40));
    Rng rust(42);
    for (int i = 0; i < 40; ++i) {
        const QPointF at(rust.uniform(0, kSize), rust.uniform(0, kSize));
        QRadialGradient spot(at, rust.uniform(6, 26));
        spot.setColorAt(0.0, QColor(120, 60, 30, 150));
        spot.setColorAt(1.0, QColor(120, 60, 30, 0));
        p.fillRect(QRectF(at - QPointF(30, 30), QSizeF(60, 60)), spot);
    }
    scratches(p, image.size(), 43, 200, QColor(255, 220, 200, 80));
    return image;
}

QImage sentryGun()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(51, 8), QColor(110, 124, 84), QColor(160, 174, 120), 5, 1, 1.3);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Armour plates: a 4 x 4 grid of bevelled panels with bolts, then markings.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRectF panel(col * 128 + 4, row * 128 + 4, 120, 120);
            bevel(p, panel, 6, 100);
            for (const QPointF& corner : {panel.topLeft(), panel.topRight(), panel.bottomLeft(), panel.bottomRight()})
                rivet(p, corner + (panel.center() - corner) * 0.14, 5, QColor(150, 160, 120));
        }
    }
    hazardStripes(p, QRectF(0, 236, kSize, 40), QColor(235, 190, 40), QColor(40, 40, 36), 18);
    stencil(p, "SG-7 SENTRY", dejavu("DejaVuSansMono-Bold.ttf", 40), {256, 64}, QColor(236, 236, 220));
    stencil(p, "KEEP CLEAR", dejavu("DejaVuSansCondensed-Bold.ttf", 36), {256, 330}, QColor(236, 236, 220));
    p.setPen(QPen(QColor(236, 236, 220), 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(384, 448), 40, 40);
    p.drawLine(QPointF(344, 448), QPointF(424, 448));
    p.drawLine(QPointF(384, 408), QPointF(384, 488));
    scratches(p, image.size(), 52, 260, QColor(230, 230, 210, 90));
    return image;
}

QImage spider()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(61, 16), QColor(120, 70, 30), QColor(200, 130, 60), 5, 1, 1.6);
    streak(image, ValueNoise(62, 32), 0.25, 1, 8); // bristles
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Body, v 0.5 .. 1 (u around, v from tail to front): a bright chevron
    // pattern down the back.
    const QRectF body = region(0.0, 0.5, 1.0, 1.0);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const qreal y = body.top() + 30 + i * 44;
        QPolygonF chevron;
        chevron << QPointF(200, y) << QPointF(256, y + 30) << QPointF(312, y) << QPointF(312, y + 16)
                << QPointF(256, y + 46) << QPointF(200, y + 16);
        p.setBrush(QColor(245, 210, 120));
        p.drawPolygon(chevron);
    }
    p.setBrush(QColor(230, 60, 40));
    p.drawEllipse(QPointF(256, body.bottom() - 30), 30, 18);
    // Legs, v 0 .. 0.5: hairy bands across the leg length.
    const QRectF legs = region(0.0, 0.0, 1.0, 0.5);
    for (int i = 0; i < 6; ++i) {
        const qreal y = legs.top() + 10 + i * 42;
        p.fillRect(QRectF(0, y, kSize, 14), QColor(240, 200, 130, 170));
    }
    scratches(p, image.size(), 63, 900, QColor(255, 230, 180, 110));
    return image;
}

QImage stairs()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(71, 16), QColor(150, 148, 140), QColor(210, 206, 196), 6, 1, 1.5);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Rng grit(72); // aggregate specks
    for (int i = 0; i < 2500; ++i) {
        const int shade = grit.range(90, 240);
        p.fillRect(QRectF(grit.uniform(0, kSize), grit.uniform(0, kSize), 2, 2), QColor(shade, shade, shade - 8));
    }
    // Formwork joints and the safety nosing along the front edge (v 0.88 .. 1).
    p.setPen(QPen(QColor(110, 108, 100), 3));
    p.drawLine(QPointF(256, 70), QPointF(256, kSize));
    const QRectF nosing = region(0.0, 0.88, 1.0, 1.0);
    hazardStripes(p, nosing, QColor(250, 206, 40), QColor(60, 60, 56), 26);
    p.fillRect(QRectF(0, nosing.bottom(), kSize, 6), QColor(90, 88, 80));
    scratches(p, image.size(), 73, 200, QColor(240, 240, 230, 100));
    return image;
}

QImage trafficCone()
{
    QImage image = blank();
    fillNoise(image, ValueNoise(81, 8), QColor(230, 96, 20), QColor(255, 140, 40), 4, 1, 1.2);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Cone wrap, v 0.25 .. 1 (from the base to the tip): two retro-reflective
    // bands with a fine prism pattern.
    const double cone0 = 0.25, cone1 = 1.0;
    auto band = [&](double from, double to) {
        const QRectF r = region(0.0, cone0 + (cone1 - cone0) * from, 1.0, cone0 + (cone1 - cone0) * to);
        p.fillRect(r, QColor(246, 248, 250));
        p.setPen(QPen(QColor(200, 206, 214), 1));
        for (qreal x = 0; x < kSize; x += 8)
            p.drawLine(QPointF(x, r.top()), QPointF(x + 8, r.bottom()));
    };
    band(0.38, 0.52);
    band(0.64, 0.74);
    // Base, v 0 .. 0.25: heavy dark-red rubber with a moulded grip pattern.
    const QRectF base = region(0.0, 0.0, 1.0, 0.25);
    p.fillRect(base, QColor(150, 50, 30));
    for (qreal x = 12; x < kSize; x += 28) {
        for (qreal y = base.top() + 12; y < base.bottom(); y += 28)
            p.fillRect(QRectF(x, y, 14, 14), QColor(185, 70, 40));
    }
    scratches(p, image.size(), 82, 220, QColor(255, 255, 255, 80));
    return image;
}

} // namespace materialtextures

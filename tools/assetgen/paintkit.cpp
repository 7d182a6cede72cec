#include "paintkit.h"

#include "rng.h"
#include "valuenoise.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>
#include <QtMath>

#include <cstdio>

namespace paintkit {

namespace {
const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";

QString familyOf(const QString& fileName)
{
    static QHash<QString, QString> loaded;
    auto found = loaded.constFind(fileName);
    if (found != loaded.constEnd())
        return found.value();
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontDir) + fileName);
    QString family;
    if (id < 0)
        std::fprintf(stderr, "quenvarix-assetgen: cannot load font %s%s (install fonts-dejavu-core)\n",
                     kFontDir, qPrintable(fileName));
    else
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    loaded.insert(fileName, family);
    return family;
}

int channel(int dark, int light, double t) { return qBound(0, int(dark + (light - dark) * t + 0.5), 255); }
} // namespace

QFont dejavu(const QString& fileName, int pixelSize)
{
    QFont font(familyOf(fileName));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::ForceOutline));
    font.setKerning(true);
    // The bold and condensed faces are separate files with their own family
    // style; ask for them explicitly so the matcher cannot pick another file.
    if (fileName.contains(QLatin1String("Bold")))
        font.setBold(true);
    if (fileName.contains(QLatin1String("Condensed")))
        font.setStretch(QFont::SemiCondensed);
    return font;
}

QPainterPath centredText(const QString& text, const QFont& font, const QPointF& centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return path.translated(centre - box.center());
}

QPainterPath fittedToWidth(const QPainterPath& path, qreal width)
{
    const QRectF box = path.boundingRect();
    const qreal factor = width / box.width();
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(factor, factor);
    fit.translate(-box.center().x(), -box.center().y());
    return fit.map(path);
}

void fillNoise(QImage& image, const ValueNoise& noise, const QColor& dark, const QColor& light,
               int octaves, int frequency, double contrast)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            double t = noise.fractal(double(x) / image.width(), double(y) / image.height(), octaves, frequency);
            t = qBound(0.0, 0.5 + (t - 0.5) * contrast, 1.0);
            line[x] = qRgb(channel(dark.red(), light.red(), t), channel(dark.green(), light.green(), t),
                           channel(dark.blue(), light.blue(), t));
        }
    }
}

void streak(QImage& image, const ValueNoise& noise, double strength, int frequencyX, int frequencyY)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / image.height();
        for (int x = 0; x < image.width(); ++x) {
            const double u = double(x) / image.width();
            const double a = noise.sample(u, v, frequencyY);
            const double b = noise.sample(u * frequencyX / frequencyY, v, frequencyY * 4);
            const double factor = 1.0 - strength + strength * 2.0 * (0.35 * a + 0.65 * b) * 0.9;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, int(qRed(p) * factor), 255), qBound(0, int(qGreen(p) * factor), 255),
                           qBound(0, int(qBlue(p) * factor), 255));
        }
    }
}

void rivet(QPainter& painter, const QPointF& centre, qreal radius, const QColor& base)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90)); // contact shadow
    painter.drawEllipse(centre + QPointF(radius * 0.25, radius * 0.3), radius * 1.1, radius * 1.1);
    QRadialGradient dome(centre + QPointF(radius * 0.35, -radius * 0.35), radius * 1.4);
    dome.setColorAt(0.0, base.lighter(190));
    dome.setColorAt(0.5, base);
    dome.setColorAt(1.0, base.darker(220));
    painter.setBrush(dome);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void hazardStripes(QPainter& painter, const QRectF& rect, const QColor& a, const QColor& b, qreal width)
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    painter.fillRect(rect, a);
    painter.setBrush(b);
    const qreal span = rect.width() + rect.height();
    for (qreal x = rect.left() - rect.height(); x < rect.left() + span; x += 2 * width) {
        QPolygonF stripe;
        stripe << QPointF(x, rect.bottom()) << QPointF(x + width, rect.bottom())
               << QPointF(x + width + rect.height(), rect.top()) << QPointF(x + rect.height(), rect.top());
        painter.drawPolygon(stripe);
    }
    painter.restore();
}

void bevel(QPainter& painter, const QRectF& rect, qreal width, int strength)
{
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, strength), width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(QPen(QColor(0, 0, 0, strength), width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.restore();
}

void scratches(QPainter& painter, const QSize& size, unsigned seed, int count, const QColor& colour)
{
    Rng rng(seed);
    painter.save();
    for (int i = 0; i < count; ++i) {
        const QPointF from(rng.uniform(0, size.width()), rng.uniform(0, size.height()));
        const double angle = rng.uniform(0, 2 * M_PI);
        const double length = rng.uniform(4, 40);
        QColor c = colour;
        c.setAlpha(int(colour.alpha() * rng.uniform(0.3, 1.0)));
        painter.setPen(QPen(c, rng.uniform(0.6, 1.6)));
        painter.drawLine(from, from + QPointF(qCos(angle) * length, qSin(angle) * length));
    }
    painter.restore();
}

} // namespace paintkit

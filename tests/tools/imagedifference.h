#ifndef IMAGEDIFFERENCE_H
#define IMAGEDIFFERENCE_H

#include <QImage>
#include <QtGlobal>

// How far a rendered frame is from its reference. A pixel differs when one
// of its channels is off by more than the tolerance; it differs solidly when
// its eight neighbours differ too. Rasteriser rounding between GL builds
// moves edges by a pixel and colours by a few counts: thin lines of
// differing pixels, no solid ones. A moved, missing, recoloured or
// untextured object of 5 x 5 pixels or more leaves a solid patch, or
// changes many pixels at once.
struct ImageDifference
{
    static constexpr int kTolerance = 24;         // counts per channel
    static constexpr double kMaxDiffering = 0.005;  // of all pixels
    static constexpr int kMaxSolid = 8;           // a 5 x 5 object makes 9

    int differing = 0;
    int solid = 0;
    int total = 0;
    QImage map;  // differing pixels in red over a dimmed copy of the frame

    bool acceptable() const
    {
        return solid <= kMaxSolid && differing <= kMaxDiffering * total;
    }

    QString describe() const
    {
        return QStringLiteral("%1 of %2 pixels differ by more than %3 counts (limit %4%), "
                              "%5 of them solidly (limit %6)")
            .arg(differing).arg(total).arg(kTolerance).arg(kMaxDiffering * 100)
            .arg(solid).arg(kMaxSolid);
    }

    static ImageDifference between(const QImage& actualImage, const QImage& expectedImage)
    {
        const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
        const QImage expected = expectedImage.convertToFormat(QImage::Format_RGB32);
        ImageDifference result;
        result.total = actual.width() * actual.height();
        if (actual.size() != expected.size()) {
            result.differing = result.solid = result.total;
            return result;
        }
        const QImage mask = differenceMask(actual, expected, &result.differing);
        result.solid = countSolid(mask);
        result.map = drawMap(actual, mask);
        return result;
    }

private:
    static bool pixelsDiffer(QRgb a, QRgb b)
    {
        return qAbs(qRed(a) - qRed(b)) > kTolerance || qAbs(qGreen(a) - qGreen(b)) > kTolerance
               || qAbs(qBlue(a) - qBlue(b)) > kTolerance;
    }

    static QImage differenceMask(const QImage& actual, const QImage& expected, int* count)
    {
        QImage mask(actual.size(), QImage::Format_Grayscale8);
        mask.fill(0);
        for (int y = 0; y < actual.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
            const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
            uchar* m = mask.scanLine(y);
            for (int x = 0; x < actual.width(); ++x) {
                m[x] = pixelsDiffer(a[x], e[x]) ? 1 : 0;
                *count += m[x];
            }
        }
        return mask;
    }

    static int countSolid(const QImage& mask)
    {
        int solid = 0;
        for (int y = 1; y + 1 < mask.height(); ++y) {
            for (int x = 1; x + 1 < mask.width(); ++x) {
                int around = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        around += mask.constScanLine(y + dy)[x + dx];
                solid += around == 9 ? 1 : 0;
            }
        }
        return solid;
    }

    static QImage drawMap(const QImage& actual, const QImage& mask)
    {
        QImage map(actual.size(), QImage::Format_RGB32);
        for (int y = 0; y < actual.height(); ++y) {
            for (int x = 0; x < actual.width(); ++x) {
                const QRgb p = actual.pixel(x, y);
                map.setPixel(x, y, mask.constScanLine(y)[x]
                                       ? qRgb(255, 0, 0)
                                       : qRgb(qRed(p) / 3, qGreen(p) / 3, qBlue(p) / 3));
            }
        }
        return map;
    }
};

#endif

#include "testscreen.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

namespace testscreen {

QImage grab()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Counted on a small copy: the question is "is the intro up", not detail.
double litShare(const QImage& image)
{
    const QImage small = image.scaled(160, 90).convertToFormat(QImage::Format_RGB32);
    int lit = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x)
            lit += qGray(small.pixel(x, y)) > 16;
    }
    return double(lit) / (small.width() * small.height());
}

bool pressEscape()
{
    return QProcess::execute("xdotool", {"key", "Escape"}) == 0;
}

} // namespace testscreen

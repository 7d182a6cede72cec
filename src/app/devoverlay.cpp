#include "devoverlay.h"

#include "object.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <GL/gl.h>

namespace {
const int kMargin = 8;   // px from the window's corner
const int kPadding = 6;  // px around the text

QString formatTime(int ms)
{
    return QStringLiteral("%1.%2 s").arg(ms / 1000).arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// Window coordinates in pixels, straight alpha blending, nothing else.
void saveStateForPixels(int viewWidth, int viewHeight)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void restoreState()
{
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopClientAttrib();
    glPopAttrib();
}

QFont overlayFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(14);
    return font;
}
}  // namespace

QStringList DevOverlay::sequencesAt(Object* root, int now)
{
    QStringList ids;
    const Object* scene = root ? root->Find(QStringLiteral("scene")) : nullptr;
    if (!scene)
        return ids;
    for (const Object* sequence : scene->GetChildren()) {
        if (sequence->Covers(now))
            ids << sequence->GetId();
    }
    return ids;
}

QStringList DevOverlay::lines(const Readout& readout)
{
    const QString sequences = readout.sequences.isEmpty() ? QStringLiteral("(none: the demo "
                                                                           "has ended)")
                                                          : readout.sequences.join(", ");
    return {formatTime(readout.engineTime) + (readout.paused ? "  paused" : ""),
            QStringLiteral("%1 fps").arg(readout.fps)
                + (readout.lastSeek >= 0 ? QStringLiteral(", seek %1 ms").arg(readout.lastSeek)
                                         : QString()),
            sequences};
}

QImage DevOverlay::compose(const QStringList& lines)
{
    const QFontMetrics metrics(overlayFont());
    int width = 0;
    for (const QString& line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    QImage image(width + 2 * kPadding, lines.size() * metrics.height() + 2 * kPadding,
                 QImage::Format_RGBA8888);
    image.fill(QColor(0, 0, 0, 160));
    QPainter painter(&image);
    painter.setFont(overlayFont());
    painter.setPen(Qt::white);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(kPadding, kPadding + i * metrics.height() + metrics.ascent(), lines[i]);
    return image;
}

// Everything the overlay changes is saved first and restored after: the
// renderer's blending, lighting, texturing, both matrices and pixel unpacking.
void DevOverlay::draw(const QImage& image, int viewWidth, int viewHeight)
{
    const int y = viewHeight - kMargin - image.height();
    if (image.isNull() || y < 0)
        return;
    saveStateForPixels(viewWidth, viewHeight);
    glRasterPos2i(kMargin, y);
    // GL fills from the bottom row up.
    const QImage rows = image.convertToFormat(QImage::Format_RGBA8888).mirrored();
    glDrawPixels(rows.width(), rows.height(), GL_RGBA, GL_UNSIGNED_BYTE, rows.constBits());
    restoreState();
}

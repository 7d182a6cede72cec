#include "imagefile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
const QByteArray kPngEnd("IEND\xae\x42\x60\x82", 8);
const QByteArray kJpegStart("\xff\xd8", 2);
const QByteArray kJpegEnd("\xff\xd9", 2);
// Some writers pad a JPEG after its end marker; allow a little of that.
const int kJpegTrailerSlack = 64;

bool jpegIsComplete(const QByteArray& bytes)
{
    const int from = qMax(0, bytes.size() - kJpegTrailerSlack);
    return bytes.indexOf(kJpegEnd, from) >= 0;
}

} // namespace

bool isCompleteImage(const QByteArray& bytes)
{
    if (bytes.startsWith(kPngSignature))
        return bytes.endsWith(kPngEnd);
    if (bytes.startsWith(kJpegStart))
        return jpegIsComplete(bytes);
    return true;
}

bool loadCompleteImage(const QString& path, QImage* image)
{
    // Only regular files: a directory or a device such as /dev/zero is not an image.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return isCompleteImage(bytes) && image->loadFromData(bytes);
}

#include "imagefile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
const QByteArray kJpegStart("\xff\xd8", 2);

// Sizes are compared in 64 bits: a chunk or segment length read from the file
// can be anything.
quint64 bigEndian(const QByteArray& bytes, int at, int width)
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// Each chunk is its length (4 bytes), its type (4), its data and a CRC (4).
int pngLength(const QByteArray& bytes)
{
    const quint64 size = quint64(bytes.size());
    quint64 at = kPngSignature.size();
    while (at + 8 <= size) {
        const quint64 next = at + 12 + bigEndian(bytes, int(at), 4);
        if (next > size)
            return -1;
        if (bytes.mid(int(at) + 4, 4) == "IEND")
            return int(next);
        at = next;
    }
    return -1;
}

quint8 byteAt(const QByteArray& bytes, int at)
{
    return quint8(bytes[at]);
}

// The index of the next marker's code byte at or after `at`, or -1. As the
// decoder does, bytes that are not a marker are skipped, and so are fill
// bytes (0xff runs) and a stuffed zero (0xff 0x00).
int nextJpegMarker(const QByteArray& bytes, int at)
{
    for (;;) {
        at = bytes.indexOf('\xff', at);
        if (at < 0)
            return -1;
        while (at < bytes.size() && byteAt(bytes, at) == 0xff)
            ++at;
        if (at == bytes.size())
            return -1;
        if (byteAt(bytes, at) != 0x00)
            return at;
    }
}

// Entropy-coded data runs until a marker other than a restart marker
// (0xd0 to 0xd7); returns the index of that marker's 0xff, or -1.
int skipScan(const QByteArray& bytes, int at)
{
    for (;;) {
        const int code = nextJpegMarker(bytes, at);
        if (code < 0)
            return -1;
        if (byteAt(bytes, code) < 0xd0 || byteAt(bytes, code) > 0xd7)
            return code - 1;
        at = code + 1;
    }
}

// Markers without a length: TEM, the restart markers, a stray start of image.
bool isStandaloneMarker(quint8 code)
{
    return code == 0x01 || (code >= 0xd0 && code <= 0xd8);
}

// Walks the segments after the start-of-image marker. Each segment's length
// counts its own two length bytes; a scan (SOS) is followed by its data.
int jpegLength(const QByteArray& bytes)
{
    int at = kJpegStart.size();
    for (;;) {
        const int code = nextJpegMarker(bytes, at);
        if (code < 0)
            return -1;
        const quint8 marker = byteAt(bytes, code);
        at = code + 1;
        if (marker == 0xd9)
            return at;
        if (isStandaloneMarker(marker))
            continue;
        if (at + 2 > bytes.size())
            return -1;
        const quint64 end = quint64(at) + bigEndian(bytes, at, 2);
        if (end > quint64(bytes.size()))
            return -1;
        at = marker == 0xda ? skipScan(bytes, int(end)) : int(end);
        if (at < 0)
            return -1;
    }
}

} // namespace

int imageLength(const QByteArray& bytes)
{
    if (bytes.startsWith(kPngSignature))
        return pngLength(bytes);
    if (bytes.startsWith(kJpegStart))
        return jpegLength(bytes);
    return bytes.size();
}

bool isCompleteImage(const QByteArray& bytes)
{
    return imageLength(bytes) >= 0;
}

bool decodeCompleteImage(const QByteArray& bytes, QImage* image)
{
    return isCompleteImage(bytes) && image->loadFromData(bytes);
}

bool loadCompleteImage(const QString& path, QImage* image)
{
    // Only regular files: a directory or a device such as /dev/zero is not an image.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return decodeCompleteImage(file.readAll(), image);
}

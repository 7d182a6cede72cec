#include "yuv420.h"

#include <QByteArray>
#include <QImage>

namespace {

// BT.709 luma and colour differences, scaled to 219 and 224 steps of the
// 8-bit limited range and to 16 bits of fraction.
constexpr int kYr = 11966, kYg = 40254, kYb = 4064;
constexpr int kCbR = -6596, kCbG = -22188, kCbB = 28784;
constexpr int kCrR = 28784, kCrG = -26145, kCrB = -2639;

constexpr int kLumaOffset = (16 << 16) + (1 << 15);  // black at 16, rounded

// Plain loops over whole rows, which the compiler turns into vector code.
void lumaRow(const uchar* __restrict rgbx, int width, uchar* __restrict luma)
{
    for (int x = 0; x < width; ++x) {
        const uchar* p = rgbx + 4 * x;
        luma[x] = uchar((kYr * p[0] + kYg * p[1] + kYb * p[2] + kLumaOffset) >> 16);
    }
}

// One chroma pair from the sums of 2 x 2 pixels (hence two more bits to
// shift away).
inline void chroma(int red, int green, int blue, uchar* cb, uchar* cr)
{
    constexpr int offset = (128 << 18) + (1 << 17);
    *cb = uchar((kCbR * red + kCbG * green + kCbB * blue + offset) >> 18);
    *cr = uchar((kCrR * red + kCrG * green + kCrB * blue + offset) >> 18);
}

// An odd last column stands in for its missing neighbour.
void chromaRow(const uchar* __restrict top, const uchar* __restrict bottom, int width,
               uchar* __restrict cb, uchar* __restrict cr)
{
    const int pairs = width / 2;
    for (int x = 0; x < pairs; ++x) {
        const uchar* t = top + 8 * x;
        const uchar* b = bottom + 8 * x;
        chroma(t[0] + t[4] + b[0] + b[4], t[1] + t[5] + b[1] + b[5], t[2] + t[6] + b[2] + b[6],
               cb + x, cr + x);
    }
    if (width % 2 != 0) {
        const uchar* t = top + 8 * pairs;
        const uchar* b = bottom + 8 * pairs;
        chroma(2 * (t[0] + b[0]), 2 * (t[1] + b[1]), 2 * (t[2] + b[2]), cb + pairs, cr + pairs);
    }
}

}  // namespace

void convertToYuv420(const QImage& frame, QByteArray* planes)
{
    // What the offscreen target reads back; anything else is converted.
    const QImage rgb = frame.format() == QImage::Format_RGBX8888
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGBX8888);
    const int width = rgb.width(), height = rgb.height();
    const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
    const int lumaBytes = width * height, chromaBytes = chromaWidth * chromaHeight;
    planes->resize(lumaBytes + 2 * chromaBytes);
    auto* base = reinterpret_cast<uchar*>(planes->data());
    uchar* cb = base + lumaBytes;
    uchar* cr = cb + chromaBytes;
    for (int y = 0; y < height; ++y)
        lumaRow(rgb.constScanLine(y), width, base + y * width);
    // An odd last row stands in for its missing neighbour.
    for (int y = 0; y < height; y += 2) {
        const uchar* bottom = rgb.constScanLine(y + 1 < height ? y + 1 : y);
        chromaRow(rgb.constScanLine(y), bottom, width, cb + (y / 2) * chromaWidth,
                  cr + (y / 2) * chromaWidth);
    }
}

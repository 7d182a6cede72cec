// Runs the check that tells a whole PNG or JPEG from a cut-off one over each
// input, and checks that its answer depends only on the image: the same
// length with anything after the end, nothing before the end.

#include "imagefile.h"

#include <stddef.h>
#include <stdint.h>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The formats the check walks; any other counts as whole, all of it.
bool isPngOrJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.startsWith("\xff\xd8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const int length = imageLength(bytes);
    require(length >= -1 && length <= bytes.size());
    if (length < 0 || !isPngOrJpeg(bytes))
        return 0;
    // A whole image: alone, and followed by the input once more, it ends at
    // the same place; one byte less is cut off.
    const QByteArray image = bytes.left(length);
    require(imageLength(image) == length);
    require(imageLength(image + bytes) == length);
    require(imageLength(image.chopped(1)) == -1);
    return 0;
}

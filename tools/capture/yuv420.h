#ifndef YUV420_H
#define YUV420_H

class QByteArray;
class QImage;

// Converts a frame to planar Y'CbCr 4:2:0 (the Y plane, then Cb, then Cr),
// BT.709 in limited range, the way HD video is expected to be coded: each
// chroma sample is the average of its 2 x 2 pixels. `planes` is resized to
// width x height + 2 x (width / 2) x (height / 2) bytes, rounding halves up.
// Doing this here halves what goes through the pipe to the encoder and
// spares it a conversion of its own.
void convertToYuv420(const QImage& frame, QByteArray* planes);

#endif

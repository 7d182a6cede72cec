#ifndef IMAGEFILE_H
#define IMAGEFILE_H

#include <QByteArray>

class QImage;
class QString;

// True when the bytes hold a whole PNG or JPEG file: a JPEG ends with its
// end-of-image marker, a PNG with its IEND chunk. Other formats pass.
// The image decoders accept a cut-off JPEG and show its missing rows grey;
// a demo should rather treat such a file as missing.
bool isCompleteImage(const QByteArray& bytes);

// Decodes the file at path into image, format guessed from its contents;
// false when it cannot be read, is cut off or does not decode.
bool loadCompleteImage(const QString& path, QImage* image);

#endif

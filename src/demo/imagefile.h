#ifndef IMAGEFILE_H
#define IMAGEFILE_H

#include <QByteArray>

class QImage;
class QString;

// The image decoders accept a cut-off JPEG and show its missing rows grey,
// and some cut-off PNGs too; a demo should rather treat such a file as
// missing. Whatever follows a whole image (camera and editor metadata,
// padding, a second picture) is no reason to refuse it.

// The length of the PNG or JPEG image that the bytes begin with, up to and
// including its end (a PNG's IEND chunk, a JPEG's end-of-image marker), found
// by walking its chunks or segments; -1 when the bytes end before it. Bytes in
// any other format count as whole: all of them.
int imageLength(const QByteArray& bytes);

// True when the bytes hold a whole image, whatever follows it.
bool isCompleteImage(const QByteArray& bytes);

// Decodes bytes into image, format guessed from the contents; false when they
// are cut off or do not decode.
bool decodeCompleteImage(const QByteArray& bytes, QImage* image);

// The same for the file at path; false also when it is not a regular file
// or cannot be read.
bool loadCompleteImage(const QString& path, QImage* image);

#endif

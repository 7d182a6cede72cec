#ifndef POINTID_H
#define POINTID_H

#include <QChar>
#include <QString>

// Names the point or polygon number `count` of an owner: the owner's id, the
// infix, then one Latin-1 character whose code is count mod 256 (not digits,
// so ids repeat after 256).
inline QString numberedId(const QString& owner, const char* infix, int count)
{
    return owner + QLatin1String(infix) + QChar(uchar(count & 0xff));
}

#endif

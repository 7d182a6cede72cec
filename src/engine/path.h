#ifndef PATH_H
#define PATH_H

#include <QString>

// Absolute directory under which data/ lies, ending in "/". Fixed when the
// program is built (see cmake/AssetDir.cmake), or beside the executable when
// an installed tree was moved (see assetdir.h); asset paths are PATH + "/data/...".
extern QString PATH;

#endif

#ifndef ASSETDIR_H
#define ASSETDIR_H

#include <QString>

// Where the program finds its data/ directory. The build fixes one directory;
// an installed tree that was moved or unpacked elsewhere still carries its
// data beside the executable, in <exe>/../share/quenvarix/. The fixed
// directory wins whenever it holds data/; without either, the fixed one is
// kept so that the loaders name what is missing. Both results end in "/".
QString resolveAssetDir(const QString& fixedDir, const QString& executableDir);

// The directory of the running executable (from /proc/self/exe); usable
// before main, when QCoreApplication cannot tell it yet. Empty if unknown.
QString runningExecutableDir();

#endif

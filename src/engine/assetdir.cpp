#include "assetdir.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool holdsData(const QString& dir)
{
    return !dir.isEmpty() && QFileInfo(dir + QStringLiteral("/data")).isDir();
}

QString withTrailingSlash(const QString& dir)
{
    return dir.endsWith('/') ? dir : dir + '/';
}

} // namespace

QString resolveAssetDir(const QString& fixedDir, const QString& executableDir)
{
    if (holdsData(fixedDir) || executableDir.isEmpty())
        return fixedDir;
    const QString beside = QDir::cleanPath(executableDir + QStringLiteral("/../share/quenvarix"));
    return holdsData(beside) ? withTrailingSlash(beside) : fixedDir;
}

QString runningExecutableDir()
{
    const QFileInfo executable(QStringLiteral("/proc/self/exe"));
    const QString target = executable.symLinkTarget();
    return target.isEmpty() ? QString() : QFileInfo(target).absolutePath();
}

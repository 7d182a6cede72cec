#include "replacefile.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool replaceFile(const QString& from, const QString& to, QString* error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = QStringLiteral("cannot rename '%1' to '%2': %3")
                 .arg(from, to, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

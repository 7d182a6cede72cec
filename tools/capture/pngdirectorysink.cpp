#include "pngdirectorysink.h"

#include "replacefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryFile>

PngDirectorySink::PngDirectorySink(const QString& directory) : m_directory(directory)
{
}

QString PngDirectorySink::frameName(int index)
{
    return QStringLiteral("frame_%1.png").arg(index, 5, 10, QLatin1Char('0'));
}

bool PngDirectorySink::open(QString* error)
{
    const QFileInfo info(m_directory);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("cannot write frames to '%1': it is a file, not a directory")
                     .arg(m_directory);
        return false;
    }
    if (!QDir().mkpath(m_directory)) {
        *error = QStringLiteral("cannot create the directory '%1'").arg(m_directory);
        return false;
    }
    // A probe file answers for permissions and read-only mounts alike.
    QTemporaryFile probe(m_directory + QStringLiteral("/.quenvarix-capture-XXXXXX"));
    if (!probe.open()) {
        *error = QStringLiteral("cannot write frames to '%1': %2")
                     .arg(m_directory, probe.errorString());
        return false;
    }
    return true;
}

bool PngDirectorySink::write(const QImage& frame, QString* error)
{
    const QString path = m_directory + QLatin1Char('/') + frameName(m_next);
    m_pending = path + QStringLiteral(".tmp");
    QImageWriter writer(m_pending, "png");
    // RGB, whatever the target read back: the files stay as they were.
    if (!writer.write(frame.convertToFormat(QImage::Format_RGB888))) {
        *error = QStringLiteral("cannot write '%1': %2").arg(m_pending, writer.errorString());
        abort();
        return false;
    }
    if (!replaceFile(m_pending, path, error)) {
        abort();
        return false;
    }
    m_pending.clear();
    ++m_next;
    return true;
}

bool PngDirectorySink::finish(QString*)
{
    return true;  // every frame was completed as it was written
}

void PngDirectorySink::abort()
{
    if (!m_pending.isEmpty())
        QFile::remove(m_pending);
    m_pending.clear();
}

QString PngDirectorySink::leftBehind() const
{
    if (m_next == 0)
        return QString();
    if (m_next == 1)
        return QStringLiteral("%1 was written to '%2' before the capture stopped")
            .arg(frameName(0), m_directory);
    return QStringLiteral("%1 to %2 were written to '%3' before the capture stopped")
        .arg(frameName(0), frameName(m_next - 1), m_directory);
}

#include "ffmpegsink.h"

#include "replacefile.h"
#include "yuv420.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QThread>

namespace {
const int kStallMs = 120000;  // ffmpeg not taking a frame for this long has hung
const int kChunkBytes = 64 * 1024;  // a pipe's buffer

QString seconds(qint64 ms)
{
    return QString::number(double(ms) / 1000.0, 'f', 3);
}

// The video starts at engine time `from`; the track at `musicStart`. Before
// that the video is silent (the track is delayed); after it, the part of the
// track already played is skipped.
QStringList audioInput(const FfmpegSink::Settings& s)
{
    const qint64 offset = qint64(s.musicStart) - s.from;
    QStringList args;
    if (offset < 0)
        args << "-ss" << seconds(-offset);
    args << "-i" << s.soundtrack;
    return args;
}

QStringList audioOutput(const FfmpegSink::Settings& s)
{
    const qint64 offset = qint64(s.musicStart) - s.from;
    QStringList args = {"-map", "1:a:0"};
    if (offset > 0)
        args << "-af" << QStringLiteral("adelay=delays=%1:all=1").arg(offset);
    args << "-c:a" << "aac" << "-b:a" << "192k";
    return args;
}
}  // namespace

FfmpegSink::FfmpegSink(const Settings& settings)
    : m_settings(settings), m_temporary(temporaryName(settings.output))
{
}

FfmpegSink::~FfmpegSink()
{
    if (!m_closed)
        abort();
}

QString FfmpegSink::temporaryName(const QString& output)
{
    const QFileInfo info(output);
    const QString base = info.completeBaseName() + QStringLiteral(".tmp.") + info.suffix();
    return info.path() + QLatin1Char('/') + base;
}

QStringList FfmpegSink::arguments(const Settings& s, const QString& target)
{
    const QString size = QStringLiteral("%1x%2").arg(s.size.width()).arg(s.size.height());
    const bool audio = !s.soundtrack.isEmpty();
    QStringList args = {"-hide_banner", "-loglevel", "error", "-nostats", "-y",
                        "-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size", size,
                        "-framerate", QString::number(s.fps), "-i", "-"};
    if (audio)
        args << audioInput(s);
    args << "-map" << "0:v:0"
         << "-c:v" << "libx264" << "-preset" << s.preset << "-crf" << "18"
         << "-threads" << QString::number(s.encoderThreads)
         << "-pix_fmt" << "yuv420p";
    // Said in the stream, so that players do not guess (some would take
    // BT.601 for a small frame).
    args << "-colorspace" << "bt709" << "-color_primaries" << "bt709" << "-color_trc" << "bt709"
         << "-color_range" << "tv";
    if (audio)
        args << audioOutput(s);
    // The video decides the length: the track may be longer or start later.
    const qint64 durationMs = qint64(s.frameCount) * 1000 / s.fps;
    args << "-t" << seconds(durationMs) << "-movflags" << "+faststart" << "-f" << "mp4"
         << target;
    return args;
}

int FfmpegSink::defaultEncoderThreads()
{
    return qMax(1, QThread::idealThreadCount() / 2);
}

QString FfmpegSink::notFoundMessage()
{
    return QStringLiteral("ffmpeg not found: install it with 'sudo apt-get install ffmpeg'");
}

bool FfmpegSink::open(QString* error)
{
    m_program = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (m_program.isEmpty()) {
        *error = notFoundMessage();
        return false;
    }
    if (!prepareOutput(error))
        return false;
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(m_program, arguments(m_settings, m_temporary));
    if (!m_process.waitForStarted()) {
        *error = QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString());
        abort();
        return false;
    }
    return true;
}

// Creates the directory and the temporary file now, so that an unwritable
// place is reported before a single frame is rendered.
bool FfmpegSink::prepareOutput(QString* error)
{
    const QString directory = QFileInfo(m_settings.output).path();
    QFile probe(m_temporary);
    if (!QDir().mkpath(directory) || !probe.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write '%1': %2")
                     .arg(m_settings.output,
                          probe.error() ? probe.errorString()
                                        : QStringLiteral("cannot create its directory"));
        return false;
    }
    return true;
}

bool FfmpegSink::write(const QImage& frame, QString* error)
{
    if (frame.size() != m_settings.size) {
        *error = QStringLiteral("a frame of %1x%2 for a video of %3x%4")
                     .arg(frame.width()).arg(frame.height())
                     .arg(m_settings.size.width()).arg(m_settings.size.height());
        abort();
        return false;
    }
    convertToYuv420(frame, &m_planes);
    if (send(m_planes))
        return true;
    *error = failure(QStringLiteral("ffmpeg stopped taking frames"));
    abort();
    return false;
}

// The frame goes in pieces of at most kChunkBytes, each drained before the
// next: a whole frame handed to QProcess at once would be copied into a
// fresh buffer every frame.
bool FfmpegSink::send(const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 piece = qMin<qint64>(kChunkBytes, bytes.size() - done);
        if (m_process.write(bytes.constData() + done, piece) != piece || !drain())
            return false;
        done += piece;
    }
    return true;
}

bool FfmpegSink::drain()
{
    while (m_process.bytesToWrite() > 0) {
        if (!m_process.waitForBytesWritten(kStallMs))
            return false;
    }
    return true;
}

bool FfmpegSink::finish(QString* error)
{
    m_process.closeWriteChannel();
    const bool encoded = m_process.waitForFinished(-1)
                         && m_process.exitStatus() == QProcess::NormalExit
                         && m_process.exitCode() == 0;
    if (!encoded) {
        *error = failure(QStringLiteral("ffmpeg failed"));
        abort();
        return false;
    }
    if (!replaceFile(m_temporary, m_settings.output, error)) {
        abort();
        return false;
    }
    m_closed = true;
    return true;
}

void FfmpegSink::abort()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    QFile::remove(m_temporary);
    m_closed = true;  // nothing is left to clean up
}

QString FfmpegSink::failure(const QString& what)
{
    const QString log = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
    return log.isEmpty() ? what : what + QStringLiteral(":\n") + log;
}

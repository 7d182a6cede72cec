#ifndef FFMPEGSINK_H
#define FFMPEGSINK_H

#include "captureoptions.h"
#include "enginesetup.h"
#include "framesink.h"

#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

// Encodes the frames into an H.264 MP4 with Debian's ffmpeg, spawned as a
// process and fed raw Y'CbCr 4:2:0 frames (BT.709) through a pipe. The
// soundtrack is muxed in as AAC, placed where the player starts it. ffmpeg
// writes FILE.tmp.mp4, which becomes FILE.mp4 only once ffmpeg has finished
// successfully.
class FfmpegSink : public FrameSink
{
public:
    struct Settings {
        QString output;       // FILE.mp4
        QSize size;
        int fps = 50;
        QString preset = QString::fromLatin1(CaptureOptions::kDefaultPreset);
        int from = 0;         // engine time of the first frame, ms
        int frameCount = 0;
        QString soundtrack;   // empty: a silent video
        int musicStart = EngineSetup::kTrackStartMs;  // where the player starts the track
        // The encoder's threads: half the cores, the other half being the
        // rasteriser's. More only make the two take turns on the same cores
        // (on two cores, one thread captures in 19 to 21 s, three in 24 s).
        int encoderThreads = defaultEncoderThreads();
    };
    static int defaultEncoderThreads();

    explicit FfmpegSink(const Settings& settings);
    ~FfmpegSink() override;

    bool open(QString* error) override;
    bool write(const QImage& frame, QString* error) override;
    bool finish(QString* error) override;
    void abort() override;
    QString leftBehind() const override { return QString(); }  // the video is whole or gone

    // "out/demo.mp4" -> "out/demo.tmp.mp4": still an .mp4 for whoever looks,
    // but plainly not the finished file.
    static QString temporaryName(const QString& output);
    static QStringList arguments(const Settings& settings, const QString& target);
    static QString notFoundMessage();

private:
    bool prepareOutput(QString* error);
    bool send(const QByteArray& bytes);
    bool drain();
    QString failure(const QString& what);

    Settings m_settings;
    QString m_temporary;
    QString m_program;
    QProcess m_process;
    QByteArray m_planes;  // the frame being sent, kept to spare an allocation a frame
    bool m_closed = false;  // finished or aborted
};

#endif

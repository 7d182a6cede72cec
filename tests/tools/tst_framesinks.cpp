#include "abortatexit.h"
#include "ffmpegsink.h"
#include "pngdirectorysink.h"
#include "yuv420.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

class TestFrameSinks : public QObject
{
    Q_OBJECT

private slots:
    void soundtrackSitsWherePlayerStartsIt_data();
    void soundtrackSitsWherePlayerStartsIt();
    void videoLengthFollowsFrames();
    void temporaryName_data();
    void temporaryName();
    void videoPlanesDecodeToTheFrame();
    void wrongSizeFrameIsSaidSo();
    void videoEndedByExitLeavesNoFile();
    void pngFramesAreCompleteAndNumbered();
    void stoppedPngCaptureNamesWhatItLeft();
    void pngDirectoryThatIsAFileIsRefused();
};

namespace {
const char* kExitMidVideo = "--exit-mid-video";

FfmpegSink::Settings smallSilentVideo(const QString& output)
{
    FfmpegSink::Settings settings;
    settings.output = output;
    settings.size = QSize(16, 16);
    settings.frameCount = 10;
    return settings;
}

// Child mode: a video under way when the process ends as the model reader
// ends it, with exit(1).
int exitMidVideo(const QString& output)
{
    FfmpegSink sink(smallSilentVideo(output));
    QString error;
    if (!sink.open(&error))
        return 3;
    const AbortAtExit abortAtExit(&sink);
    QImage frame(16, 16, QImage::Format_RGB32);
    frame.fill(Qt::gray);
    if (!sink.write(frame, &error))
        return 4;
    std::exit(1);
}

// The arguments between the raw video input and the output options that
// concern the soundtrack, e.g. "-ss 2.500 -i track.mp3 ... -af adelay=...".
QStringList audioPart(const QStringList& args)
{
    QStringList part;
    for (int i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "-ss" || args[i] == "-af" || (args[i] == "-i" && args[i + 1] != "-"))
            part << args[i] << args[i + 1];
    }
    return part;
}
}  // namespace

void TestFrameSinks::soundtrackSitsWherePlayerStartsIt_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("soundtrack");
    QTest::addColumn<QStringList>("audio");

    QTest::newRow("from the start: 5 s of silence first")
        << 0 << "t.mp3" << QStringList{"-i", "t.mp3", "-af", "adelay=delays=5000:all=1"};
    QTest::newRow("just before the music") << 4980 << "t.mp3"
        << QStringList{"-i", "t.mp3", "-af", "adelay=delays=20:all=1"};
    QTest::newRow("with the music") << 5000 << "t.mp3" << QStringList{"-i", "t.mp3"};
    QTest::newRow("after it: skip what was played") << 7500 << "t.mp3"
        << QStringList{"-ss", "2.500", "-i", "t.mp3"};
    QTest::newRow("silent video") << 7500 << "" << QStringList{};
}

void TestFrameSinks::soundtrackSitsWherePlayerStartsIt()
{
    QFETCH(int, from);
    FfmpegSink::Settings settings;
    settings.size = QSize(160, 90);
    settings.from = from;
    settings.frameCount = 10;
    QFETCH(QString, soundtrack);
    settings.soundtrack = soundtrack;
    const QStringList args = FfmpegSink::arguments(settings, "x.tmp.mp4");
    QTEST(audioPart(args), "audio");
    QCOMPARE(args.contains("aac"), !soundtrack.isEmpty());
    QCOMPARE(args.mid(args.size() - 3), (QStringList{"-f", "mp4", "x.tmp.mp4"}));
}

// Whatever the track's length, the video is as long as its frames; size,
// rate, x264 preset and threads are the ones asked for.
void TestFrameSinks::videoLengthFollowsFrames()
{
    FfmpegSink::Settings settings;
    settings.size = QSize(1280, 720);
    settings.fps = 30;
    settings.frameCount = 1230;
    settings.soundtrack = "t.mp3";
    settings.preset = "slower";
    settings.encoderThreads = 3;
    const QStringList args = FfmpegSink::arguments(settings, "x.tmp.mp4");
    const int t = args.indexOf("-t");
    QVERIFY(t > 0);
    QCOMPARE(args.at(t + 1), QString("41.000"));
    QCOMPARE(args.at(args.indexOf("-video_size") + 1), QString("1280x720"));
    QCOMPARE(args.at(args.indexOf("-framerate") + 1), QString("30"));
    QCOMPARE(args.at(args.indexOf("-preset") + 1), QString("slower"));
    QCOMPARE(args.at(args.indexOf("-threads") + 1), QString("3"));
}

void TestFrameSinks::temporaryName_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("temporary");
    QTest::newRow("bare") << "demo.mp4" << "./demo.tmp.mp4";
    QTest::newRow("directory") << "out/quenvarix.mp4" << "out/quenvarix.tmp.mp4";
    QTest::newRow("dots in name") << "/v/take.2.mp4" << "/v/take.2.tmp.mp4";
}

void TestFrameSinks::temporaryName()
{
    QFETCH(QString, output);
    QTEST(FfmpegSink::temporaryName(output), "temporary");
}

// A frame of saturated and grey blocks, 2 x 2 aligned so that averaging the
// chroma changes nothing.
QImage colourBlocks(const QSize& size)
{
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan,
                              Qt::magenta, Qt::white, Qt::black, QColor(128, 64, 32)};
    QImage image(size, QImage::Format_RGBX8888);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, colours[(x / 2 + 3 * (y / 2)) % 9]);
    }
    return image;
}

// ffmpeg, told what the encoder is told (BT.709, limited range), turns the
// planes back into the frame.
QImage decodedByFfmpeg(const QByteArray& planes, const QSize& size)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-f", "rawvideo", "-pix_fmt", "yuv420p",
                            "-video_size", QString("%1x%2").arg(size.width()).arg(size.height()),
                            "-i", "-", "-vf",
                            "scale=in_color_matrix=bt709:in_range=tv:out_range=pc:flags=neighbor",
                            "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    ffmpeg.write(planes);
    ffmpeg.closeWriteChannel();
    if (!ffmpeg.waitForFinished(60000))
        return QImage();
    const QByteArray rgb = ffmpeg.readAllStandardOutput();
    if (rgb.size() != 3 * size.width() * size.height())
        return QImage();
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        memcpy(image.scanLine(y), rgb.constData() + 3 * y * size.width(), 3 * size.width());
    return image;
}

void TestFrameSinks::videoPlanesDecodeToTheFrame()
{
    const QSize size(36, 12);  // H.264 takes even sizes only
    const QImage frame = colourBlocks(size);
    QByteArray planes;
    convertToYuv420(frame, &planes);
    const int chroma = ((size.width() + 1) / 2) * ((size.height() + 1) / 2);
    QCOMPARE(planes.size(), size.width() * size.height() + 2 * chroma);
    const QImage decoded = decodedByFfmpeg(planes, size);
    QVERIFY(!decoded.isNull());
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QColor want = frame.pixelColor(x, y), got = decoded.pixelColor(x, y);
            const int off = qMax(qAbs(want.red() - got.red()),
                                 qMax(qAbs(want.green() - got.green()), qAbs(want.blue() - got.blue())));
            QVERIFY2(off <= 3, qPrintable(QString("(%1, %2): %3 for %4").arg(x).arg(y)
                                              .arg(got.name(), want.name())));
        }
    }
}

void TestFrameSinks::wrongSizeFrameIsSaidSo()
{
    QTemporaryDir dir;
    FfmpegSink sink(smallSilentVideo(dir.filePath("v.mp4")));
    QString error;
    QVERIFY2(sink.open(&error), qPrintable(error));
    QVERIFY(!sink.write(QImage(8, 9, QImage::Format_RGB32), &error));
    QCOMPARE(error, QString("a frame of 8x9 for a video of 16x16"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

void TestFrameSinks::videoEndedByExitLeavesNoFile()
{
    QTemporaryDir dir;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {kExitMidVideo, dir.filePath("v.mp4")});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

void TestFrameSinks::pngFramesAreCompleteAndNumbered()
{
    QTemporaryDir dir;
    const QString frames = dir.path() + "/new/frames";
    PngDirectorySink sink(frames);
    QString error;
    QVERIFY2(sink.open(&error), qPrintable(error));
    QImage image(16, 9, QImage::Format_RGB888);
    for (const QColor& color : {QColor(Qt::red), QColor(Qt::blue)}) {
        image.fill(color);
        QVERIFY2(sink.write(image, &error), qPrintable(error));
    }
    QVERIFY(sink.finish(&error));
    QCOMPARE(QDir(frames).entryList(QDir::Files),
             (QStringList{"frame_00000.png", "frame_00001.png"}));
    QCOMPARE(QImage(frames + "/frame_00001.png").pixelColor(3, 3), QColor(Qt::blue));
}

void TestFrameSinks::stoppedPngCaptureNamesWhatItLeft()
{
    QTemporaryDir dir;
    PngDirectorySink sink(dir.path());
    QString error;
    QVERIFY2(sink.open(&error), qPrintable(error));
    sink.abort();
    QCOMPARE(sink.leftBehind(), QString());
    const QImage image(4, 4, QImage::Format_RGB888);
    for (const QString& expected :
         {QString("frame_00000.png was written to '%1' before the capture stopped"),
          QString("frame_00000.png to frame_00001.png were written to '%1' before the capture stopped")}) {
        QVERIFY2(sink.write(image, &error), qPrintable(error));
        sink.abort();
        QCOMPARE(sink.leftBehind(), expected.arg(dir.path()));
    }
}

void TestFrameSinks::pngDirectoryThatIsAFileIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/taken";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    PngDirectorySink sink(path);
    QString error;
    QVERIFY(!sink.open(&error));
    QCOMPARE(error, QString("cannot write frames to '%1': it is a file, not a directory").arg(path));
    PngDirectorySink below(path + "/frames");
    QVERIFY(!below.open(&error));
    QCOMPARE(error, QString("cannot create the directory '%1/frames'").arg(path));
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kExitMidVideo) == 0)
        return exitMidVideo(QString::fromLocal8Bit(argv[2]));
    TestFrameSinks test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_framesinks.moc"

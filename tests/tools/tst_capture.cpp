#include "demorun.h"
#include "engine.h"
#include "offscreentarget.h"
#include "renderer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The quenvarix-capture program end to end, run as a child process.
class TestCapture : public QObject
{
    Q_OBJECT

private slots:
    void badRunsExitWith2_data();
    void badRunsExitWith2();
    void sameArgumentsSameBytes();
    void videoHasPictureAndSound();
    void failedVideoLeavesNoFile();
    void interruptedVideoLeavesNoFile();
    void offlineRunHandsTheEngineBack();
};

namespace {
const int kTimeoutMs = 240000;

struct Run {
    int status = -1;
    QString errors;
};

QString program()
{
    return QStringLiteral(QUENVARIX_BINARY_DIR "/tools/capture/quenvarix-capture");
}

Run capture(const QStringList& args, const QProcessEnvironment& environment =
                                         QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program(), args);
    Run run;
    if (process.waitForFinished(kTimeoutMs) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString streams(const QString& video)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_type,codec_name",
                            "-of", "csv=p=0", video});
    probe.waitForFinished(kTimeoutMs);
    return QString::fromLatin1(probe.readAllStandardOutput()).trimmed();
}

bool makeTone(const QString& path)
{
    return QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                        "sine=frequency=440:duration=1", path}) == 0;
}
}  // namespace

void TestCapture::badRunsExitWith2_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("pathVariable");  // empty: the inherited one
    QTest::addColumn<QString>("message");

    static QTemporaryDir dir;
    QFile file(dir.path() + "/file");
    file.open(QIODevice::WriteOnly);
    QTest::newRow("fps 0") << QStringList{"--out", "f", "--fps", "0"} << ""
                           << "--fps must be a whole number from 1 to 1000, got '0'";
    QTest::newRow("from after to") << QStringList{"--out", "f", "--from", "2", "--to", "1"} << ""
                                   << "--from (2) must be before --to (1)";
    QTest::newRow("unwritable video") << QStringList{"--out", file.fileName() + "/x.mp4"} << ""
        << QString("cannot write '%1/x.mp4': cannot create its directory").arg(file.fileName());
    QTest::newRow("no ffmpeg") << QStringList{"--out", dir.path() + "/x.mp4"} << "/nonexistent"
        << "ffmpeg not found: install it with 'sudo apt-get install ffmpeg'";
}

void TestCapture::badRunsExitWith2()
{
    QFETCH(QStringList, args);
    QFETCH(QString, pathVariable);
    QFETCH(QString, message);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!pathVariable.isEmpty())
        environment.insert("PATH", pathVariable);
    const Run run = capture(args + QStringList{"--no-audio"}, environment);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains("quenvarix-capture: " + message + "\n"), qPrintable(run.errors));
}

// Also: a capture that starts later shows the scene as a whole capture does.
void TestCapture::sameArgumentsSameBytes()
{
    QTemporaryDir dir;
    const QStringList common = {"--size", "160x90", "--to", "9060", "--quiet"};
    for (const char* name : {"a", "b"}) {
        const Run run = capture(common + QStringList{"--from", "9000", "--out", dir.filePath(name)});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
    }
    QVERIFY(capture(common + QStringList{"--from", "8980", "--out", dir.filePath("c")}).status == 0);
    const QStringList frames = {"frame_00000.png", "frame_00001.png", "frame_00002.png"};
    QCOMPARE(QDir(dir.filePath("a")).entryList(QDir::Files | QDir::Hidden), frames);
    for (int i = 0; i < 3; ++i) {
        const QByteArray first = contents(dir.filePath("a/") + frames[i]);
        QVERIFY(!first.isEmpty());
        QCOMPARE(contents(dir.filePath("b/") + frames[i]), first);
        QCOMPARE(contents(dir.filePath(QString("c/frame_%1.png").arg(i + 1, 5, 10, QChar('0')))),
                 first);
    }
}

void TestCapture::videoHasPictureAndSound()
{
    QTemporaryDir dir;
    QVERIFY(makeTone(dir.filePath("tone.mp3")));
    const Run run = capture({"--from", "4900", "--to", "5100", "--fps", "25", "--size", "160x90",
                             "--soundtrack", dir.filePath("tone.mp3"), "--out", dir.filePath("v.mp4")});
    QVERIFY2(run.status == 0, qPrintable(run.errors));
    QCOMPARE(streams(dir.filePath("v.mp4")), QString("h264,video\naac,audio"));
    QVERIFY(!QFile::exists(dir.filePath("v.tmp.mp4")));
}

void TestCapture::failedVideoLeavesNoFile()
{
    QTemporaryDir dir;
    QFile notAudio(dir.filePath("noise.mp3"));
    QVERIFY(notAudio.open(QIODevice::WriteOnly));
    notAudio.write("not a sound\n");
    notAudio.close();
    const Run run = capture({"--to", "100", "--size", "160x90", "--soundtrack", notAudio.fileName(),
                             "--out", dir.filePath("v.mp4")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.errors.contains("quenvarix-capture: ffmpeg"), qPrintable(run.errors));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"noise.mp3"});
}

void TestCapture::interruptedVideoLeavesNoFile()
{
    QTemporaryDir dir;
    QProcess process;
    // 46000 frames: far more than can be done before the interrupt arrives.
    process.start(program(), {"--fps", "1000", "--size", "160x90", "--no-audio", "--out",
                              dir.filePath("v.mp4")});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("v.tmp.mp4")), kTimeoutMs);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(kTimeoutMs));
    QCOMPARE(process.exitCode(), 130);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

void TestCapture::offlineRunHandsTheEngineBack()
{
    OffscreenTarget target;
    QString error;
    QVERIFY2(target.create(QSize(32, 18), &error), qPrintable(error));
    Engine* engine = Engine::GetInstance();
    {
        DemoRun demo(DemoRun::offline());
        demo.start();
        engine->GetRenderer()->ResizeWindow(32, 18);
        QCOMPARE(engine->GetScenes().size(), 1);
        demo.tick(40);
        QCOMPARE(engine->GetCurrentTime(), 40);
        demo.tick(47000);
        engine->Draw();
        QCOMPARE(target.read().pixelColor(16, 9), QColor(Qt::black));
    }
    QVERIFY(engine->GetScenes().isEmpty());
    QVERIFY(!engine->GetRenderer());
    QVERIFY(!engine->HasManualTime());
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"

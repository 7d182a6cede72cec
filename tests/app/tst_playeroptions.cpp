// The player's command line: what it accepts, and for every mistake the
// exact one-line message that goes to standard error with the usage.
#include "playeroptions.h"

#include <QtTest>

class TestPlayerOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void screenMustExist_data();
    void screenMustExist();
};

namespace {
PlayerOptions::Status parse(const QStringList& args, PlayerOptions* options,
                            QString* error = nullptr)
{
    QString ignored;
    return PlayerOptions::parse(QStringList{"quenvarix"} + args, options,
                                error ? error : &ignored);
}
}  // namespace

void TestPlayerOptions::accepted_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("windowed");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("audioDelay");
    QTest::addColumn<int>("fps");

    const QSize standard(1280, 720);
    QTest::newRow("none: as designed") << QStringList{} << false << standard << 0 << 0 << 50;
    QTest::newRow("windowed at the default size") << QStringList{"--windowed"} << true << standard
                                                  << 0 << 0 << 50;
    QTest::newRow("a size alone opens a window") << QStringList{"--size=800x600"} << true
                                                 << QSize(800, 600) << 0 << 0 << 50;
    QTest::newRow("smallest window, last instant, fastest timer")
        << QStringList{"--size", "64x64", "--start", "46000", "--fps", "240"} << true
        << QSize(64, 64) << 46000 << 0 << 240;
    QTest::newRow("sound ahead of the picture, one frame a second")
        << QStringList{"--audio-delay", "-120", "--fps", "1", "--mute", "--dev", "--loop"} << false
        << standard << 0 << -120 << 1;
}

void TestPlayerOptions::accepted()
{
    QFETCH(QStringList, args);
    PlayerOptions options;
    QString error;
    QCOMPARE(parse(args, &options, &error), PlayerOptions::Status::Ok);
    QCOMPARE(error, QString());
    QTEST(options.windowed, "windowed");
    QTEST(options.size, "size");
    QTEST(options.start, "start");
    QTEST(options.audioDelay, "audioDelay");
    QTEST(options.fps, "fps");
}

void TestPlayerOptions::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");

    const QString start = "--start expects a whole number of milliseconds from 0 to 46000 "
                          "(the end of the demo), got '%1'";
    QTest::newRow("unknown option") << QStringList{"--fullscreen"} << "Unknown option 'fullscreen'.";
    QTest::newRow("missing value") << QStringList{"--start"} << "Missing value after '--start'.";
    QTest::newRow("stray argument") << QStringList{"demo.mp3"} << "unexpected argument 'demo.mp3'";
    QTest::newRow("start in seconds") << QStringList{"--start", "30s"} << start.arg("30s");
    QTest::newRow("negative start") << QStringList{"--start", "-20"} << start.arg("-20");
    QTest::newRow("start past the end") << QStringList{"--start", "46001"} << start.arg("46001");
    QTest::newRow("no frames") << QStringList{"--fps", "0"}
                               << "--fps expects a whole number from 1 to 240, got '0'";
    QTest::newRow("beyond any screen") << QStringList{"--fps", "241"}
                                       << "--fps expects a whole number from 1 to 240, got '241'";
    const QString size = "--size expects WIDTHxHEIGHT, each from 64 to 16384 pixels, such as "
                         "1280x720; got '%1'";
    for (const char* bad : {"63x600", "800x10", "800", "800*600", "0x0", "99999x600"})
        QTest::newRow(qPrintable(QStringLiteral("size %1").arg(bad)))
            << QStringList{"--size", bad} << size.arg(bad);
    QTest::newRow("screen by name") << QStringList{"--screen", "HDMI-1"}
                                    << "--screen expects a screen number (see --list-screens), "
                                       "got 'HDMI-1'";
    QTest::newRow("delay beyond ten seconds")
        << QStringList{"--audio-delay", "10001"}
        << "--audio-delay expects a whole number of milliseconds from -10000 to 10000, got '10001'";
    QTest::newRow("loop that never ends") << QStringList{"--loop", "--exit-at-end"}
                                          << "--loop and --exit-at-end exclude each other";
}

void TestPlayerOptions::refused()
{
    QFETCH(QStringList, args);
    PlayerOptions options;
    options.fps = 7;  // a refused line changes nothing
    QString error;
    QCOMPARE(parse(args, &options, &error), PlayerOptions::Status::Error);
    QTEST(error, "error");
    QCOMPARE(options.fps, 7);
}

void TestPlayerOptions::screenMustExist_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("screens");
    QTest::addColumn<QString>("error");
    QTest::newRow("primary") << QStringList{} << 1 << QString();
    QTest::newRow("second of two") << QStringList{"--screen", "1"} << 2 << QString();
    QTest::newRow("second of one") << QStringList{"--screen", "1"} << 1
        << "--screen 1 does not exist: this display has 1 screen (see --list-screens)";
    QTest::newRow("fifth of two") << QStringList{"--screen", "4"} << 2
        << "--screen 4 does not exist: this display has 2 screens (see --list-screens)";
}

void TestPlayerOptions::screenMustExist()
{
    QFETCH(QStringList, args);
    QFETCH(int, screens);
    QFETCH(QString, error);
    PlayerOptions options;
    QCOMPARE(parse(args, &options), PlayerOptions::Status::Ok);
    QString message;
    QCOMPARE(options.checkScreen(screens, &message), error.isEmpty());
    QCOMPARE(message, error);
}

QTEST_GUILESS_MAIN(TestPlayerOptions)
#include "tst_playeroptions.moc"

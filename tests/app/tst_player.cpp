// The real player binary on the test display: it opens its window, draws the
// demo's first picture and exits 0 when Escape is pressed; asked for it, it
// logs its clock; its command line refuses mistakes before any window opens;
// --size and --exit-at-end do what they say.
#include "testscreen.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString playerPath()
{
    return qEnvironmentVariable("QUENVARIX_PLAYER");
}

// The player's own lines, but for the one that says there is no sound: the
// machine running the tests may have no sound server.
QStringList ownLines(const QByteArray& output)
{
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("quenvarix:") && !line.startsWith("quenvarix: no sound ("))
            lines << QString::fromUtf8(line);
    }
    return lines;
}

// Runs the player to its end; false if it had not ended within `timeout` ms.
// Its own runtime directory keeps the toolkit from warning on standard error.
bool runToEnd(QProcess* process, const QStringList& args, int timeout)
{
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    process->setProcessEnvironment(environment);
    process->start(playerPath(), args);
    return process->waitForFinished(timeout);
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void drawsTheIntroAndQuitsOnEscape();
    void timingLogStartsWithTheClock();
    void commandLine_data();
    void commandLine();
    void windowOfTheAskedSize();
    void exitsAtTheEnd();
};

void TestPlayer::init()
{
    if (playerPath().isEmpty())
        QSKIP("QUENVARIX_PLAYER names the binary (set by CTest)");
}

void TestPlayer::drawsTheIntroAndQuitsOnEscape()
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is needed to press Escape");

    QProcess process;
    process.start(playerPath(), QStringList());
    QVERIFY(process.waitForStarted());
    // The intro picture is on screen from engine time 0 to 5000.
    QTRY_VERIFY_WITH_TIMEOUT(testscreen::litShare(testscreen::grab()) > 0.02, 10000);
    QTest::qWait(1500);
    QCOMPARE(process.state(), QProcess::Running);

    QVERIFY(testscreen::pressEscape());
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(ownLines(process.readAllStandardError()), QStringList());  // no log unless asked
}

void TestPlayer::timingLogStartsWithTheClock()
{
    QProcess process;
    process.start(playerPath(), {"--timing-log"});
    QVERIFY(process.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardError(), ownLines(output).size() >= 4),
                             15000);
    process.kill();
    process.waitForFinished();
    const QStringList lines = ownLines(output);
    QVERIFY2(QRegularExpression("^quenvarix: engine time 0 = unix time \\d+\\.\\d{3}$").match(lines[0]).hasMatch(),
             qPrintable(lines[0]));
    // A virtual display does not wait for a refresh: the timer paces the frames.
    QCOMPARE(lines[1], QStringLiteral("quenvarix: frames follow the frame timer, every 20 ms"));
    QVERIFY2(lines[2].startsWith("quenvarix: engine 1"), qPrintable(lines[2]));
    QVERIFY2(lines[3].startsWith("quenvarix: engine 2"), qPrintable(lines[3]));
}

void TestPlayer::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // the start of standard output
    QTest::addColumn<QString>("err");  // all of standard error

    const QString usage = "Usage: quenvarix [options]\nTry 'quenvarix --help' for the options.\n";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: " << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Quenvarix 0." << QString();
    QTest::newRow("screens") << QStringList{"--list-screens"} << 0 << "0: " << QString();
    QTest::newRow("unknown option") << QStringList{"--fulscreen"} << 2 << QString()
                                    << "quenvarix: Unknown option 'fulscreen'.\n" + usage;
    QTest::newRow("rate out of range")
        << QStringList{"--windowed", "--fps", "500"} << 2 << QString()
        << "quenvarix: --fps expects a whole number from 1 to 240, got '500'\n" + usage;
    QTest::newRow("no such screen")
        << QStringList{"--screen", "7"} << 2 << QString()
        << "quenvarix: --screen 7 does not exist: this display has 1 screen "
           "(see --list-screens)\n" + usage;
}

// Answers and refusals come at once, without a window or a demo to build.
void TestPlayer::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    QProcess process;
    QVERIFY(runToEnd(&process, args, 5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "status");
    QVERIFY2(QString(process.readAllStandardOutput()).startsWith(out), qPrintable(out));
    QTEST(QString(process.readAllStandardError()), "err");
}

void TestPlayer::windowOfTheAskedSize()
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is needed to find the window");
    QProcess process;
    process.start(playerPath(), {"--windowed", "--size", "800x600", "--mute"});
    QVERIFY(process.waitForStarted());
    QProcess xdotool;
    xdotool.start("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Quenvarix$",
                      "getwindowgeometry"});
    QVERIFY(xdotool.waitForFinished(20000));
    const QByteArray found = xdotool.readAllStandardOutput();
    QVERIFY2(found.contains("Geometry: 800x600"), found.constData());
    QVERIFY(testscreen::pressEscape());
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

// From 45000 ms the demo has one second left, then the half-second tail.
void TestPlayer::exitsAtTheEnd()
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer wall;
    wall.start();
    QVERIFY(runToEnd(&process, {"--exit-at-end", "--start", "45000", "--mute", "--windowed"},
                     30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(wall.elapsed() >= 1500, "ended before the timeline did");
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"

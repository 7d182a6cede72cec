// The real player binary on the test display: it opens its window, draws the
// demo's first picture and exits 0 when Escape is pressed; asked for it, it
// logs its clock.
#include "testscreen.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString playerPath()
{
    return qEnvironmentVariable("QUENVARIX_PLAYER");
}

QStringList ownLines(const QByteArray& output)
{
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("quenvarix:"))
            lines << QString::fromUtf8(line);
    }
    return lines;
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheIntroAndQuitsOnEscape();
    void timingLogStartsWithTheClock();
};

void TestPlayer::drawsTheIntroAndQuitsOnEscape()
{
    const QString player = playerPath();
    if (player.isEmpty())
        QSKIP("QUENVARIX_PLAYER names the binary (set by CTest)");
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is needed to press Escape");

    QProcess process;
    process.start(player, QStringList());
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
    if (playerPath().isEmpty())
        QSKIP("QUENVARIX_PLAYER names the binary (set by CTest)");
    QProcess process;
    process.start(playerPath(), {"--timing-log"});
    QVERIFY(process.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += process.readAllStandardError(), ownLines(output).size() >= 3),
                             15000);
    process.kill();
    process.waitForFinished();
    const QStringList lines = ownLines(output);
    QVERIFY2(QRegularExpression("^quenvarix: engine time 0 = unix time \\d+\\.\\d{3}$").match(lines[0]).hasMatch(),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith("quenvarix: engine 1"), qPrintable(lines[1]));
    QVERIFY2(lines[2].startsWith("quenvarix: engine 2"), qPrintable(lines[2]));
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"

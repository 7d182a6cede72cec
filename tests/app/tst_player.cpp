// The real player binary on the test display: it opens its window, draws the
// demo's first picture and exits 0 when Escape is pressed.
#include "testscreen.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheIntroAndQuitsOnEscape();
};

void TestPlayer::drawsTheIntroAndQuitsOnEscape()
{
    const QString player = qEnvironmentVariable("QUENVARIX_PLAYER");
    if (player.isEmpty())
        QSKIP("QUENVARIX_PLAYER names the binary (set by CTest)");
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is needed to press Escape");

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
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
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"

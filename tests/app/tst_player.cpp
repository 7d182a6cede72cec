// The real player binary on the test display: it opens its window, draws the
// demo's first picture and exits 0 when Escape is pressed.
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

namespace {

// Share of pixels of the screen that are not black.
double litShare(const QImage& image)
{
    const QImage small = image.scaled(160, 90).convertToFormat(QImage::Format_RGB32);
    int lit = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x)
            lit += qGray(small.pixel(x, y)) > 16;
    }
    return double(lit) / (small.width() * small.height());
}

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

} // namespace

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
    QTRY_VERIFY_WITH_TIMEOUT(litShare(grabScreen()) > 0.02, 10000);
    QTest::qWait(1500);
    QCOMPARE(process.state(), QProcess::Running);

    QCOMPARE(QProcess::execute("xdotool", {"key", "Escape"}), 0);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"

// An installed tree that was moved: `cmake --install` into one directory,
// renamed to another, and the player run from there finds its data beside
// itself and plays the intro with every texture.
#include "testscreen.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestMovedInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_moved;

private slots:
    void initTestCase();
    void playsTheIntroWithEveryTexture();
};

void TestMovedInstall::initTestCase()
{
    if (QFileInfo(QUENVARIX_INSTALLED_DATA_DIR "data").isDir())
        QSKIP("an installation at " QUENVARIX_INSTALLED_DATA_DIR " would be used instead of the moved one");
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is needed to press Escape");
    QVERIFY(m_root.isValid());
    const QString staged = m_root.filePath("staged");
    m_moved = m_root.filePath("elsewhere/quenvarix");
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.setStandardOutputFile(QProcess::nullDevice());
    install.start(QUENVARIX_CMAKE_COMMAND, {"--install", QUENVARIX_BINARY_DIR, "--prefix", staged});
    QVERIFY(install.waitForFinished(120000));
    QCOMPARE(install.exitCode(), 0);
    QVERIFY(QDir(m_root.path()).mkpath("elsewhere"));
    QVERIFY(QDir().rename(staged, m_moved));
}

void TestMovedInstall::playsTheIntroWithEveryTexture()
{
    QProcess player;
    player.start(m_moved + "/bin/quenvarix", QStringList());
    QVERIFY(player.waitForStarted());
    // The intro picture is on screen from engine time 0 to 5000.
    QTRY_VERIFY_WITH_TIMEOUT(testscreen::litShare(testscreen::grab()) > 0.02, 20000);
    QCOMPARE(player.state(), QProcess::Running);
    QVERIFY(testscreen::pressEscape());
    QVERIFY(player.waitForFinished(10000));
    const QString messages = player.readAllStandardError();
    QVERIFY2(player.exitCode() == 0, qPrintable(messages));  // what the player said tells why
    QVERIFY2(!messages.contains("texture not initialized"), qPrintable(messages));
}

QTEST_MAIN(TestMovedInstall)
#include "tst_movedinstall.moc"

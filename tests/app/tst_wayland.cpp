// The real player in a Wayland session without an X display: a compositor
// of its own (weston's headless back end, in a private runtime directory,
// stopped whatever happens) shows that the player picks Wayland by itself,
// draws the demo, follows the compositor's repaints and exits 0 at the end.
#include "diewithtest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Share of the picture's pixels that are not black. The screenshot's alpha
// channel means nothing (the window is opaque), so it is left out.
double litShare(const QImage& screenshot)
{
    const QImage rgb = screenshot.convertToFormat(QImage::Format_RGB32);
    int lit = 0;
    for (int y = 0; y < rgb.height(); y += 4) {
        for (int x = 0; x < rgb.width(); x += 4)
            lit += qGray(rgb.pixel(x, y)) > 16;
    }
    return lit / double(((rgb.width() + 3) / 4) * ((rgb.height() + 3) / 4));
}

// A compositor for this test alone; killed when it goes out of scope.
class Compositor
{
public:
    bool start()
    {
        if (!m_runtime.isValid())
            return false;
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_weston.setProcessEnvironment(environment());
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        dieWithTest(m_weston);
        m_weston.start("weston", {"--backend=headless-backend.so", "--use-pixman", "--debug",
                                  "--no-config", "--idle-time=0", "--socket=" + socket(),
                                  "--width=640", "--height=360"});
        if (!m_weston.waitForStarted())
            return false;
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(m_runtime.filePath(socket())) && !deadline.hasExpired())
            QTest::qWait(50);
        return QFile::exists(m_runtime.filePath(socket()));
    }
    ~Compositor()
    {
        if (m_weston.state() == QProcess::NotRunning)
            return;
        m_weston.terminate();
        if (!m_weston.waitForFinished(5000)) {
            m_weston.kill();
            m_weston.waitForFinished();
        }
    }

    // For a client of this compositor only: no X display, no forced platform.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("XDG_RUNTIME_DIR", m_runtime.path());
        environment.insert("WAYLAND_DISPLAY", socket());
        return environment;
    }
    QString directory() const { return m_runtime.path(); }
    QByteArray log() { return m_weston.readAll(); }

private:
    QString socket() const { return QStringLiteral("quenvarix-test"); }

    QTemporaryDir m_runtime;
    QProcess m_weston;
};

// Runs `program` in the compositor's session, in its runtime directory.
void startClient(QProcess* process, const Compositor& compositor, const QString& program,
                 const QStringList& args)
{
    process->setProcessEnvironment(compositor.environment());
    process->setWorkingDirectory(compositor.directory());
    process->start(program, args);
}

void startPlayer(QProcess* player, const Compositor& compositor, const QStringList& args)
{
    startClient(player, compositor, qEnvironmentVariable("QUENVARIX_PLAYER"), args);
}

QImage screenshot(const Compositor& compositor)
{
    QProcess shooter;
    startClient(&shooter, compositor, "weston-screenshooter", {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0)
        return QImage();
    const QStringList shots = QDir(compositor.directory()).entryList({"wayland-screenshot*.png"});
    return shots.isEmpty() ? QImage() : QImage(compositor.directory() + "/" + shots.last());
}

// Stops the player by its pid if it still runs.
struct Stopped
{
    QProcess& process;
    ~Stopped()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};

}  // namespace

class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsOneFramePerRepaint();
    void exitsAtTheEnd();
};

void TestWayland::initTestCase()
{
    if (qEnvironmentVariable("QUENVARIX_PLAYER").isEmpty())
        QSKIP("QUENVARIX_PLAYER names the binary (set by CTest)");
    if (QStandardPaths::findExecutable("weston").isEmpty())
        QSKIP("weston is not installed");
}

void TestWayland::drawsOneFramePerRepaint()
{
    Compositor compositor;
    QVERIFY2(compositor.start(), compositor.log().constData());
    QProcess player;
    Stopped stopped{player};
    startPlayer(&player, compositor, {"--mute", "--timing-log"});
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += player.readAllStandardError(), log.contains("engine 2")), 20000);
    QVERIFY2(log.contains("quenvarix: frames follow the display, one per refresh"), log.constData());
    const QImage shot = screenshot(compositor);
    QVERIFY(!shot.isNull());
    QVERIFY2(litShare(shot) > 0.05, qPrintable(QString::number(litShare(shot))));
}

void TestWayland::exitsAtTheEnd()
{
    Compositor compositor;
    QVERIFY2(compositor.start(), compositor.log().constData());
    QProcess player;
    Stopped stopped{player};
    startPlayer(&player, compositor, {"--mute", "--start", "45000", "--exit-at-end"});
    QVERIFY(player.waitForFinished(20000));
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QCOMPARE(player.exitCode(), 0);
}

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"

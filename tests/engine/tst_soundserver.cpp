// The soundtrack against a real sound server of its own (PulseAudio with a
// null sink): the track comes back after the server is killed and started
// again, and a track that simply ends is left alone.
#include "music.h"

#include <phonon/MediaObject>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestSoundServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void endOfTrackIsNoLoss();
    void trackComesBackWithTheServer();

private:
    bool startServer();
    // Starts `track` at once and waits until it plays.
    bool play(Music& music, const QString& track)
    {
        music.init();
        music.load(track);
        music.play(0);
        return QTest::qWaitFor([&] { return playing(music); }, 5000);
    }
    void killServer();
    bool playing(const Music& music) const
    {
        return music.GetMedia()->state() == Phonon::PlayingState;
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    QString m_shortTrack;  // 1 s
    QString m_longTrack;   // 20 s
};

namespace {
QString tone(const QTemporaryDir& dir, int seconds)
{
    const QString path = dir.filePath(QString("tone%1.mp3").arg(seconds));
    const int status = QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", path, "synth",
                                                 QString::number(seconds), "sine", "440"});
    return status == 0 ? path : QString();
}
}  // namespace

// Set before the first Phonon object: the back end looks for its server once.
void TestSoundServer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_shortTrack = tone(m_dir, 1);
    m_longTrack = tone(m_dir, 20);
    if (m_shortTrack.isEmpty() || m_longTrack.isEmpty())
        QSKIP("sox with MP3 support is needed to make the test tracks");
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
        QSKIP("pulseaudio is needed for a sound server of the test's own");
    qputenv("PULSE_SERVER", "unix:" + m_dir.filePath("native").toLocal8Bit());
    QVERIFY(startServer());
}

void TestSoundServer::cleanupTestCase()
{
    killServer();
}

bool TestSoundServer::startServer()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_dir.path());
    environment.insert("XDG_RUNTIME_DIR", m_dir.path());
    m_server.setProcessEnvironment(environment);
    m_server.setStandardErrorFile(QProcess::nullDevice());  // root warnings and the like
    m_server.start("pulseaudio",
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                    "--use-pid-file=no", "-L", "module-null-sink",
                    "-L", "module-native-protocol-unix auth-anonymous=1 socket=" +
                              m_dir.filePath("native")});
    if (!m_server.waitForStarted())
        return false;
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(m_dir.filePath("native")) && waited.elapsed() < 5000)
        QTest::qWait(20);
    return QFile::exists(m_dir.filePath("native"));
}

void TestSoundServer::killServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_server.processId()), SIGKILL);
    m_server.waitForFinished();
    QFile::remove(m_dir.filePath("native"));
}

void TestSoundServer::endOfTrackIsNoLoss()
{
    Music music;
    QVERIFY(play(music, m_shortTrack));
    QTRY_VERIFY_WITH_TIMEOUT(!playing(music), 5000);
    QTest::qWait(2 * Music::kFirstReopenDelay);
    QCOMPARE(music.GetMedia()->state(), Phonon::StoppedState);
}

void TestSoundServer::trackComesBackWithTheServer()
{
    Music music;
    QVERIFY(play(music, m_longTrack));
    // Mid-track, as a user would meet it: the stream well under way.
    QTRY_VERIFY_WITH_TIMEOUT(music.Position() > 500, 5000);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^quenvarix: the sound stopped"));
    killServer();
    QTRY_VERIFY_WITH_TIMEOUT(!playing(music), 5000);
    QTest::qWait(Music::kFirstReopenDelay + 500);  // a first attempt finds no server
    QVERIFY(startServer());
    QTRY_VERIFY_WITH_TIMEOUT(playing(music), 4 * Music::kFirstReopenDelay + 3000);
}

QTEST_MAIN(TestSoundServer)
#include "tst_soundserver.moc"

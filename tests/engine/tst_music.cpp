// The soundtrack player against a PulseAudio server of the test's own (a null
// sink: no sound card needed): the delayed start, one message and silence for
// every fault, and the track that comes back with its server.
#include "engineclock.h"
#include "music.h"
#include "pulseserver.h"

#include <gst/gst.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList g_messages;

void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_messages << message;
}

QString tone(const QTemporaryDir& dir, int seconds)
{
    const QString path = dir.filePath(QString("tone%1.mp3").arg(seconds));
    const int status = QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", path, "synth",
                                                 QString::number(seconds), "sine", "440"});
    return status == 0 ? path : QString();
}

// Follows as the frames of a player do, for `ms`.
void playFor(Music& music, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QTest::qWait(20);
        music.Follow();
    }
}

} // namespace

class TestMusic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void engineClockIsOnThePipelinesTimeBase();
    void heardFromItsDelay_data();
    void heardFromItsDelay();
    void faultGivesOneMessageAndSilence_data();
    void faultGivesOneMessageAndSilence();
    void endOfTrackIsNoLoss();
    void trackComesBackWithTheServer();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PulseServer> m_server;
    QString m_shortTrack;  // 1 s
    QString m_longTrack;   // 20 s
};

void TestMusic::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_shortTrack = tone(m_dir, 1);
    m_longTrack = tone(m_dir, 20);
    if (m_shortTrack.isEmpty() || m_longTrack.isEmpty())
        QSKIP("sox with MP3 support is needed to make the test tracks");
    if (!PulseServer::available())
        QSKIP("pulseaudio is needed for a sound server of the test's own");
    m_server = std::make_unique<PulseServer>(m_dir);
    QVERIFY(m_server->start());
}

// The track is scheduled on the engine clock's origin: both must read the
// same monotonic clock.
void TestMusic::engineClockIsOnThePipelinesTimeBase()
{
    EngineClock clock;
    gst_init(nullptr, nullptr);
    GstClock* system = gst_system_clock_obtain();
    const qint64 before = qint64(gst_clock_get_time(system));
    clock.start();
    const qint64 after = qint64(gst_clock_get_time(system));
    gst_object_unref(system);
    QVERIFY(clock.originNs() >= before);
    QVERIFY(clock.originNs() <= after);
}

void TestMusic::heardFromItsDelay_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("blocked");  // ms the event loop does not run after play()
    QTest::newRow("at once") << 0 << 0;
    QTest::newRow("later") << 600 << 0;
    QTest::newRow("counted while the loop is blocked") << 600 << 400;
}

void TestMusic::heardFromItsDelay()
{
    QFETCH(int, delay);
    QFETCH(int, blocked);
    Music music;
    music.init();
    music.load(m_longTrack);
    QElapsedTimer clock;
    clock.start();
    music.play(delay);
    QCOMPARE(music.GetAudioPosition(), -1);  // not inside the call
    QThread::msleep(blocked);
    while (clock.elapsed() < delay - 50) {
        QCOMPARE(music.GetAudioPosition(), -1);
        playFor(music, 20);
    }
    QVERIFY(QTest::qWaitFor([&] { music.Follow(); return music.GetAudioPosition() >= 0; }, 1000));
    QVERIFY(clock.elapsed() >= delay);
    QVERIFY(music.IsPlaying());
}

void TestMusic::faultGivesOneMessageAndSilence_data()
{
    QTest::addColumn<QString>("track");
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("blames");  // what the message names
    QTest::newRow("missing file") << "no-such-track.mp3" << true << "track";
    QTest::newRow("not an MP3") << "junk.mp3" << true << "track";
    QTest::newRow("cut off mid-track") << "cut.mp3" << true << "track";
    QTest::newRow("no sound server") << "tone20.mp3" << false << "sound output";
}

void TestMusic::faultGivesOneMessageAndSilence()
{
    QFETCH(QString, track);
    QFETCH(bool, server);
    QFETCH(QString, blames);
    QFile junk(m_dir.filePath("junk.mp3"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(64 * 1024, '\x5a'));
    junk.close();
    // Half a second of the long tone, then noise where the rest should be.
    QFile tone(m_longTrack), cut(m_dir.filePath("cut.mp3"));
    QVERIFY(tone.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(tone.read(8 * 1024) + QByteArray(300 * 1024, '\x5a'));
    cut.close();
    const QByteArray serverAddress = qgetenv("PULSE_SERVER");
    if (!server)
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(m_dir.filePath("nobody-here")));
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    bool silent = false;
    {
        Music music;
        music.init();
        music.load(m_dir.filePath(track));
        music.SetVolume(1.0f);
        music.play(0);
        const bool told = QTest::qWaitFor([&] { music.Follow(); return !g_messages.isEmpty(); }, 5000);
        playFor(music, 500);  // no second message
        silent = told && !music.IsPlaying();
    }
    qInstallMessageHandler(previous);
    qputenv("PULSE_SERVER", serverAddress);
    QVERIFY(silent);
    QCOMPARE(g_messages.size(), 1);
    const QString named = blames == "track" ? m_dir.filePath(track) : blames;
    QVERIFY2(g_messages.first().startsWith("quenvarix: no sound (" + named + ": "),
             qPrintable(g_messages.first()));
}

void TestMusic::endOfTrackIsNoLoss()
{
    Music music;
    music.init();
    music.load(m_shortTrack);
    music.play(0);
    QVERIFY(QTest::qWaitFor([&] { music.Follow(); return music.IsPlaying(); }, 5000));
    playFor(music, 1000 + 2 * Music::kFirstReopenDelay);
    QCOMPARE(music.GetAudioPosition(), -1);
    QCOMPARE(music.SeekCount(), 1);
}

void TestMusic::trackComesBackWithTheServer()
{
    Music music;
    music.init();
    music.load(m_longTrack);
    music.play(0);
    // Mid-track, as a user would meet it: the stream well under way.
    QVERIFY(QTest::qWaitFor([&] { music.Follow(); return music.GetAudioPosition() > 500; }, 5000));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^quenvarix: the sound stopped"));
    m_server->kill();
    QVERIFY(QTest::qWaitFor([&] { music.Follow(); return !music.IsPlaying(); }, 5000));
    playFor(music, Music::kFirstReopenDelay + 500);  // a first attempt finds no server
    QVERIFY(m_server->start());
    QVERIFY(QTest::qWaitFor([&] { music.Follow(); return music.GetAudioPosition() > 0; },
                            4 * Music::kFirstReopenDelay + 3000));
    // In place: where a track started with the test would be.
    QVERIFY(music.GetAudioPosition() > 2 * Music::kFirstReopenDelay);
}

QTEST_MAIN(TestMusic)
#include "tst_music.moc"

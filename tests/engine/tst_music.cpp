// The soundtrack player over Phonon: the silent lead-in, the delayed start and
// silence on a bad file. There is no sound card here; the back end still runs
// its pipeline.
#include "music.h"

#include <phonon/AudioOutput>
#include <phonon/MediaObject>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool audible(const Music& music)
{
    return music.GetOutput()->volume() > 0 && music.GetMedia()->state() == Phonon::PlayingState;
}

QStringList g_messages;

void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_messages << message;
}

} // namespace

class TestMusic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initBuildsTheGraph();
    void playDoesNotStartInsideTheCall();
    void leadInRunsSilently();
    void playbackStartsAfterTheDelay();
    void delayCountsFromTheCallNotFromTheLoop();
    void wrongPathGivesSilenceAndNoCrash();
    void fileThatIsNoMp3GivesSilenceAndNoCrash();

private:
    QTemporaryDir m_dir;
    QString m_track;
};

// A one-second tone made here, so the test needs no asset.
void TestMusic::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_track = m_dir.filePath("tone.mp3");
    const int status = QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", m_track,
                                                 "synth", "1", "sine", "440"});
    if (status != 0)
        QSKIP("sox with MP3 support is needed to make the test track");
}

void TestMusic::initBuildsTheGraph()
{
    Music music;
    QVERIFY(!music.GetMedia());
    music.init();
    QVERIFY(music.GetMedia());
    QCOMPARE(music.GetOutput()->category(), Phonon::GameCategory);
    music.SetVolume(0.5f);
    QCOMPARE(music.GetOutput()->volume(), 0.5);
}

void TestMusic::playDoesNotStartInsideTheCall()
{
    Music music;
    music.init();
    music.load(m_track);
    music.play(0);
    QVERIFY(!audible(music));
    QTRY_VERIFY_WITH_TIMEOUT(audible(music), 5000);
}

// The track is opened and running before its start, but not heard; the
// one-second tone outlasts a three-second lead-in.
void TestMusic::leadInRunsSilently()
{
    Music music;
    music.init();
    music.load(m_track);
    music.SetVolume(0.5f);
    QElapsedTimer clock;
    clock.start();
    music.play(3000);
    bool ranSilently = false;
    while (clock.elapsed() < 2800) {
        QTest::qWait(20);
        music.Follow(int(clock.elapsed()));  // as every frame does
        ranSilently |= music.GetMedia()->state() == Phonon::PlayingState;
        QCOMPARE(music.GetOutput()->volume(), 0.0);
    }
    QVERIFY(ranSilently);
    while (clock.elapsed() < 6000 && !audible(music)) {
        QTest::qWait(20);
        music.Follow(int(clock.elapsed()));
    }
    QCOMPARE(music.GetOutput()->volume(), 0.5);
    QVERIFY(audible(music));
}

void TestMusic::playbackStartsAfterTheDelay()
{
    Music music;
    music.init();
    music.load(m_track);
    QElapsedTimer clock;
    clock.start();
    music.play(400);
    QTest::qWait(250);
    QVERIFY(!audible(music));
    QTRY_VERIFY_WITH_TIMEOUT(audible(music), 5000);
    QVERIFY(clock.elapsed() >= 400 - music.GetFollow().SeekCost());
}

// The engine arms the delay before the event loop runs; time spent blocked
// still counts towards it.
void TestMusic::delayCountsFromTheCallNotFromTheLoop()
{
    Music music;
    music.init();
    music.load(m_track);
    QElapsedTimer clock;
    clock.start();
    music.play(300);
    QThread::msleep(300);  // the loop is not running
    QTRY_VERIFY_WITH_TIMEOUT(audible(music), 5000);
    QVERIFY(clock.elapsed() < 300 + 2500);
}

// No seek, no message: the follower, called as on every frame, leaves a
// track that never plays alone.
void TestMusic::wrongPathGivesSilenceAndNoCrash()
{
    Music music;
    music.init();
    music.load(m_dir.filePath("no-such-track.mp3"));
    music.SetVolume(1.0f);
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    music.play(0);
    for (int frame = 0; frame < 50; ++frame) {
        QTest::qWait(20);
        music.Follow(frame * 20);
    }
    qInstallMessageHandler(previous);
    QVERIFY(music.GetMedia()->state() != Phonon::PlayingState);
    QCOMPARE(music.GetFollow().SeekCount(), 0);
    QCOMPARE(g_messages, QStringList());
}

void TestMusic::fileThatIsNoMp3GivesSilenceAndNoCrash()
{
    const QString junk = m_dir.filePath("junk.mp3");
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    Music music;
    music.init();
    music.load(junk);
    music.play(0);
    QTest::qWait(1000);
    QVERIFY(music.GetMedia()->state() != Phonon::PlayingState);
}

QTEST_MAIN(TestMusic)
#include "tst_music.moc"

// The music follower on a manual clock, with a stand-in track whose seeks
// land late or off target, and which can stop moving.
#include "musicfollow.h"
#include "musictrack.h"

#include <QtTest>

namespace {

const int kDelay = 5000;

// A track that plays from engine time 0 and obeys seeks after `seekTakes`
// ms; the first landing after the start is off by `startError` ms.
class StandInTrack : public MusicTrack
{
public:
    bool IsPlaying() const override { return playing; }
    qint64 Position() const override
    {
        if (frozen)
            return frozenAt;
        return anchor + qMax(0, now - anchorAt);
    }
    qint64 Length() const override { return 53000; }
    void Seek(qint64 ms) override
    {
        seeks.append({now, Position(), ms});
        anchor = ms + (seeks.size() == 1 ? startError : 0);
        anchorAt = now + seekTakes;
    }
    void SetAudible(bool on) override { audible = on; }

    void freeze() { frozenAt = Position(); frozen = true; }

    int now = 0;
    bool playing = true;
    bool audible = false;
    bool frozen = false;
    qint64 frozenAt = 0;
    int seekTakes = 40;
    int startError = 0;
    qint64 anchor = 0;
    int anchorAt = 0;
    struct SeekCall
    {
        int at;
        qint64 from, to;
    };
    QList<SeekCall> seeks;
};

struct Rig
{
    Rig() : follow(&track) { follow.SetDelay(kDelay); }

    // Frames every `step` ms from the last time up to `until`.
    void run(int until, int step = 20)
    {
        for (int t = track.now; t <= until; t += step) {
            track.now = t;
            follow.Update(t);
        }
    }
    int difference() const { return int(track.Position()) - follow.ExpectedPosition(track.now); }

    StandInTrack track;
    MusicFollow follow;
};

} // namespace

class TestMusicFollow : public QObject
{
    Q_OBJECT

private slots:
    void startIsCorrected_data();
    void startIsCorrected();
    void silentUntilTheStart();
    void offsetMovesTheSound();
    void noTrackIsNeverSought();
    void stalledTrackIsNotSoughtInALoop();
    void trackThatNeverLandsIsSoughtRarely();
    void jumpOfThePictureIsFollowed_data();
    void jumpOfThePictureIsFollowed();
    void heldPictureSilencesTheTrack();
};

void TestMusicFollow::startIsCorrected_data()
{
    QTest::addColumn<int>("startError");  // ms the start landed off, positive: track ahead
    QTest::addColumn<bool>("corrections");
    QTest::addColumn<int>("direction");   // of the correcting seek against the track: +1 forward
    QTest::newRow("late start is sought forward") << -60 << true << +1;
    QTest::newRow("early start is sought back") << 80 << true << -1;
    QTest::newRow("within tolerance is left alone") << 12 << false << 0;
    QTest::newRow("within tolerance the other way") << -14 << false << 0;
}

void TestMusicFollow::startIsCorrected()
{
    QFETCH(int, startError);
    QFETCH(bool, corrections);
    QFETCH(int, direction);
    Rig rig;
    rig.track.seekTakes = 20;  // as the follower first assumes
    rig.track.startError = startError;
    rig.run(8000);
    // What the start took is learnt as the cost of a seek, so a correction
    // may overshoot once.
    const int made = rig.track.seeks.size() - 1;
    QVERIFY2(corrections ? made >= 1 && made <= 2 : made == 0, qPrintable(QString::number(made)));
    if (corrections) {
        const StandInTrack::SeekCall& fix = rig.track.seeks.at(1);
        QCOMPARE(fix.to > fix.from ? +1 : -1, direction);
    }
    QVERIFY2(qAbs(rig.difference()) <= MusicFollow::kTolerance, qPrintable(QString::number(rig.difference())));
}

void TestMusicFollow::silentUntilTheStart()
{
    Rig rig;
    rig.run(4900);
    QVERIFY(!rig.track.audible);
    QVERIFY(rig.track.seeks.isEmpty());
    rig.run(5000);
    QVERIFY(rig.track.audible);
    QCOMPARE(rig.track.seeks.size(), 1);
}

// A positive offset plays the sound later: the track is held that much behind.
void TestMusicFollow::offsetMovesTheSound()
{
    Rig rig;
    rig.follow.SetOffset(100);
    rig.run(9000);
    QVERIFY(qAbs(rig.track.Position() - (9000 - kDelay - 100)) <= MusicFollow::kTolerance);
}

void TestMusicFollow::noTrackIsNeverSought()
{
    Rig rig;
    rig.track.playing = false;
    rig.run(20000);
    QVERIFY(rig.track.seeks.isEmpty());
    QVERIFY(!rig.follow.IsStarted());
}

// A device that goes away leaves the position standing: no seek can help.
void TestMusicFollow::stalledTrackIsNotSoughtInALoop()
{
    Rig rig;
    rig.run(7000);
    const int before = rig.track.seeks.size();
    rig.track.freeze();
    rig.run(30000);
    QCOMPARE(rig.track.seeks.size(), before);
}

// Seeks that land 60 ms off, early and late in turn, so no learning helps:
// a few attempts, then ever rarer ones.
void TestMusicFollow::trackThatNeverLandsIsSoughtRarely()
{
    class OffTarget : public StandInTrack
    {
    public:
        void Seek(qint64 ms) override { StandInTrack::Seek(ms + ((late = !late) ? -60 : 60)); }
        bool late = false;
    };
    OffTarget track;
    MusicFollow follow(&track);
    follow.SetDelay(kDelay);
    for (int t = 0; t <= 35000; t += 20) {
        track.now = t;
        follow.Update(t);
    }
    QVERIFY2(track.seeks.size() <= 12, qPrintable(QString::number(track.seeks.size())));
    QVERIFY(track.seeks.size() >= 1 + MusicFollow::kFreeRetries);
}

void TestMusicFollow::jumpOfThePictureIsFollowed_data()
{
    QTest::addColumn<int>("jumpTo");
    QTest::addColumn<bool>("audible");
    QTest::newRow("forward") << 30000 << true;
    QTest::newRow("back into the track") << 7000 << true;
    QTest::newRow("back before the start") << 2000 << false;
}

void TestMusicFollow::jumpOfThePictureIsFollowed()
{
    QFETCH(int, jumpTo);
    QFETCH(bool, audible);
    Rig rig;
    rig.run(12000);
    rig.track.now = jumpTo;
    rig.run(jumpTo + 2000);
    QCOMPARE(rig.track.audible, audible);
    if (audible)
        QVERIFY(qAbs(rig.difference()) <= MusicFollow::kTolerance);
}

// The picture pauses for 3 s while the track plays on: silent meanwhile, and
// back in step after.
void TestMusicFollow::heldPictureSilencesTheTrack()
{
    Rig rig;
    rig.run(10000);
    rig.follow.Hold();
    QVERIFY(!rig.track.audible);
    rig.track.now = 13000;  // the track ran on; engine time stands at 10000
    rig.follow.Update(10000);
    QVERIFY(rig.track.audible);
    for (int t = 10000, real = 13000; t <= 12000; t += 20, real += 20) {
        rig.track.now = real;
        rig.follow.Update(t);
    }
    QVERIFY(qAbs(int(rig.track.Position()) - rig.follow.ExpectedPosition(12000)) <= MusicFollow::kTolerance);
}

QTEST_GUILESS_MAIN(TestMusicFollow)
#include "tst_musicfollow.moc"

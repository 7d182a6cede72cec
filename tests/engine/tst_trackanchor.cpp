// Engine time to track position: where an anchor taken after the engine
// clock was started, paused, resumed or moved puts the track.
#include "clockscript.h"
#include "engineclock.h"
#include "trackanchor.h"

#include <QtTest>

namespace {
const qint64 kMs = 1000000;
const qint64 kLead = 40 * kMs;
}

class TestTrackAnchor : public QObject
{
    Q_OBJECT

private slots:
    void anchor_data();
    void anchor();
};

void TestTrackAnchor::anchor_data()
{
    // Steps as playClockScript reads them: start, pause, resume, jumpMS, +MS.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("trackStart");  // play delay + audio delay
    QTest::addColumn<int>("position");    // ms into the track the anchor resumes at
    QTest::addColumn<int>("heardAt");     // ms after the anchor is taken that it is heard
    QTest::newRow("before the start") << "start +20" << 5000 << 0 << 4980;
    QTest::newRow("the lead reaches the start") << "start +4980" << 5000 << 20 << 40;
    QTest::newRow("under way") << "start +9000" << 5000 << 4040 << 40;
    QTest::newRow("audio delay") << "start +9000" << 5100 << 3940 << 40;
    QTest::newRow("negative audio delay") << "start +9000" << 4900 << 4140 << 40;
    QTest::newRow("resumed after a pause") << "start +9000 pause +3000 resume +1000" << 5000 << 5040 << 40;
    QTest::newRow("jumped ahead") << "start +100 jump30000 +10" << 5000 << 25050 << 40;
    QTest::newRow("jumped back before the start") << "start +9000 jump1000 +10" << 5000 << 0 << 3990;
    QTest::newRow("jumped while paused, then resumed")
        << "start +9000 pause jump20000 +500 resume" << 5000 << 15040 << 40;
}

void TestTrackAnchor::anchor()
{
    QFETCH(QString, steps);
    QFETCH(int, trackStart);
    qint64 source = 1000 * kMs;
    EngineClock clock([&source] { return source; });
    const QString unknown = playClockScript(&clock, &source, steps);
    QVERIFY2(unknown.isEmpty(), qPrintable("unknown step " + unknown));
    const TrackAnchor anchor = anchorTrack(clock.originNs(), source, trackStart, kLead);
    QTEST(int(anchor.position / kMs), "position");
    QTEST(int((anchor.heardAt - source) / kMs), "heardAt");
}

QTEST_GUILESS_MAIN(TestTrackAnchor)
#include "tst_trackanchor.moc"

// Pause, seek and step: where each lands on the player's frame steps, and a
// paused picture stays paused through a seek.
#include "demorun.h"
#include "engine.h"
#include "recordeddemo.h"
#include "transport.h"

#include <QtTest>

namespace {
int engineTime()
{
    return Engine::GetInstance()->GetCurrentTime();
}
}  // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void landsOnTheFrameSteps_data();
    void landsOnTheFrameSteps();
    void pauseHoldsThroughASeek();
    void steppingOnDrawsWhatASeekDraws();
};

void TestTransport::landsOnTheFrameSteps_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<int>("seek");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("time");
    QTest::newRow("seek") << 50 << 30000 << 0 << 30000;
    QTest::newRow("before the start") << 50 << -500 << 0 << 0;
    QTest::newRow("past the end") << 50 << 99999 << 0 << 46000;
    QTest::newRow("a frame on") << 50 << 30000 << 1 << 30020;
    QTest::newRow("back from between two steps") << 50 << 12345 << -1 << 12320;
    QTest::newRow("on from between two steps") << 50 << 12345 << 1 << 12360;
    QTest::newRow("back before the first") << 50 << 0 << -1 << 0;
    QTest::newRow("60 fps steps") << 60 << 1000 << 1 << 1016;
}

void TestTransport::landsOnTheFrameSteps()
{
    QFETCH(int, fps);
    QFETCH(int, seek);
    QFETCH(int, step);
    DemoRun demo(recorded(true));
    demo.start();
    Transport transport(&demo, fps);
    transport.setPaused(true);
    transport.seekTo(seek);
    if (step != 0)
        transport.stepFrames(step);
    QTEST(engineTime(), "time");
}

void TestTransport::pauseHoldsThroughASeek()
{
    DemoRun demo(recorded(false));
    demo.start();
    Transport transport(&demo, 50);
    transport.setPaused(true);
    transport.seekTo(12000);
    QTest::qWait(30);
    QCOMPARE(engineTime(), 12000);
    QVERIFY(transport.isPaused());
    transport.setPaused(false);
    QTRY_VERIFY(engineTime() > 12000);
}

// Frame by frame on from a paused seek, and a second on, the demo goes on
// from where it stands instead of being built again: the same picture.
void TestTransport::steppingOnDrawsWhatASeekDraws()
{
    DemoRun demo(recorded(true));
    demo.start();
    Transport transport(&demo, 50);
    transport.setPaused(true);
    transport.seekTo(37000);
    for (int i = 0; i < 3; ++i)
        transport.stepFrames(1);
    transport.seekTo(38060);
    const QVector<Transform> steppedOn = drawnFrame();
    demo.seek(38060);
    QVERIFY(!steppedOn.isEmpty());
    QVERIFY(drawnFrame() == steppedOn);
}

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"

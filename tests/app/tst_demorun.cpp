// The owner of a running demo: built, played, sought back and taken down in
// one process, as the player and the capture tool do it. The sanitizer build
// runs this too, so a rebuild that leaks fails there.
#include "demorun.h"
#include "engine.h"
#include "engineclock.h"
#include "objectmanager.h"
#include "recordeddemo.h"
#include "texture.h"

#include <QtTest>

class TestDemoRun : public QObject
{
    Q_OBJECT

private slots:
    void seekBackDrawsWhatAFreshRunDraws();
    void warmUpDrawsBeforeTheClockAndLeavesNoTrace();
    void seekOnTheEngineClockRunsOnFromThere();
    void stopHandsTheEngineBackEmpty();
    void advanceStopsWhenCancelled();
    void aSecondRunStopsTheFirst();
};

void TestDemoRun::seekBackDrawsWhatAFreshRunDraws()
{
    QVector<Transform> fresh;
    {
        DemoRun demo(recorded());
        demo.start();
        demo.advanceTo(20000);
        demo.tick(20000);
        fresh = drawnFrame();
    }
    DemoRun demo(recorded());
    demo.start();
    demo.advanceTo(31000);
    demo.seek(20000);
    QCOMPARE(Engine::GetInstance()->GetCurrentTime(), 20000);
    QCOMPARE(ObjectManager<Texture>::tm->count(), 15);
    QVERIFY(!fresh.isEmpty());
    QVERIFY(drawnFrame() == fresh);
}

// The warm-up draws the tree before the clock starts; a run without it must
// then see the very same frames, on either kind of clock.
void TestDemoRun::warmUpDrawsBeforeTheClockAndLeavesNoTrace()
{
    QVector<Transform> unwarmed;
    {
        DemoRun demo(recorded(true, false));
        demo.start();
        demo.advanceTo(38000);
        unwarmed = drawnFrame();
    }
    DemoRun demo(recorded());
    demo.start();
    auto* renderer = static_cast<RecordingRenderer*>(Engine::GetInstance()->GetRenderer());
    QVERIFY(renderer->calls.count("StartDraw") > 1);
    QCOMPARE(Engine::GetInstance()->GetCurrentTime(), 0);
    demo.advanceTo(38000);
    QVERIFY(drawnFrame() == unwarmed);
    DemoRun onTheClock(recorded(false));
    onTheClock.start();
    QVERIFY(!Engine::GetInstance()->HasManualTime());
}

void TestDemoRun::seekOnTheEngineClockRunsOnFromThere()
{
    DemoRun demo(recorded(false));
    demo.start();
    demo.seek(12000);
    QVERIFY(!Engine::GetInstance()->HasManualTime());
    QVERIFY(Engine::GetInstance()->GetCurrentTime() >= 12000);
    demo.pause();
    const int held = Engine::GetInstance()->GetCurrentTime();
    QTest::qWait(30);
    QCOMPARE(Engine::GetInstance()->GetCurrentTime(), held);
    demo.resume();
}

void TestDemoRun::stopHandsTheEngineBackEmpty()
{
    DemoRun demo(recorded());
    demo.start();
    demo.advanceTo(5000);
    QVERIFY(demo.root());
    demo.stop();
    Engine* engine = Engine::GetInstance();
    QVERIFY(!demo.root());
    QVERIFY(engine->GetScenes().isEmpty());
    QVERIFY(!engine->GetRenderer());
    QVERIFY(!engine->HasManualTime());
    QVERIFY(!EngineClock::GetInstance()->isStarted());
    QCOMPARE(ObjectManager<Texture>::tm->count(), 0);
}

void TestDemoRun::advanceStopsWhenCancelled()
{
    DemoRun demo(recorded());
    demo.start();
    int ticks = 0;
    QVERIFY(!demo.advanceTo(1000, 50, [&ticks] { return ++ticks > 3; }));
    QCOMPARE(Engine::GetInstance()->GetCurrentTime(), 40);  // ticked 0, 20 and 40
}

void TestDemoRun::aSecondRunStopsTheFirst()
{
    DemoRun second(recorded());
    {
        DemoRun first(recorded());
        first.start();
        second.start();
        QVERIFY(!first.isRunning());
    }
    QCOMPARE(Engine::GetInstance()->GetScenes().size(), 1);
    QCOMPARE(ObjectManager<Texture>::tm->count(), 15);
    QVERIFY(second.root());
}

QTEST_GUILESS_MAIN(TestDemoRun)
#include "tst_demorun.moc"

// The key-frame timeline: ordering, window filtering, the step factor,
// finishing, and restarts shifted from the window start.
#include "keyframecontroller.h"
#include "manualtime.h"
#include "probecontroller.h"
#include "worldobject.h"

#include <QtTest>

namespace {

// Records every step instead of moving a value.
class StepRecorder : public KeyFrameController
{
public:
    struct Step {
        int target;
        float factor;
    };

    explicit StepRecorder(WorldObject* node = nullptr) : KeyFrameController(node) {}

    bool DataUpdate(float, KeyFrame* next, float factor) override
    {
        steps.append({next->time, factor});
        return result;
    }

    QList<int> times() const
    {
        QList<int> times;
        for (const KeyFrame* frame : m_keyFrames)
            times << frame->time;
        return times;
    }

    QVector<Step> steps;
    bool result = false;
};

}  // namespace

class TestKeyFrameController : public QObject
{
    Q_OBJECT

private slots:
    void insertionKeepsTimeOrderNewestFirst();
    void windowFiltersKeyFrames_data();
    void windowFiltersKeyFrames();
    void nextFrameIsStrictlyLater_data();
    void nextFrameIsStrictlyLater();
    void factorIsCappedShareOfRemainingTime_data();
    void factorIsCappedShareOfRemainingTime();
    void dataUpdateResultIsTheResult();
    void finishesOnTheLastFrameWithoutAStep();
    void restartsShiftFromTheWindowStart();
    void repeatCountsExtraPlays_data();
    void repeatCountsExtraPlays();
    void nothingAheadAfterARestartFinishes_data();
    void nothingAheadAfterARestartFinishes();
    void outsideItsWindowNothingHappens();
    void restartPastTheWindowEndLeavesItInert();
};

void TestKeyFrameController::insertionKeepsTimeOrderNewestFirst()
{
    StepRecorder controller;
    controller.AddKeyFrame(300, "a");
    controller.AddKeyFrame(100, "b");
    controller.AddKeyFrame(200, "c");
    controller.AddKeyFrame(200, "d");

    QCOMPARE(controller.times(), QList<int>({100, 200, 200, 300}));
    QStringList values;
    for (const auto* frame : controller.GetKeyFrames())
        values << frame->value.toString();
    QCOMPARE(values, QStringList({"b", "d", "c", "a"}));
}

void TestKeyFrameController::windowFiltersKeyFrames_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("engineTime");
    QTest::addColumn<int>("time");
    QTest::addColumn<bool>("added");

    QTest::newRow("before the window") << 1000 << 2000 << 0 << 999 << false;
    QTest::newRow("at its start") << 1000 << 2000 << 0 << 1000 << true;
    QTest::newRow("at its end") << 1000 << 2000 << 0 << 2000 << true;
    QTest::newRow("after the window") << 1000 << 2000 << 0 << 2500 << false;
    QTest::newRow("time 0 while the engine is inside") << 1000 << 2000 << 1500 << 0 << true;
    QTest::newRow("time 0 while the engine is before") << 1000 << 2000 << 500 << 0 << false;
    QTest::newRow("no window takes anything") << 0 << 0 << 0 << -40 << true;
}

void TestKeyFrameController::windowFiltersKeyFrames()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, engineTime);
    QFETCH(int, time);
    QFETCH(bool, added);

    ManualTime clock(engineTime);
    StepRecorder controller;
    controller.SetTime(start, end);
    controller.AddKeyFrame(time, 1.0f);
    QCOMPARE(controller.GetKeyFrames().size(), added ? 1 : 0);
}

void TestKeyFrameController::nextFrameIsStrictlyLater_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<int>("next");  // -1: none

    QTest::newRow("before all") << 0 << 100;
    QTest::newRow("on the first") << 100 << 200;
    QTest::newRow("between") << 150 << 200;
    QTest::newRow("on the second") << 200 << 300;
    QTest::newRow("on the last") << 300 << -1;
    QTest::newRow("after all") << 1000 << -1;
}

void TestKeyFrameController::nextFrameIsStrictlyLater()
{
    QFETCH(int, now);
    QFETCH(int, next);

    StepRecorder controller;
    for (int time : {100, 200, 300})
        controller.AddKeyFrame(time, time);
    const auto* frame = controller.GetNextFrame(now);
    QCOMPARE(frame ? frame->time : -1, next);
}

void TestKeyFrameController::factorIsCappedShareOfRemainingTime_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<float>("dt");
    QTest::addColumn<float>("factor");

    QTest::newRow("a fifth of the way") << 1400 << 20.0f << 0.2f;
    QTest::newRow("exactly the remaining time") << 1400 << 100.0f << 1.0f;
    QTest::newRow("more than the remaining time") << 1400 << 150.0f << 1.0f;
    QTest::newRow("one millisecond left") << 1499 << 0.5f << 0.5f;
    QTest::newRow("no frame time") << 1400 << 0.0f << 0.0f;
}

void TestKeyFrameController::factorIsCappedShareOfRemainingTime()
{
    QFETCH(int, now);
    QFETCH(float, dt);
    QFETCH(float, factor);

    ManualTime clock(now);
    StepRecorder controller;
    controller.AddKeyFrame(1500, 1.0f);
    QCOMPARE(controller.Update(dt), false);
    QCOMPARE(controller.steps.size(), 1);
    QCOMPARE(controller.steps[0].target, 1500);
    QCOMPARE(controller.steps[0].factor, factor);
}

void TestKeyFrameController::dataUpdateResultIsTheResult()
{
    ManualTime clock(100);
    StepRecorder controller;
    controller.AddKeyFrame(200, 1.0f);
    controller.result = true;
    QCOMPARE(controller.Update(20), true);
}

void TestKeyFrameController::finishesOnTheLastFrameWithoutAStep()
{
    ManualTime clock;
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* controller = new StepRecorder(&node);
    auto* next = new ProbeController("next", &log, &node);
    controller->SetNextConroller(next);
    controller->AddKeyFrame(1000, 1.0f);
    node.AddController(controller);

    clock.step(&node, 980);
    QCOMPARE(controller->steps.size(), 1);
    QCOMPARE(controller->steps[0].factor, 1.0f);  // the target is reached before 1000

    clock.step(&node, 1000);  // finished and destroyed, the successor handed over
    QCOMPARE(node.GetControllers(), QList<Controller*>{next});
    QCOMPARE(next->runs, 0);
}

void TestKeyFrameController::restartsShiftFromTheWindowStart()
{
    ManualTime clock;
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* controller = new StepRecorder(&node);
    controller->SetTime(1000, 5000);
    controller->AddKeyFrame(1200, 1.0f);
    controller->AddKeyFrame(1500, 2.0f);
    controller->SetRepeat(2);
    controller->SetNextConroller(new ProbeController("next", &log, &node));
    node.AddController(controller);

    clock.step(&node, 1000);
    clock.step(&node, 1200);
    QCOMPARE(controller->times(), QList<int>({1200, 1500}));

    clock.step(&node, 1510);  // first restart: shifted by 510
    QCOMPARE(controller->times(), QList<int>({1710, 2010}));
    QCOMPARE(controller->steps.last().target, 1710);
    QCOMPARE(controller->steps.last().factor, 1.0f);  // 310 ms of frame time, 200 ms left

    clock.step(&node, 2020);  // second restart: shifted by 1020, not 510
    QCOMPARE(controller->times(), QList<int>({2730, 3030}));
    QCOMPARE(controller->GetPasses(), 2);

    clock.step(&node, 3029);
    QCOMPARE(node.GetControllers().size(), 1);
    QCOMPARE(controller->steps.last().target, 3030);

    clock.step(&node, 3030);
    QCOMPARE(node.GetControllers().size(), 1);
    QVERIFY(node.GetControllers().first() != controller);  // replaced by its successor
}

void TestKeyFrameController::repeatCountsExtraPlays_data()
{
    QTest::addColumn<int>("repeat");
    QTest::addColumn<int>("plays");

    QTest::newRow("default") << -1 << 1;
    QTest::newRow("zero") << 0 << 1;
    QTest::newRow("negative") << -5 << 1;
    QTest::newRow("one") << 1 << 2;
    QTest::newRow("three") << 3 << 4;
}

// Window [0, 100000], one key frame 100 after the start of each play.
void TestKeyFrameController::repeatCountsExtraPlays()
{
    QFETCH(int, repeat);
    QFETCH(int, plays);

    ManualTime clock;
    WorldObject node(nullptr, "node");
    auto* controller = new StepRecorder(&node);
    controller->SetTime(1, 100000);
    controller->AddKeyFrame(101, 1.0f);
    controller->SetRepeat(repeat);
    node.AddController(controller);

    int played = 0;
    for (int now = 1; now < 100000 && !node.GetControllers().isEmpty(); now += 50) {
        const int before = controller->steps.isEmpty() ? 0 : controller->steps.last().target;
        clock.step(&node, now);
        if (!node.GetControllers().isEmpty() && controller->steps.last().target != before)
            ++played;
    }
    QVERIFY(node.GetControllers().isEmpty());
    QCOMPARE(played, plays);
}

void TestKeyFrameController::nothingAheadAfterARestartFinishes_data()
{
    QTest::addColumn<QList<int>>("frames");
    QTest::addColumn<int>("repeat");

    QTest::newRow("no key frames") << QList<int>() << 1;
    QTest::newRow("only a frame at the window start") << QList<int>({1000}) << 3;
}

void TestKeyFrameController::nothingAheadAfterARestartFinishes()
{
    QFETCH(QList<int>, frames);
    QFETCH(int, repeat);

    ManualTime clock(1200);
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* controller = new StepRecorder(&node);
    controller->SetTime(1000, 5000);
    for (int time : frames)
        controller->AddKeyFrame(time, 1.0f);
    controller->SetRepeat(repeat);
    auto* next = new ProbeController("next", &log, &node);
    controller->SetNextConroller(next);

    QCOMPARE(controller->Update(20), true);
    QVERIFY(controller->steps.isEmpty());
    QCOMPARE(node.GetControllers(), QList<Controller*>{next});  // OnFinish ran
    delete controller;
}

void TestKeyFrameController::outsideItsWindowNothingHappens()
{
    ManualTime clock(2500);
    StepRecorder controller;
    controller.SetTime(1000, 2000);
    controller.AddKeyFrame(1500, 1.0f);

    QCOMPARE(controller.Update(20), false);
    QVERIFY(controller.steps.isEmpty());
    QCOMPARE(controller.GetPasses(), 0);
}

void TestKeyFrameController::restartPastTheWindowEndLeavesItInert()
{
    ManualTime clock;
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* controller = new StepRecorder(&node);
    controller->SetTime(1000, 2000);
    controller->AddKeyFrame(1100, 1.0f);
    controller->AddKeyFrame(1500, 2.0f);
    controller->SetRepeat(5);
    auto* next = new ProbeController("next", &log, &node);
    controller->SetNextConroller(next);
    node.AddController(controller);

    clock.step(&node, 1600);  // restart: 1700, 2100
    QCOMPARE(controller->times(), QList<int>({1700, 2100}));
    clock.step(&node, 2000);
    QCOMPARE(controller->steps.last().target, 2100);
    const int steps = controller->steps.size();

    for (int now : {2001, 2100, 2200, 9000})
        clock.step(&node, now);
    QCOMPARE(controller->steps.size(), steps);
    QCOMPARE(node.GetControllers(), QList<Controller*>{controller});
    QCOMPARE(controller->GetNextControllers(), QList<Controller*>{next});
}

QTEST_GUILESS_MAIN(TestKeyFrameController)
#include "tst_keyframecontroller.moc"

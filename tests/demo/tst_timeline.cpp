#include "demotree.h"
#include "manualtime.h"
#include "random.h"
#include "scene.h"
#include "timeline.h"

#include <QtTest>

#include <memory>

namespace {

// Owns what init_scene_1 hands over: the scene does not own its root.
struct BuiltDemo {
    std::unique_ptr<Scene> scene;
    std::unique_ptr<WorldObject> root;

    BuiltDemo() : scene(init_scene_1()), root(scene->GetRoot()) {}
    WorldObject* sequence(int index) const { return childAt(childAt(root.get(), 0), index); }
    QStringList describe(int index) const
    {
        QStringList out;
        describeTree(sequence(index), out);
        return out;
    }
};

} // namespace

class TestTimeline : public QObject
{
    Q_OBJECT

    // Built once and only ever read; tests that run frames build their own.
    std::unique_ptr<BuiltDemo> m_demo;

private slots:
    void initTestCase();
    void sixSequencesUnderOneScene();
    void sequenceWindows_data();
    void sequenceWindows();
    void onlyTheCurrentSequenceRuns_data();
    void onlyTheCurrentSequenceRuns();
    void nothingRunsAfterTheEnd();
    void randomDrawsFollowTheScript();
    void twoBuildsAreIdentical();
};

void TestTimeline::initTestCase()
{
    installRecordingRenderer();
    m_demo = std::make_unique<BuiltDemo>();
}

void TestTimeline::sixSequencesUnderOneScene()
{
    const BuiltDemo& demo = *m_demo;
    QCOMPARE(demo.root->GetId(), QString("root"));
    QCOMPARE(demo.root->m_transform.translation, QVector3D(0, 0, -15));
    QCOMPARE(demo.root->GetChildren().size(), 1);
    const WorldObject* scene = childAt(demo.root.get(), 0);
    QCOMPARE(scene->GetId(), QString("scene"));
    QCOMPARE(scene->m_transform.translation, QVector3D(0, 0, -15));
    QStringList ids;
    for (const Object* child : scene->GetChildren())
        ids << child->GetId();
    QCOMPARE(ids, (QStringList{"screen_parent", "bouncing_boxes", "zuli", "scenery",
                               "bouncing_boxes", "moving_boxes"}));
    const QList<ColorController*> scratch = controllersOf<ColorController>(demo.sequence(0));
    QCOMPARE(scratch.size(), 1);
    QCOMPARE(scratch.first()->GetStart(), 5000);
    QCOMPARE(scratch.first()->GetEnd(), 7300);
    QCOMPARE(demo.sequence(1)->GetChildren().size(), 300);
}

void TestTimeline::sequenceWindows_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<QList<int>>("running");
    QTest::newRow("start") << 0 << QList<int>{0};
    QTest::newRow("intro to boxes") << 9000 << QList<int>{0, 1};
    QTest::newRow("boxes to credits") << 14700 << QList<int>{1, 2};
    QTest::newRow("credits") << 20000 << QList<int>{2};
    QTest::newRow("credits to scenery") << 27500 << QList<int>{2, 3};
    QTest::newRow("scenery to cogwheels") << 36000 << QList<int>{3, 4};
    QTest::newRow("cogwheels to trail") << 40000 << QList<int>{4, 5};
    QTest::newRow("last instant") << kTimelineEnd << QList<int>{5};
    QTest::newRow("after the end") << kTimelineEnd + 1 << QList<int>{};
}

void TestTimeline::sequenceWindows()
{
    QFETCH(int, now);
    QFETCH(QList<int>, running);
    const BuiltDemo& demo = *m_demo;
    ManualTime clock(now);
    QList<int> existing;
    for (int i = 0; i < 6; ++i) {
        if (demo.sequence(i)->Exists(0))
            existing << i;
    }
    QCOMPARE(existing, running);
}

void TestTimeline::onlyTheCurrentSequenceRuns_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<int>("current");
    QTest::newRow("pulsing boxes") << 20000 << 2;
    QTest::newRow("box trail") << 41000 << 5;
}

// One frame moves only the current sequence, and the picture is exactly
// what that sequence alone draws under the root's and the scene's offsets.
void TestTimeline::onlyTheCurrentSequenceRuns()
{
    QFETCH(int, now);
    QFETCH(int, current);
    BuiltDemo demo;
    ManualTime clock(now);
    QList<QStringList> before;
    for (int i = 0; i < 6; ++i)
        before << demo.describe(i);
    demo.scene->Update(20.0f);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(demo.describe(i) == before.at(i), i != current);

    RecordingRenderer whole, alone;
    demo.scene->Draw(&whole);
    const WorldObject* scene = childAt(demo.root.get(), 0);
    const Transform& root = demo.root->m_transform;
    demo.sequence(current)->Draw(&alone, scene->m_transform + (root + root));
    QVERIFY(!whole.calls.isEmpty());
    QCOMPARE(whole.calls, alone.calls);
    QCOMPARE(whole.transforms, alone.transforms);
}

void TestTimeline::nothingRunsAfterTheEnd()
{
    BuiltDemo demo;
    ManualTime clock(50000);
    QStringList before;
    describeTree(demo.root.get(), before);
    demo.scene->Update(20.0f);
    QStringList after;
    describeTree(demo.root.get(), after);
    QCOMPARE(after, before);
    RecordingRenderer renderer;
    demo.scene->Draw(&renderer);
    QVERIFY(renderer.calls.isEmpty());
}

// The intro flicker draws first, then the first bouncing box: blue, green, red.
void TestTimeline::randomDrawsFollowTheScript()
{
    const BuiltDemo& demo = *m_demo;
    srand(0);
    QList<int> flicker;
    int t = 5000;
    for (int i = 0; i < 46; ++i) {
        t += get_rand(50, 100);
        if (t <= 7300)
            flicker << t;
    }
    flicker << 7300;
    const float b = get_rand_float(0.7f, 1.0f);
    const float g = get_rand_float(0.0f, 0.3f);
    const float r = get_rand_float(0.0f, 0.3f);
    QCOMPARE(frameTimes(controllersOf<ColorController>(demo.sequence(0)).first()), flicker);
    const WorldObject* firstBox = childAt(demo.sequence(1), 0);
    QCOMPARE(firstBox->m_transform.color, QColor::fromRgbF(r, g, b, 1));
}

void TestTimeline::twoBuildsAreIdentical()
{
    srand(12345);
    BuiltDemo second;
    QStringList a, b;
    describeTree(m_demo->root.get(), a);
    describeTree(second.root.get(), b);
    QVERIFY(a.size() > 5000);
    QCOMPARE(a, b);
}

QTEST_GUILESS_MAIN(TestTimeline)
#include "tst_timeline.moc"

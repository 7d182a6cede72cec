#include "demotree.h"
#include "manualtime.h"
#include "sequences.h"
#include "translationcontroller.h"

#include <QtTest>

#include <climits>
#include <cstdlib>
#include <memory>

class TestSequences : public QObject
{
    Q_OBJECT

    // Colours are stored in 16 bits per channel: allow for the rounding.
    static bool within(qreal value, qreal low, qreal high)
    {
        return low - 1e-4 <= value && value <= high + 1e-4;
    }
    static bool isBluish(const QColor& c)
    {
        return within(c.redF(), 0, 0.3) && within(c.greenF(), 0, 0.3)
            && within(c.blueF(), 0.7, 1.0) && c.alphaF() == 1.0;
    }
    // Hops alternate between a high target and a low one at the grid place.
    static void checkHops(const TranslationController* hop, float x, float z, int minFrames,
                          int maxFrames)
    {
        const QList<KeyFrameController::KeyFrame*>& frames = hop->GetKeyFrames();
        QVERIFY(frames.size() >= minFrames && frames.size() <= maxFrames);
        QCOMPARE(frames.size() % 2, 0);
        int previous = 0;
        for (int i = 0; i < frames.size(); ++i) {
            const QVector3D target = frameVector(frames.at(i));
            QCOMPARE(target.x(), x);
            QCOMPARE(target.z(), z);
            const bool up = i % 2 == 0;
            QVERIFY(up ? within(target.y(), -22, -7) : within(target.y(), -27, -12));
            QVERIFY(frames.at(i)->time - previous >= 500 && frames.at(i)->time - previous <= 2000);
            previous = frames.at(i)->time;
        }
    }

private slots:
    void initTestCase();
    void kvoScreen();
    void bouncingBoxesGrid();
    void bouncingBoxesColours();
    void spinningCogsGrid();
    void spinningCogsCaptions();
    void boxTrailControllers();
    void boxTrailEntries_data();
    void boxTrailEntries();
    void boxTrailEndsOnTheGrid();
};

void TestSequences::initTestCase()
{
    installRecordingRenderer();
    for (const char* name : {"kvo", "code", "tervald"})
        QVERIFY(registerGeneratedTexture(name));
}

void TestSequences::kvoScreen()
{
    std::unique_ptr<WorldObject> top(kvo_screen());
    QCOMPARE(top->GetId(), QString("screen_parent"));
    QCOMPARE(top->GetStart(), 0);
    QCOMPARE(top->GetEnd(), 0);
    QCOMPARE(top->GetChildren().size(), 1);
    auto* quad = dynamic_cast<ModelObject*>(childAt(top.get(), 0));
    QVERIFY(quad);
    QCOMPARE(quad->GetPoints().at(2)->m_transform.translation, QVector3D(10, 10, 0));
    QCOMPARE(textureOf(quad), ObjectManager<Texture>::tm->find_object("kvo"));
    QVERIFY(top->GetControllers().isEmpty());
}

void TestSequences::bouncingBoxesGrid()
{
    srand(0);
    std::unique_ptr<WorldObject> top(bouncing_boxes(-15.0f));
    QCOMPARE(top->GetId(), QString("bouncing_boxes"));
    QCOMPARE(top->m_transform.rotation, QQuaternion(20, 1, 0, 0));
    QCOMPARE(top->GetChildren().size(), 300);
    for (int i = 0; i < 300; ++i) {
        const WorldObject* b = childAt(top.get(), i);
        QCOMPARE(b->m_transform.translation, QVector3D(0, 0, 0));
        QCOMPARE(b->GetControllers().size(), 2);
        auto* hop = dynamic_cast<TranslationController*>(b->GetControllers().at(0));
        QVERIFY(hop);
        QCOMPARE(hop->GetRepeat(), 11000);
        QCOMPARE(hop->GetEnd(), 0);
        QCOMPARE(hop->GetParent(), b);
        checkHops(hop, float(-30 + 8 * (i % 10)), float(-10 - 8 * (i / 10)), 4, 8);
    }
}

void TestSequences::bouncingBoxesColours()
{
    srand(0);
    std::unique_ptr<WorldObject> top(bouncing_boxes(-15.0f));
    for (const Object* child : top->GetChildren()) {
        const auto* b = static_cast<const WorldObject*>(child);
        QVERIFY(isBluish(b->m_transform.color));
        auto* shade = dynamic_cast<ColorController*>(b->GetControllers().at(1));
        QVERIFY(shade);
        QCOMPARE(shade->GetRepeat(), 21211);
        QCOMPARE(shade->GetEnd(), 0);
        const QList<KeyFrameController::KeyFrame*>& frames = shade->GetKeyFrames();
        QVERIFY(frames.size() >= 2 && frames.size() <= 6);
        int previous = 0;
        for (const KeyFrameController::KeyFrame* frame : frames) {
            QVERIFY(isBluish(frameColor(frame)));
            QVERIFY(frame->time - previous >= 5000 && frame->time - previous <= 20000);
            previous = frame->time;
        }
    }
}

void TestSequences::spinningCogsGrid()
{
    std::unique_ptr<WorldObject> top(spinning_cogs(36000, 40000));
    QCOMPARE(top->GetId(), QString("bouncing_boxes"));
    QCOMPARE(top->GetStart(), 36000);
    QCOMPARE(top->GetEnd(), 40000);
    QCOMPARE(top->m_transform.rotation, QQuaternion(20, 1, 0, 0));
    QCOMPARE(top->GetChildren().size(), 52);
    for (int i = 0; i < 50; ++i) {
        const WorldObject* cog = childAt(top.get(), i);
        QCOMPARE(cog->m_transform.scale, 0.2f);
        QCOMPARE(cog->GetControllers().size(), 1);
        auto* hop = dynamic_cast<TranslationController*>(cog->GetControllers().first());
        QVERIFY(hop);
        QCOMPARE(hop->GetRepeat(), 11000);
        checkHops(hop, float(-30 + 20 * (i % 5)), float(-10 - 20 * (i / 5)), 4, 8);
    }
}

void TestSequences::spinningCogsCaptions()
{
    std::unique_ptr<WorldObject> top(spinning_cogs(36000, 40000));
    const struct {
        const char* texture;
        QVector3D at;
        int from, to;
    } captions[2] = {{"code", {-15, 10, -10}, 37000, 38500},
                     {"tervald", {12, 6, -10}, 38500, 39500}};
    for (int i = 0; i < 2; ++i) {
        const WorldObject* q = childAt(top.get(), 50 + i);
        QCOMPARE(textureOf(q), ObjectManager<Texture>::tm->find_object(captions[i].texture));
        QCOMPARE(q->m_transform.translation, captions[i].at);
        QCOMPARE(q->m_transform.color, QColor::fromRgbF(0, 0, 0, 0));
        QCOMPARE(q->GetEnd(), 0);
        const QList<ColorController*> flicker = controllersOf<ColorController>(q);
        QCOMPARE(flicker.size(), 1);
        QCOMPARE(flicker.first()->GetStart(), captions[i].from);
        QCOMPARE(flicker.first()->GetEnd(), captions[i].to);
    }
}

void TestSequences::boxTrailControllers()
{
    std::unique_ptr<WorldObject> top(box_move_scene(40000, 46000));
    QCOMPARE(top->GetId(), QString("moving_boxes"));
    QCOMPARE(top->GetChildren().size(), 12);
    QVERIFY(childAt(top.get(), 0)->GetControllers().isEmpty());
    const int enters[12] = {0, 40000, 40500, 41000, 41500, 42000,
                            42500, 43000, 42000, 42500, 43000, 43500};
    for (int i = 1; i < 12; ++i) {
        const WorldObject* b = childAt(top.get(), i);
        QCOMPARE(b->m_transform.scale, 5.0f);
        QCOMPARE(b->GetStart(), i == 1 ? 0 : enters[i]);
        QCOMPARE(b->GetEnd(), i == 1 ? 0 : 46000);
        const QList<TranslationController*> slide = controllersOf<TranslationController>(b);
        QCOMPARE(slide.size(), 1);
        QCOMPARE(slide.first()->GetStart(), enters[i]);
        QCOMPARE(slide.first()->GetEnd(), INT_MAX);
        QCOMPARE(slide.first()->GetRepeat(), -1);
        QCOMPARE(frameTimes(slide.first()), QList<int>{enters[i] + 500});
    }
}

void TestSequences::boxTrailEntries_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<QList<int>>("present");
    QTest::newRow("start") << 40000 << QList<int>{1, 2};
    QTest::newRow("second chain leaves") << 42000 << QList<int>{1, 2, 3, 4, 5, 6, 9};
    QTest::newRow("all") << 44000 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

void TestSequences::boxTrailEntries()
{
    QFETCH(int, now);
    QFETCH(QList<int>, present);
    std::unique_ptr<WorldObject> top(box_move_scene(40000, 46000));
    ManualTime clock(now);
    QList<int> existing;
    for (int i = 0; i < 12; ++i) {
        if (childAt(top.get(), i)->Exists(0))
            existing.append(i + 1);
    }
    QCOMPARE(existing, present);
}

// Every box arrives where the next one of its chain enters and stays there.
void TestSequences::boxTrailEndsOnTheGrid()
{
    std::unique_ptr<WorldObject> top(box_move_scene(40000, 46000));
    ManualTime clock;
    for (int ms = 40000; ms <= 44000; ms += 20)
        clock.step(top.get(), ms);
    QCOMPARE(childAt(top.get(), 11)->m_transform.translation, QVector3D(-5, -2, 0));
    const QVector3D grid[12] = {{0, -2, 0}, {5, -2, 0}, {5, -7, 0}, {0, -7, 0},
                                {-5, -7, 0}, {-10, -7, 0}, {-10, -2, 0}, {-10, 3, 0},
                                {5, 3, 0}, {0, 3, 0}, {-5, 3, 0}, {-5, -2, 0}};
    for (int ms = 44020; ms <= 46000; ms += 20)
        clock.step(top.get(), ms);
    for (int i = 0; i < 12; ++i) {
        const WorldObject* b = childAt(top.get(), i);
        QCOMPARE(b->m_transform.translation, grid[i]);
        QVERIFY(b->GetControllers().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestSequences)
#include "tst_sequences.moc"

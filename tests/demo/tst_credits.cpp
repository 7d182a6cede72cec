#include "credits.h"
#include "demotree.h"
#include "scalecontroller.h"

#include <QtTest>

#include <memory>

class TestCredits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void boxSceneBeat();
    void boxSceneBoxes();
    void boxSceneCaptions_data();
    void boxSceneCaptions();
    void musicCaptionBlinksOnceMore();
    void sceneryLayout();
    void sceneryFlashesItsProps();
    void showcaseRow_data();
    void showcaseRow();
    void metalFloorTiles_data();
    void metalFloorTiles();
};

void TestCredits::initTestCase()
{
    installRecordingRenderer();
    for (const char* name : {"music", "pemo", "graphics", "brokkan"})
        QVERIFY(registerGeneratedTexture(name));
}

void TestCredits::boxSceneBeat()
{
    std::unique_ptr<WorldObject> top(box_scene(14700, 27500));
    const WorldObject* boxes = childAt(top.get(), 0);
    const QList<ScaleController*> beat = controllersOf<ScaleController>(boxes);
    QCOMPARE(beat.size(), 1);
    QCOMPARE(beat.first()->GetStart(), 14700);
    QCOMPARE(beat.first()->GetEnd(), 27500);
    QCOMPARE(beat.first()->GetRepeat(), -1);
    const QList<KeyFrameController::KeyFrame*>& frames = beat.first()->GetKeyFrames();
    // 51 beats are counted; only the first 27 fit, the last of them in part.
    QCOMPARE(frames.size(), 26 * 3 + 2 + 1);
    const QList<int> times = frameTimes(beat.first());
    QCOMPARE(times.mid(0, 3), (QList<int>{14780, 14880, 15180}));
    QCOMPARE(times.mid(times.size() - 3), (QList<int>{27260, 27360, 27500}));
    QCOMPARE(frames.at(0)->value.toFloat(), 10.0f);
    QCOMPARE(frames.at(1)->value.toFloat(), 6.0f);
    QCOMPARE(frames.last()->value.toFloat(), 6.0f);
    QCOMPARE(frames.last()->value.userType(), int(QMetaType::Float));
}

void TestCredits::boxSceneBoxes()
{
    std::unique_ptr<WorldObject> top(box_scene(14700, 27500));
    QCOMPARE(top->GetId(), QString("zuli"));
    QCOMPARE(top->GetStart(), 14700);
    QCOMPARE(top->GetEnd(), 27500);
    QCOMPARE(top->GetChildren().size(), 5);
    const WorldObject* boxes = childAt(top.get(), 0);
    QCOMPARE(boxes->GetId(), QString("boxes"));
    QCOMPARE(boxes->GetStart(), 14700);
    QCOMPARE(boxes->GetEnd(), 27500);
    QCOMPARE(boxes->GetChildren().size(), 2);
    QCOMPARE(childAt(boxes, 0)->m_transform.translation, QVector3D(-6, -5, 0));
    QCOMPARE(childAt(boxes, 1)->m_transform.translation, QVector3D(6, -5, 0));
    QCOMPARE(childAt(boxes, 1)->m_transform.scale, 1.0f);
}

void TestCredits::boxSceneCaptions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("texture");
    QTest::addColumn<QVector3D>("at");
    QTest::addColumn<int>("shownFrom");
    QTest::addColumn<int>("shownTo");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("music") << 1 << "music" << QVector3D(-15, 10, -10) << 16150 << 17250
                           << 16200 << 17200;
    QTest::newRow("pemo") << 2 << "pemo" << QVector3D(12, 10, -10) << 0 << 0 << 17200 << 18200;
    QTest::newRow("graphics") << 3 << "graphics" << QVector3D(-15, -10, -10) << 0 << 0
                              << 19200 << 20200;
    QTest::newRow("brokkan") << 4 << "brokkan" << QVector3D(12, -12, -10) << 0 << 0 << 20200
                             << 21200;
}

void TestCredits::boxSceneCaptions()
{
    QFETCH(int, index);
    QFETCH(QString, texture);
    QFETCH(QVector3D, at);
    QFETCH(int, shownFrom);
    QFETCH(int, shownTo);
    QFETCH(int, from);
    QFETCH(int, to);
    std::unique_ptr<WorldObject> top(box_scene(14700, 27500));
    const WorldObject* q = childAt(top.get(), index);
    QCOMPARE(textureOf(q), ObjectManager<Texture>::tm->find_object(texture));
    QCOMPARE(q->m_transform.translation, at);
    QCOMPARE(q->m_transform.color, QColor::fromRgbF(0, 0, 0, 0));
    QCOMPARE(q->GetStart(), shownFrom);
    QCOMPARE(q->GetEnd(), shownTo);
    const ColorController* flicker = controllersOf<ColorController>(q).first();
    QCOMPARE(flicker->GetStart(), from);
    QCOMPARE(flicker->GetEnd(), to);
}

void TestCredits::musicCaptionBlinksOnceMore()
{
    std::unique_ptr<WorldObject> top(box_scene(14700, 27500));
    const QList<ColorController*> controllers = controllersOf<ColorController>(childAt(top.get(), 1));
    QCOMPARE(controllers.size(), 2);
    const ColorController* blink = controllers.at(1);
    QCOMPARE(blink->GetEnd(), 0);
    QCOMPARE(blink->GetRepeat(), 2121);
    QCOMPARE(frameTimes(blink), (QList<int>{17200, 17250}));
    QCOMPARE(frameColor(blink->GetKeyFrames().at(0)), QColor::fromRgbF(1, 1, 1, 1));
    QCOMPARE(frameColor(blink->GetKeyFrames().at(1)), QColor::fromRgbF(1, 1, 1, 0));
}

void TestCredits::sceneryLayout()
{
    std::unique_ptr<WorldObject> top(scenery_scene(27500, 36000));
    QCOMPARE(top->GetId(), QString("scenery"));
    QCOMPARE(top->GetStart(), 27500);
    QCOMPARE(top->GetEnd(), 36000);
    QCOMPARE(top->m_transform.translation, QVector3D(0, 0, -15));
    QCOMPARE(top->m_transform.rotation, QQuaternion(180, 0, 1, 0.15f));
    QCOMPARE(top->GetChildren().size(), 4);
    const WorldObject* steps = childAt(top.get(), 0);
    QCOMPARE(steps->m_transform.translation, QVector3D(0, -70, -600));
    QCOMPARE(steps->m_transform.scale, 10.0f);
    QCOMPARE(childAt(top.get(), 1)->GetId(), QString("containers"));
    QCOMPARE(childAt(top.get(), 2)->GetId(), QString("cones"));
    QCOMPARE(childAt(top.get(), 3)->m_transform.translation, QVector3D(-1, 0, -10));
    QCOMPARE(childAt(top.get(), 3)->m_transform.scale, 0.1f);
    const WorldObject* cones = childAt(top.get(), 2);
    QCOMPARE(childAt(cones, 0)->m_transform.translation, QVector3D(-14, 0, 10));
    QCOMPARE(childAt(cones, 1)->m_transform.translation, QVector3D(0.4f, 0, 44));
    QCOMPARE(childAt(cones, 1)->m_transform.scale, 0.005f);
}

void TestCredits::sceneryFlashesItsProps()
{
    std::unique_ptr<WorldObject> top(scenery_scene(27500, 36000));
    const WorldObject* containers = childAt(top.get(), 1);
    const WorldObject* cones = childAt(top.get(), 2);
    const QList<const WorldObject*> bare = {top.get(), childAt(top.get(), 0), containers, cones};
    for (const WorldObject* node : bare)
        QVERIFY(node->GetControllers().isEmpty());
    const QList<const WorldObject*> props = {childAt(containers, 0), childAt(containers, 1),
                                             childAt(cones, 0), childAt(cones, 1),
                                             childAt(top.get(), 3)};
    for (const WorldObject* prop : props) {
        QCOMPARE(prop->GetControllers().size(), 1);
        const ColorController* blink = controllersOf<ColorController>(prop).first();
        QCOMPARE(blink->GetStart(), 27500);
        QCOMPARE(blink->GetEnd(), 36000);
        QCOMPARE(blink->GetRepeat(), 21211);
    }
    QCOMPARE(childAt(containers, 0)->m_transform.translation, QVector3D(-10, 7, -9));
    QCOMPARE(childAt(containers, 1)->m_transform.scale, 0.5f);
}

void TestCredits::showcaseRow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QVector3D>("at");
    QTest::addColumn<float>("scale");
    QTest::newRow("stone ground") << 0 << QVector3D(-10, 0, 0) << 0.1f;
    QTest::newRow("cogwheel") << 2 << QVector3D(-6, -4, 0) << 0.05f;
    QTest::newRow("box") << 3 << QVector3D(-4, 0, 0) << 3.0f;
    QTest::newRow("can") << 5 << QVector3D(0, 2, 0) << 0.05f;
    QTest::newRow("spider") << 10 << QVector3D(10, -5, 0) << 0.05f;
    QTest::newRow("cone") << 12 << QVector3D(16, 0, 0) << 0.05f;
}

void TestCredits::showcaseRow()
{
    QFETCH(int, index);
    QFETCH(QVector3D, at);
    QFETCH(float, scale);
    std::unique_ptr<WorldObject> top(showcase());
    QCOMPARE(top->GetId(), QString("root"));
    QCOMPARE(top->m_transform.translation, QVector3D(0, 0, -15));
    QCOMPARE(top->GetChildren().size(), 13);
    const WorldObject* prop = childAt(top.get(), index);
    QCOMPARE(prop->m_transform.translation, at);
    QCOMPARE(prop->m_transform.scale, scale);
    const QQuaternion turned = index == 2 ? QQuaternion(90, 1, 0, 0) : QQuaternion();
    QCOMPARE(prop->m_transform.rotation, turned);
}

void TestCredits::metalFloorTiles_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<QVector3D>>("tiles");
    QTest::newRow("2 x 3") << 2 << 3
        << QList<QVector3D>{{0, 0, 0}, {0, 20, 0}, {0, 40, 0}, {20, 0, 0}, {20, 20, 0}, {20, 40, 0}};
    QTest::newRow("none") << 0 << 3 << QList<QVector3D>{};
    QTest::newRow("negative") << -1 << 2 << QList<QVector3D>{};
}

void TestCredits::metalFloorTiles()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QList<QVector3D>, tiles);
    std::unique_ptr<WorldObject> top(metal_floor(columns, rows));
    QCOMPARE(top->GetId(), QString("metal_floor"));
    QList<QVector3D> placed;
    for (const Object* tile : top->GetChildren())
        placed.append(static_cast<const WorldObject*>(tile)->m_transform.translation);
    QCOMPARE(placed, tiles);
    QCOMPARE(top->m_transform, WorldObject(nullptr, "").m_transform);
}

QTEST_GUILESS_MAIN(TestCredits)
#include "tst_credits.moc"

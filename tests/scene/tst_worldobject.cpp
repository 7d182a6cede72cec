// The update and draw passes of world nodes, their copies, and the light
// and camera kinds built on them.
#include "camera.h"
#include "lightobject.h"
#include "manualtime.h"
#include "probecontroller.h"
#include "probenode.h"
#include "recordingrenderer.h"

#include <QtTest>

namespace {

QColor rgbaF(double r, double g, double b, double a)
{
    QColor color;
    color.setRgbF(r, g, b, a);
    return color;
}

}  // namespace

class TestWorldObject : public QObject
{
    Q_OBJECT

private slots:
    void freshNodeIsWhiteWithoutControllers();
    void copyHasNeitherChildrenNorControllers();
    void updateRunsChildrenThenControllers();
    void finishedControllerIsDestroyedInTheSamePass();
    void successorWaitsForTheNextPass();
    void windowGatesTheWholeSubtree_data();
    void windowGatesTheWholeSubtree();
    void removeController();
    void nullControllerIsIgnored();
    void drawComposesDownTheTree();
    void drawComposesOwnRotationOnTheLeft();
    void lightDrawsChildrenLikeAPlainNode();
    void cameraUpdatesButNeverDraws();
};

void TestWorldObject::freshNodeIsWhiteWithoutControllers()
{
    WorldObject node(nullptr, "node");
    QCOMPARE(node.m_transform.color, rgbaF(1, 1, 1, 1));
    QCOMPARE(node.m_transform.translation, QVector3D(0, 0, 0));
    QCOMPARE(node.m_transform.scale, 1.0f);
    QVERIFY(node.GetControllers().isEmpty());
}

void TestWorldObject::copyHasNeitherChildrenNorControllers()
{
    QStringList log;
    WorldObject parent(nullptr, "parent");
    WorldObject node(&parent, "node");
    node.SetTime(100, 900);
    node.AddType(TYPE_MODEL);
    node.AddType(TYPE_POLYGON);
    node.m_transform.SetTranslation(1, 2, 3);
    node.m_transform.SetColor(0.5f, 0.25f, 1, 1);
    node.AddChild(new ProbeNode("child", &log));
    node.AddController(new ProbeController("controller", &log, &node));

    {
        const WorldObject copy(node);
        QCOMPARE(copy.GetId(), QString("node"));
        QCOMPARE(copy.GetParent(), &parent);
        QCOMPARE(copy.GetStart(), 100);
        QCOMPARE(copy.GetEnd(), 900);
        QVERIFY(copy.IsType(TYPE_MODEL) && copy.IsType(TYPE_POLYGON) && !copy.IsType(TYPE_ROOT));
        QVERIFY(copy.m_transform == node.m_transform);
        QVERIFY(copy.GetChildren().isEmpty());
        QVERIFY(copy.GetControllers().isEmpty());
    }
    QVERIFY(log.isEmpty());  // the copy's end leaves the original's children alone
}

void TestWorldObject::updateRunsChildrenThenControllers()
{
    QStringList log;
    ProbeNode root("root", &log);
    auto* one = new ProbeNode("one", &log);
    root.AddChild(one);
    root.AddChild(new ProbeNode("two", &log));
    one->AddController(new ProbeController("of-one", &log, one));
    root.AddController(new ProbeController("of-root", &log, &root));

    QCOMPARE(root.Update(20), false);

    QCOMPARE(log, QStringList({"update root", "update one", "run of-one", "update two",
                               "run of-root"}));
}

void TestWorldObject::finishedControllerIsDestroyedInTheSamePass()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* second = new ProbeController("second", &log, &node);
    node.AddController(new ProbeController("first", &log, &node, 1));
    node.AddController(second);

    node.Update(20);

    QCOMPARE(log, QStringList({"run first", "destroy first", "run second"}));
    QCOMPARE(node.GetControllers(), QList<Controller*>{second});
}

void TestWorldObject::successorWaitsForTheNextPass()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* first = new ProbeController("first", &log, &node, 1);
    first->SetNextConroller(new ProbeController("next", &log, &node));
    node.AddController(first);

    node.Update(20);
    QCOMPARE(log, QStringList({"run first", "destroy first"}));

    log.clear();
    node.Update(20);
    QCOMPARE(log, QStringList({"run next"}));
}

void TestWorldObject::windowGatesTheWholeSubtree_data()
{
    QTest::addColumn<int>("engineTime");
    QTest::addColumn<bool>("runs");

    QTest::newRow("before the window") << 999 << false;
    QTest::newRow("at its start") << 1000 << true;
    QTest::newRow("at its end") << 2000 << true;
    QTest::newRow("after the window") << 2001 << false;
}

void TestWorldObject::windowGatesTheWholeSubtree()
{
    QFETCH(int, engineTime);
    QFETCH(bool, runs);

    ManualTime clock(engineTime);
    QStringList log;
    WorldObject node(nullptr, "node");
    node.SetTime(1000, 2000);
    auto* child = new ProbeNode("child", &log);
    node.AddChild(child);
    child->AddController(new ProbeController("of-child", &log, child));
    node.AddController(new ProbeController("of-node", &log, &node));
    RecordingRenderer renderer;

    node.Update(20);
    node.Draw(&renderer, Transform());

    const QStringList expected = runs ? QStringList({"update child", "run of-child", "run of-node",
                                                     "draw child"})
                                      : QStringList();
    QCOMPARE(log, expected);
}

void TestWorldObject::removeController()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* held = new ProbeController("held", &log, &node);
    node.AddController(held);
    ProbeController stranger("stranger", &log, &node);

    node.RemoveController(&stranger);
    node.RemoveController(nullptr);
    QVERIFY(log.isEmpty());

    node.RemoveController(held);
    QCOMPARE(log, QStringList({"destroy held"}));
    QVERIFY(node.GetControllers().isEmpty());
}

void TestWorldObject::nullControllerIsIgnored()
{
    WorldObject node(nullptr, "node");
    node.AddController(nullptr);
    QVERIFY(node.GetControllers().isEmpty());
    QCOMPARE(node.Update(20), false);
}

void TestWorldObject::drawComposesDownTheTree()
{
    QStringList log;
    WorldObject parent(nullptr, "parent");
    parent.m_transform.SetTranslation(1, 0, 0);
    parent.m_transform.SetColor(1, 0, 0, 1);
    auto* child = new ProbeNode("child", &log);
    child->m_transform.SetTranslation(0, 2, 0);
    auto* grandchild = new ProbeNode("grandchild", &log);
    parent.AddChild(child);
    child->AddChild(grandchild);
    Transform white;
    white.SetColor(1, 1, 1, 1);

    parent.Draw(nullptr, white);

    QCOMPARE(child->lastInherited.translation, QVector3D(1, 0, 0));
    QCOMPARE(child->lastInherited.color, rgbaF(1, 0, 0, 1));
    QCOMPARE(grandchild->lastInherited.translation, QVector3D(1, 2, 0));
    QCOMPARE(grandchild->lastInherited.color, rgbaF(1, 0, 0, 1));
}

void TestWorldObject::drawComposesOwnRotationOnTheLeft()
{
    QStringList log;
    WorldObject parent(nullptr, "parent");
    parent.m_transform.SetRotation(20, 0, 1, 0);
    parent.m_transform.SetScale(2);
    auto* child = new ProbeNode("child", &log);
    parent.AddChild(child);
    Transform inherited;
    inherited.SetRotation(90, 1, 0, 0);
    inherited.SetScale(3);

    parent.Draw(nullptr, inherited);

    const QQuaternion r = child->lastInherited.rotation;
    QCOMPARE(QList<float>({r.scalar(), r.x(), r.y(), r.z()}), QList<float>({1800, 20, 90, -1}));
    QCOMPARE(child->lastInherited.scale, 6.0f);
}

void TestWorldObject::lightDrawsChildrenLikeAPlainNode()
{
    QStringList log;
    LightObject light(nullptr, "light");
    light.m_transform.SetTranslation(0, 0, 5);
    auto* child = new ProbeNode("child", &log);
    light.AddChild(child);

    light.Draw(nullptr, Transform());

    QCOMPARE(child->draws, 1);
    QCOMPARE(child->lastInherited.translation, QVector3D(0, 0, 5));
}

void TestWorldObject::cameraUpdatesButNeverDraws()
{
    QStringList log;
    Camera camera;
    auto* child = new ProbeNode("child", &log);
    camera.AddChild(child);
    camera.AddController(new ProbeController("of-camera", &log, &camera));
    RecordingRenderer renderer;

    QCOMPARE(camera.Update(20), false);
    camera.Draw(&renderer, Transform());

    QCOMPARE(log, QStringList({"update child", "run of-camera"}));
    QVERIFY(renderer.calls.isEmpty());
}

QTEST_GUILESS_MAIN(TestWorldObject)
#include "tst_worldobject.moc"

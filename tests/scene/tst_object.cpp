// The node tree: time windows, kinds, search, removal and ownership.
#include "camera.h"
#include "engineclock.h"
#include "manualtime.h"
#include "modelobject.h"
#include "polygonobject.h"
#include "probecontroller.h"
#include "probenode.h"

#include <QtTest>

Q_DECLARE_METATYPE(QSharedPointer<Object>)

class TestObject : public QObject
{
    Q_OBJECT

private slots:
    void existsAtGivenTime_data();
    void existsAtGivenTime();
    void existsZeroReadsEngineTime_data();
    void existsZeroReadsEngineTime();
    void existsBeforeClockStarts();
    void kinds_data();
    void kinds();
    void kindsAreCountedOccurrences();
    void findIsPreOrder_data();
    void findIsPreOrder();
    void addChildSetsParentAndIgnoresNull();
    void setParentIgnoresNull();
    void removeChildByPointer();
    void removeChildLeavesNonChildrenAlone();
    void removeChildByIdTakesDirectChildrenOnly();
    void destructionTakesControllersThenChildrenOnce();

private:
    WorldObject m_parent{nullptr, "parent"};
};

void TestObject::existsAtGivenTime_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("now");
    QTest::addColumn<bool>("exists");

    QTest::newRow("no window, early") << 0 << 0 << -5 << true;
    QTest::newRow("no window, late") << 0 << 0 << 123456 << true;
    QTest::newRow("before start") << 1000 << 2000 << 999 << false;
    QTest::newRow("at start") << 1000 << 2000 << 1000 << true;
    QTest::newRow("at end") << 1000 << 2000 << 2000 << true;
    QTest::newRow("after end") << 1000 << 2000 << 2001 << false;
    QTest::newRow("(500, 0) at 500") << 500 << 0 << 500 << false;
    QTest::newRow("(500, 0) at 250") << 500 << 0 << 250 << false;
    QTest::newRow("(0, 100) at 100") << 0 << 100 << 100 << true;
    QTest::newRow("(0, 100) at 101") << 0 << 100 << 101 << false;
    QTest::newRow("reversed window") << 2000 << 1000 << 1500 << false;
}

void TestObject::existsAtGivenTime()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, now);
    QFETCH(bool, exists);

    WorldObject node(nullptr, "node");
    node.SetTime(start, end);
    QCOMPARE(node.Exists(now), exists);
}

void TestObject::existsZeroReadsEngineTime_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("engineTime");
    QTest::addColumn<bool>("exists");

    QTest::newRow("no window") << 0 << 0 << 99999 << true;
    QTest::newRow("(0, 100) at 0") << 0 << 100 << 0 << true;
    QTest::newRow("(0, 100) at 100") << 0 << 100 << 100 << true;
    QTest::newRow("(0, 100) at 101") << 0 << 100 << 101 << false;
    QTest::newRow("before start") << 1000 << 2000 << 999 << false;
    QTest::newRow("at start") << 1000 << 2000 << 1000 << true;
    QTest::newRow("at end") << 1000 << 2000 << 2000 << true;
    QTest::newRow("after end") << 1000 << 2000 << 2001 << false;
    QTest::newRow("(500, 0) at 0") << 500 << 0 << 0 << false;
    QTest::newRow("(500, 0) at 500") << 500 << 0 << 500 << false;
}

void TestObject::existsZeroReadsEngineTime()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, engineTime);
    QFETCH(bool, exists);

    ManualTime clock(engineTime);
    WorldObject node(nullptr, "node");
    node.SetTime(start, end);
    QCOMPARE(node.Exists(0), exists);
}

void TestObject::existsBeforeClockStarts()
{
    QCOMPARE(EngineClock::GetInstance()->now(), 0);
    WorldObject always(nullptr, "always");
    WorldObject fromZero(nullptr, "fromZero");
    fromZero.SetTime(0, 100);
    WorldObject later(nullptr, "later");
    later.SetTime(1000, 2000);

    QVERIFY(always.Exists(0));
    QVERIFY(fromZero.Exists(0));
    QVERIFY(!later.Exists(0));
}

void TestObject::kinds_data()
{
    QTest::addColumn<QSharedPointer<Object>>("node");
    QTest::addColumn<bool>("root");
    QTest::addColumn<bool>("polygon");
    QTest::addColumn<bool>("model");

    QTest::newRow("world node without parent")
        << QSharedPointer<Object>(new WorldObject(nullptr, "n")) << true << false << false;
    QTest::newRow("world node with parent")
        << QSharedPointer<Object>(new WorldObject(&m_parent, "n")) << false << false << false;
    QTest::newRow("polygon without parent")
        << QSharedPointer<Object>(new PolygonObject(nullptr, "p")) << true << true << false;
    QTest::newRow("mesh with parent")
        << QSharedPointer<Object>(new ModelObject(&m_parent, "m")) << false << false << true;
    QTest::newRow("camera") << QSharedPointer<Object>(new Camera) << true << false << false;
}

void TestObject::kinds()
{
    QFETCH(QSharedPointer<Object>, node);
    QFETCH(bool, root);
    QFETCH(bool, polygon);
    QFETCH(bool, model);

    QCOMPARE(node->IsType(TYPE_ROOT), root);
    QCOMPARE(node->IsType(TYPE_POLYGON), polygon);
    QCOMPARE(node->IsType(TYPE_MODEL), model);
}

void TestObject::kindsAreCountedOccurrences()
{
    WorldObject parent(nullptr, "parent");
    auto* node = new WorldObject(nullptr, "node");
    parent.AddChild(node);
    QVERIFY(node->IsType(TYPE_ROOT));  // attaching later keeps the kind

    node->AddType(TYPE_MODEL);
    node->AddType(TYPE_MODEL);
    node->RemoveType(TYPE_MODEL);
    QVERIFY(node->IsType(TYPE_MODEL));
    node->RemoveType(TYPE_MODEL);
    QVERIFY(!node->IsType(TYPE_MODEL));
    node->RemoveType(TYPE_POLYGON);
    QVERIFY(node->IsType(TYPE_ROOT));
}

// root "same"
//  +- first "first"
//  |   +- grandA "same"
//  |   +- grandB "shared"
//  +- second "shared"
//      +- grandC "deep"
void TestObject::findIsPreOrder_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("expected");

    QTest::newRow("root before its grandchild") << "same" << "root";
    QTest::newRow("grandchild under first child before second child") << "shared" << "grandB";
    QTest::newRow("deep in the second subtree") << "deep" << "grandC";
    QTest::newRow("case-sensitive") << "SAME" << "";
    QTest::newRow("missing") << "missing" << "";
}

void TestObject::findIsPreOrder()
{
    QFETCH(QString, id);
    QFETCH(QString, expected);

    QStringList log;
    auto* root = new WorldObject(nullptr, "same");
    auto* first = new WorldObject(root, "first");
    auto* second = new WorldObject(root, "shared");
    auto* grandA = new WorldObject(first, "same");
    auto* grandB = new WorldObject(first, "shared");
    auto* grandC = new WorldObject(second, "deep");
    root->AddChild(first);
    root->AddChild(second);
    first->AddChild(grandA);
    first->AddChild(grandB);
    second->AddChild(grandC);
    const QHash<QString, Object*> byLabel = {
        {"root", root}, {"grandB", grandB}, {"grandC", grandC}, {"", nullptr}};

    QCOMPARE(root->Find(id), byLabel.value(expected));
    delete root;
}

void TestObject::addChildSetsParentAndIgnoresNull()
{
    WorldObject parent(nullptr, "parent");
    auto* child = new WorldObject(nullptr, "child");
    parent.AddChild(nullptr);
    parent.AddChild(child);

    QCOMPARE(parent.GetChildren(), QList<Object*>{child});
    QCOMPARE(child->GetParent(), &parent);
}

void TestObject::setParentIgnoresNull()
{
    WorldObject parent(nullptr, "parent");
    WorldObject node(&parent, "node");
    node.SetParent(nullptr);
    QCOMPARE(node.GetParent(), &parent);
}

void TestObject::removeChildByPointer()
{
    QStringList log;
    ProbeNode parent("parent", &log);
    auto* child = new ProbeNode("child", &log);
    auto* sibling = new ProbeNode("sibling", &log);
    parent.AddChild(child);
    parent.AddChild(sibling);
    child->AddChild(new ProbeNode("grandchild", &log));

    parent.RemoveChild(child);

    QCOMPARE(log, QStringList({"destroy child", "destroy grandchild"}));
    QCOMPARE(parent.GetChildren(), QList<Object*>{sibling});
}

void TestObject::removeChildLeavesNonChildrenAlone()
{
    QStringList log;
    ProbeNode parent("parent", &log);
    auto* child = new ProbeNode("child", &log);
    auto* grandchild = new ProbeNode("grandchild", &log);
    parent.AddChild(child);
    child->AddChild(grandchild);
    ProbeNode stranger("stranger", &log);

    parent.RemoveChild(grandchild);
    parent.RemoveChild(&stranger);
    parent.RemoveChild(static_cast<Object*>(nullptr));

    QVERIFY(log.isEmpty());
    QCOMPARE(parent.GetChildren(), QList<Object*>{child});
    QCOMPARE(child->GetChildren(), QList<Object*>{grandchild});
}

void TestObject::removeChildByIdTakesDirectChildrenOnly()
{
    QStringList log;
    ProbeNode parent("parent", &log);
    auto* keep = new ProbeNode("keep", &log);
    parent.AddChild(new ProbeNode("gone", &log));
    parent.AddChild(keep);
    parent.AddChild(new ProbeNode("gone", &log));
    keep->AddChild(new ProbeNode("gone", &log));

    parent.RemoveChild(QString("gone"));

    QCOMPARE(log, QStringList({"destroy gone", "destroy gone"}));
    QCOMPARE(parent.GetChildren(), QList<Object*>{keep});
    QCOMPARE(keep->GetChildren().size(), 1);
}

void TestObject::destructionTakesControllersThenChildrenOnce()
{
    QStringList log;
    auto* root = new ProbeNode("root", &log);
    auto* a = new ProbeNode("a", &log);
    root->AddChild(a);
    root->AddChild(new ProbeNode("b", &log));
    a->AddChild(new ProbeNode("a1", &log));
    a->AddChild(new ProbeNode("a2", &log));
    root->AddController(new ProbeController("c1", &log, root));
    root->AddController(new ProbeController("c2", &log, root));

    delete root;

    QCOMPARE(log, QStringList({"destroy root", "destroy c1", "destroy c2", "destroy a",
                               "destroy a1", "destroy a2", "destroy b"}));
}

QTEST_GUILESS_MAIN(TestObject)
#include "tst_object.moc"

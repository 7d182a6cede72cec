// Controller chaining: successors handed to the node on finishing, and who
// destroys them when there is no node to hand them to.
#include "probecontroller.h"
#include "worldobject.h"

#include <QtTest>

class TestController : public QObject
{
    Q_OBJECT

private slots:
    void successorsJoinTheNodeInOrder();
    void successorsGoToThePredecessorsNode();
    void withoutANodeSuccessorsDieWithTheController();
    void destroyingAControllerDestroysHeldSuccessors();
    void setParentAndNextIgnoreNull();
};

void TestController::successorsJoinTheNodeInOrder()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* existing = new ProbeController("existing", &log, &node);
    auto* finishing = new ProbeController("finishing", &log, &node, 1);
    auto* a = new ProbeController("A", &log, &node);
    auto* b = new ProbeController("B", &log, &node);
    finishing->SetNextConroller(a);
    finishing->SetNextConroller(b);
    node.AddController(finishing);
    node.AddController(existing);

    node.Update(20);
    QCOMPARE(log, QStringList({"run finishing", "destroy finishing", "run existing"}));
    QCOMPARE(node.GetControllers(), QList<Controller*>({existing, a, b}));

    log.clear();
    node.Update(20);
    QCOMPARE(log, QStringList({"run existing", "run A", "run B"}));
}

void TestController::successorsGoToThePredecessorsNode()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    WorldObject elsewhere(nullptr, "elsewhere");
    auto* finishing = new ProbeController("finishing", &log, &node, 1);
    auto* next = new ProbeController("next", &log, &elsewhere);
    finishing->SetNextConroller(next);
    node.AddController(finishing);

    node.Update(20);

    QCOMPARE(node.GetControllers(), QList<Controller*>{next});
    QVERIFY(elsewhere.GetControllers().isEmpty());
    QCOMPARE(next->GetParent(), &elsewhere);
}

void TestController::withoutANodeSuccessorsDieWithTheController()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    auto* orphan = new ProbeController("orphan", &log, nullptr, 1);
    orphan->SetNextConroller(new ProbeController("A", &log));
    orphan->SetNextConroller(new ProbeController("B", &log));
    node.AddController(orphan);

    node.Update(20);

    QCOMPARE(log, QStringList({"run orphan", "destroy orphan", "destroy A", "destroy B"}));
    QVERIFY(node.GetControllers().isEmpty());
}

void TestController::destroyingAControllerDestroysHeldSuccessors()
{
    QStringList log;
    auto* controller = new ProbeController("c", &log);
    auto* next = new ProbeController("next", &log);
    next->SetNextConroller(new ProbeController("after-next", &log));
    controller->SetNextConroller(next);

    delete controller;

    QCOMPARE(log, QStringList({"destroy c", "destroy next", "destroy after-next"}));
}

void TestController::setParentAndNextIgnoreNull()
{
    QStringList log;
    WorldObject node(nullptr, "node");
    ProbeController controller("c", &log, &node);
    controller.SetParent(nullptr);
    controller.SetNextConroller(nullptr);
    QCOMPARE(controller.GetParent(), &node);
    QVERIFY(controller.GetNextControllers().isEmpty());
}

QTEST_GUILESS_MAIN(TestController)
#include "tst_controller.moc"

// The pools that mesh points and polygons come from: nodes built one after
// another lie one after another, freed blocks are used again, and classes
// derived from the nodes still get (and give back) blocks of their own size.
#include "nodepool.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <QtTest>

#include <memory>
#include <vector>

namespace {

// A point with more to it than a point: too big for the point pool.
class LabelledPoint : public PointObject
{
public:
    LabelledPoint(int* destroyed) : PointObject(nullptr, "labelled"), m_destroyed(destroyed) {}
    ~LabelledPoint() override { ++*m_destroyed; }

    double label[8] = {};

private:
    int* m_destroyed;
};

template <typename Node> std::ptrdiff_t stride(const Node* a, const Node* b)
{
    return reinterpret_cast<const char*>(b) - reinterpret_cast<const char*>(a);
}

// A node's block: its size rounded up to the allocator's alignment.
template <typename Node> std::ptrdiff_t blockSize()
{
    const std::size_t alignment = alignof(std::max_align_t);
    return std::ptrdiff_t((sizeof(Node) + alignment - 1) / alignment * alignment);
}

// A new slab may start anywhere; two neighbours out of three share one.
template <typename Node> bool laidEndToEnd(const std::vector<std::unique_ptr<Node>>& nodes)
{
    return stride(nodes[0].get(), nodes[1].get()) == blockSize<Node>()
        || stride(nodes[1].get(), nodes[2].get()) == blockSize<Node>();
}

}  // namespace

class TestNodePool : public QObject
{
    Q_OBJECT

private slots:
    void nodesBuiltInARowAreContiguous();
    void freedBlockIsUsedAgain();
    void derivedNodesUseTheGlobalAllocator();
};

void TestNodePool::nodesBuiltInARowAreContiguous()
{
    if (!QUENVARIX_NODE_POOL)
        QSKIP("sanitizer build: every node has a block of its own");
    std::vector<std::unique_ptr<PointObject>> points;
    std::vector<std::unique_ptr<PolygonObject>> polygons;
    for (int i = 0; i < 3; ++i) {
        points.emplace_back(new PointObject(nullptr, "p"));
        polygons.emplace_back(new PolygonObject(nullptr, "f"));
    }
    QVERIFY(laidEndToEnd(points));
    QVERIFY(laidEndToEnd(polygons));
}

void TestNodePool::freedBlockIsUsedAgain()
{
    if (!QUENVARIX_NODE_POOL)
        QSKIP("sanitizer build: every node has a block of its own");
    auto* first = new PointObject(nullptr, "first");
    void* block = first;
    delete first;
    std::unique_ptr<PointObject> second(new PointObject(nullptr, "second"));
    QCOMPARE(static_cast<void*>(second.get()), block);
    QCOMPARE(second->GetId(), QStringLiteral("second"));
    QCOMPARE(second->m_normal, QVector3D(0.0f, 0.0f, 0.0f));
}

void TestNodePool::derivedNodesUseTheGlobalAllocator()
{
    int destroyed = 0;
    PointObject* point = new LabelledPoint(&destroyed);
    static_cast<LabelledPoint*>(point)->label[7] = 1.5;  // the whole object is writable
    delete point;  // through the base: the sized delete gets the derived size
    QCOMPARE(destroyed, 1);
    std::unique_ptr<PointObject> plain(new PointObject(nullptr, "plain"));
    QVERIFY(plain);
}

QTEST_GUILESS_MAIN(TestNodePool)
#include "tst_nodepool.moc"

#include "demotree.h"
#include "geometry.h"
#include "modelcache.h"
#include "pointid.h"

#include <QtTest>

#include <memory>

using Loader = ModelCache::Loader;
Q_DECLARE_METATYPE(Loader)

namespace {

// Shaped like an imported model: two triangles with their own corners, named
// after the file, every polygon and point referring to the model as parent.
ModelObject* importedShape(const QString&)
{
    auto* model = new ModelObject(nullptr, QString());
    for (int n = 0; n < 2; ++n) {
        auto* polygon = new PolygonObject(model, numberedId("mesh", "_poly_", n));
        for (int k = 0; k < 3; ++k) {
            auto* point = new PointObject(model, numberedId("mesh", "_point_", k));
            point->m_transform.SetTranslation(float(n), float(k), 1.0f);
            point->m_normal = QVector3D(0, float(k), 1);
            polygon->AddPoint(point);
            model->AddPoint(point);
            polygon->AddTexCoord(0.25f * k, 0.5f * n);
        }
        model->AddPolygon(polygon);
    }
    return model;
}

// Points that name their polygon as parent.
ModelObject* boxShape(const QString&)
{
    return create_box(1, 2, 3, nullptr, nullptr);
}

QStringList describeMesh(const ModelObject* model)
{
    QStringList out;
    describeTree(model, out);
    for (const PolygonObject* polygon : model->GetPolygons()) {
        out << polygon->GetId() + (polygon->IsType(TYPE_POLYGON) ? " polygon" : "");
        for (const QPointF* coord : polygon->GetTexCoords())
            out << QString(" uv %1 %2").arg(coord->x()).arg(coord->y());
    }
    for (const PointObject* point : model->GetPoints()) {
        const QVector3D& n = point->m_normal;
        out << point->GetId() + " " + describeTransform(point->m_transform)
                   + QString(" n(%1 %2 %3)").arg(n.x()).arg(n.y()).arg(n.z());
    }
    return out;
}

} // namespace

class TestModelCache : public QObject
{
    Q_OBJECT

    int m_reads = 0;

    Loader counting(Loader loader)
    {
        return [this, loader](const QString& path) {
            ++m_reads;
            return loader(path);
        };
    }

private slots:
    void init() { m_reads = 0; }
    void readsEachFileOnce();
    void copyLooksLikeAFreshImport();
    void copyRefersOnlyToItself_data();
    void copyRefersOnlyToItself();
    void copiesAreIndependent();
    void failedLoadIsNotCached();
    void clearAndSwitchOff();
};

void TestModelCache::readsEachFileOnce()
{
    ModelCache cache(counting(importedShape));
    std::unique_ptr<ModelObject> a(cache.load("/data/box.obj"));
    std::unique_ptr<ModelObject> b(cache.load("/data/box.obj"));
    std::unique_ptr<ModelObject> c(cache.load("/data/cogwheel_01.obj"));
    QCOMPARE(m_reads, 2);
    QCOMPARE(cache.size(), 2);
    QVERIFY(a.get() != b.get());
}

void TestModelCache::copyLooksLikeAFreshImport()
{
    ModelCache cache(importedShape);
    delete cache.load("a.obj");
    std::unique_ptr<ModelObject> fresh(importedShape("a.obj"));
    std::unique_ptr<ModelObject> copy(cache.load("a.obj"));
    QCOMPARE(describeMesh(copy.get()), describeMesh(fresh.get()));
    QVERIFY(copy->IsType(TYPE_MODEL) && copy->IsType(TYPE_ROOT));
    QCOMPARE(copy->GetParent(), nullptr);
}

void TestModelCache::copyRefersOnlyToItself_data()
{
    QTest::addColumn<Loader>("loader");
    QTest::addColumn<bool>("pointsUnderPolygons");
    QTest::newRow("imported") << Loader(importedShape) << false;
    QTest::newRow("procedural box") << Loader(boxShape) << true;
}

void TestModelCache::copyRefersOnlyToItself()
{
    QFETCH(Loader, loader);
    QFETCH(bool, pointsUnderPolygons);
    ModelCache cache(loader);
    std::unique_ptr<ModelObject> copy(cache.load("m.obj"));
    QVERIFY(copy->NumFaces() > 0);
    for (const PolygonObject* polygon : copy->GetPolygons()) {
        QCOMPARE(polygon->GetParent(), copy.get());
        const Object* expected = pointsUnderPolygons ? static_cast<const Object*>(polygon) : copy.get();
        for (const PointObject* point : polygon->GetPoints())
            QCOMPARE(point->GetParent(), expected);
    }
}

void TestModelCache::copiesAreIndependent()
{
    ModelCache cache(importedShape);
    std::unique_ptr<ModelObject> first(cache.load("a.obj"));
    const QStringList before = describeMesh(first.get());
    std::unique_ptr<ModelObject> second(cache.load("a.obj"));
    second->GetPoints().first()->m_transform.SetTranslation(9, 9, 9);
    Texture texture(nullptr);
    second->GetPolygons().first()->SetTexture(&texture);
    second->m_transform.SetScale(5);
    second.reset();
    std::unique_ptr<ModelObject> third(cache.load("a.obj"));
    QCOMPARE(describeMesh(first.get()), before);
    QCOMPARE(describeMesh(third.get()), before);
    QCOMPARE(textureOf(third.get()), nullptr);
}

void TestModelCache::failedLoadIsNotCached()
{
    ModelCache cache(counting([](const QString&) -> ModelObject* { return nullptr; }));
    QCOMPARE(cache.load("model.OBJ"), nullptr);
    QCOMPARE(cache.load("model.OBJ"), nullptr);
    QCOMPARE(cache.size(), 0);
    QCOMPARE(m_reads, 2);
}

void TestModelCache::clearAndSwitchOff()
{
    ModelCache cache(counting(importedShape));
    delete cache.load("a.obj");
    cache.clear();
    QCOMPARE(cache.size(), 0);
    delete cache.load("a.obj");
    QCOMPARE(m_reads, 2);
    cache.setEnabled(false);
    QCOMPARE(cache.size(), 0);
    delete cache.load("a.obj");
    delete cache.load("a.obj");
    QCOMPARE(m_reads, 4);
    QCOMPARE(cache.size(), 0);
    cache.setEnabled(true);
    delete cache.load("a.obj");
    delete cache.load("a.obj");
    QCOMPARE(m_reads, 5);
}

QTEST_GUILESS_MAIN(TestModelCache)
#include "tst_modelcache.moc"

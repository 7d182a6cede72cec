// The meshes WidgetRenderer keeps on the GL side: compiled once while they
// hold still, rebuilt after any change the scene graph can make, shared by
// equal copies, and left to face-by-face drawing where a face has more to
// do than send its corners.
#include "glcontext.h"
#include "meshbatch.h"
#include "meshcache.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "texture.h"

#include <QtTest>

#include <memory>

namespace {

// Triangles in a row, each with its own three points, all textured.
std::unique_ptr<ModelObject> triangles(int count, Texture* texture)
{
    auto mesh = std::make_unique<ModelObject>(nullptr, QStringLiteral("mesh"));
    for (int i = 0; i < count; ++i) {
        auto* face = new PolygonObject(mesh.get(), QString());
        for (int corner = 0; corner < 3; ++corner) {
            PointObject* point = face->AddPoint(float(i + corner % 2), float(corner / 2), -5.0f);
            point->m_normal = QVector3D(0, 0, 1);
            mesh->AddPoint(point);
            face->AddTexCoord(corner % 2, corner / 2);
        }
        face->SetTexture(texture);
        mesh->AddPolygon(face);
    }
    return mesh;
}

using Change = void (*)(ModelObject& mesh, Texture& other);

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestMeshCache : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stillMeshIsCompiledOnce();
    void everyChangeRebuilds_data();
    void everyChangeRebuilds();
    void meshThatKeepsChangingIsNotCompiled();
    void equalCopiesShareOneBatch();
    void facesWithMoreToDoAreDrawnOneByOne_data();
    void facesWithMoreToDoAreDrawnOneByOne();
    void anotherContextStartsAfresh();

private:
    const MeshBatch* draw(const ModelObject& mesh)
    {
        m_cache->frameStarted();
        return m_cache->batchFor(mesh);
    }

    std::unique_ptr<GlContext> m_gl;
    std::unique_ptr<MeshCache> m_cache;
    Texture m_texture{nullptr};
    Texture m_other{nullptr};
};

void TestMeshCache::init()
{
    m_gl = std::make_unique<GlContext>(16, 16);
    QVERIFY(m_gl->isValid());
    m_cache = std::make_unique<MeshCache>();
    m_texture.SetGlId(7);
    m_other.SetGlId(8);
}

void TestMeshCache::cleanup()
{
    m_cache.reset();
    m_gl.reset();
}

void TestMeshCache::stillMeshIsCompiledOnce()
{
    const auto mesh = triangles(4, &m_texture);
    const MeshBatch* first = draw(*mesh);
    QVERIFY(first && first->compiled());
    QCOMPARE(draw(*mesh), first);
    QCOMPARE(draw(*mesh), first);
    QCOMPARE(m_cache->compileCount(), 1);
}

void TestMeshCache::everyChangeRebuilds_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("point moved") << Change([](ModelObject& m, Texture&) {
        m.GetPoints().at(1)->m_transform.SetTranslation(0.5f, 0.5f, -5.0f);
    });
    QTest::newRow("normal turned") << Change([](ModelObject& m, Texture&) {
        m.GetPoints().at(4)->m_normal = QVector3D(0, 1, 0);
    });
    QTest::newRow("texture coordinate moved") << Change([](ModelObject& m, Texture&) {
        *m.GetPolygons().at(2)->GetTexCoords().at(0) = QPointF(0.25, 0.25);
    });
    QTest::newRow("other texture") << Change([](ModelObject& m, Texture& other) {
        m.GetPolygons().at(3)->SetTexture(&other);
    });
    QTest::newRow("texture uploaded again") << Change([](ModelObject& m, Texture&) {
        m.GetPolygons().at(0)->GetTexture()->SetGlId(9);
    });
    QTest::newRow("polygon added") << Change([](ModelObject& m, Texture&) {
        auto* copy = new PolygonObject(*m.GetPolygons().at(0));  // with new points
        for (PointObject* point : copy->GetPoints())
            m.AddPoint(point);
        m.AddPolygon(copy);
    });
    QTest::newRow("polygon removed") << Change([](ModelObject& m, Texture&) {
        m.RemovePolygon(m.GetPolygons().at(1));
    });
    QTest::newRow("point removed") << Change([](ModelObject& m, Texture&) {
        m.RemovePoint(m.GetPoints().at(5));
    });
}

// The frame a mesh changes it is drawn face by face; once it holds still it
// is compiled again, from what it is now.
void TestMeshCache::everyChangeRebuilds()
{
    QFETCH(Change, change);
    const auto mesh = triangles(4, &m_texture);
    QVERIFY(draw(*mesh));
    change(*mesh, m_other);
    QCOMPARE(draw(*mesh), nullptr);
    const MeshBatch* rebuilt = draw(*mesh);
    QVERIFY(rebuilt && rebuilt->compiled());
    QVERIFY(rebuilt->snapshot().matches(*mesh));
    QCOMPARE(m_cache->compileCount(), 2);
}

void TestMeshCache::meshThatKeepsChangingIsNotCompiled()
{
    const auto mesh = triangles(2, &m_texture);
    QVERIFY(draw(*mesh));
    for (int frame = 1; frame <= 5; ++frame) {
        mesh->GetPoints().at(0)->m_transform.SetTranslation(0, 0, -5.0f - float(frame));
        QCOMPARE(draw(*mesh), nullptr);
    }
    QCOMPARE(m_cache->compileCount(), 1);
}

void TestMeshCache::equalCopiesShareOneBatch()
{
    const auto original = triangles(3, &m_texture);
    ModelObject copy(*original);
    ModelObject moved(*original);
    moved.GetPoints().at(0)->m_transform.SetTranslation(9, 9, 9);
    const MeshBatch* shared = draw(*original);
    QCOMPARE(m_cache->batchFor(copy), shared);
    QVERIFY(m_cache->batchFor(moved) != shared);
    QCOMPARE(m_cache->compileCount(), 2);

    // Changing one copy leaves the other where it was.
    copy.GetPoints().at(0)->m_transform.SetTranslation(8, 8, 8);
    QCOMPARE(draw(copy), nullptr);
    QCOMPARE(m_cache->batchFor(*original), shared);
}

void TestMeshCache::facesWithMoreToDoAreDrawnOneByOne_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("face with a time window") << Change([](ModelObject& m, Texture&) {
        m.GetPolygons().at(1)->SetTime(100, 200);
    });
    QTest::newRow("face with a child") << Change([](ModelObject& m, Texture&) {
        m.GetPolygons().at(0)->AddChild(new PointObject(nullptr, QString()));
    });
    QTest::newRow("untextured face ahead of a textured one") << Change([](ModelObject& m, Texture&) {
        auto* untextured = new PolygonObject(nullptr, QString());
        for (int i = 0; i < 3; ++i)
            untextured->AddPoint(m.GetPoints().at(i));
        m.GetPolygons().prepend(untextured);
    });
}

void TestMeshCache::facesWithMoreToDoAreDrawnOneByOne()
{
    QFETCH(Change, change);
    const auto mesh = triangles(2, &m_texture);
    change(*mesh, m_other);
    QCOMPARE(draw(*mesh), nullptr);
    QCOMPARE(draw(*mesh), nullptr);
    QCOMPARE(m_cache->compileCount(), 0);
}

// Lists belong to the context they were made in.
void TestMeshCache::anotherContextStartsAfresh()
{
    const auto mesh = triangles(2, &m_texture);
    QVERIFY(draw(*mesh));
    m_gl.reset();
    QCOMPARE(m_cache->meshCount(), 0);
    m_gl = std::make_unique<GlContext>(16, 16);
    QVERIFY(draw(*mesh));
    QCOMPARE(m_cache->compileCount(), 2);
}

QTEST_MAIN(TestMeshCache)
#include "tst_meshcache.moc"

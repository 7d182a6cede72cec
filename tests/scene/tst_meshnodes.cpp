// Meshes, faces and vertices: what they hand the renderer, how they name
// points, what they own and how they copy.
#include "manualtime.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "probecontroller.h"
#include "probenode.h"
#include "recordingrenderer.h"
#include "texture.h"

#include <QtTest>

namespace {

// A vertex that logs "destroy <id>", to count how often a mesh destroys it.
class ProbePoint : public PointObject
{
public:
    ProbePoint(const QString& id, QStringList* log, float x, float y, float z)
        : PointObject(nullptr, id), m_log(log)
    {
        m_transform.SetTranslation(x, y, z);
    }
    ~ProbePoint() override { *m_log << "destroy " + m_id; }

private:
    QStringList* m_log;
};

PolygonObject* triangle(ModelObject* mesh, const QString& id, PointObject* a, PointObject* b,
                        PointObject* c)
{
    auto* polygon = new PolygonObject(mesh, id);
    polygon->AddPoint(a);
    polygon->AddPoint(b);
    polygon->AddPoint(c);
    mesh->AddPolygon(polygon);
    return polygon;
}

// Mesh "m": points p0 (0,0,0), p1 (1,0,0), p2 (0,1,0), p3 (1,1,0) and an
// unused u (9,9,9); faces f0 = p0 p1 p2 and f1 = p1 p3 p2 share p1 and p2.
ModelObject* sharedQuad(QStringList* log)
{
    auto* mesh = new ModelObject(nullptr, "m");
    QList<PointObject*> p;
    for (int i = 0; i < 4; ++i) {
        p << new ProbePoint(QString("p%1").arg(i), log, i % 2, i / 2, 0);
        mesh->AddPoint(p.last());
    }
    mesh->AddPoint(new ProbePoint("u", log, 9, 9, 9));
    triangle(mesh, "f0", p[0], p[1], p[2]);
    triangle(mesh, "f1", p[1], p[3], p[2]);
    return mesh;
}

}  // namespace

class TestMeshNodes : public QObject
{
    Q_OBJECT

private slots:
    void drawSetsTransformOnceThenEachPolygon();
    void drawComposesInheritedThenOwn();
    void childrenDrawBeforeTheMesh();
    void windowsGateDrawing_data();
    void windowsGateDrawing();
    void updateVisitsEveryPointOnce();
    void meshOutsideItsWindowDoesNotUpdate();
    void destroyingAMeshDestroysSharedPointsOnce();
    void pointIds_data();
    void pointIds();
    void polygonRemovesPointsWithoutDestroying();
    void meshRemovesPointsEverywhere_data();
    void meshRemovesPointsEverywhere();
    void meshRemovesPolygons();
    void texCoords();
    void textureOnceSetStays();
    void isValid_data();
    void isValid();
    void copyRebuildsPointsFromPolygons();
};

void TestMeshNodes::drawSetsTransformOnceThenEachPolygon()
{
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    RecordingRenderer renderer;

    mesh->Draw(&renderer, Transform());

    QCOMPARE(renderer.calls, QStringList({"SetTransform", "DrawPolygon", "DrawPolygon"}));
    QCOMPARE(renderer.polygons[0].vertices,
             QVector<QVector3D>({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    QCOMPARE(renderer.polygons[1].vertices,
             QVector<QVector3D>({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
}

void TestMeshNodes::drawComposesInheritedThenOwn()
{
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    mesh->m_transform.SetTranslation(0, 0, 1);
    mesh->m_transform.SetRotation(20, 0, 1, 0);
    auto* onFace = new ProbeNode("on-face", &log);
    mesh->GetPolygons().first()->AddChild(onFace);
    Transform inherited;
    inherited.SetTranslation(1, 0, 0);
    inherited.SetRotation(90, 1, 0, 0);
    inherited.SetColor(1, 1, 1, 1);
    RecordingRenderer renderer;

    mesh->Draw(&renderer, inherited);

    // The renderer gets inherited x own; a face's children get own x inherited.
    const Transform set = renderer.transforms.first();
    QCOMPARE(set.translation, QVector3D(1, 0, 1));
    QCOMPARE(set.rotation, QQuaternion(1800, 20, 90, 1));
    QCOMPARE(onFace->lastInherited.translation, QVector3D(1, 0, 1));
    QCOMPARE(onFace->lastInherited.rotation, QQuaternion(1800, 20, 90, -1));
}

void TestMeshNodes::childrenDrawBeforeTheMesh()
{
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    ModelObject* child = sharedQuad(&log);
    child->m_transform.SetTranslation(0, 0, 7);
    child->RemovePolygon(QString("f1"));
    mesh->AddChild(child);
    RecordingRenderer renderer;

    mesh->Draw(&renderer, Transform());

    QCOMPARE(renderer.calls, QStringList({"SetTransform", "DrawPolygon", "SetTransform",
                                          "DrawPolygon", "DrawPolygon"}));
    QCOMPARE(renderer.transforms[0].translation, QVector3D(0, 0, 7));
    QCOMPARE(renderer.transforms[1].translation, QVector3D(0, 0, 0));
}

void TestMeshNodes::windowsGateDrawing_data()
{
    QTest::addColumn<QString>("windowed");
    QTest::addColumn<QStringList>("calls");

    const QString set = "SetTransform", draw = "DrawPolygon";
    QTest::newRow("mesh outside its window") << "mesh" << QStringList();
    QTest::newRow("face outside its window") << "face" << QStringList({set, draw});
    QTest::newRow("point outside its window") << "point" << QStringList({set, draw, draw});
}

void TestMeshNodes::windowsGateDrawing()
{
    QFETCH(QString, windowed);
    QFETCH(QStringList, calls);

    ManualTime clock(2500);
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    WorldObject* outside = windowed == "mesh" ? static_cast<WorldObject*>(mesh.data())
                         : windowed == "face" ? static_cast<WorldObject*>(mesh->GetPolygons()[0])
                                              : mesh->GetPoints()[1];
    outside->SetTime(1000, 2000);
    RecordingRenderer renderer;

    mesh->Draw(&renderer, Transform());

    QCOMPARE(renderer.calls, calls);
}

void TestMeshNodes::updateVisitsEveryPointOnce()
{
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    PointObject* shared = mesh->GetPoints()[1];
    shared->AddController(new ProbeController("of-point", &log, shared));
    PolygonObject* face = mesh->GetPolygons()[1];
    face->AddController(new ProbeController("of-face", &log, face));
    mesh->AddController(new ProbeController("of-mesh", &log, mesh.data()));
    mesh->AddChild(new ProbeNode("child", &log));

    QCOMPARE(mesh->Update(20), false);

    QCOMPARE(log, QStringList({"update child", "run of-mesh", "run of-point", "run of-face"}));
}

void TestMeshNodes::meshOutsideItsWindowDoesNotUpdate()
{
    ManualTime clock(999);
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    mesh->SetTime(1000, 2000);
    PointObject* point = mesh->GetPoints()[0];
    point->AddController(new ProbeController("of-point", &log, point));

    mesh->Update(20);
    QVERIFY(log.isEmpty());
}

void TestMeshNodes::destroyingAMeshDestroysSharedPointsOnce()
{
    QStringList log;
    delete sharedQuad(&log);
    QCOMPARE(log, QStringList({"destroy p0", "destroy p1", "destroy p2", "destroy p3",
                               "destroy u"}));
}

void TestMeshNodes::pointIds_data()
{
    QTest::addColumn<bool>("onPolygon");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<int>("existing");
    QTest::addColumn<QString>("expected");

    const QString prefix = "m_point_";
    QTest::newRow("mesh, first point") << false << "m" << 0 << prefix + QChar(0);
    QTest::newRow("mesh, second point") << false << "m" << 1 << prefix + QChar(1);
    QTest::newRow("mesh, 65 points before") << false << "m" << 65 << "m_point_A";
    QTest::newRow("mesh, 233 points before") << false << "m" << 233 << prefix + QChar(0xe9);
    QTest::newRow("mesh, wraps at 256") << false << "m" << 256 << prefix + QChar(0);
    QTest::newRow("polygon without id") << true << "" << 0 << QString("_point_") + QChar(0);
    QTest::newRow("polygon, 66 points before") << true << "f" << 66 << "f_point_B";
}

void TestMeshNodes::pointIds()
{
    QFETCH(bool, onPolygon);
    QFETCH(QString, owner);
    QFETCH(int, existing);
    QFETCH(QString, expected);

    ModelObject mesh(nullptr, owner);
    PolygonObject* polygon = new PolygonObject(&mesh, owner);
    mesh.AddPolygon(polygon);
    for (int i = 0; i < existing; ++i) {
        if (onPolygon)
            mesh.AddPoint(polygon->AddPoint(0, 0, 0));
        else
            mesh.AddPoint(0, 0, 0);
    }

    PointObject* point = onPolygon ? polygon->AddPoint(1, 2, 3) : mesh.AddPoint(1, 2, 3);
    if (onPolygon)
        mesh.AddPoint(point);

    QCOMPARE(point->GetId(), expected);
    QCOMPARE(point->GetParent(), onPolygon ? static_cast<Object*>(polygon) : &mesh);
    QCOMPARE(point->m_transform.translation, QVector3D(1, 2, 3));
    QCOMPARE(point->m_normal, QVector3D(0, 0, 0));
}

void TestMeshNodes::polygonRemovesPointsWithoutDestroying()
{
    QStringList log;
    ModelObject mesh(nullptr, "m");
    auto* a = new ProbePoint("a", &log, 1, 2, 3);
    auto* b = new ProbePoint("b", &log, 1, 2, 3);
    auto* near = new ProbePoint("a", &log, 1, 2, 3.0001f);
    auto* other = new ProbePoint("other", &log, 0, 0, 0);
    for (PointObject* p : {static_cast<PointObject*>(a), static_cast<PointObject*>(b),
                           static_cast<PointObject*>(near), static_cast<PointObject*>(other)})
        mesh.AddPoint(p);
    auto* polygon = new PolygonObject(&mesh, "f");
    mesh.AddPolygon(polygon);
    for (PointObject* p : {static_cast<PointObject*>(other), static_cast<PointObject*>(a),
                           static_cast<PointObject*>(b), static_cast<PointObject*>(near),
                           static_cast<PointObject*>(other)})
        polygon->AddPoint(p);

    polygon->RemovePoint(1, 2, 3);
    QCOMPARE(polygon->GetPoints(), QList<PointObject*>({other, near, other}));
    polygon->RemovePoint(other);
    QCOMPARE(polygon->GetPoints(), QList<PointObject*>({near, other}));
    polygon->RemovePoint(QString("a"));
    QCOMPARE(polygon->GetPoints(), QList<PointObject*>({other}));

    QVERIFY(log.isEmpty());
    QCOMPARE(mesh.GetPoints().size(), 4);
}

void TestMeshNodes::meshRemovesPointsEverywhere_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("destroyed");

    QTest::newRow("by pointer") << "pointer" << QStringList({"destroy p1"});
    QTest::newRow("by coordinates") << "coordinates" << QStringList({"destroy p1"});
    QTest::newRow("by id, every match") << "id" << QStringList({"destroy p1", "destroy p1"});
}

void TestMeshNodes::meshRemovesPointsEverywhere()
{
    QFETCH(QString, how);
    QFETCH(QStringList, destroyed);

    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    auto* twin = new ProbePoint("p1", &log, 5, 5, 5);
    mesh->AddPoint(twin);
    mesh->GetPolygons()[1]->AddPoint(twin);
    PointObject* p1 = mesh->GetPoints()[1];

    if (how == "pointer")
        mesh->RemovePoint(p1);
    else if (how == "coordinates")
        mesh->RemovePoint(1, 0, 0);
    else
        mesh->RemovePoint(QString("p1"));

    QCOMPARE(log, destroyed);
    QCOMPARE(mesh->GetPoints().size(), 6 - destroyed.size());
    // No face is left holding a destroyed point: drawing reads every vertex.
    RecordingRenderer renderer;
    mesh->Draw(&renderer, Transform());
    QCOMPARE(renderer.polygons[0].vertices, QVector<QVector3D>({{0, 0, 0}, {0, 1, 0}}));
    QCOMPARE(renderer.polygons[1].vertices.size(), 4 - destroyed.size());
}

void TestMeshNodes::meshRemovesPolygons()
{
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    PolygonObject stranger(nullptr, "f0");
    mesh->RemovePolygon(&stranger);
    mesh->RemovePolygon(static_cast<PolygonObject*>(nullptr));
    QCOMPARE(mesh->NumFaces(), 2);

    PolygonObject* f1 = mesh->GetPolygons()[1];
    triangle(mesh.data(), "f0", f1->GetPoints()[0], f1->GetPoints()[1], f1->GetPoints()[2]);
    mesh->RemovePolygon(QString("f0"));
    QCOMPARE(mesh->GetPolygons(), QList<PolygonObject*>{f1});
    mesh->RemovePolygon(f1);
    QCOMPARE(mesh->NumFaces(), 0);
    QVERIFY(log.isEmpty());  // faces never destroy their points
}

void TestMeshNodes::texCoords()
{
    PolygonObject polygon(nullptr, "f");
    polygon.AddTexCoord(0.25f, 0.75f);
    auto* given = new QPointF(1, 0);
    polygon.AddTexCoord(given);
    QPointF notHeld(0, 0);

    polygon.RemoveTexCoord(&notHeld);
    QCOMPARE(polygon.GetTexCoords().size(), 2);
    QCOMPARE(*polygon.GetTexCoords()[0], QPointF(0.25, 0.75));
    polygon.RemoveTexCoord(given);
    QCOMPARE(polygon.GetTexCoords().size(), 1);
}

void TestMeshNodes::textureOnceSetStays()
{
    Texture texture(nullptr);
    PolygonObject polygon(nullptr, "f");
    QCOMPARE(polygon.GetTexture(), static_cast<Texture*>(nullptr));
    polygon.SetTexture(&texture);
    polygon.SetTexture(nullptr);
    QCOMPARE(polygon.GetTexture(), &texture);
}

void TestMeshNodes::isValid_data()
{
    QTest::addColumn<bool>("textured");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("coords");
    QTest::addColumn<bool>("valid");

    QTest::newRow("untextured, fewer coordinates") << false << 3 << 2 << true;
    QTest::newRow("untextured, more coordinates") << false << 0 << 5 << true;
    QTest::newRow("textured, fewer coordinates") << true << 3 << 2 << false;
    QTest::newRow("textured, one per point") << true << 3 << 3 << true;
    QTest::newRow("textured, more coordinates") << true << 3 << 4 << false;
}

void TestMeshNodes::isValid()
{
    QFETCH(bool, textured);
    QFETCH(int, points);
    QFETCH(int, coords);
    QFETCH(bool, valid);

    Texture texture(nullptr);
    ModelObject mesh(nullptr, "m");
    auto* polygon = new PolygonObject(&mesh, "f");
    mesh.AddPolygon(polygon);
    if (textured)
        polygon->SetTexture(&texture);
    for (int i = 0; i < points; ++i)
        mesh.AddPoint(polygon->AddPoint(i, 0, 0));
    for (int i = 0; i < coords; ++i)
        polygon->AddTexCoord(i, 0);

    QCOMPARE(polygon->IsValid(), valid);
    QCOMPARE(polygon->IsTexCoordsValid(), valid);
}

void TestMeshNodes::copyRebuildsPointsFromPolygons()
{
    ManualTime clock(15);
    QStringList log;
    QScopedPointer<ModelObject> mesh(sharedQuad(&log));
    Texture texture(nullptr);
    PolygonObject* f0 = mesh->GetPolygons()[0];
    f0->SetTexture(&texture);
    f0->AddTexCoord(0, 0);
    f0->AddTexCoord(1, 0);
    f0->AddTexCoord(0, 1);
    mesh->GetPoints()[1]->m_normal = QVector3D(0, 0, 1);
    mesh->AddController(new ProbeController("of-mesh", &log, mesh.data()));
    mesh->SetTime(10, 20);

    QScopedPointer<ModelObject> copy(new ModelObject(*mesh));

    QCOMPARE(copy->GetId(), QString("m"));
    QCOMPARE(copy->GetStart(), 10);
    QVERIFY(copy->IsType(TYPE_MODEL));
    QVERIFY(copy->GetControllers().isEmpty());
    QCOMPARE(copy->NumFaces(), 2);
    QCOMPARE(copy->GetPoints().size(), 6);  // p1 and p2 twice each, u not at all
    for (PointObject* point : copy->GetPoints())
        QVERIFY(!mesh->GetPoints().contains(point));
    const PolygonObject* c0 = copy->GetPolygons()[0];
    QCOMPARE(copy->GetPoints().mid(0, 3), c0->GetPoints());
    QCOMPARE(c0->GetPoints()[1]->GetId(), QString("p1"));
    QCOMPARE(c0->GetPoints()[1]->m_normal, QVector3D(0, 0, 1));
    QCOMPARE(c0->GetTexture(), &texture);
    QCOMPARE(*c0->GetTexCoords()[1], QPointF(1, 0));
    QVERIFY(c0->GetTexCoords()[1] != f0->GetTexCoords()[1]);

    RecordingRenderer original, copied;
    mesh->Draw(&original, Transform());
    copy->Draw(&copied, Transform());
    QCOMPARE(copied.polygons[1].vertices, original.polygons[1].vertices);

    copy.reset();
    QVERIFY(log.isEmpty());  // the copy's points are its own
}

QTEST_GUILESS_MAIN(TestMeshNodes)
#include "tst_meshnodes.moc"

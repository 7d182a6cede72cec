#include "geometry.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <QQuaternion>
#include <QSet>
#include <QtTest>

#include <memory>

using Corners = QVector<QVector3D>;

class TestGeometry : public QObject
{
    Q_OBJECT

private:
    static Corners cornersOf(const PolygonObject* polygon)
    {
        Corners corners;
        for (const PointObject* point : polygon->GetPoints())
            corners.append(point->m_transform.translation);
        return corners;
    }
    static QVector<QPointF> texCoordsOf(const PolygonObject* polygon)
    {
        QVector<QPointF> coords;
        for (const QPointF* coord : polygon->GetTexCoords())
            coords.append(*coord);
        return coords;
    }

private slots:
    void quadCorners_data();
    void quadCorners();
    void quadSharesItsPointsWithTheModel();
    void placementGoesToTheNodeNotTheCorners_data();
    void placementGoesToTheNodeNotTheCorners();
    void boxFaces_data();
    void boxFaces();
    void boxPointsAreSeparatePerFace();
};

void TestGeometry::quadCorners_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<Corners>("corners");
    QTest::newRow("10x10") << 10 << 10
        << Corners{{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}};
    QTest::newRow("wide") << 3 << 1 << Corners{{-3, -1, 0}, {3, -1, 0}, {3, 1, 0}, {-3, 1, 0}};
    QTest::newRow("degenerate") << 0 << 0 << Corners(4, QVector3D(0, 0, 0));
    QTest::newRow("mirrored") << -2 << 5 << Corners{{2, -5, 0}, {-2, -5, 0}, {-2, 5, 0}, {2, 5, 0}};
}

void TestGeometry::quadCorners()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(Corners, corners);
    std::unique_ptr<ModelObject> quad(create_quad(w, h, nullptr, nullptr));
    QCOMPARE(quad->NumFaces(), 1);
    const PolygonObject* face = quad->GetPolygons().first();
    QCOMPARE(cornersOf(face), corners);
    QCOMPARE(texCoordsOf(face), (QVector<QPointF>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    for (const PointObject* point : face->GetPoints())
        QCOMPARE(point->m_normal, QVector3D(0, 0, 1));
    QVERIFY(face->IsValid());
}

void TestGeometry::quadSharesItsPointsWithTheModel()
{
    std::unique_ptr<ModelObject> quad(create_quad(10, 10, nullptr, nullptr));
    const PolygonObject* face = quad->GetPolygons().first();
    QCOMPARE(quad->GetPoints(), face->GetPoints());
    QCOMPARE(quad->GetId(), QString());
    QCOMPARE(quad->GetParent(), nullptr);
    QVERIFY(quad->GetChildren().isEmpty());
    QCOMPARE(face->GetParent(), quad.get());
    for (const PointObject* point : quad->GetPoints())
        QCOMPARE(point->GetParent(), quad.get());
}

void TestGeometry::placementGoesToTheNodeNotTheCorners_data()
{
    QTest::addColumn<bool>("box");
    QTest::newRow("quad") << false;
    QTest::newRow("box") << true;
}

void TestGeometry::placementGoesToTheNodeNotTheCorners()
{
    QFETCH(bool, box);
    QVector3D position(1, 2, 3);
    QQuaternion rotation(90, 0, 1, 0);
    auto build = [box](QVector3D* p, QQuaternion* r) {
        return box ? create_box(1, 1, 1, p, r) : create_quad(1, 1, p, r);
    };
    std::unique_ptr<ModelObject> plain(build(nullptr, nullptr));
    std::unique_ptr<ModelObject> placed(build(&position, &rotation));
    QCOMPARE(plain->m_transform, WorldObject(nullptr, "").m_transform);
    QCOMPARE(placed->m_transform.translation, position);
    QCOMPARE(placed->m_transform.rotation, rotation);
    for (int i = 0; i < plain->NumFaces(); ++i)
        QCOMPARE(cornersOf(placed->GetPolygons().at(i)), cornersOf(plain->GetPolygons().at(i)));
}

void TestGeometry::boxFaces_data()
{
    QTest::addColumn<int>("drawn");
    QTest::addColumn<Corners>("corners");
    QTest::addColumn<QVector3D>("normal");
    // Faces are drawn top, bottom, -x, +x, then the two z faces.
    QTest::newRow("y = h") << 0 << Corners{{-1, 2, -3}, {-1, 2, 3}, {1, 2, 3}, {1, 2, -3}}
                           << QVector3D(0, 1, 0);
    QTest::newRow("y = -h") << 1 << Corners{{1, -2, 3}, {1, -2, -3}, {-1, -2, -3}, {-1, -2, 3}}
                            << QVector3D(0, -1, 0);
    QTest::newRow("x = -w") << 2 << Corners{{-1, 2, -3}, {-1, -2, -3}, {-1, -2, 3}, {-1, 2, 3}}
                            << QVector3D(-1, 0, 0);
    QTest::newRow("x = w") << 3 << Corners{{1, 2, 3}, {1, -2, 3}, {1, -2, -3}, {1, 2, -3}}
                           << QVector3D(1, 0, 0);
    QTest::newRow("z = -d, normal inwards") << 4
        << Corners{{-1, 2, -3}, {-1, -2, -3}, {1, -2, -3}, {1, 2, -3}} << QVector3D(0, 0, 1);
    QTest::newRow("z = d, normal inwards") << 5
        << Corners{{1, 2, 3}, {1, -2, 3}, {-1, -2, 3}, {-1, 2, 3}} << QVector3D(0, 0, -1);
}

void TestGeometry::boxFaces()
{
    QFETCH(int, drawn);
    QFETCH(Corners, corners);
    QFETCH(QVector3D, normal);
    std::unique_ptr<ModelObject> box(create_box(1, 2, 3, nullptr, nullptr));
    QCOMPARE(box->NumFaces(), 6);
    const PolygonObject* face = box->GetPolygons().at(drawn);
    QCOMPARE(cornersOf(face), corners);
    QCOMPARE(texCoordsOf(face), (QVector<QPointF>{{0, 1}, {0, 0}, {1, 0}, {1, 1}}));
    for (const PointObject* point : face->GetPoints()) {
        QCOMPARE(point->m_normal, normal);
        QCOMPARE(point->GetParent(), face);
    }
}

void TestGeometry::boxPointsAreSeparatePerFace()
{
    std::unique_ptr<ModelObject> box(create_box(1, 2, 3, nullptr, nullptr));
    const QList<PointObject*>& points = box->GetPoints();
    QCOMPARE(points.size(), 24);
    QCOMPARE(QSet<PointObject*>(points.begin(), points.end()).size(), 24);
    // The model lists the points face by face in building order: z = -d first.
    const QList<PolygonObject*>& faces = box->GetPolygons();
    QCOMPARE(points.mid(0, 4), faces.at(4)->GetPoints());
    QCOMPARE(points.mid(4, 4), faces.at(5)->GetPoints());
    QCOMPARE(points.mid(8, 4), faces.at(0)->GetPoints());
    QCOMPARE(points.mid(20, 4), faces.at(3)->GetPoints());
}

QTEST_GUILESS_MAIN(TestGeometry)
#include "tst_geometry.moc"

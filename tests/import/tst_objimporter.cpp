#include "modelimporter.h"
#include "modelobject.h"
#include "objimporter.h"
#include "pointobject.h"
#include "polygonobject.h"

#include "../ext/glmtest.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace {

// n triangles over 3n vertices of their own, one per line.
QByteArray triangles(int n)
{
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += QByteArray("v %1 0 0\nv %1 1 0\nv %1 0 1\n").replace("%1", QByteArray::number(i));
    for (int i = 0; i < n; ++i)
        text += "f " + QByteArray::number(3 * i + 1) + ' ' + QByteArray::number(3 * i + 2) + ' '
                + QByteArray::number(3 * i + 3) + '\n';
    return text;
}

const QByteArray kBox = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                        "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n";

QString withSuffix(const char* stem, int code)
{
    return QLatin1String(stem) + QChar(code);
}

// Imports `text` written as `file` in `dir`, with the load's messages expected.
std::unique_ptr<ModelObject> import(const QTemporaryDir& dir, const QString& file, const QByteArray& text)
{
    if (!writeFile(dir.filePath(file), text))
        return nullptr;
    if (!text.contains("\nvt "))
        QTest::ignoreMessage(QtWarningMsg, "Missing UV map.");
    QTest::ignoreMessage(QtDebugMsg, "loading file");
    return std::unique_ptr<ModelObject>(ModelImporter::load(dir.filePath(file)));
}

}  // namespace

class TestObjImporter : public QObject
{
    Q_OBJECT

private slots:
    void parseType_data();
    void parseType();
    void unknownTypeGivesNull();
    void bareObjNameIsAnObjFile();
    void namesAndParents();
    void counterWrapsAfter256();
    void boxCornersAreNotShared();
    void cornerData();
    void polygonsFollowGroupOrder();
};

void TestObjImporter::parseType_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("type");

    QTest::newRow("obj") << "/data/cargoContainer.obj" << 1;
    QTest::newRow("two dots") << "a.b.obj" << 1;
    QTest::newRow("upper case") << "box.OBJ" << 0;
    QTest::newRow("other extension") << "box.3ds" << 0;
    QTest::newRow("bare obj") << "obj" << 1;
    QTest::newRow("no dot") << "box" << 0;
    QTest::newRow("dot in a directory only") << "dir.obj/box" << 0;
    QTest::newRow("trailing dot") << "box." << 0;
}

void TestObjImporter::parseType()
{
    QFETCH(QString, file);
    QFETCH(int, type);

    QCOMPARE(ModelImporter::parseType(file), type);
}

void TestObjImporter::unknownTypeGivesNull()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("box.OBJ"), kBox));

    QVERIFY(!ModelImporter::load(dir.filePath("box.OBJ")));  // silently, without reading
}

void TestObjImporter::bareObjNameIsAnObjFile()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("obj"), triangles(1)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QTest::ignoreMessage(QtWarningMsg, "Missing UV map.");
    QTest::ignoreMessage(QtDebugMsg, "loading file");
    const std::unique_ptr<ModelObject> mesh(ModelImporter::load("obj"));
    QDir::setCurrent(previous);

    QVERIFY(mesh);
    QCOMPARE(mesh->GetPolygons().first()->GetId(), withSuffix("obj_poly_", 0));
}

void TestObjImporter::namesAndParents()
{
    QTemporaryDir dir;
    const auto mesh = import(dir, "cargoContainer.obj", triangles(3));

    QCOMPARE(mesh->GetId(), QString());
    QVERIFY(!mesh->GetParent());
    QVERIFY(mesh->GetChildren().isEmpty());
    QCOMPARE(mesh->NumFaces(), 3);
    for (int i = 0; i < 3; ++i) {
        PolygonObject* polygon = mesh->GetPolygons()[i];
        QCOMPARE(polygon->GetId(), withSuffix("cargoContainer_poly_", i));
        QCOMPARE(polygon->GetParent(), mesh.get());
        for (int k = 0; k < 3; ++k) {
            PointObject* point = polygon->GetPoints()[k];
            QCOMPARE(point->GetId(), withSuffix("cargoContainer_point_", k));
            QCOMPARE(point->GetParent(), mesh.get());
            QCOMPARE(mesh->GetPoints()[3 * i + k], point);
        }
    }
}

void TestObjImporter::counterWrapsAfter256()
{
    QTemporaryDir dir;
    const auto mesh = import(dir, "many.obj", triangles(300));

    QCOMPARE(mesh->NumFaces(), 300);
    QCOMPARE(mesh->GetPoints().size(), 900);
    QCOMPARE(mesh->GetPolygons()[255]->GetId(), withSuffix("many_poly_", 255));
    QCOMPARE(mesh->GetPolygons()[256]->GetId(), withSuffix("many_poly_", 0));
    QCOMPARE(mesh->GetPolygons()[299]->GetId(), withSuffix("many_poly_", 43));
}

void TestObjImporter::boxCornersAreNotShared()
{
    QTemporaryDir dir;
    const auto mesh = import(dir, "box.obj", kBox);

    QCOMPARE(mesh->NumFaces(), 12);
    QCOMPARE(mesh->GetPoints().size(), 36);
    QCOMPARE(QSet<PointObject*>(mesh->GetPoints().begin(), mesh->GetPoints().end()).size(), 36);
}

void TestObjImporter::cornerData()
{
    QTemporaryDir dir;
    const auto textured = import(dir, "t.obj", "v 1 2 3\nv 4 5 6\nv 7 8 9\nvt 0.25 0.75\nvn 0 1 0\n"
                                               "f 1/1/1 2/1/1 3/1/1\n");
    const auto plain = import(dir, "p.obj", "v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\n");

    const PolygonObject* polygon = textured->GetPolygons().first();
    QCOMPARE(polygon->GetPoints()[1]->m_transform.translation, QVector3D(4, 5, 6));
    QCOMPARE(polygon->GetPoints()[1]->m_normal, QVector3D(0, 1, 0));
    QCOMPARE(polygon->GetTexCoords().size(), 3);
    QCOMPARE(*polygon->GetTexCoords()[2], QPointF(0.25, 0.75));

    const PolygonObject* bare = plain->GetPolygons().first();
    QCOMPARE(bare->GetPoints()[2]->m_transform.translation, QVector3D(7, 8, 9));
    QCOMPARE(bare->GetPoints()[2]->m_normal, QVector3D(0, 0, 0));
    QVERIFY(bare->GetTexCoords().isEmpty());
}

void TestObjImporter::polygonsFollowGroupOrder()
{
    QTemporaryDir dir;
    const auto mesh = import(dir, "g.obj", triangles(3).replace("f 1 ", "g a\nf 1 ").replace("f 4 ", "g b\nf 4 ")
                                               .replace("f 7 ", "g a\nf 7 "));

    // Newest group first ("b"), then "a" in file order: triangles 2, 1, 3.
    QVector<float> xs;
    for (const PolygonObject* polygon : mesh->GetPolygons())
        xs << polygon->GetPoints().first()->m_transform.translation.x();
    QCOMPARE(xs, (QVector<float>{1, 0, 2}));
}

QTEST_GUILESS_MAIN(TestObjImporter)
#include "tst_objimporter.moc"

#include "glmtest.h"

#include <QVector3D>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

// A cube of side 2 around the origin, faces wound outwards, 12 triangles.
const QByteArray kCube = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
                         "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                         "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n";

QVector3D triple(const GLfloat* array, GLuint i)
{
    return QVector3D(array[3 * i], array[3 * i + 1], array[3 * i + 2]);
}

QVector3D corner(const GLMmodel* model, const GLMtriangle& t, int k)
{
    return triple(model->vertices, t.vindices[k]);
}

QByteArray triangleBytes(const GLMmodel* model)
{
    return QByteArray(reinterpret_cast<const char*>(model->triangles),
                      int(model->numtriangles * sizeof(GLMtriangle)));
}

}  // namespace

class TestGlmUtil : public QObject
{
    Q_OBJECT

private slots:
    void unitize_data();
    void unitize();
    void dimensions();
    void scale();
    void reverseWindingTwiceRestores();
    void facetNormals_data();
    void facetNormals();
    void vertexNormalsAngleZeroKeepsFaces();
    void vertexNormalsWideAngleShares();
    void vertexNormalsWarnsForUnusedVertex();
    void linearTexture();
    void spheremapTexture();
    void weldTriplicatedCube();
    void outOfRangeIndicesAreSafe();
};

void TestGlmUtil::unitize_data()
{
    QTest::addColumn<QByteArray>("vertices");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QVector3D>("first");  // vertex 1 afterwards

    QTest::newRow("box -2..2, -1..1, 0..1") << QByteArray("v 2 1 1\nv -2 -1 0\n") << 0.5f
                                           << QVector3D(1, 0.5f, 0.25f);
    QTest::newRow("single point") << QByteArray("v 5 5 5\n") << 0.2f << QVector3D(0, 0, 0);
    QTest::newRow("everything at the origin") << QByteArray("v 0 0 0\nv 0 0 0\n") << 1.0f << QVector3D(0, 0, 0);
    QTest::newRow("no vertices: left alone") << QByteArray("") << 1.0f << QVector3D();
}

void TestGlmUtil::unitize()
{
    QFETCH(QByteArray, vertices);
    QFETCH(float, scale);
    QFETCH(QVector3D, first);

    const ModelPtr model = readObj(vertices);

    QCOMPARE(glmUnitize(model.get()), scale);
    if (model->numvertices > 0)
        QCOMPARE(triple(model->vertices, 1), first);
}

void TestGlmUtil::dimensions()
{
    const ModelPtr model = readObj("v 1 -1 0\nv 3 2 0\n");
    GLfloat dimensions[3] = {-1, -1, -1};

    glmDimensions(model.get(), dimensions);

    // |max| + |min| per axis: a span of 1 to 3 measures 4.
    QCOMPARE(QVector3D(dimensions[0], dimensions[1], dimensions[2]), QVector3D(4, 3, 0));
}

void TestGlmUtil::scale()
{
    const ModelPtr model = readObj("v 1 -2 3\nvn 1 0 0\n");

    glmScale(model.get(), 2.0f);

    QCOMPARE(triple(model->vertices, 1), QVector3D(2, -4, 6));
    QCOMPARE(triple(model->normals, 1), QVector3D(1, 0, 0));
}

void TestGlmUtil::reverseWindingTwiceRestores()
{
    const ModelPtr model = readObj(kCube + "vn 0 0 1\nvt 0 0\nvt 1 1\nf 1/1/1 2/2/1 3/1/1\n");
    glmFacetNormals(model.get());
    const QByteArray before = triangleBytes(model.get());
    const QVector3D facet = triple(model->facetnorms, 1);

    glmReverseWinding(model.get());
    const GLMtriangle& once = model->triangles[12];
    QCOMPARE(QVector<GLuint>({once.vindices[0], once.tindices[0], once.vindices[2], once.tindices[2]}),
             QVector<GLuint>({3, 1, 1, 1}));
    QCOMPARE(triple(model->facetnorms, 1), -facet);
    QCOMPARE(triple(model->normals, 1), QVector3D(0, 0, -1));

    glmReverseWinding(model.get());
    QCOMPARE(triangleBytes(model.get()), before);
    QCOMPARE(triple(model->facetnorms, 1), facet);
    QCOMPARE(triple(model->normals, 1), QVector3D(0, 0, 1));
}

void TestGlmUtil::facetNormals_data()
{
    QTest::addColumn<QByteArray>("triangle");
    QTest::addColumn<QVector3D>("normal");

    QTest::newRow("counter-clockwise in xy") << QByteArray("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")
                                             << QVector3D(0, 0, 1);
    QTest::newRow("large coordinates") << QByteArray("v 0 0 0\nv 0 3e30 0\nv 0 0 3e30\nf 1 2 3\n")
                                       << QVector3D(1, 0, 0);
    QTest::newRow("degenerate: zero, not NaN") << QByteArray("v 1 1 1\nv 1 1 1\nv 2 2 2\nf 1 2 3\n")
                                               << QVector3D(0, 0, 0);
}

void TestGlmUtil::facetNormals()
{
    QFETCH(QByteArray, triangle);
    QFETCH(QVector3D, normal);

    const ModelPtr model = readObj(triangle);
    glmFacetNormals(model.get());

    QCOMPARE(model->numfacetnorms, GLuint(1));
    QCOMPARE(model->triangles[0].findex, GLuint(1));
    QCOMPARE(triple(model->facetnorms, 1), normal);
}

void TestGlmUtil::vertexNormalsAngleZeroKeepsFaces()
{
    const ModelPtr model = readObj(kCube);
    glmFacetNormals(model.get());

    OutputCapture capture;
    glmVertexNormals(model.get(), 0.0f);
    QCOMPARE(capture.text(), QStringLiteral("glmVertexNormals(): 36 normals generated\n"));

    QCOMPARE(model->numnormals, GLuint(36));
    QSet<GLuint> used;
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        const GLMtriangle& t = model->triangles[i];
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(triple(model->normals, t.nindices[k]), triple(model->facetnorms, t.findex));
            used.insert(t.nindices[k]);
        }
    }
    QCOMPARE(used.size(), 36);
}

void TestGlmUtil::vertexNormalsWideAngleShares()
{
    const ModelPtr model = readObj(kCube);
    glmFacetNormals(model.get());

    OutputCapture capture;
    glmVertexNormals(model.get(), 91.0f);
    capture.text();

    QCOMPARE(model->numnormals, GLuint(8));  // one per vertex, all faces averaged
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        const GLMtriangle& t = model->triangles[i];
        for (int k = 0; k < 3; ++k) {
            const QVector3D normal = triple(model->normals, t.nindices[k]);
            QVERIFY(qAbs(normal.length() - 1.0f) < 1e-6f);
            QVERIFY(QVector3D::dotProduct(normal, corner(model.get(), t, k)) > 0);  // points outwards
        }
    }
}

void TestGlmUtil::vertexNormalsWarnsForUnusedVertex()
{
    const ModelPtr model = readObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 9 9 9\nf 1 2 3\n");
    glmFacetNormals(model.get());

    OutputCapture out;
    OutputCapture err(STDERR_FILENO);
    glmVertexNormals(model.get(), 90.0f);

    QCOMPARE(err.text(), QStringLiteral("glmVertexNormals(): vertex w/o a triangle\n"));
    QCOMPARE(out.text(), QStringLiteral("glmVertexNormals(): 3 normals generated\n"));
    QCOMPARE(model->numnormals, GLuint(3));
}

void TestGlmUtil::linearTexture()
{
    const ModelPtr model = readObj("v -2 7 0\nv 2 7 1\nv 0 0 0\nf 1 2 3\n");

    glmLinearTexture(model.get());

    // Dimensions 4, 7, 1: scale 2/7; u from x, v from z.
    QCOMPARE(model->numtexcoords, GLuint(3));
    QCOMPARE(model->texcoords[2], (2.0f / 7.0f * -2.0f + 1.0f) * 0.5f);
    QCOMPARE(model->texcoords[5], (2.0f / 7.0f * 1.0f + 1.0f) * 0.5f);
    QCOMPARE(model->texcoords[6], 0.5f);
    const GLMtriangle& t = model->triangles[0];
    QCOMPARE(QVector<GLuint>(t.tindices, t.tindices + 3), QVector<GLuint>({1, 2, 3}));

    const ModelPtr origin = readObj("v 0 0 0\n");
    glmLinearTexture(origin.get());
    QCOMPARE(QVector<float>(origin->texcoords + 2, origin->texcoords + 4), QVector<float>({0.5f, 0.5f}));
}

void TestGlmUtil::spheremapTexture()
{
    const ModelPtr model = readObj("v 0 0 0\nvn 1 0 0\nvn 0 1 0\nvn 0 0 1\nf 1//1 1//2 1//3\n");

    glmSpheremapTexture(model.get());

    QCOMPARE(model->numtexcoords, GLuint(3));
    QCOMPARE(QVector<float>(model->texcoords + 2, model->texcoords + 4), QVector<float>({0, 0}));
    QCOMPARE(QVector<float>(model->texcoords + 4, model->texcoords + 6), QVector<float>({1, 0.5f}));
    QCOMPARE(QVector<float>(model->texcoords + 6, model->texcoords + 8), QVector<float>({0.5f, 0.5f}));
    const GLMtriangle& t = model->triangles[0];
    QCOMPARE(QVector<GLuint>(t.tindices, t.tindices + 3), QVector<GLuint>({1, 2, 3}));
}

void TestGlmUtil::weldTriplicatedCube()
{
    // Every vertex of the cube listed three times; each face uses its own copy.
    QByteArray text;
    const QList<QByteArray> lines = kCube.split('\n');
    for (int copy = 0; copy < 3; ++copy)
        for (const QByteArray& line : lines)
            if (line.startsWith("v "))
                text += line + '\n';
    for (int face = 0; face < 6; ++face) {
        const QList<QByteArray> refs = lines[8 + face].mid(2).split(' ');
        text += "f";
        for (const QByteArray& ref : refs)
            text += ' ' + QByteArray::number(ref.toInt() + 8 * (face % 3));
        text += '\n';
    }
    const ModelPtr model = readObj(text);
    QVector<QVector3D> before;
    for (GLuint i = 0; i < model->numtriangles; ++i)
        for (int k = 0; k < 3; ++k)
            before << corner(model.get(), model->triangles[i], k);

    OutputCapture capture;
    glmWeld(model.get(), 0.001f);

    QCOMPARE(capture.text(), QStringLiteral("glmWeld(): 16 redundant vertices.\n"));
    QCOMPARE(model->numvertices, GLuint(8));
    QVector<QVector3D> after;
    for (GLuint i = 0; i < model->numtriangles; ++i)
        for (int k = 0; k < 3; ++k)
            after << corner(model.get(), model->triangles[i], k);
    QCOMPARE(after, before);
}

void TestGlmUtil::outOfRangeIndicesAreSafe()
{
    // A record changed by hand after reading: indices far outside its arrays.
    const ModelPtr model = readObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nf 1//1 2//1 3//1\n");
    GLMtriangle& t = model->triangles[0];
    t.vindices[1] = 1000000;
    t.nindices[0] = 77;
    model->groups->triangles[0] = 5;  // beyond numtriangles

    glmFacetNormals(model.get());
    QCOMPARE(triple(model->facetnorms, 1), QVector3D(0, 0, 0));  // corner 1 reads as the origin
    OutputCapture out;
    OutputCapture err(STDERR_FILENO);
    glmVertexNormals(model.get(), 90.0f);
    glmSpheremapTexture(model.get());
    glmWeld(model.get(), 0.5f);
    glmLinearTexture(model.get());
    out.text();
    QCOMPARE(t.nindices[1], GLuint(0));
    QCOMPARE(t.vindices[1], GLuint(0));
    QVERIFY(model->numnormals <= 3);
}

QTEST_MAIN(TestGlmUtil)  // QVector3D rows need the GUI library loaded
#include "tst_glmutil.moc"

#include "model.h"

#include "../ext/glmtest.h"

#include "glcontext.h"

#include <QtTest>

namespace {

const QByteArray kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

// Writes `text` as model.obj in `dir` and loads it, expecting the two
// messages that a load prints.
void loadText(Model& model, const QTemporaryDir& dir, const QByteArray& text, bool hasTexCoords)
{
    QVERIFY(writeFile(dir.filePath("model.obj"), text));
    if (!hasTexCoords)
        QTest::ignoreMessage(QtWarningMsg, "Missing UV map.");
    QTest::ignoreMessage(QtDebugMsg, "loading file");
    model.load(dir.filePath("model.obj"));
}

// Triangle counts per group, in order: "1 1 0".
QString groupCounts(const Model& model)
{
    QStringList counts;
    for (const ModelGroup& group : model.groups)
        counts << QString::number(group.triangles.size());
    return counts.join(' ');
}

}  // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void groups_data();
    void groups();
    void cornerData();
    void missingDataStaysEmpty();
    void loadAppends();
    void shaderMessages();
    void drawsWithShaders();
};

void TestModel::groups_data()
{
    QTest::addColumn<QByteArray>("statements");
    QTest::addColumn<QString>("counts");

    QTest::newRow("no g: one group") << QByteArray("f 1 2 3\nf 1 3 4\n") << "2";
    QTest::newRow("named groups, then an empty default") << QByteArray("g a\nf 1 2 3\n") << "1 0";
    QTest::newRow("b, a, default") << QByteArray("f 1 2 3\ng a\nf 1 2 3\nf 1 3 4\ng b\nf 2 3 4\n") << "1 2 1";
    QTest::newRow("quad: two triangles, one group") << QByteArray("f 1 2 3 4\n") << "2";
}

void TestModel::groups()
{
    QFETCH(QByteArray, statements);
    QFETCH(QString, counts);

    QTemporaryDir dir;
    Model model;
    loadText(model, dir, kSquare + statements, false);

    QCOMPARE(groupCounts(model), counts);
    QVERIFY(model.glmModel);
}

void TestModel::cornerData()
{
    QTemporaryDir dir;
    Model model;
    loadText(model, dir, kSquare + "vt 0.25 0.5\nvt 1 1\nvn 0 0 1\nvn 0 1 0\n"
                                   "g b\nf 4/2/2 2/1/1 3/2/1\ng a\nf 1/1/1 2/2/2 3/1/1\n", true);

    QCOMPARE(groupCounts(model), QStringLiteral("1 1 0"));
    const ModelTriangle& a = model.groups[0].triangles[0];
    QCOMPARE(a.positions, (QVector<QVector3D>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
    QCOMPARE(a.normals, (QVector<QVector3D>{{0, 0, 1}, {0, 1, 0}, {0, 0, 1}}));
    QCOMPARE(a.texCoords, (QVector<QVector3D>{{0.25f, 0.5f, 0}, {1, 1, 0}, {0.25f, 0.5f, 0}}));
    const ModelTriangle& b = model.groups[1].triangles[0];
    QCOMPARE(b.positions[0], QVector3D(0, 1, 0));
    QCOMPARE(b.normals[0], QVector3D(0, 1, 0));
}

void TestModel::missingDataStaysEmpty()
{
    QTemporaryDir dir;
    Model model;
    loadText(model, dir, kSquare + "f 1 2 3\nf 1 99 -9\n", false);

    QCOMPARE(model.groups[0].triangles.size(), 2);
    for (const ModelTriangle& triangle : model.groups[0].triangles) {
        QCOMPARE(triangle.positions.size(), 3);
        QVERIFY(triangle.normals.isEmpty());
        QVERIFY(triangle.texCoords.isEmpty());
    }
    // Out-of-range references read as the empty slot, the origin.
    QCOMPARE(model.groups[0].triangles[1].positions[1], QVector3D(0, 0, 0));
}

void TestModel::loadAppends()
{
    QTemporaryDir dir;
    Model model;
    loadText(model, dir, kSquare + "f 1 2 3\n", false);
    loadText(model, dir, kSquare + "g a\nf 1 2 3\n", false);

    QCOMPARE(groupCounts(model), QStringLiteral("1 1 0"));
    QCOMPARE(model.glmModel->numgroups, GLuint(2));  // the second file's record
}

void TestModel::shaderMessages()
{
    GlContext context(4, 4);
    QVERIFY(context.isValid());
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("ok.vert"), "void main() { gl_Position = vec4(0.0); }\n"));
    QVERIFY(writeFile(dir.filePath("bad.frag"), "void main() { this is not glsl }\n"));
    QVERIFY(writeFile(dir.filePath("nomain.frag"), "uniform float unused;\n"));
    Model model;

    QTest::ignoreMessage(QtDebugMsg, qPrintable("Loaded " + dir.filePath("ok.vert") + " successfully"));
    QVERIFY(model.setVertexShaderFile(dir.filePath("ok.vert")));

    const QRegularExpression badLog("^Could not load shader file " + QRegularExpression::escape(dir.filePath("bad.frag"))
                                    + ":  .*\\S");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QOpenGLShader::compile\\(Fragment\\): .*"));
    QTest::ignoreMessage(QtDebugMsg, badLog);
    QVERIFY(!model.setFragmentShaderFile(dir.filePath("bad.frag")));

    QTest::ignoreMessage(QtDebugMsg, qPrintable("Loaded " + dir.filePath("nomain.frag") + " successfully"));
    QVERIFY(model.setFragmentShaderFile(dir.filePath("nomain.frag")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QOpenGLShader::link: .*"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Failed to link program: .*"));
    model.linkShaderProgram();
    QVERIFY(!model.program.isLinked());
}

void TestModel::drawsWithShaders()
{
    GlContext context(32, 32);
    QVERIFY(context.isValid());

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("s.vert"),
                      "attribute vec3 vertex;\nattribute vec3 normal;\nattribute vec3 texCoord;\n"
                      "uniform mat4 matrix;\nvarying vec3 colour;\nvarying vec2 uv;\n"
                      "void main() { colour = normal; uv = texCoord.xy; gl_Position = matrix * vec4(vertex, 1.0); }\n"));
    QVERIFY(writeFile(dir.filePath("s.frag"), "uniform sampler2D tex;\nvarying vec3 colour;\nvarying vec2 uv;\n"
                                             "void main() { gl_FragColor = vec4(colour, 1.0) * texture2D(tex, uv); }\n"));
    Model model;
    // One triangle over the whole viewport, its normal (1, 0, 0) drawn as red.
    loadText(model, dir, "v -1 -1 0\nv 3 -1 0\nv -1 3 0\nvn 1 0 0\nvt 0.5 0.5\nf 1/1/1 2/1/1 3/1/1\n", true);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Loaded .*"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Loaded .*"));
    QTest::ignoreMessage(QtDebugMsg, "Program linked");
    QVERIFY(model.setVertexShaderFile(dir.filePath("s.vert")));
    QVERIFY(model.setFragmentShaderFile(dir.filePath("s.frag")));
    model.linkShaderProgram();
    model.initShaderProgram();
    QVERIFY(model.vertexLocation >= 0 && model.normalLocation >= 0 && model.texCoordLocation >= 0);
    QVERIFY(model.matrixLocation >= 0 && model.texLocation >= 0);

    GLuint white = 0;
    const GLubyte texel[4] = {255, 255, 255, 255};
    glGenTextures(1, &white);
    glBindTexture(GL_TEXTURE_2D, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    model.setTexture(white);
    glViewport(0, 0, 32, 32);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    model.draw(QMatrix4x4());

    GLubyte pixel[4] = {0, 0, 0, 0};
    glReadPixels(16, 16, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    QCOMPARE(QVector<int>({pixel[0], pixel[1], pixel[2]}), QVector<int>({255, 0, 0}));
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    QCOMPARE(current, 0);  // released after drawing
    glDeleteTextures(1, &white);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"

// Malformed model files: each one is either read into a well-formed record or
// rejected with a clear message and status 1, never a crash. Every record is
// also put through the utilities and the writer.

#include "glmtest.h"

#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

// The whole literal, embedded NULs included (its length comes from the type,
// not from counting by hand).
template <int N>
QByteArray withNuls(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QByteArray repeated(const QByteArray& line, int times)
{
    QByteArray text;
    text.reserve(line.size() * times);
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

const QByteArray kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

// Deterministic bytes 0..255; "v" and "m" never start a token, so the junk
// cannot name an unknown vertex keyword or a library.
QByteArray binaryJunk(int size)
{
    QByteArray junk(size, '\0');
    quint32 state = 12345;
    for (char& byte : junk) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 16);
        if (byte == 'v' || byte == 'm')
            byte = 'x';
    }
    return junk;
}

// "v3 n0 t0 f1 | a:1 default:0": the counts and the groups.
QString summary(const GLMmodel* model)
{
    return QStringLiteral("v%1 n%2 t%3 f%4 | ")
               .arg(model->numvertices).arg(model->numnormals).arg(model->numtexcoords).arg(model->numtriangles)
           + groupSummary(model);
}

// Every index of the record lies inside its array and every number is finite.
void verifyWellFormed(const GLMmodel* model)
{
    for (GLuint i = 0; i < 3 * (model->numvertices + 1); ++i)
        QVERIFY(std::isfinite(model->vertices[i]));
    for (GLuint i = 0; i < model->numtriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            QVERIFY(model->triangles[i].vindices[k] <= model->numvertices);
            QVERIFY(model->triangles[i].nindices[k] <= model->numnormals);
            QVERIFY(model->triangles[i].tindices[k] <= model->numtexcoords);
        }
    }
    GLuint grouped = 0, groups = 0;
    for (const GLMgroup* group = model->groups; group; group = group->next, ++groups) {
        QVERIFY(group->name);
        QVERIFY(group->material == 0 || group->material < model->nummaterials);
        for (GLuint i = 0; i < group->numtriangles; ++i)
            QVERIFY(group->triangles[i] < model->numtriangles);
        grouped += group->numtriangles;
    }
    QCOMPARE(grouped, model->numtriangles);
    QCOMPARE(groups, model->numgroups);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        QVERIFY(model->materials[i].name);
}

// Normals, texture coordinates, welding and writing on whatever was read.
void exerciseUtilities(GLMmodel* model, const QString& dir)
{
    OutputCapture out;
    OutputCapture err(STDERR_FILENO);
    glmFacetNormals(model);
    glmVertexNormals(model, 60.0f);
    glmSpheremapTexture(model);
    glmUnitize(model);
    glmWeld(model, 0.0001f);
    glmLinearTexture(model);
    glmReverseWinding(model);
    glmWriteOBJ(model, QFile::encodeName(dir + "/written.obj").constData(), GLM_SMOOTH | GLM_TEXTURE | GLM_MATERIAL);
    const ModelPtr back = readObj(readFile(dir + "/written.obj"), dir);
    QCOMPARE(back->numtriangles, model->numtriangles);
}

}  // namespace

class TestMalformed : public QObject
{
    Q_OBJECT

private slots:
    void readsWellFormed_data();
    void readsWellFormed();
    void numbers_data();
    void numbers();
    void manyGroups();
    void exits_data();
    void exits();
};

void TestMalformed::readsWellFormed_data()
{
    QTest::addColumn<QByteArray>("obj");
    QTest::addColumn<QByteArray>("mtl");     // written as lib.mtl beside the model
    QTest::addColumn<QString>("expected");  // summary()
    QTest::addColumn<QString>("out");       // standard output while reading

    const QByteArray none;
    QTest::newRow("empty file") << none << none << "v0 n0 t0 f0 | default:0" << "";
    QTest::newRow("only whitespace") << QByteArray(" \n\t\r\n\f\v\n") << none << "v0 n0 t0 f0 | default:0" << "";
    QTest::newRow("huge indices") << kTriangle + "f 1 2 99999999999999999999999\nf 4294967298 1 2\n" << none
                                  << "v3 n0 t0 f2 | default:2" << "";
    QTest::newRow("negative indices beyond the start") << "f -1 -2 -3\n" + kTriangle + "f -3 -2 -1\nf -4 -5 -99\n"
                                                       << none << "v3 n0 t0 f3 | default:3" << "";
    QTest::newRow("index 0") << kTriangle + "f 0 0 0\nf 0/0/0 1/0/0 2/0/0\n" << none << "v3 n0 t0 f2 | default:2" << "";
    QTest::newRow("faces with one or two references") << kTriangle + "f 1\nf 1 2\nf 1//1\nf\n" << none
                                                       << "v3 n0 t0 f0 | default:0" << "";
    // "1/" reads as a vertex-only reference; "2/" too, and then "/" is no reference.
    QTest::newRow("face of slashes") << kTriangle + "f / // ///\nf 1/ 2/ 3/\n" << none
                                     << "v3 n0 t0 f0 | default:0" << "";
    QTest::newRow("10 000 references") << kTriangle + "f" + repeated(" 1", 10000) + "\n" << none
                                       << "v3 n0 t0 f9998 | default:9998" << "";
    QTest::newRow("10 000-character token") << kTriangle + "g " + QByteArray(10000, 'n') + "\nf 1 2 3\n" << none
                                            << "v3 n0 t0 f1 | " + QString(10000, 'n') + ":1 default:0" << "";
    QTest::newRow("10 000-character line") << "# " + repeated("f 1 2 3 ", 1250) + "\n" + kTriangle << none
                                           << "v3 n0 t0 f0 | default:0" << "";
    QTest::newRow("10 000-digit number") << "v " + QByteArray(10000, '7') + " 2 3\n" << none
                                         << "v1 n0 t0 f0 | default:0" << "";
    QTest::newRow("binary junk") << binaryJunk(20000) << none << "" << "";
    QTest::newRow("NUL bytes") << withNuls("v 1\0 2 3\ng a\0b\nf 1 1 1\0\n") << none
                               << "v1 n0 t0 f1 | a:1 default:0" << "";  // the name "a\0b", shown as a C string
    QTest::newRow("CRLF line ends") << QByteArray("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\ng a\r\nf 1 2 3\r\n") << none
                                    << "v3 n0 t0 f1 | a:1 default:0" << "";
    QTest::newRow("no final newline") << kTriangle + "g a\nf 1 2 3" << none << "v3 n0 t0 f1 | a:1 default:0" << "";
    QTest::newRow("NaN and inf") << QByteArray("v nan inf -inf\nv 1e999 -1e999 1e-999\nvn NAN 0 1\n") << none
                                 << "v2 n1 t0 f0 | default:0" << "";
    QTest::newRow("g without a name at the end") << kTriangle + "g a\nf 1 2 3\ng" << none
                                                 << "v3 n0 t0 f1 | a:1 default:0" << "";
    QTest::newRow("mtllib without a name") << kTriangle + "mtllib\nusemtl\nf 1 2 3\n" << none
                                           << "v3 n0 t0 f1 | default:1"
                                           << "_glmFindMaterial():  can't find material \"\".\n";
    QTest::newRow("library: statements before newmtl, junk values")
        << kTriangle + "mtllib lib.mtl\nusemtl \nusemtl b\nf 1 2 3\n"
        << withNuls("Ns 100\nKd x y z\nnewmtl\nNs nan\nKa 1\nnewmtl b Kd 1 1 1\n\0\nK\n")
        << "v3 n0 t0 f1 | default:1" << "";
    QTest::newRow("empty library") << kTriangle + "mtllib lib.mtl\nusemtl x\n" << QByteArray("")
                                   << "v3 n0 t0 f0 | default:0"
                                   << "_glmFindMaterial():  can't find material \"x\".\n";
    QTest::newRow("references without coordinates") << kTriangle + "f 1/2/3 2/2/3 3/2/3\n" << none
                                                    << "v3 n0 t0 f1 | default:1" << "";
}

void TestMalformed::readsWellFormed()
{
    QFETCH(QByteArray, obj);
    QFETCH(QByteArray, mtl);
    QFETCH(QString, expected);
    QFETCH(QString, out);

    QTemporaryDir dir;
    if (obj.contains("mtllib lib.mtl"))
        QVERIFY(writeFile(dir.filePath("lib.mtl"), mtl));
    OutputCapture capture;
    const ModelPtr model = readObj(obj, dir.path());
    QCOMPARE(capture.text(), out);

    QVERIFY(model);
    if (!expected.isEmpty())
        QCOMPARE(summary(model.get()), expected);
    verifyWellFormed(model.get());
    exerciseUtilities(model.get(), dir.path());
}

void TestMalformed::numbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("value");

    // Correctly rounded, as strtof gives them in the "C" locale.
    for (const char* number : {"0.1", "-0.000001", "16777216", "16777217", "0.333333333333", "123456.789",
                               "1e-3", "-2.5E+2", "3.4028234e38", "1.4e-45", "+7.25", ".5", "5.", "00012.50"})
        QTest::newRow(number) << QByteArray(number) << strtof(number, nullptr);
    QTest::newRow("plus then minus") << QByteArray("+-1") << 0.0f;
    QTest::newRow("hexadecimal reads its 0") << QByteArray("0x10") << 0.0f;
    QTest::newRow("comma stops the number") << QByteArray("1,5") << 1.0f;
    QTest::newRow("beyond float range") << QByteArray("1e39") << 0.0f;
}

void TestMalformed::numbers()
{
    QFETCH(QByteArray, text);
    QFETCH(float, value);

    const ModelPtr model = readObj("v " + text + "\n");

    QCOMPARE(model->vertices[3], value);
}

void TestMalformed::manyGroups()
{
    QByteArray text = kTriangle;
    for (int i = 0; i < 100000; ++i)
        text += "g g" + QByteArray::number(i) + "\nf 1 2 3\n";

    const ModelPtr model = readObj(text);

    QCOMPARE(model->numgroups, GLuint(100001));
    QCOMPARE(model->numtriangles, GLuint(100000));
    QCOMPARE(QString::fromLatin1(model->groups->name), QStringLiteral("g99999"));
    verifyWellFormed(model.get());
}

void TestMalformed::exits_data()
{
    QTest::addColumn<QByteArray>("obj");  // written as model.obj
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");    // %1 is the directory

    QTest::newRow("mtllib naming a directory") << QByteArray("mtllib sub\n") << ""
        << "_glmReadMTL() failed: can't open material file \"%1/sub\".\n";
    QTest::newRow("mtllib naming the model's own directory") << QByteArray("mtllib .\n") << ""
        << "_glmReadMTL() failed: can't open material file \"%1/.\".\n";
    QTest::newRow("mtllib naming an endless device") << QByteArray("mtllib ../../../../../../../../dev/zero\n") << ""
        << "_glmReadMTL() failed: can't open material file \"%1/../../../../../../../../dev/zero\".\n";
    QTest::newRow("unknown v keyword after junk") << withNuls("# x\n\0\0 v 1 2 3\nvx\n")
        << "_glmFirstPass(): Unknown token \"vx\".\n" << "";
    QTest::newRow("unknown v keyword of 10 000 characters") << "v" + QByteArray(10000, 'q') + "\n"
        << "_glmFirstPass(): Unknown token \"v" + QString(10000, 'q') + "\".\n" << "";
}

void TestMalformed::exits()
{
    QFETCH(QByteArray, obj);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(writeFile(dir.filePath("model.obj"), obj));
    const ChildResult child = runChild({"--read", dir.filePath("model.obj")});

    QCOMPARE(child.exitStatus, QProcess::NormalExit);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.out, out);
    QCOMPARE(child.err, err.isEmpty() ? err : err.arg(dir.path()));
}

// "--read FILE" reads one file and returns 0; the fatal cases end earlier.
int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--read") == 0) {
        glmDelete(glmReadOBJ(argv[2]));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestMalformed test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_malformed.moc"

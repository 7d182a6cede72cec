#include "glmtest.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {
const QByteArray kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
}

class TestGlmReader : public QObject
{
    Q_OBJECT

private slots:
    void groups_data();
    void groups();
    void faceForms_data();
    void faceForms();
    void coordinates_data();
    void coordinates();
    void materials_data();
    void materials();
    void groupMaterials();
    void unknownMaterialMessage();
    void laterLibraryReplacesMaterials();
    void readsFromFile();
    void fatalExits_data();
    void fatalExits();
    void commaDecimalLocale();
};

void TestGlmReader::groups_data()
{
    QTest::addColumn<QByteArray>("statements");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no g: everything in default") << QByteArray("f 1 2 3\nf 1 3 4\n") << "default:2";
    QTest::newRow("faces before the first g") << QByteArray("f 1 2 3\ng a\nf 1 3 4\n") << "a:1 default:1";
    QTest::newRow("newest first, default last") << QByteArray("g a\nf 1 2 3\ng b\nf 1 3 4\n")
                                                << "b:1 a:1 default:0";
    QTest::newRow("a name used again") << QByteArray("g a\nf 1 2 3\ng b\nf 1 3 4\ng a\nf 2 3 4\n")
                                       << "b:1 a:2 default:0";
    QTest::newRow("names are case-sensitive") << QByteArray("g a\nf 1 2 3\ng A\nf 1 3 4\n")
                                              << "A:1 a:1 default:0";
    QTest::newRow("only the first word names") << QByteArray("g a b c\nf 1 2 3\n") << "a:1 default:0";
    QTest::newRow("g without a name is default") << QByteArray("g a\nf 1 2 3\ng\nf 1 3 4\n")
                                                 << "a:1 default:1";
    QTest::newRow("g without a name at the end") << QByteArray("g a\nf 1 2 3\ng") << "a:1 default:0";
}

void TestGlmReader::groups()
{
    QFETCH(QByteArray, statements);
    QFETCH(QString, expected);

    const ModelPtr model = readObj(kSquare + statements);

    QCOMPARE(groupSummary(model.get()), expected);
    QCOMPARE(model->numgroups, GLuint(expected.count(':')));
}

void TestGlmReader::faceForms_data()
{
    QTest::addColumn<QByteArray>("face");
    QTest::addColumn<QString>("expected");

    // Corners as vertex/texcoord/normal; 0 is the empty slot.
    QTest::newRow("vertex only") << QByteArray("f 1 2 3") << "1/0/0 2/0/0 3/0/0";
    QTest::newRow("quad becomes two") << QByteArray("f 1 2 3 4") << "1/0/0 2/0/0 3/0/0 | 1/0/0 3/0/0 4/0/0";
    QTest::newRow("pentagon fan") << QByteArray("f 1 2 3 4 5")
                                  << "1/0/0 2/0/0 3/0/0 | 1/0/0 3/0/0 4/0/0 | 1/0/0 4/0/0 5/0/0";
    QTest::newRow("vertex//normal") << QByteArray("f 1//4 2//5 3//6") << "1/0/4 2/0/5 3/0/6";
    QTest::newRow("vertex/texcoord") << QByteArray("f 1/2 2/3 3/4") << "1/2/0 2/3/0 3/4/0";
    QTest::newRow("vertex/texcoord/normal quad") << QByteArray("f 1/1/1 2/2/2 3/3/3 4/4/4")
                                                 << "1/1/1 2/2/2 3/3/3 | 1/1/1 3/3/3 4/4/4";
    QTest::newRow("first reference decides the form") << QByteArray("f 1//2 2 3")
                                                      << "1/0/2 2/0/0 3/0/0";
    QTest::newRow("next keyword ends the face") << QByteArray("f 1 2 3\nf 4 5 6")
                                                << "1/0/0 2/0/0 3/0/0 | 4/0/0 5/0/0 6/0/0";
    QTest::newRow("negative: relative to the last read") << QByteArray("f -3 -2 -1")
                                                         << "4/0/0 5/0/0 6/0/0";
    QTest::newRow("out of range becomes 0") << QByteArray("f 1 7 99999999999999/9/9")
                                            << "1/0/0 0/0/0 0/0/0";
    QTest::newRow("index 0 and too negative") << QByteArray("f 0 -7 3") << "0/0/0 0/0/0 3/0/0";
    QTest::newRow("two references: no triangle") << QByteArray("f 1 2\nf 4 5 6") << "4/0/0 5/0/0 6/0/0";
    QTest::newRow("f alone leaves the next line") << QByteArray("f\nf 4 5 6") << "4/0/0 5/0/0 6/0/0";
}

void TestGlmReader::faceForms()
{
    QFETCH(QByteArray, face);
    QFETCH(QString, expected);

    const QByteArray coords = "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                              "vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\n";
    const ModelPtr model = readObj(kSquare + "v 2 0 0\nv 2 1 0\n" + coords + face + "\n");

    QCOMPARE(triangleSummary(model.get()), expected);
    QCOMPARE(model->numtriangles, GLuint(expected.count('|') + 1));
}

void TestGlmReader::coordinates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVector<float>>("vertices");  // from vertex 1 on
    QTest::addColumn<QVector<float>>("normals");
    QTest::addColumn<QVector<float>>("texcoords");

    using V = QVector<float>;
    QTest::newRow("all three kinds") << QByteArray("v 1 2 3\nvn 0 1 0\nvt 0.25 0.75\n")
                                     << V{1, 2, 3} << V{0, 1, 0} << V{0.25f, 0.75f};
    QTest::newRow("no vn, no vt") << QByteArray("v 1.5 -2.5 3e2\n") << V{1.5f, -2.5f, 300} << V{} << V{};
    QTest::newRow("missing numbers read 0") << QByteArray("v 1\nv 4 x 6\nvt 0.5\n")
                                            << V{1, 0, 0, 4, 0, 0} << V{} << V{0.5f, 0};
    QTest::newRow("rest of the line ignored") << QByteArray("v 1 2 3 4 v 5 6 7\nv +8 9. .5\n")
                                              << V{1, 2, 3, 8, 9, 0.5f} << V{} << V{};
    QTest::newRow("numbers stay on their line") << QByteArray("v 1 2\n3 4 5\nv 6 7 8\n")
                                                << V{1, 2, 0, 6, 7, 8} << V{} << V{};
    QTest::newRow("keywords after the first letter") << QByteArray("vnx 1 0 0\nvtq 0.5 0.5\n")
                                                     << V{} << V{1, 0, 0} << V{0.5f, 0.5f};
}

void TestGlmReader::coordinates()
{
    QFETCH(QByteArray, text);
    QFETCH(QVector<float>, vertices);
    QFETCH(QVector<float>, normals);
    QFETCH(QVector<float>, texcoords);

    const ModelPtr model = readObj(text);

    QCOMPARE(model->numvertices, GLuint(vertices.size() / 3));
    QCOMPARE(model->numnormals, GLuint(normals.size() / 3));
    QCOMPARE(model->numtexcoords, GLuint(texcoords.size() / 2));
    QCOMPARE(QVector<float>(model->vertices + 3, model->vertices + 3 + vertices.size()), vertices);
    QCOMPARE(QVector<float>(model->vertices, model->vertices + 3), (QVector<float>{0, 0, 0}));
    QCOMPARE(model->normals == nullptr, normals.isEmpty());
    QCOMPARE(model->texcoords == nullptr, texcoords.isEmpty());
    if (model->normals)
        QCOMPARE(QVector<float>(model->normals + 3, model->normals + 3 + normals.size()), normals);
    if (model->texcoords)
        QCOMPARE(QVector<float>(model->texcoords + 2, model->texcoords + 2 + texcoords.size()), texcoords);
    QCOMPARE(model->numfacetnorms, GLuint(0));
    QVERIFY(!model->facetnorms);
    QVERIFY(!model->materials);
}

void TestGlmReader::materials_data()
{
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVector<float>>("values");  // diffuse, ambient, specular (rgba), shininess

    using V = QVector<float>;
    const V defaults{0.8f, 0.8f, 0.8f, 1, 0.2f, 0.2f, 0.2f, 1, 0, 0, 0, 1, 0};
    const QByteArray red = "# a comment\nnewmtl red\nKd 1 0 0\nKa 0.1 0.2 0.3\nKs 0.5 0.5 0.5\nNs 500\n";
    QTest::newRow("default comes first") << red << 0 << "default" << defaults;
    QTest::newRow("library material") << red << 1 << "red"
                                      << V{1, 0, 0, 1, 0.1f, 0.2f, 0.3f, 1, 0.5f, 0.5f, 0.5f, 1, 64};
    QTest::newRow("start values kept") << QByteArray("newmtl a\nnewmtl b\nKe 1 1 1\nillum 2\n") << 2 << "b"
                                       << defaults;
    QTest::newRow("any N keyword is shininess") << QByteArray("newmtl a\nNi 1000\n") << 1 << "a"
                                                << V{0.8f, 0.8f, 0.8f, 1, 0.2f, 0.2f, 0.2f, 1, 0, 0, 0, 1, 128};
    QTest::newRow("missing numbers keep their values") << QByteArray("newmtl a\nKd 0.5\nNs\n") << 1 << "a"
                                                       << V{0.5f, 0.8f, 0.8f, 1, 0.2f, 0.2f, 0.2f, 1,
                                                            0, 0, 0, 1, 0};
    QTest::newRow("statements before newmtl go to default")
        << QByteArray("Kd 0 1 0\nnewmtl a\n") << 0 << "default"
        << V{0, 1, 0, 1, 0.2f, 0.2f, 0.2f, 1, 0, 0, 0, 1, 0};
    QTest::newRow("newmtl after numbers is one statement")
        << QByteArray("newmtl a\nKd 1 1 1 newmtl b\nnewmtl c\n") << 2 << "c" << defaults;
}

void TestGlmReader::materials()
{
    QFETCH(QByteArray, library);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QVector<float>, values);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("lib.mtl"), library));
    const ModelPtr model = readObj("mtllib lib.mtl\n", dir.path());

    int statements = 1;  // "default"
    for (const QByteArray& line : library.split('\n'))
        statements += line.startsWith("newmtl") ? 1 : 0;
    QCOMPARE(model->nummaterials, GLuint(statements));
    QCOMPARE(QString::fromLatin1(model->mtllibname), QStringLiteral("lib.mtl"));
    const GLMmaterial& m = model->materials[index];
    QCOMPARE(QString::fromLatin1(m.name), name);
    QVector<float> actual;
    for (const GLfloat* channel : {m.diffuse, m.ambient, m.specular})
        actual << channel[0] << channel[1] << channel[2] << channel[3];
    actual << m.shininess;
    QCOMPARE(actual, values);
}

void TestGlmReader::groupMaterials()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("lib.mtl"), "newmtl red\nnewmtl blue\nnewmtl red\n"));
    const ModelPtr model = readObj(kSquare + "mtllib lib.mtl\nusemtl blue\ng a\nf 1 2 3\n"
                                             "g b\nusemtl red\nf 1 3 4\n", dir.path());

    QCOMPARE(groupSummary(model.get()), QStringLiteral("b:1 a:1 default:0"));
    const GLMgroup* b = model->groups;
    QCOMPARE(b->material, GLuint(1));                // the first "red"
    QCOMPARE(b->next->material, GLuint(2));          // "blue", current when "g a" came
    QCOMPARE(b->next->next->material, GLuint(2));    // "usemtl" sets the current group, then default
}

void TestGlmReader::unknownMaterialMessage()
{
    OutputCapture capture;
    const ModelPtr model = readObj(kSquare + "usemtl gold\nf 1 2 3\n");
    const QString out = capture.text();

    QCOMPARE(out, QStringLiteral("_glmFindMaterial():  can't find material \"gold\".\n"));
    QCOMPARE(model->groups->material, GLuint(0));
    QCOMPARE(model->nummaterials, GLuint(0));
}

void TestGlmReader::laterLibraryReplacesMaterials()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("one.mtl"), "newmtl a\nnewmtl b\n"));
    QVERIFY(writeFile(dir.filePath("two.mtl"), "newmtl c\n"));
    const ModelPtr model = readObj("mtllib one.mtl\nmtllib two.mtl\n", dir.path());

    QCOMPARE(QString::fromLatin1(model->mtllibname), QStringLiteral("two.mtl"));
    QCOMPARE(model->nummaterials, GLuint(2));
    QCOMPARE(QString::fromLatin1(model->materials[1].name), QStringLiteral("c"));
}

void TestGlmReader::readsFromFile()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("lib.mtl"), "newmtl m\nKd 0 0 1\n"));
    QVERIFY(writeFile(dir.filePath("box.obj"), kSquare + "mtllib lib.mtl\nusemtl m\nf 1 2 3 4\n"));
    const QByteArray path = QFile::encodeName(dir.filePath("box.obj"));
    const ModelPtr model(glmReadOBJ(path.constData()));

    QCOMPARE(QByteArray(model->pathname), path);
    QCOMPARE(model->numtriangles, GLuint(2));
    QCOMPARE(model->materials[model->groups->material].diffuse[2], 1.0f);
    QCOMPARE(model->position[0] + model->position[1] + model->position[2], 0.0f);
}

void TestGlmReader::fatalExits_data()
{
    QTest::addColumn<QString>("file");      // relative to a fresh directory
    QTest::addColumn<QByteArray>("contents");  // empty: the file is not created
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");       // %1 is the directory

    QTest::newRow("model missing") << "none.obj" << QByteArray() << ""
                                   << "glmReadOBJ() failed: can't open data file \"%1/none.obj\".\n";
    QTest::newRow("model is a directory") << "." << QByteArray() << ""
                                          << "glmReadOBJ() failed: can't open data file \"%1/.\".\n";
    QTest::newRow("library missing") << "m.obj" << QByteArray("mtllib gone.mtl\n") << ""
                                     << "_glmReadMTL() failed: can't open material file \"%1/gone.mtl\".\n";
    QTest::newRow("unknown v keyword") << "m.obj" << QByteArray("v 0 0 0\nvp 1 2\n")
                                       << "_glmFirstPass(): Unknown token \"vp\".\n" << "";
}

void TestGlmReader::fatalExits()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir dir;
    if (!contents.isEmpty())
        QVERIFY(writeFile(dir.filePath(file), contents));
    const ChildResult child = runChild({"--read", dir.path() + '/' + file});

    QCOMPARE(child.exitStatus, QProcess::NormalExit);
    QCOMPARE(child.exitCode, 1);
    QCOMPARE(child.out, out);
    QCOMPARE(child.err, err.isEmpty() ? err : err.arg(dir.path()));
}

void TestGlmReader::commaDecimalLocale()
{
    QTemporaryDir dir;
    const CommaLocale comma(dir);
    if (!comma.active())
        QSKIP("localedef could not build a comma-decimal locale");
    QCOMPARE(strtod("1,5", nullptr), 1.5);  // the comma locale is really in force

    const ModelPtr model = readObj("v 1.5 2.5 3.5\n");

    QCOMPARE(QVector<float>(model->vertices + 3, model->vertices + 6), (QVector<float>{1.5f, 2.5f, 3.5f}));
    QCOMPARE(setlocale(LC_NUMERIC, nullptr), "xx_XX.UTF-8");  // the reader leaves the locale alone
}

// "--read FILE" reads one file and returns 0; the fatal cases end earlier.
int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--read") == 0) {
        glmDelete(glmReadOBJ(argv[2]));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestGlmReader test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_glmreader.moc"

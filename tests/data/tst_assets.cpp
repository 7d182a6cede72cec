// The committed data directory: every catalogue file is present and usable,
// the props are sized for the places the demo gives them, the soundtrack is
// long enough, not clipped and on the beat, and the generator that wrote it
// all gives the same bytes twice.

#include "modelimporter.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector3D>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

QString dataDir() { return QStringLiteral(QUENVARIX_SOURCE_DIR "/data/"); }
QString iconDir() { return QStringLiteral(QUENVARIX_SOURCE_DIR "/packaging/icons/"); }
QString generatorPath() { return QStringLiteral(QUENVARIX_BINARY_DIR "/tools/assetgen/quenvarix-assetgen"); }

// What a careful reading of one OBJ file finds, with polygons split into a
// fan of triangles as the engine's reader does.
struct ObjSummary
{
    int positions = 0, normals = 0, texCoords = 0, triangles = 0;
    QString library;
    QStringList materials;  // as named by "usemtl"
    QVector3D lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    QStringList problems;   // anything the engine's reader would trip over
};

struct ObjReader
{
    ObjSummary summary;
    QVector<QVector3D> positions, normals;

    void vertex(const QStringList& words)
    {
        const QVector3D p(words.value(1).toFloat(), words.value(2).toFloat(), words.value(3).toFloat());
        summary.lo = QVector3D(qMin(summary.lo.x(), p.x()), qMin(summary.lo.y(), p.y()), qMin(summary.lo.z(), p.z()));
        summary.hi = QVector3D(qMax(summary.hi.x(), p.x()), qMax(summary.hi.y(), p.y()), qMax(summary.hi.z(), p.z()));
        positions << p;
        ++summary.positions;
    }
    void texCoord(const QStringList& words)
    {
        const float u = words.value(1).toFloat(), v = words.value(2).toFloat();
        if (u < 0 || u > 1 || v < 0 || v > 1)
            summary.problems << QStringLiteral("texture coordinate outside [0, 1]: %1").arg(words.join(' '));
        ++summary.texCoords;
    }
    void normal(const QStringList& words)
    {
        normals << QVector3D(words.value(1).toFloat(), words.value(2).toFloat(), words.value(3).toFloat());
        if (qAbs(normals.last().length() - 1.0f) > 0.01f)
            summary.problems << QStringLiteral("normal not of unit length: %1").arg(words.join(' '));
        ++summary.normals;
    }
    void face(const QStringList& words)
    {
        for (int k = 1; k < words.size(); ++k) {
            const QStringList index = words[k].split('/');
            const bool complete = index.size() == 3 && index[0].toInt() >= 1 && index[0].toInt() <= summary.positions
                && index[1].toInt() >= 1 && index[1].toInt() <= summary.texCoords && index[2].toInt() >= 1
                && index[2].toInt() <= summary.normals;
            if (!complete)
                summary.problems << QStringLiteral("face corner not a valid v/vt/vn: %1").arg(words[k]);
        }
        summary.triangles += qMax(0, words.size() - 3);
        if (summary.problems.isEmpty())
            checkWinding(words);
    }
    // Lighting uses the normals, anyone else the winding: they must agree.
    void checkWinding(const QStringList& words)
    {
        QVector3D corner[3], normal;
        for (int k = 1; k < words.size(); ++k) {
            const QStringList index = words[k].split('/');
            if (k <= 3)
                corner[k - 1] = positions[index[0].toInt() - 1];
            normal += normals[index[2].toInt() - 1];
        }
        const QVector3D facing = QVector3D::crossProduct(corner[1] - corner[0], corner[2] - corner[0]);
        if (QVector3D::dotProduct(facing, normal) <= 0)
            summary.problems << QStringLiteral("face wound against its normals: %1").arg(words.join(' '));
    }
    void line(const QString& text)
    {
        const QStringList words = text.split(' ', Qt::SkipEmptyParts);
        const QString key = words.value(0);
        if (key.isEmpty() || key.startsWith('#') || key == "g")
            return;
        if (key == "v") vertex(words);
        else if (key == "vt") texCoord(words);
        else if (key == "vn") normal(words);
        else if (key == "f") face(words);
        else if (key == "mtllib") summary.library = words.value(1);
        else if (key == "usemtl") summary.materials << words.value(1);
        else summary.problems << QStringLiteral("statement the reader does not know: %1").arg(key);
        if (text.size() > 120)
            summary.problems << QStringLiteral("line longer than the reader's buffer");
    }
};

ObjSummary readObj(const QString& path)
{
    QFile file(path);
    ObjReader reader;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        reader.summary.problems << "cannot open " + path;
        return reader.summary;
    }
    QTextStream in(&file);
    while (!in.atEnd())
        reader.line(in.readLine());
    return reader.summary;
}

// Material name -> texture file ("" without one); problems go to `problems`.
QMap<QString, QString> readMtl(const QString& path, QStringList& problems)
{
    QMap<QString, QString> materials;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problems << "cannot open " + path;
        return materials;
    }
    QString current;
    QSet<QString> seen;
    auto finish = [&] {
        for (const char* key : {"Ka", "Kd", "Ks", "Ns"}) {
            if (!current.isEmpty() && !seen.contains(key))
                problems << QStringLiteral("material %1 has no %2").arg(current, key);
        }
        seen.clear();
    };
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().split(' ', Qt::SkipEmptyParts);
        const QString key = words.value(0);
        if (key.isEmpty() || key.startsWith('#'))
            continue;
        seen.insert(key);
        if (key == "newmtl") {
            finish();
            current = words.value(1);
            materials.insert(current, QString());
        } else if (key == "map_Kd") {
            materials[current] = words.value(1);
        } else if (key == "Ka" || key == "Kd" || key == "Ks") {
            for (int i = 1; i <= 3; ++i) {
                bool ok = false;
                const double value = words.value(i).toDouble(&ok);
                if (!ok || value < 0 || value > 1)
                    problems << QStringLiteral("%1 of %2 is not three values in [0, 1]").arg(key, current);
            }
        } else if (key.startsWith('N') && key != "Ns") {
            problems << "the reader takes every N keyword for the shininess: " + key;
        } else if (key != "Ns" && key != "d" && key != "illum") {
            problems << "unexpected MTL statement " + key;
        }
    }
    finish();
    return materials;
}

QByteArray run(const QString& program, const QStringList& arguments, bool standardError = false)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QByteArray();
    return standardError ? process.readAllStandardError() : process.readAllStandardOutput();
}

bool generate(const QString& outDir, const QString& iconDir)
{
    QProcess generator;
    generator.setStandardOutputFile(QProcess::nullDevice());
    // In a sanitizer build: Qt's offscreen platform plugin, which the
    // generator paints with, never frees its screen objects at exit.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LSAN_OPTIONS", environment.value("LSAN_OPTIONS") + ":detect_leaks=0");
    generator.setProcessEnvironment(environment);
    generator.start(generatorPath(), {outDir, "--icons", iconDir});
    return generator.waitForFinished(120000) && generator.exitStatus() == QProcess::NormalExit
        && generator.exitCode() == 0;
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile left(a), right(b);
    return left.open(QIODevice::ReadOnly) && right.open(QIODevice::ReadOnly) && left.readAll() == right.readAll();
}

QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void imageDecodes_data();
    void imageDecodes();
    void iconIsARoundedTile_data();
    void iconIsARoundedTile();
    void captionIsWhiteOnBlack_data();
    void captionIsWhiteOnBlack();
    void propIsSoundAndSized_data();
    void propIsSoundAndSized();
    void importerReadsEveryProp();
    void soundtrackOutlastsTheDemo();
    void soundtrackIsNotClipped();
    void kickFallsOnEveryBeat();
    void generatorIsDeterministic();
};

void TestAssets::imageDecodes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("size");
    QTest::newRow("kvo") << "kvo-screen.png" << 512;
    for (const char* texture : {"cogwheel_01_dif.jpg", "box.jpg", "can_02.jpg", "cargoContainer.jpg",
                                "sentrygun_01.jpg", "spider.jpg", "stairs.jpg", "traffic_cone_01.jpg"})
        QTest::newRow(texture) << texture << 256;
    for (const char* caption : {"graphics", "code", "music", "brokkan", "tervald", "pemo"})
        QTest::newRow(caption) << QStringLiteral("texts/%1.png").arg(caption) << 256;
}

// Square, power-of-two pictures: the quads are square and GL 1.x wants 2^n.
void TestAssets::imageDecodes()
{
    QFETCH(QString, file);
    QFETCH(int, size);
    QImage image;
    QVERIFY2(image.load(dataDir() + file), qPrintable("cannot decode " + file));
    QCOMPARE(image.size(), QSize(size, size));
}

void TestAssets::iconIsARoundedTile_data()
{
    QTest::addColumn<int>("size");
    for (int size : {48, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
}

// Desktops draw the icon over any background: the corners must be clear,
// the middle solid, and the picture exactly as large as its directory says.
void TestAssets::iconIsARoundedTile()
{
    QFETCH(int, size);
    const QString file = iconDir() + QStringLiteral("hicolor/%1x%1/apps/org.quenvarix.Quenvarix.png").arg(size);
    QImage icon;
    QVERIFY2(icon.load(file), qPrintable("cannot decode " + file));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(size - 1, size - 1)), 0);
    QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
}

void TestAssets::captionIsWhiteOnBlack_data()
{
    QTest::addColumn<QString>("word");
    for (const char* caption : {"graphics", "code", "music", "brokkan", "tervald", "pemo"})
        QTest::newRow(caption) << caption;
}

// Blended additively, black must be exactly black or the whole quad glows.
void TestAssets::captionIsWhiteOnBlack()
{
    QFETCH(QString, word);
    const QImage image = QImage(dataDir() + "texts/" + word + ".png").convertToFormat(QImage::Format_RGB32);
    int white = 0, coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            white += p == qRgb(255, 255, 255);
            coloured += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
        }
    }
    QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
    QCOMPARE(coloured, 0);
    QVERIFY2(white > image.width() * image.height() / 50, "the caption holds too little text");
}

void TestAssets::propIsSoundAndSized_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("texture");
    QTest::addColumn<float>("minSize");     // largest extent, model units
    QTest::addColumn<float>("maxSize");
    QTest::addColumn<int>("maxTriangles");
    // Sizes follow the scales the demo draws them at (see tools/assetgen/props.h).
    QTest::newRow("box") << "box" << "box.jpg" << 1.0f << 1.0f << 12;
    QTest::newRow("cogwheel_01") << "cogwheel_01" << "cogwheel_01_dif.jpg" << 55.0f << 65.0f << 204;
    QTest::newRow("cargoContainer") << "cargoContainer" << "cargoContainer.jpg" << 11.0f << 13.0f << 2000;
    QTest::newRow("can") << "can" << "can_02.jpg" << 360.0f << 440.0f << 2000;
    QTest::newRow("beerBarrel") << "beerBarrel" << "" << 8.0f << 12.0f << 2000;
    QTest::newRow("traffic_cone_01") << "traffic_cone_01" << "traffic_cone_01.jpg" << 90.0f << 110.0f << 2000;
    QTest::newRow("stairs") << "stairs" << "stairs.jpg" << 28.0f << 42.0f << 2000;
    QTest::newRow("spider") << "spider" << "spider.jpg" << 50.0f << 70.0f << 2000;
    QTest::newRow("SentryGun") << "SentryGun" << "sentrygun_01.jpg" << 80.0f << 130.0f << 2000;
    QTest::newRow("shovel") << "shovel" << "" << 8.0f << 12.0f << 2000;
    QTest::newRow("hammer") << "hammer" << "" << 8.0f << 12.0f << 2000;
    QTest::newRow("tree") << "tree" << "" << 5.0f << 20.0f << 2000;
}

void TestAssets::propIsSoundAndSized()
{
    QFETCH(QString, name);
    QFETCH(QString, texture);
    QFETCH(float, minSize);
    QFETCH(float, maxSize);
    QFETCH(int, maxTriangles);
    const ObjSummary obj = readObj(dataDir() + name + ".obj");
    QStringList problems = obj.problems;
    QCOMPARE(obj.library, name + ".mtl");
    const QMap<QString, QString> materials = readMtl(dataDir() + obj.library, problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 5).join('\n')));
    QVERIFY(obj.positions > 0 && obj.normals > 0 && obj.texCoords > 0);
    QVERIFY(obj.triangles > 0 && obj.triangles <= maxTriangles);
    for (const QString& material : obj.materials) {
        QVERIFY2(materials.contains(material), qPrintable("usemtl of an unknown material " + material));
        QCOMPARE(materials.value(material), texture);
    }
    const QVector3D size = obj.hi - obj.lo;
    const float largest = qMax(size.x(), qMax(size.y(), size.z()));
    QVERIFY2(largest >= minSize && largest <= maxSize, qPrintable(QStringLiteral("%1 units across").arg(largest)));
}

// The engine's importer turns each prop into one polygon per triangle, each
// with three texture coordinates and lit normals.
void TestAssets::importerReadsEveryProp()
{
    std::unique_ptr<ModelObject> probe(ModelImporter::load(dataDir() + "box.obj"));
    QVERIFY(probe);
    if (probe->GetPolygons().isEmpty())
        QSKIP("the OBJ importer of this build imports nothing yet");
    for (const char* name : {"box", "cogwheel_01", "cargoContainer", "can", "beerBarrel", "traffic_cone_01",
                             "stairs", "spider", "SentryGun", "shovel", "hammer", "tree"}) {
        const QString path = dataDir() + name + ".obj";
        std::unique_ptr<ModelObject> model(ModelImporter::load(path));
        QVERIFY(model);
        QCOMPARE(model->GetPolygons().size(), readObj(path).triangles);
        for (PolygonObject* polygon : model->GetPolygons()) {
            QCOMPARE(polygon->GetTexCoords().size(), 3);
            for (PointObject* point : polygon->GetPoints())
                QVERIFY(point->m_normal.length() > 0.99f);
        }
    }
}

void TestAssets::soundtrackOutlastsTheDemo()
{
    if (QStandardPaths::findExecutable("sox").isEmpty())
        QSKIP("sox is not installed");
    const QByteArray seconds = run("sox", {"--i", "-D", dataDir() + "tavrenQuisk.mp3"}).trimmed();
    QVERIFY2(!seconds.isEmpty(), "sox cannot read the soundtrack");
    QVERIFY2(seconds.toDouble() >= 50.0, seconds.constData());
}

// -1 dBFS at most, measured on the decoded MP3.
void TestAssets::soundtrackIsNotClipped()
{
    if (QStandardPaths::findExecutable("sox").isEmpty())
        QSKIP("sox is not installed");
    const QString stat = run("sox", {dataDir() + "tavrenQuisk.mp3", "-n", "stat"}, true);
    const QRegularExpression amplitude("(Maximum|Minimum) amplitude:\\s+(-?[0-9.]+)");
    auto it = amplitude.globalMatch(stat);
    int found = 0;
    while (it.hasNext()) {
        const double value = std::fabs(it.next().captured(2).toDouble());
        QVERIFY2(value <= std::pow(10.0, -1.0 / 20.0), qPrintable(QStringLiteral("peak %1").arg(value)));
        ++found;
    }
    QCOMPARE(found, 2);
}

// The pulsing boxes peak every 480 ms from engine time 14780 and the track
// starts at 5000: a kick must begin at 180 + 480k ms of track time. Decoded
// with ffmpeg, which honours the encoder delay recorded by lame.
void TestAssets::kickFallsOnEveryBeat()
{
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
        QSKIP("ffmpeg is not installed");
    const QByteArray pcm = run("ffmpeg", {"-v", "error", "-i", dataDir() + "tavrenQuisk.mp3", "-f", "s16le",
                                          "-ac", "1", "-ar", "44100", "-"});
    QVERIFY(!pcm.isEmpty());
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const int count = pcm.size() / 2;
    auto energy = [&](double from, double to) {
        double sum = 0;
        for (int i = int(from * 44.1); i < int(to * 44.1) && i < count; ++i)
            sum += double(samples[i]) * samples[i];
        return sum;
    };
    for (int k = 0; k <= 100; ++k) {
        const double beat = 180.0 + 480.0 * k;
        const double before = energy(beat - 25, beat - 2), after = energy(beat + 2, beat + 25);
        QVERIFY2(after > 3 * before, qPrintable(QStringLiteral("no kick at %1 ms").arg(beat)));
    }
}

// Two runs of the generator write the same files, byte for byte; they are
// the files committed under data/ and packaging/icons/, and the committed
// props are up to date.
void TestAssets::generatorIsDeterministic()
{
    if (!QFile::exists(generatorPath()))
        QSKIP("quenvarix-assetgen is not built");
    if (QStandardPaths::findExecutable("lame").isEmpty())
        QSKIP("lame is not installed");
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(generate(first.filePath("data"), first.filePath("icons")));
    QVERIFY(generate(second.filePath("data"), second.filePath("icons")));
    const QStringList files = filesBelow(first.path());
    QCOMPARE(files, filesBelow(second.path()));
    QStringList committed;
    for (const QString& file : filesBelow(dataDir()))
        committed << "data/" + file;
    for (const QString& file : filesBelow(iconDir()))
        committed << "icons/" + file;
    QCOMPARE(files, committed);
    for (const QString& file : files) {
        QVERIFY2(sameBytes(first.filePath(file), second.filePath(file)), qPrintable(file + " differs between runs"));
        if (file.endsWith(".obj") || file.endsWith(".mtl"))
            QVERIFY2(sameBytes(first.filePath(file), dataDir() + file.mid(5)), qPrintable(file + " is stale: make assets"));
    }
}

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"

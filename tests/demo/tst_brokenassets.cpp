// Assets a demo maker drops into the data directory, broken: a cut-off image
// counts as missing, a missing prop ends the program with the reader's own
// message and status 1.
#include "demotree.h"
#include "imagefile.h"
#include "path.h"
#include "scene.h"
#include "timeline.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

namespace {

const char* kBuildScene = "--build-scene";

QByteArray dataFile(const QString& name)
{
    QFile file(QUENVARIX_SOURCE_DIR "/data/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Child mode: build the demo from the data directory given, as the engine does.
int buildScene(const QString& dataRoot)
{
    PATH = dataRoot;
    installRecordingRenderer();
    delete init_scene_1();
    return 0;
}

} // namespace

class TestBrokenAssets : public QObject
{
    Q_OBJECT

private slots:
    void cutOffImageCountsAsMissing_data();
    void cutOffImageCountsAsMissing();
    void directoryIsNotAnImage();
    void missingPropEndsWithTheReadersMessage();
};

void TestBrokenAssets::cutOffImageCountsAsMissing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("keep");  // bytes kept; 0 keeps the first half
    QTest::newRow("jpeg cut in half") << "box.jpg" << 0;
    QTest::newRow("png cut in half") << "kvo-screen.png" << 0;
    QTest::newRow("jpeg header only") << "box.jpg" << 100;
}

void TestBrokenAssets::cutOffImageCountsAsMissing()
{
    QFETCH(QString, source);
    QFETCH(int, keep);
    QTemporaryDir dir;
    const QString path = dir.filePath(source);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray whole = dataFile(source);
    QVERIFY(!whole.isEmpty());
    file.write(whole.left(keep > 0 ? keep : whole.size() / 2));
    file.close();
    installRecordingRenderer();
    const QString name = "cut-" + QString(QTest::currentDataTag());
    QTest::ignoreMessage(QtDebugMsg, "texture not initialized");
    init_texture(path, name);
    QVERIFY(!ObjectManager<Texture>::tm->find_object(name));
}

void TestBrokenAssets::directoryIsNotAnImage()
{
    QTemporaryDir dir;
    QImage image;
    QVERIFY(!loadCompleteImage(dir.path(), &image));
    QVERIFY(!loadCompleteImage("/dev/zero", &image));
}

// The reader's own message and status 1, and nothing after it: run in a child.
void TestBrokenAssets::missingPropEndsWithTheReadersMessage()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("data/texts"));
    const QDir source(QUENVARIX_SOURCE_DIR "/data");
    for (const QString& file : source.entryList(QDir::Files)) {
        if (file != "box.obj")
            QVERIFY(QFile::copy(source.filePath(file), root.filePath("data/" + file)));
    }
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {kBuildScene, root.path() + "/"});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 1);
    const QString expected = QString("glmReadOBJ() failed: can't open data file \"%1//data/box.obj\".\n")
                                 .arg(root.path());
    QVERIFY2(QString::fromLocal8Bit(child.readAllStandardError()).endsWith(expected),
             qPrintable(expected));
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kBuildScene) == 0)
        return buildScene(QString::fromLocal8Bit(argv[2]));
    TestBrokenAssets test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_brokenassets.moc"

#include "demotree.h"
#include "manualtime.h"
#include "path.h"
#include "scene.h"
#include "timeline.h"

#include <QDir>
#include <QtTest>

#include <memory>

// The demo must still play when no image can be read: every surface is then
// drawn untextured. Runs alone in its process, so the texture registry is empty.
class TestMissingImages : public QObject
{
    Q_OBJECT

    QTemporaryDir m_assets;
    RecordingRenderer* m_renderer = nullptr;
    std::unique_ptr<Scene> m_scene;
    std::unique_ptr<WorldObject> m_root;

private slots:
    void initTestCase();
    void fifteenMessagesAndACompleteScene();
    void everySequenceDrawsUntextured_data();
    void everySequenceDrawsUntextured();
};

// A data directory holding the models (when the source tree has them) and
// not a single image.
void TestMissingImages::initTestCase()
{
    QVERIFY(m_assets.isValid());
    QDir data(m_assets.path());
    QVERIFY(data.mkpath("data/texts"));
    const QDir source(QUENVARIX_SOURCE_DIR "/data");
    for (const QString& file : source.entryList({"*.obj", "*.mtl"}, QDir::Files))
        QVERIFY(QFile::copy(source.filePath(file), data.filePath("data/" + file)));
    PATH = m_assets.path() + "/";
    m_renderer = installRecordingRenderer();
}

void TestMissingImages::fifteenMessagesAndACompleteScene()
{
    for (int i = 0; i < 15; ++i)
        QTest::ignoreMessage(QtDebugMsg, "texture not initialized");
    m_scene.reset(init_scene_1());
    m_root.reset(m_scene->GetRoot());
    QCOMPARE(ObjectManager<Texture>::tm->count(), 0);
    QVERIFY(!m_renderer->calls.contains("LoadTexture"));
    const WorldObject* scene = childAt(m_root.get(), 0);
    QCOMPARE(scene->GetChildren().size(), 6);
    const int children[6] = {1, 300, 5, 4, 52, 12};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(scene->GetChildren().at(i)->GetChildren().size(), children[i]);
}

void TestMissingImages::everySequenceDrawsUntextured_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<bool>("drawsQuads");
    QTest::newRow("intro") << 1000 << true;
    QTest::newRow("bouncing boxes") << 10000 << false;
    QTest::newRow("credits") << 20000 << true;
    QTest::newRow("scenery") << 30000 << false;
    QTest::newRow("cogwheels") << 37000 << true;
    QTest::newRow("trail") << 44000 << false;
}

void TestMissingImages::everySequenceDrawsUntextured()
{
    QFETCH(int, now);
    QFETCH(bool, drawsQuads);
    QVERIFY(m_scene);
    ManualTime clock(now);
    m_scene->Update(20.0f);
    m_renderer->clear();
    m_scene->Draw(m_renderer);
    QVERIFY(m_renderer->calls.contains("SetTransform"));
    if (drawsQuads)
        QVERIFY(!m_renderer->polygons.isEmpty());
    for (const RecordingRenderer::Polygon& polygon : m_renderer->polygons)
        QCOMPARE(polygon.texture, nullptr);
}

QTEST_GUILESS_MAIN(TestMissingImages)
#include "tst_missingimages.moc"

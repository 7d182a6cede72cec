// The engine singleton: its clock, its scene list and the frame it drives
// through the renderer.
#include "camera.h"
#include "engine.h"
#include "enginesetup.h"
#include "manualtime.h"
#include "modelobject.h"
#include "polygonobject.h"
#include "probecontroller.h"
#include "probenode.h"
#include "engineclock.h"
#include "recordingrenderer.h"
#include "scene.h"

#include <QtTest>

namespace {

Engine* engine()
{
    return Engine::GetInstance();
}

// A mesh with one single-point face, so drawing it issues SetTransform and DrawPolygon.
ModelObject* tinyMesh(const QString& id)
{
    auto* mesh = new ModelObject(nullptr, id);
    auto* face = new PolygonObject(mesh, id + "-face");
    mesh->AddPoint(face->AddPoint(0, 0, 0));
    mesh->AddPolygon(face);
    return mesh;
}

// Logs its Uninit and its destruction into a list that outlives it.
class LoggedRenderer : public RecordingRenderer
{
public:
    explicit LoggedRenderer(QStringList* log) : m_log(log) {}
    ~LoggedRenderer() override { *m_log << "deleted"; }
    void Init() override { *m_log << "renderer Init"; }
    void Uninit() override { *m_log << "Uninit"; }

private:
    QStringList* m_log;
};

}  // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void clockBeforeInitAndManual();
    void useSceneBounds_data();
    void useSceneBounds();
    void addNullSceneIsIgnored();
    void removeSceneDestroysTheSceneButNotItsRoot();
    void removeSceneIgnoresWhatItDoesNotHold();
    void removalsKeepTheCurrentIndexInside_data();
    void removalsKeepTheCurrentIndexInside();
    void drawWithoutRendererDrawsNothing();
    void drawWithoutSceneStillFramesTheFrame();
    void rootTransformIsComposedTwice();
    void frameOrder();
    void sceneKeepsItsRootOnNull();
    void setRendererUninitialisesThePrevious();
    void initBuildsWhatItIsHandedThenStartsTheClock();

private:
    QStringList m_log;
    QList<WorldObject*> m_roots;

    ProbeNode* addScene(const QString& id);
};

ProbeNode* TestEngine::addScene(const QString& id)
{
    auto* root = new ProbeNode(id, &m_log);
    m_roots << root;
    engine()->AddScene(new Scene(root));
    return root;
}

// Leaves the singleton as the next test expects it: no scenes, no renderer,
// the first scene index, the real clock.
void TestEngine::cleanup()
{
    while (!engine()->GetScenes().isEmpty())
        engine()->RemoveScene(0);
    engine()->SetRenderer(nullptr);
    engine()->ClearManualTime();
    qDeleteAll(m_roots);
    m_roots.clear();
    m_log.clear();
}

void TestEngine::clockBeforeInitAndManual()
{
    QCOMPARE(engine()->GetCurrentTime(), 0);
    {
        ManualTime clock(1234);
        QCOMPARE(engine()->GetCurrentTime(), 1234);
    }
    QCOMPARE(engine()->GetCurrentTime(), 0);
}

void TestEngine::useSceneBounds_data()
{
    QTest::addColumn<int>("scenes");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("current");

    QTest::newRow("the only scene") << 1 << 0 << true << 0;
    QTest::newRow("the last of three") << 3 << 2 << true << 2;
    QTest::newRow("negative") << 3 << -1 << false << 1;
    QTest::newRow("one past the end") << 3 << 3 << false << 1;
    QTest::newRow("no scenes") << 0 << 0 << false << 0;
}

void TestEngine::useSceneBounds()
{
    QFETCH(int, scenes);
    QFETCH(int, index);
    QFETCH(bool, accepted);
    QFETCH(int, current);

    for (int i = 0; i < scenes; ++i)
        addScene(QString::number(i));
    if (scenes > 1)
        QVERIFY(engine()->UseScene(1));

    QCOMPARE(engine()->UseScene(index), accepted);
    QCOMPARE(engine()->GetCurrentSceneIndex(), current);
}

void TestEngine::addNullSceneIsIgnored()
{
    addScene("a");
    engine()->AddScene(nullptr);
    QCOMPARE(engine()->GetScenes().size(), 1);
}

void TestEngine::removeSceneDestroysTheSceneButNotItsRoot()
{
    ProbeNode* root = addScene("root");
    root->AddChild(new ProbeNode("child", &m_log));

    engine()->RemoveScene(5);
    QCOMPARE(engine()->GetScenes().size(), 1);
    engine()->RemoveScene(0);

    QVERIFY(engine()->GetScenes().isEmpty());
    QVERIFY(m_log.isEmpty());  // root and child untouched
}

void TestEngine::removeSceneIgnoresWhatItDoesNotHold()
{
    addScene("a");
    Scene stranger(nullptr);
    engine()->RemoveScene(&stranger);
    engine()->RemoveScene(static_cast<Scene*>(nullptr));
    engine()->RemoveScene(-1);
    QCOMPARE(engine()->GetScenes().size(), 1);

    engine()->RemoveScene(engine()->GetScenes().first());
    QVERIFY(engine()->GetScenes().isEmpty());
}

void TestEngine::removalsKeepTheCurrentIndexInside_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("removed");
    QTest::addColumn<QString>("shown");  // root updated and drawn afterwards; "" for none

    QTest::newRow("one before the current") << 2 << QList<int>({0}) << "c";
    QTest::newRow("two before the current") << 2 << QList<int>({0, 0}) << "c";
    QTest::newRow("the current one") << 1 << QList<int>({1}) << "c";
    QTest::newRow("the current last one") << 2 << QList<int>({2}) << "b";
    QTest::newRow("one after the current") << 0 << QList<int>({1}) << "a";
    QTest::newRow("all of them") << 2 << QList<int>({2, 0, 0}) << "";
}

void TestEngine::removalsKeepTheCurrentIndexInside()
{
    QFETCH(int, current);
    QFETCH(QList<int>, removed);
    QFETCH(QString, shown);

    for (const char* id : {"a", "b", "c"})
        addScene(id);
    QVERIFY(engine()->UseScene(current));
    engine()->SetRenderer(new RecordingRenderer);

    for (int index : removed)
        engine()->RemoveScene(index);
    engine()->Update(20);
    engine()->Draw();

    const QStringList expected = shown.isEmpty() ? QStringList()
                                                 : QStringList({"update " + shown, "draw " + shown});
    QCOMPARE(m_log, expected);
}

void TestEngine::drawWithoutRendererDrawsNothing()
{
    ProbeNode* root = addScene("root");
    QCOMPARE(engine()->GetRenderer(), static_cast<Renderer*>(nullptr));
    engine()->Draw();
    QCOMPARE(root->draws, 0);

    engine()->Update(20);  // updating needs no renderer
    QCOMPARE(m_log, QStringList({"update root"}));
}

void TestEngine::drawWithoutSceneStillFramesTheFrame()
{
    auto* renderer = new RecordingRenderer;
    engine()->SetRenderer(renderer);
    engine()->Draw();
    QCOMPARE(renderer->calls, QStringList({"StartDraw", "EndDraw"}));
}

void TestEngine::rootTransformIsComposedTwice()
{
    ProbeNode* root = addScene("root");
    root->m_transform.SetTranslation(0, 0, -15);
    root->AddChild(tinyMesh("child"));
    auto* renderer = new RecordingRenderer;
    engine()->SetRenderer(renderer);

    engine()->Draw();

    QCOMPARE(renderer->transforms.size(), 1);
    QCOMPARE(renderer->transforms[0].translation, QVector3D(0, 0, -30));
}

void TestEngine::frameOrder()
{
    ProbeNode* root = addScene("root");
    root->AddChild(tinyMesh("first"));
    root->AddChild(tinyMesh("second"));
    root->AddController(new ProbeController("of-root", &m_log, root));
    auto* renderer = new RecordingRenderer;
    auto* camera = new Camera;
    camera->AddController(new ProbeController("of-camera", &m_log, camera));
    renderer->AddCamera(camera);
    engine()->SetRenderer(renderer);

    engine()->Update(20);
    engine()->Draw();

    QCOMPARE(m_log, QStringList({"run of-camera", "update root", "run of-root", "draw root"}));
    QCOMPARE(renderer->calls, QStringList({"StartDraw", "SetTransform", "DrawPolygon",
                                           "SetTransform", "DrawPolygon", "EndDraw"}));
}

void TestEngine::sceneKeepsItsRootOnNull()
{
    WorldObject root(nullptr, "root");
    Scene scene(&root);
    scene.SetRoot(nullptr);
    QCOMPARE(scene.GetRoot(), &root);

    WorldObject other(nullptr, "other");
    scene.SetRoot(&other);
    QCOMPARE(scene.GetRoot(), &other);
}

void TestEngine::setRendererUninitialisesThePrevious()
{
    engine()->SetRenderer(new LoggedRenderer(&m_log));
    engine()->SetRenderer(new RecordingRenderer);
    QCOMPARE(m_log, QStringList({"Uninit", "deleted"}));
}

// The scene is built with the renderer ready and before the clock starts.
void TestEngine::initBuildsWhatItIsHandedThenStartsTheClock()
{
    EngineSetup setup;
    setup.createRenderer = [this] { return new LoggedRenderer(&m_log); };
    setup.buildScene = [this] {
        m_log << QString("scene at %1").arg(engine()->GetCurrentTime());
        return new Scene(nullptr);
    };
    engine()->Init(setup);
    QCOMPARE(m_log, QStringList({"renderer Init", "scene at 0"}));
    QVERIFY(engine()->GetClock()->isStarted());
    QVERIFY(!engine()->GetMusic());

    engine()->Uninit();
    QCOMPARE(m_log.mid(2), QStringList({"Uninit", "deleted"}));
    QVERIFY(engine()->GetScenes().isEmpty());
    QVERIFY(!engine()->GetClock()->isStarted());
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"

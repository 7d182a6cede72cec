// The renderer base: its camera list, which it owns and advances each frame.
#include "camera.h"
#include "modelobject.h"
#include "polygonobject.h"
#include "probecontroller.h"
#include "recordingrenderer.h"

#include <QtTest>

namespace {

class ProbeCamera : public Camera
{
public:
    ProbeCamera(const QString& name, QStringList* log) : m_name(name), m_log(log) {}
    ~ProbeCamera() override { *m_log << "destroy " + m_name; }

private:
    QString m_name;
    QStringList* m_log;
};

}  // namespace

class TestRenderer : public QObject
{
    Q_OBJECT

private slots:
    void withoutCameras();
    void useCamera_data();
    void useCamera();
    void removeCameraDestroysOnlyWhatItHolds();
    void destructionDestroysEachCameraOnce();
    void camerasAdvanceButDrawNothing();
};

void TestRenderer::withoutCameras()
{
    RecordingRenderer renderer;
    renderer.AddCamera(nullptr);
    renderer.UpdateCameras(20);
    QVERIFY(renderer.GetCameras().isEmpty());
    QCOMPARE(renderer.getCamera(), static_cast<Camera*>(nullptr));
    QCOMPARE(renderer.UseCamera(0), false);
}

void TestRenderer::useCamera_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("selected");

    QTest::newRow("first") << 0 << true << 0;
    QTest::newRow("last") << 2 << true << 2;
    QTest::newRow("one past the end") << 3 << false << 1;
    QTest::newRow("negative") << -1 << false << 1;
}

void TestRenderer::useCamera()
{
    QFETCH(int, index);
    QFETCH(bool, accepted);
    QFETCH(int, selected);

    QStringList log;
    RecordingRenderer renderer;
    for (const char* name : {"a", "b", "c"})
        renderer.AddCamera(new ProbeCamera(name, &log));
    QVERIFY(renderer.UseCamera(1));

    QCOMPARE(renderer.UseCamera(index), accepted);
    QCOMPARE(renderer.getCamera(), renderer.GetCameras().at(selected));
}

void TestRenderer::removeCameraDestroysOnlyWhatItHolds()
{
    QStringList log;
    RecordingRenderer renderer;
    auto* first = new ProbeCamera("first", &log);
    auto* second = new ProbeCamera("second", &log);
    auto* third = new ProbeCamera("third", &log);
    renderer.AddCamera(first);
    renderer.AddCamera(second);
    renderer.AddCamera(third);
    QVERIFY(renderer.UseCamera(2));
    ProbeCamera stranger("stranger", &log);

    renderer.RemoveCamera(&stranger);
    renderer.RemoveCamera(nullptr);
    renderer.RemoveCamera(second);

    QCOMPARE(log, QStringList({"destroy second"}));
    QCOMPARE(renderer.GetCameras(), QList<Camera*>({first, third}));
    QCOMPARE(renderer.getCamera(), static_cast<Camera*>(nullptr));  // selection 2 is gone
    QVERIFY(renderer.UseCamera(1));
    QCOMPARE(renderer.getCamera(), third);
}

void TestRenderer::destructionDestroysEachCameraOnce()
{
    QStringList log;
    auto* renderer = new RecordingRenderer;
    renderer->AddCamera(new ProbeCamera("a", &log));
    renderer->AddCamera(new ProbeCamera("b", &log));
    delete renderer;
    QCOMPARE(log, QStringList({"destroy a", "destroy b"}));
}

void TestRenderer::camerasAdvanceButDrawNothing()
{
    QStringList log;
    RecordingRenderer renderer;
    auto* camera = new Camera;
    auto* mesh = new ModelObject(camera, "mesh");
    auto* face = new PolygonObject(mesh, "face");
    mesh->AddPoint(face->AddPoint(0, 0, 0));
    mesh->AddPolygon(face);
    mesh->AddController(new ProbeController("of-mesh", &log, mesh));
    camera->AddChild(mesh);
    camera->AddController(new ProbeController("of-camera", &log, camera));
    renderer.AddCamera(camera);

    renderer.UpdateCameras(20);
    camera->Draw(&renderer, Transform());

    QCOMPARE(log, QStringList({"run of-mesh", "run of-camera"}));
    QVERIFY(renderer.calls.isEmpty());
}

QTEST_GUILESS_MAIN(TestRenderer)
#include "tst_renderer.moc"

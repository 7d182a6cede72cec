// The demo maker's overlay: it names the sequences on screen, draws only in
// its corner, and leaves the renderer's GL state as it found it, so the
// demo's next frame is the same with or without it.
#include "devoverlay.h"
#include "geometry.h"
#include "glcontext.h"
#include "modelobject.h"
#include "qtrenderer.h"
#include "transform.h"

#include <QQuaternion>
#include <QVector3D>
#include <QtTest>

#include <memory>
#include <tuple>

class TestDevOverlay : public QObject
{
    Q_OBJECT

private slots:
    void sequencesOnScreen_data();
    void sequencesOnScreen();
    void drawsInItsCornerAndRestoresTheState();
};

namespace {
// root > scene > "intro" (0..9000), "boxes" (9000..14700), "always" (0, 0)
std::unique_ptr<WorldObject> smallTimeline()
{
    auto root = std::make_unique<WorldObject>(nullptr, "root");
    auto* scene = new WorldObject(root.get(), "scene");
    root->AddChild(scene);
    for (const auto& [id, start, end] : {std::make_tuple("intro", 0, 9000),
                                         std::make_tuple("boxes", 9000, 14700),
                                         std::make_tuple("always", 0, 0)}) {
        auto* sequence = new WorldObject(scene, id);
        sequence->SetTime(start, end);
        scene->AddChild(sequence);
    }
    return root;
}
}  // namespace

void TestDevOverlay::sequencesOnScreen_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("first") << 0 << QStringList{"intro", "always"};
    QTest::newRow("both at the seam") << 9000 << QStringList{"intro", "boxes", "always"};
    QTest::newRow("after the end") << 14701 << QStringList{"always"};
}

void TestDevOverlay::sequencesOnScreen()
{
    QFETCH(int, now);
    const std::unique_ptr<WorldObject> root = smallTimeline();
    QTEST(DevOverlay::sequencesAt(root.get(), now), "ids");
}

void TestDevOverlay::drawsInItsCornerAndRestoresTheState()
{
    GlContext gl(320, 180);
    QVERIFY(gl.isValid());
    WidgetRenderer renderer;
    renderer.Init();
    renderer.ResizeWindow(320, 180);
    // Turned and translucent: lighting and additive blending both show.
    QVector3D position(0, 0, -10);
    QQuaternion turn(30, QVector3D(1, 1, 0));
    const std::unique_ptr<ModelObject> box(create_box(2, 2, 2, &position, &turn));
    Transform translucent;
    translucent.SetColor(1, 0.8f, 0.6f, 0.5f);
    // Face by face: the renderer's GL-side mesh cache is not what is tested.
    const auto frame = [&] {
        renderer.StartDraw();
        renderer.SetTransform(translucent + box->m_transform);
        box->DrawPolygons(&renderer, box->m_transform + translucent);
        renderer.EndDraw();
        return gl.grab();
    };
    const QImage before = frame();
    const QImage panel = DevOverlay::compose(DevOverlay::lines({12345, 50, true, 310, {"intro"}}));
    DevOverlay::draw(panel, 320, 180);
    const QImage withOverlay = gl.grab();
    const QRect corner(8, 8, panel.width(), panel.height());
    QVERIFY(withOverlay.copy(corner) != before.copy(corner));
    const QRect below(0, corner.bottom() + 1, 320, 180 - corner.bottom() - 1);
    QCOMPARE(withOverlay.copy(below), before.copy(below));
    QCOMPARE(frame(), before);
}

QTEST_MAIN(TestDevOverlay)
#include "tst_devoverlay.moc"

#include "demorun.h"
#include "engine.h"
#include "imagedifference.h"
#include "offscreentarget.h"
#include "qtrenderer.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

#include <memory>

// Eight moments of the demo, captured at 320x180 on the player's 50 fps
// frame grid, against the reference frames in tests/data/golden/; each is
// also drawn face by face, which must give the very same pixels.
// After an intended change of the picture, regenerate them with
//     make golden
// (QUENVARIX_UPDATE_GOLDEN=1 makes this test write instead of compare),
// look at every new frame, and commit them.

namespace {

// The player's renderer, which can also draw meshes face by face: the
// sequence of calls that keeping meshes on the GL side stands in for.
class SwitchableRenderer : public WidgetRenderer
{
public:
    bool faceByFace = false;

    void DrawMesh(ModelObject& mesh, const Transform& transform,
                  const Transform& faceTransform) override
    {
        if (faceByFace)
            Renderer::DrawMesh(mesh, transform, faceTransform);
        else
            WidgetRenderer::DrawMesh(mesh, transform, faceTransform);
    }
};

}  // namespace

class TestGoldenFrames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void frame_data();
    void frame();
    void toleranceCatchesRealChanges_data();
    void toleranceCatchesRealChanges();

private:
    void writeReference(const QString& path, const QImage& image);
    void keepEvidence(const QString& name, const QImage& actual, const ImageDifference& difference);

    std::unique_ptr<OffscreenTarget> m_target;
    std::unique_ptr<DemoRun> m_demo;
    SwitchableRenderer* m_renderer = nullptr;  // owned by the engine
};

namespace {
const QSize kSize(320, 180);
const int kFps = 50;  // the player's

QString referenceDirectory()
{
    return QStringLiteral(QUENVARIX_SOURCE_DIR "/tests/data/golden");
}

bool updating()
{
    return qEnvironmentVariableIntValue("QUENVARIX_UPDATE_GOLDEN") == 1;
}
}  // namespace

void TestGoldenFrames::initTestCase()
{
    m_target = std::make_unique<OffscreenTarget>();
    QString error;
    QVERIFY2(m_target->create(kSize, &error), qPrintable(error));
    DemoRun::Options options = DemoRun::offline();
    options.renderer = [this] { return m_renderer = new SwitchableRenderer(); };
    m_demo = std::make_unique<DemoRun>(options);
    m_demo->start();
    Engine::GetInstance()->GetRenderer()->ResizeWindow(kSize.width(), kSize.height());
}

void TestGoldenFrames::cleanupTestCase()
{
    m_demo.reset();  // while the GL context still exists
    m_target.reset();
}

void TestGoldenFrames::frame_data()
{
    QTest::addColumn<int>("time");
    // In time order: the rows share one run of the demo.
    QTest::newRow("intro_01000") << 1000;
    QTest::newRow("flicker_06000") << 6000;
    QTest::newRow("boxes_11000") << 11000;
    QTest::newRow("caption_16500") << 16500;
    QTest::newRow("scenery_30000") << 30000;
    QTest::newRow("cogwheels_37500") << 37500;
    QTest::newRow("trail_44000") << 44000;
    QTest::newRow("black_47000") << 47000;
}

void TestGoldenFrames::frame()
{
    QFETCH(int, time);
    const QString name = QTest::currentDataTag();
    const QString path = referenceDirectory() + "/" + name + ".png";
    m_demo->advanceTo(time + 1, kFps);  // every tick of the grid up to `time`
    Engine::GetInstance()->Draw();
    const QImage actual = m_target->read();
    m_renderer->faceByFace = true;
    Engine::GetInstance()->Draw();
    m_renderer->faceByFace = false;
    QCOMPARE(m_target->read(), actual);
    if (updating())
        return writeReference(path, actual);
    const QImage expected(path);
    if (expected.isNull())
        QSKIP(qPrintable("no reference " + path + ": make one with 'make golden'"));
    const ImageDifference difference = ImageDifference::between(actual, expected);
    if (!difference.acceptable())
        keepEvidence(name, actual, difference);
    QVERIFY2(difference.acceptable(), qPrintable(name + ": " + difference.describe()));
}

void TestGoldenFrames::writeReference(const QString& path, const QImage& image)
{
    QVERIFY(QDir().mkpath(referenceDirectory()));
    QVERIFY2(image.save(path, "png"), qPrintable("cannot write " + path));
    qInfo("wrote %s", qPrintable(path));
}

void TestGoldenFrames::keepEvidence(const QString& name, const QImage& actual,
                                    const ImageDifference& difference)
{
    const QString directory = QStringLiteral(QUENVARIX_BINARY_DIR "/golden-diff");
    QDir().mkpath(directory);
    actual.save(directory + "/" + name + "-actual.png");
    difference.map.save(directory + "/" + name + "-diff.png");
    qWarning("frame and difference map kept in %s", qPrintable(directory));
}

namespace {
// A black frame with a checkered 40 x 30 "box" and a plain 6 x 6 one.
QImage scene(int boxX = 100, QColor tint = Qt::white, bool textured = true, bool small = true)
{
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool light = !textured || ((x / 5 + y / 5) % 2 == 0);
            const QColor c = light ? tint : tint.darker(300);
            painter.setPen(textured ? c : tint.darker(150));
            painter.drawPoint(boxX + x, 60 + y);
        }
    if (small)
        painter.fillRect(250, 120, 6, 6, QColor(80, 120, 255));
    return image;
}

QImage withNoise(QImage image, int counts)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int n = (x + y) % 2 ? counts : -counts;
            image.setPixel(x, y, qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                                      qBound(0, qBlue(p) + n, 255)));
        }
    return image;
}
}  // namespace

void TestGoldenFrames::toleranceCatchesRealChanges_data()
{
    QTest::addColumn<QImage>("actual");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("same") << scene() << true;
    QTest::newRow("colour rounding") << withNoise(scene(), 12) << true;
    QTest::newRow("edges one pixel over") << scene(101) << true;
    QTest::newRow("moved") << scene(106) << false;
    QTest::newRow("small object missing") << scene(100, Qt::white, true, false) << false;
    QTest::newRow("recoloured") << scene(100, QColor(255, 160, 160)) << false;
    QTest::newRow("untextured") << scene(100, Qt::white, false) << false;
    QTest::newRow("other size") << scene().scaled(160, 90) << false;
}

void TestGoldenFrames::toleranceCatchesRealChanges()
{
    QFETCH(QImage, actual);
    QFETCH(bool, acceptable);
    const ImageDifference difference = ImageDifference::between(actual, scene());
    QVERIFY2(difference.acceptable() == acceptable, qPrintable(difference.describe()));
}

QTEST_MAIN(TestGoldenFrames)
#include "tst_goldenframes.moc"

// The translation, colour and scale steps, and which key-frame value types
// each controller accepts under Qt 5's variant conversions.
#include "colorcontroller.h"
#include "manualtime.h"
#include "scalecontroller.h"
#include "translationcontroller.h"
#include "worldobject.h"

#include <QtTest>

namespace {

QColor rgbaF(double r, double g, double b, double a)
{
    QColor color;
    color.setRgbF(r, g, b, a);
    return color;
}

// One step of `controller` on `node` towards `value` with the given factor.
bool stepTowards(KeyFrameController& controller, WorldObject& node, const QVariant& value,
                 float factor)
{
    controller.SetParent(&node);
    KeyFrameController::KeyFrame frame{100, value};
    return controller.DataUpdate(20, &frame, factor);
}

}  // namespace

class TestValueControllers : public QObject
{
    Q_OBJECT

private slots:
    void translationStep_data();
    void translationStep();
    void colorStep_data();
    void colorStep();
    void scaleStep_data();
    void scaleStep();
    void translationTargets_data();
    void translationTargets();
    void colorTargets_data();
    void colorTargets();
    void scaleTargets_data();
    void scaleTargets();
    void addedKeyFramesHoldTheControllersType();
    void withoutANodeNothingMoves();
    void twoControllersPullInTurn();
    void translationArrivesOnTimeAndFinishes();
};

void TestValueControllers::translationStep_data()
{
    QTest::addColumn<QVector3D>("from");
    QTest::addColumn<QVector3D>("to");
    QTest::addColumn<float>("factor");
    QTest::addColumn<QVector3D>("expected");

    QTest::newRow("a quarter") << QVector3D(0, 0, 0) << QVector3D(10, 0, -20) << 0.25f
                               << QVector3D(2.5f, 0, -5);
    QTest::newRow("all the way") << QVector3D(0.1f, 0.2f, 0.3f) << QVector3D(10, 0, -20) << 1.0f
                                 << QVector3D(10, 0, -20);
    QTest::newRow("not at all") << QVector3D(1, 2, 3) << QVector3D(10, 0, -20) << 0.0f
                                << QVector3D(1, 2, 3);
    QTest::newRow("all the way, where a difference in float would round")
        << QVector3D(7, 30, 1) << QVector3D(0.3f, 3.3f, 0.1f) << 1.0f << QVector3D(0.3f, 3.3f, 0.1f);
    QTest::newRow("half way, rounded once") << QVector3D(0.1f, 0, 0) << QVector3D(0.7f, 0, 0) << 0.5f
                                            << QVector3D(0.4f, 0, 0);
}

void TestValueControllers::translationStep()
{
    QFETCH(QVector3D, from);
    QFETCH(QVector3D, to);
    QFETCH(float, factor);
    QFETCH(QVector3D, expected);

    WorldObject node(nullptr, "node");
    node.m_transform.translation = from;
    TranslationController controller;
    QCOMPARE(stepTowards(controller, node, QVariant::fromValue(to), factor), false);
    QCOMPARE(node.m_transform.translation, expected);  // Qt 5.15 compares QVector3D exactly
}

void TestValueControllers::colorStep_data()
{
    QTest::addColumn<QColor>("from");
    QTest::addColumn<QColor>("to");
    QTest::addColumn<float>("factor");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("half way to transparent") << rgbaF(1, 1, 1, 1) << rgbaF(1, 1, 1, 0) << 0.5f
                                             << rgbaF(1, 1, 1, 0.5);
    QTest::newRow("all the way") << rgbaF(0.3, 0.6, 0.9, 1) << rgbaF(0.1, 0.2, 0.7, 0.25) << 1.0f
                                 << rgbaF(0.1, 0.2, 0.7, 0.25);
    QTest::newRow("from the invalid colour, as opaque black") << QColor() << rgbaF(1, 1, 1, 0)
                                                              << 0.5f << rgbaF(0.5, 0.5, 0.5, 0.5);
}

void TestValueControllers::colorStep()
{
    QFETCH(QColor, from);
    QFETCH(QColor, to);
    QFETCH(float, factor);
    QFETCH(QColor, expected);

    WorldObject node(nullptr, "node");
    node.m_transform.color = from;
    ColorController controller;
    QCOMPARE(stepTowards(controller, node, QVariant::fromValue(to), factor), false);
    QCOMPARE(node.m_transform.color, expected);
}

void TestValueControllers::scaleStep_data()
{
    QTest::addColumn<float>("from");
    QTest::addColumn<float>("to");
    QTest::addColumn<float>("factor");
    QTest::addColumn<float>("expected");

    QTest::newRow("a tenth") << 1.0f << 10.0f << 0.1f << 1.9f;
    QTest::newRow("all the way") << 0.3f << 7.0f << 1.0f << 7.0f;
    QTest::newRow("shrinking half way") << 4.0f << 0.0f << 0.5f << 2.0f;
}

void TestValueControllers::scaleStep()
{
    QFETCH(float, from);
    QFETCH(float, to);
    QFETCH(float, factor);
    QFETCH(float, expected);

    WorldObject node(nullptr, "node");
    node.m_transform.scale = from;
    ScaleController controller;
    QCOMPARE(stepTowards(controller, node, QVariant::fromValue(to), factor), false);
    QVERIFY2(node.m_transform.scale == expected, qPrintable(QString::number(node.m_transform.scale, 'g', 9)));
}

void TestValueControllers::translationTargets_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVector3D>("expected");

    const QVector3D unchanged(1, 1, 1);
    QTest::newRow("QVector3D") << QVariant::fromValue(QVector3D(4, 5, 6)) << QVector3D(4, 5, 6);
    QTest::newRow("float") << QVariant::fromValue(7.0f) << unchanged;
    QTest::newRow("double") << QVariant(7.0) << unchanged;
    QTest::newRow("QVector4D") << QVariant::fromValue(QVector4D(4, 5, 6, 7)) << unchanged;
    QTest::newRow("QVector2D") << QVariant::fromValue(QVector2D(4, 5)) << unchanged;
    QTest::newRow("string") << QVariant(QString("4,5,6")) << unchanged;
    QTest::newRow("empty variant") << QVariant() << unchanged;
}

void TestValueControllers::translationTargets()
{
    QFETCH(QVariant, value);
    QFETCH(QVector3D, expected);

    WorldObject node(nullptr, "node");
    node.m_transform.translation = QVector3D(1, 1, 1);
    TranslationController controller;
    stepTowards(controller, node, value, 1.0f);
    QCOMPARE(node.m_transform.translation, expected);
}

void TestValueControllers::colorTargets_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QColor>("expected");

    const QColor unchanged = rgbaF(1, 1, 1, 1);
    QTest::newRow("QColor") << QVariant::fromValue(QColor(Qt::red)) << rgbaF(1, 0, 0, 1);
    QTest::newRow("colour name") << QVariant(QString("blue")) << rgbaF(0, 0, 1, 1);
    QTest::newRow("#rrggbb string") << QVariant(QString("#00ff00")) << rgbaF(0, 1, 0, 1);
    QTest::newRow("name in bytes") << QVariant(QByteArray("red")) << rgbaF(1, 0, 0, 1);
    QTest::newRow("unknown name reads as opaque black") << QVariant(QString("nocolour"))
                                                        << rgbaF(0, 0, 0, 1);
    QTest::newRow("int") << QVariant(0xff0000) << unchanged;
    QTest::newRow("QVector3D") << QVariant::fromValue(QVector3D(1, 0, 0)) << unchanged;
    QTest::newRow("empty variant") << QVariant() << unchanged;
}

void TestValueControllers::colorTargets()
{
    QFETCH(QVariant, value);
    QFETCH(QColor, expected);

    WorldObject node(nullptr, "node");
    ColorController controller;
    stepTowards(controller, node, value, 1.0f);
    QCOMPARE(node.m_transform.color, expected);
}

void TestValueControllers::scaleTargets_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<float>("expected");

    QTest::newRow("float") << QVariant::fromValue(2.5f) << 2.5f;
    QTest::newRow("double") << QVariant(3.0) << 3.0f;
    QTest::newRow("int") << QVariant(4) << 4.0f;
    QTest::newRow("numeric string") << QVariant(QString("5.5")) << 5.5f;
    QTest::newRow("other string reads as 0") << QVariant(QString("big")) << 0.0f;
    QTest::newRow("QVector3D") << QVariant::fromValue(QVector3D(2, 2, 2)) << 1.0f;
    QTest::newRow("QColor") << QVariant::fromValue(QColor(Qt::red)) << 1.0f;
    QTest::newRow("empty variant") << QVariant() << 1.0f;
}

void TestValueControllers::scaleTargets()
{
    QFETCH(QVariant, value);
    QFETCH(float, expected);

    WorldObject node(nullptr, "node");
    ScaleController controller;
    stepTowards(controller, node, value, 1.0f);
    QCOMPARE(node.m_transform.scale, expected);
}

void TestValueControllers::addedKeyFramesHoldTheControllersType()
{
    TranslationController translation;
    translation.AddKeyFrame(10, 1, 2, 3);
    translation.AddKeyFrame(20, QVector3D(4, 5, 6));
    ColorController color;
    color.AddKeyFrame(10, 1, 0.5f, 0, 0.25f);

    QCOMPARE(translation.GetKeyFrames()[0]->value.userType(), qMetaTypeId<QVector3D>());
    QCOMPARE(translation.GetKeyFrames()[0]->value.value<QVector3D>(), QVector3D(1, 2, 3));
    QCOMPARE(translation.GetKeyFrames()[1]->value.value<QVector3D>(), QVector3D(4, 5, 6));
    QCOMPARE(color.GetKeyFrames()[0]->value.userType(), qMetaTypeId<QColor>());
    QCOMPARE(color.GetKeyFrames()[0]->value.value<QColor>(), rgbaF(1, 0.5, 0, 0.25));
}

void TestValueControllers::withoutANodeNothingMoves()
{
    KeyFrameController::KeyFrame frame{100, QVariant::fromValue(QVector3D(1, 1, 1))};
    TranslationController translation;
    QCOMPARE(translation.DataUpdate(20, &frame, 1.0f), false);
    frame.value = QVariant::fromValue(QColor(Qt::red));
    ColorController color;
    QCOMPARE(color.DataUpdate(20, &frame, 1.0f), false);
    frame.value = QVariant(2.0);
    ScaleController scale;
    QCOMPARE(scale.DataUpdate(20, &frame, 1.0f), false);
}

void TestValueControllers::twoControllersPullInTurn()
{
    ManualTime clock(50);
    WorldObject node(nullptr, "node");
    auto* right = new TranslationController;
    right->SetParent(&node);
    right->AddKeyFrame(100, 10, 0, 0);
    auto* up = new TranslationController;
    up->SetParent(&node);
    up->AddKeyFrame(100, 0, 10, 0);
    node.AddController(right);
    node.AddController(up);

    node.Update(25);  // factor 0.5 each: x to 5, then x back to 2.5 and y to 5

    QCOMPARE(node.m_transform.translation, QVector3D(2.5f, 5, 0));
}

void TestValueControllers::translationArrivesOnTimeAndFinishes()
{
    ManualTime clock;
    WorldObject node(nullptr, "node");
    auto* controller = new TranslationController;
    controller->SetParent(&node);
    controller->AddKeyFrame(100, 100, 0, -50);
    node.AddController(controller);

    QList<float> xs;
    for (int now = 20; now < 100; now += 20) {
        clock.step(&node, now);
        xs << node.m_transform.translation.x();
    }
    QCOMPARE(xs, QList<float>({25, 50, 75, 100}));  // even steps, there before 100
    QCOMPARE(node.m_transform.translation, QVector3D(100, 0, -50));

    clock.step(&node, 100);
    QVERIFY(node.GetControllers().isEmpty());
}

QTEST_GUILESS_MAIN(TestValueControllers)
#include "tst_valuecontrollers.moc"

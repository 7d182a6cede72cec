#include "demotree.h"
#include "effects.h"
#include "manualtime.h"
#include "random.h"

#include <QtTest>

#include <climits>
#include <cstdlib>
#include <memory>

class TestEffects : public QObject
{
    Q_OBJECT

private:
    static ColorController* onlyColorController(const WorldObject& node)
    {
        const QList<ColorController*> controllers = controllersOf<ColorController>(&node);
        return controllers.size() == 1 ? controllers.first() : nullptr;
    }
    static bool isSorted(const QList<int>& times)
    {
        return std::is_sorted(times.begin(), times.end());
    }
    static bool hasWhiteFrame(const KeyFrameController* c, int time, qreal alpha)
    {
        for (const KeyFrameController::KeyFrame* frame : c->GetKeyFrames()) {
            const QColor color = frameColor(frame);
            if (frame->time == time && color.alphaF() == alpha && color.redF() == 1.0
                && color.greenF() == 1.0 && color.blueF() == 1.0)
                return true;
        }
        return false;
    }

private slots:
    void getRandStaysInItsRange_data();
    void getRandStaysInItsRange();
    void getRandFollowsTheSeededGenerator();
    void getRandFloatStaysInItsRange_data();
    void getRandFloatStaysInItsRange();
    void getRandFloatFollowsTheSeededGenerator();

    void flickersKeepToTheirWindow_data();
    void flickersKeepToTheirWindow();
    void quadScratchFinalFrame_data();
    void quadScratchFinalFrame();
    void nameFlasherHoldsInTheMiddle();
    void randomFlashingOverAShortWindowOnlyHolds();
    void flashTargets_data();
    void flashTargets();
    void whiteFlashQuad();
    void effectsStack();
    void nullTargetIsIgnored();
    void quadScratchEndsTransparent();
};

void TestEffects::getRandStaysInItsRange_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("single value") << 5 << 5 << 5 << 5;
    QTest::newRow("hop height") << -20 << -5 << -20 << -5;
    QTest::newRow("step") << 50 << 100 << 50 << 100;
    QTest::newRow("reversed") << 6 << 1 << 1 << 6;
    QTest::newRow("empty when read literally") << 5 << 4 << 4 << 5;
    QTest::newRow("whole int range") << INT_MIN << INT_MAX << INT_MIN << INT_MAX;
}

void TestEffects::getRandStaysInItsRange()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, low);
    QFETCH(int, high);
    srand(7);
    for (int i = 0; i < 2000; ++i) {
        const int value = get_rand(a, b);
        QVERIFY2(low <= value && value <= high, qPrintable(QString::number(value)));
    }
}

// The demo is the same on every run only if each draw is exactly one rand().
void TestEffects::getRandFollowsTheSeededGenerator()
{
    srand(0);
    const int first = rand(), second = rand();
    srand(0);
    QCOMPARE(get_rand(500, 2000), 500 + first % 1501);
    QCOMPARE(get_rand(-25, -10), -25 + second % 16);
}

void TestEffects::getRandFloatStaysInItsRange_data()
{
    QTest::addColumn<float>("lo");
    QTest::addColumn<float>("hi");
    QTest::newRow("blue") << 0.7f << 1.0f;
    QTest::newRow("red and green") << 0.0f << 0.3f;
    QTest::newRow("single value") << 0.5f << 0.5f;
    QTest::newRow("reversed") << 1.0f << 0.7f;
    QTest::newRow("negative") << -2.0f << -1.5f;
}

void TestEffects::getRandFloatStaysInItsRange()
{
    QFETCH(float, lo);
    QFETCH(float, hi);
    const float low = std::min(lo, hi), high = std::max(lo, hi);
    srand(3);
    for (int i = 0; i < 5000; ++i) {
        const float value = get_rand_float(lo, hi);
        QVERIFY2(low <= value && value <= high, qPrintable(QString::number(value, 'g', 9)));
    }
}

void TestEffects::getRandFloatFollowsTheSeededGenerator()
{
    srand(0);
    const long long r = rand();
    srand(0);
    // 0.7f scaled by 2^31 is exactly 1503238528; 1.0 is 2^31.
    const long long low = 1503238528LL, high = 2147483648LL;
    QCOMPARE(get_rand_float(0.7f, 1.0f), float(double(low + r % (high - low + 1)) / 2147483648.0));
}

void TestEffects::flickersKeepToTheirWindow_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("maxFrames");
    QTest::newRow("quad_scratch 1000 ms") << 0 << 1000 << 2000 << 21;
    QTest::newRow("quad_scratch intro") << 0 << 5000 << 7300 << 47;
    QTest::newRow("name_flasher") << 1 << 37000 << 38500 << 19;
    QTest::newRow("name_flasher crossing holds") << 1 << 1000 << 1600 << 19;
    QTest::newRow("random_color_flashing") << 2 << 27500 << 36000 << 25;
}

void TestEffects::flickersKeepToTheirWindow()
{
    QFETCH(int, effect);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, maxFrames);
    WorldObject node(nullptr, "node");
    srand(0);
    if (effect == 0)
        quad_scratch(&node, start, end, true);
    else if (effect == 1)
        name_flasher(&node, start, end);
    else
        random_color_flashing(&node, start, end);
    ColorController* controller = onlyColorController(node);
    QVERIFY(controller);
    QCOMPARE(controller->GetParent(), &node);
    QCOMPARE(controller->GetStart(), start);
    QCOMPARE(controller->GetEnd(), end);
    QCOMPARE(controller->GetRepeat(), 21211);
    const QList<int> times = frameTimes(controller);
    QVERIFY(isSorted(times));
    QVERIFY(times.first() >= start && times.last() <= end);
    QVERIFY(times.size() <= maxFrames);
    for (const KeyFrameController::KeyFrame* frame : controller->GetKeyFrames())
        QCOMPARE(frameColor(frame).rgb(), QColor(Qt::white).rgb());
}

void TestEffects::quadScratchFinalFrame_data()
{
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("fadeOut");
    QTest::addColumn<int>("frames");
    QTest::newRow("fade out") << 2000 << true << -1;
    QTest::newRow("stay lit") << 2000 << false << -1;
    QTest::newRow("shorter than a step") << 1099 << true << 1;
}

void TestEffects::quadScratchFinalFrame()
{
    QFETCH(int, end);
    QFETCH(bool, fadeOut);
    QFETCH(int, frames);
    WorldObject node(nullptr, "node");
    quad_scratch(&node, 1000, end, fadeOut);
    const ColorController* controller = onlyColorController(node);
    QCOMPARE(controller->GetKeyFrames().last()->time, end);
    QVERIFY(hasWhiteFrame(controller, end, fadeOut ? 0.0 : 1.0));
    if (frames >= 0)
        QCOMPARE(controller->GetKeyFrames().size(), frames);
}

void TestEffects::nameFlasherHoldsInTheMiddle()
{
    WorldObject node(nullptr, "node");
    name_flasher(&node, 37000, 38500);
    const ColorController* controller = onlyColorController(node);
    QVERIFY(hasWhiteFrame(controller, 37500, 1.0));
    QVERIFY(hasWhiteFrame(controller, 38000, 1.0));
    QVERIFY(hasWhiteFrame(controller, 38450, 0.0));
    // The fade-in walk: four pairs of 50 to 100 ms steps from the start.
    const QList<int> times = frameTimes(controller);
    QVERIFY(times.first() >= 37050 && times.first() <= 37100);
    QVERIFY(times.at(7) >= 37400 && times.at(7) <= 37800);
}

void TestEffects::randomFlashingOverAShortWindowOnlyHolds()
{
    WorldObject node(nullptr, "node");
    random_color_flashing(&node, 1000, 1999);
    const ColorController* controller = onlyColorController(node);
    QCOMPARE(frameTimes(controller), QList<int>{1999});
    QVERIFY(hasWhiteFrame(controller, 1999, 1.0));
}

void TestEffects::flashTargets_data()
{
    QTest::addColumn<bool>("hold");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QList<QColor>>("colors");
    const QColor red = QColor::fromRgbF(1, 0, 0, 0.5);
    QTest::newRow("there and back") << false << QList<int>{1500, 2001}
                                    << QList<QColor>{red, QColor(Qt::white)};
    QTest::newRow("hold") << true << QList<int>{2001} << QList<QColor>{red};
}

void TestEffects::flashTargets()
{
    QFETCH(bool, hold);
    QFETCH(QList<int>, times);
    QFETCH(QList<QColor>, colors);
    WorldObject node(nullptr, "node");
    flash(&node, 1000, 2001, 1, 0, 0, 0.5, hold);
    const ColorController* controller = onlyColorController(node);
    QCOMPARE(controller->GetRepeat(), -1);
    QCOMPARE(frameTimes(controller), times);
    for (int i = 0; i < colors.size(); ++i)
        QCOMPARE(frameColor(controller->GetKeyFrames().at(i)), colors.at(i));
}

void TestEffects::whiteFlashQuad()
{
    std::unique_ptr<WorldObject> quad(white_flash_quad(1000, 3000));
    auto* model = dynamic_cast<ModelObject*>(quad.get());
    QVERIFY(model);
    QCOMPARE(model->NumFaces(), 1);
    QCOMPARE(model->GetPoints().first()->m_transform.translation, QVector3D(-100, -100, 0));
    QCOMPARE(textureOf(model), nullptr);
    QCOMPARE(quad->GetParent(), nullptr);
    QCOMPARE(quad->GetEnd(), 0);
    QCOMPARE(quad->m_transform.color, QColor::fromRgbF(1, 1, 1, 0));
    const ColorController* controller = onlyColorController(*quad);
    QCOMPARE(controller->GetRepeat(), -1);
    QCOMPARE(frameTimes(controller), (QList<int>{2000, 3000}));
    QCOMPARE(frameColor(controller->GetKeyFrames().at(0)), QColor::fromRgbF(1, 1, 1, 1));
    QCOMPARE(frameColor(controller->GetKeyFrames().at(1)), QColor::fromRgbF(1, 1, 1, 0));
}

void TestEffects::effectsStack()
{
    WorldObject node(nullptr, "node");
    name_flasher(&node, 1000, 2500);
    name_flasher(&node, 1000, 2500);
    const QList<ColorController*> controllers = controllersOf<ColorController>(&node);
    QCOMPARE(controllers.size(), 2);
    QVERIFY(controllers.at(0) != controllers.at(1));
}

void TestEffects::nullTargetIsIgnored()
{
    quad_scratch(nullptr, 0, 1000, true);
    name_flasher(nullptr, 0, 1000);
    random_color_flashing(nullptr, 0, 5000);
    flash(nullptr, 0, 1000, 1, 1, 1, 1, false);
}

// The intro picture flickers and is left dark until its window closes.
void TestEffects::quadScratchEndsTransparent()
{
    WorldObject node(nullptr, "screen");
    srand(0);
    quad_scratch(&node, 5000, 7300, true);
    ManualTime clock(4980);
    clock.step(&node, 4980);
    for (int ms = 5000; ms <= 7300; ms += 20)
        clock.step(&node, ms);
    QCOMPARE(node.m_transform.color.alphaF(), 0.0);
    clock.step(&node, 8000);
    QCOMPARE(node.m_transform.color.alphaF(), 0.0);
}

QTEST_GUILESS_MAIN(TestEffects)
#include "tst_effects.moc"

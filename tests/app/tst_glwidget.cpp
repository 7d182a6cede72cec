// The frame loop: timer period rules and the self-correcting re-arm, driven
// on a manual engine clock so every figure is exact.
#include "engine.h"
#include "glwidget.h"
#include "manualtime.h"

#include <QKeyEvent>
#include <QTimer>
#include <QtTest>

namespace {

// A widget whose frames "take" a chosen number of ms of engine time and
// which records the dt of every tick instead of driving the engine.
class TimedWidget : public GLWidget
{
public:
    TimedWidget() : GLWidget(50, nullptr) { ForceTimer(); }
    void update(float dt) override
    {
        dts.append(dt);
        Engine::GetInstance()->SetManualTime(Engine::GetInstance()->GetCurrentTime() + frameCost);
    }
    void tick() { QMetaObject::invokeMethod(this, "timeOutSlot", Qt::DirectConnection); }

    int frameCost = 0;
    QList<float> dts;
};

// A shown widget whose GL callbacks leave the engine alone, for key tests.
class QuietWidget : public GLWidget
{
public:
    QuietWidget() : GLWidget(50, nullptr) {}

protected:
    void initializeGL() override {}
    void resizeGL(int, int) override {}
    void paintGL() override {}
};

} // namespace

class TestGLWidget : public QObject
{
    Q_OBJECT

private slots:
    void timeFromFps_data();
    void timeFromFps();
    void fpsFromTime_data();
    void fpsFromTime();
    void timerStartsWithThePeriod();
    void rearm_data();
    void rearm();
    void dtIsWholeMsSincePreviousTick();
    void tickBeforeClockPassesZero();
    void escapeClosesOtherKeysDoNothing();
};

void TestGLWidget::timeFromFps_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<int>("period");
    QTest::newRow("50") << 50 << 20;
    QTest::newRow("60 truncates") << 60 << 16;
    QTest::newRow("0") << 0 << 1000;
    QTest::newRow("1000") << 1000 << 1;
}

void TestGLWidget::timeFromFps()
{
    QFETCH(int, fps);
    QFETCH(int, period);
    QCOMPARE(GLWidget::timeFromFps(fps), period);
}

void TestGLWidget::fpsFromTime_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("fps");
    QTest::newRow("20") << 20 << 50;
    QTest::newRow("0") << 0 << 1000;
    QTest::newRow("3 truncates") << 3 << 333;
}

void TestGLWidget::fpsFromTime()
{
    QFETCH(int, ms);
    QFETCH(int, fps);
    QCOMPARE(GLWidget::fpsFromTime(ms), fps);
}

void TestGLWidget::timerStartsWithThePeriod()
{
    GLWidget widget(50, nullptr);
    QVERIFY(widget.GetTimer()->isActive());
    QCOMPARE(widget.GetTimer()->interval(), 20);
    QVERIFY(!widget.GetTimer()->isSingleShot());
}

void TestGLWidget::rearm_data()
{
    QTest::addColumn<int>("frameCost");
    QTest::addColumn<int>("interval");
    QTest::newRow("7 ms frame leaves 13") << 7 << 13;
    QTest::newRow("instant frame leaves the period") << 0 << 20;
    QTest::newRow("19 ms frame leaves 1") << 19 << 1;
    QTest::newRow("exactly the period waits 5, not 0") << 20 << 5;
    QTest::newRow("overrun waits 5") << 45 << 5;
}

void TestGLWidget::rearm()
{
    QFETCH(int, frameCost);
    QFETCH(int, interval);
    ManualTime clock(1000);
    TimedWidget widget;
    widget.frameCost = frameCost;
    widget.tick();
    QCOMPARE(widget.GetTimer()->interval(), interval);
    QVERIFY(widget.GetTimer()->isActive());
}

void TestGLWidget::dtIsWholeMsSincePreviousTick()
{
    ManualTime clock(1234);  // first tick after Init: all the time since the clock started
    TimedWidget widget;
    widget.tick();
    clock.set(1260);
    widget.tick();
    clock.set(1261);
    widget.tick();
    QCOMPARE(widget.dts, (QList<float>{1234.0f, 26.0f, 1.0f}));
}

void TestGLWidget::tickBeforeClockPassesZero()
{
    ManualTime clock(0);
    TimedWidget widget;
    widget.tick();
    widget.tick();
    QCOMPARE(widget.dts, (QList<float>{0.0f, 0.0f}));
}

void TestGLWidget::escapeClosesOtherKeysDoNothing()
{
    QuietWidget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::keyClick(&widget, Qt::Key_Space);
    QTest::keyClick(&widget, Qt::Key_Q);
    QVERIFY(widget.isVisible());
    QTest::keyClick(&widget, Qt::Key_Escape);
    QVERIFY(!widget.isVisible());
}

QTEST_MAIN(TestGLWidget)
#include "tst_glwidget.moc"

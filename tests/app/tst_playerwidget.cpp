// The player's window: after --start the first picture is the frame the
// capture tool renders at that time (the golden frame), and with --dev the
// keys pause the picture and step it on the frame grid.
#include "../tools/imagedifference.h"
#include "engine.h"
#include "playerwidget.h"
#include "transport.h"

#include <QTimer>
#include <QtTest>

class TestPlayerWidget : public QObject
{
    Q_OBJECT

private slots:
    void startShowsTheCapturedFrame();
    void devKeysPauseAndStep();
    void loopStartsAgainAfterTheEnd();
};

namespace {
PlayerOptions silentWindow(int start, bool dev = false)
{
    PlayerOptions options;
    options.windowed = true;
    options.size = QSize(320, 180);  // the golden frames' size
    options.start = start;
    options.mute = true;
    options.dev = dev;
    return options;
}

int engineTime()
{
    return Engine::GetInstance()->GetCurrentTime();
}
}  // namespace

void TestPlayerWidget::startShowsTheCapturedFrame()
{
    PlayerWidget widget(silentWindow(30000));
    widget.GetTimer()->stop();  // the picture stays that of the start
    widget.resize(320, 180);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    const QImage expected(QStringLiteral(QUENVARIX_SOURCE_DIR "/tests/data/golden/scenery_30000.png"));
    QVERIFY(!expected.isNull());
    const ImageDifference difference = ImageDifference::between(widget.grabFramebuffer(), expected);
    QVERIFY2(difference.acceptable(), qPrintable(difference.describe()));
}

void TestPlayerWidget::devKeysPauseAndStep()
{
    PlayerWidget widget(silentWindow(20000, true));
    widget.resize(320, 180);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::keyClick(&widget, Qt::Key_Space);
    QVERIFY(widget.GetTransport()->isPaused());
    const int held = engineTime();
    QTest::keyClick(&widget, Qt::Key_Period);
    QCOMPARE(engineTime(), held - held % 20 + 20);
    QTest::keyClick(&widget, Qt::Key_Home);
    QCOMPARE(engineTime(), 0);
    QTest::qWait(50);
    QCOMPARE(engineTime(), 0);
    QTest::keyClick(&widget, Qt::Key_Space);
    QTRY_VERIFY(engineTime() > 0);
}

void TestPlayerWidget::loopStartsAgainAfterTheEnd()
{
    PlayerOptions options = silentWindow(45900);
    options.loop = true;
    PlayerWidget widget(options);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTRY_VERIFY_WITH_TIMEOUT(engineTime() < 1000, 10000);
}

QTEST_MAIN(TestPlayerWidget)
#include "tst_playerwidget.moc"

#include "framestep.h"

#include <QtTest>

// The three questions asked of the frame grid must give one grid.
class TestFrameStep : public QObject
{
    Q_OBJECT

private slots:
    void answersAgree_data();
    void answersAgree();
};

void TestFrameStep::answersAgree_data()
{
    QTest::addColumn<int>("fps");
    for (int fps : {1, 7, 30, 50, 60, 144, 1000})
        QTest::addRow("%d fps", fps) << fps;
}

void TestFrameStep::answersAgree()
{
    QFETCH(int, fps);
    QCOMPARE(frameStepTime(fps * 46, fps), 46000);  // no drift
    for (int ms = 0; ms <= 2100; ++ms) {
        const int step = frameStepAtOrBefore(ms, fps);
        QVERIFY(frameStepTime(step, fps) <= ms && ms < frameStepTime(step + 1, fps));
        QCOMPARE(frameStepsBefore(ms + 1, fps), step + 1);
    }
    QCOMPARE(frameStepsBefore(0, fps), 0);
}

QTEST_APPLESS_MAIN(TestFrameStep)
#include "tst_framestep.moc"

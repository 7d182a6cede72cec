#include "frameclock.h"

#include <QtTest>

class TestFrameClock : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void stepsNeverDrift();
};

void TestFrameClock::frames_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QVector<int>>("firstTimes");  // the first frames' engine times
    QTest::addColumn<int>("frameCount");
    QTest::addColumn<int>("lastTime");
    QTest::addColumn<int>("prerollCount");

    QTest::newRow("whole demo at 50") << 0 << 46000 << 50 << QVector<int>{0, 20, 40} << 2300
                                      << 45980 << 0;
    QTest::newRow("30 fps steps 33, 33, 34") << 0 << 1000 << 30
                                             << QVector<int>{0, 33, 66, 100, 133} << 30 << 966 << 0;
    QTest::newRow("partial last step counts") << 0 << 41 << 50 << QVector<int>{0, 20, 40} << 3
                                              << 40 << 0;
    QTest::newRow("late start pre-rolls on the grid from 0")
        << 1003 << 1050 << 50 << QVector<int>{1003, 1023, 1043} << 3 << 1043 << 51;
    QTest::newRow("one frame per millisecond") << 10 << 15 << 1000
                                               << QVector<int>{10, 11, 12, 13, 14} << 5 << 14 << 10;
    QTest::newRow("one still") << 47000 << 47001 << 50 << QVector<int>{47000} << 1 << 47000
                               << 2350;
}

void TestFrameClock::frames()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, fps);
    QFETCH(QVector<int>, firstTimes);
    QFETCH(int, frameCount);
    QFETCH(int, prerollCount);
    const FrameClock clock(from, to, fps);
    for (int i = 0; i < firstTimes.size(); ++i)
        QCOMPARE(clock.frameTime(i), firstTimes.at(i));
    QCOMPARE(clock.frameCount(), frameCount);
    QTEST(clock.frameTime(frameCount - 1), "lastTime");
    QVERIFY(clock.frameTime(frameCount) >= to);
    QCOMPARE(clock.prerollCount(), prerollCount);
    if (prerollCount > 0) {
        QCOMPARE(clock.prerollTime(0), 0);
        QVERIFY(clock.prerollTime(prerollCount - 1) < from);
        QVERIFY(clock.prerollTime(prerollCount) >= from);
    }
}

// At 30 fps frame 30k falls exactly on from + 1000 k, however long the run.
void TestFrameClock::stepsNeverDrift()
{
    const FrameClock clock(5000, 46000, 30);
    for (int second = 0; second < 41; ++second)
        QCOMPARE(clock.frameTime(30 * second), 5000 + 1000 * second);
    QCOMPARE(clock.durationSeconds(), 41.0);
}

QTEST_GUILESS_MAIN(TestFrameClock)
#include "tst_frameclock.moc"

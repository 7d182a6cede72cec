// Which pacing the frame loop takes from the first swaps, and how it counts
// refreshes that show a picture again.
#include "framepacing.h"

#include <QtTest>

namespace {
// Feeds swaps that each wait `waits[i]` ms and return `intervals[i]` ms
// after the previous one, round and round, until the pacing is decided;
// `at` is the return of the last one.
FramePacing watch(const QVector<double>& intervals, const QVector<double>& waits,
                  double* last = nullptr)
{
    FramePacing pacing;
    double at = 100;
    for (int i = 0; pacing.mode() == FramePacing::Mode::Probing && i < 1000; ++i) {
        at += intervals[i % intervals.size()];
        pacing.swapped(at - waits[i % waits.size()], at);
    }
    if (last)
        *last = at;
    return pacing;
}
}  // namespace

class TestFramePacing : public QObject
{
    Q_OBJECT

private slots:
    void modeFromTheSwaps_data();
    void modeFromTheSwaps();
    void forcedTimerNeedsNoWatching();
    void repeatsAreRefreshesWithoutANewPicture();
};

void TestFramePacing::modeFromTheSwaps_data()
{
    QTest::addColumn<QVector<double>>("intervals");
    QTest::addColumn<QVector<double>>("waits");
    QTest::addColumn<bool>("display");
    QTest::addColumn<double>("period");
    QTest::newRow("virtual X server: the swap returns at once")
        << QVector<double>{4.1, 3.9} << QVector<double>{0.7} << false << 0.0;
    QTest::newRow("60 Hz") << QVector<double>{16.67} << QVector<double>{12.0} << true << 16.67;
    QTest::newRow("60 Hz, one swap returned 15 ms late")
        << QVector<double>{16.67, 16.67, 31.67, 1.67, 16.67} << QVector<double>{12.0} << true
        << 16.67;
    QTest::newRow("144 Hz, every other frame over the period")
        << QVector<double>{6.94, 13.89} << QVector<double>{1.4, 6.3} << true << 6.94;
    QTest::newRow("compositor repainting at 40 Hz")
        << QVector<double>{25.0} << QVector<double>{20.0} << true << 25.0;
    QTest::newRow("busy machine, slow swap in a long frame")
        << QVector<double>{20.0} << QVector<double>{2.5} << false << 0.0;
}

void TestFramePacing::modeFromTheSwaps()
{
    QFETCH(QVector<double>, intervals);
    QFETCH(QVector<double>, waits);
    QFETCH(bool, display);
    QFETCH(double, period);
    const FramePacing pacing = watch(intervals, waits);
    QCOMPARE(pacing.mode(), display ? FramePacing::Mode::Display : FramePacing::Mode::Timer);
    QCOMPARE(pacing.refreshPeriod(), period);
}

void TestFramePacing::forcedTimerNeedsNoWatching()
{
    QCOMPARE(FramePacing(true).mode(), FramePacing::Mode::Timer);
}

void TestFramePacing::repeatsAreRefreshesWithoutANewPicture()
{
    double at = 0;
    FramePacing pacing = watch({16.67}, {12.0}, &at);
    for (double interval : {16.6, 33.4, 50.1, 16.7}) {
        at += interval;
        pacing.swapped(at - 1, at);
    }
    QCOMPARE(pacing.takeRepeats(), 3);
    QCOMPARE(pacing.takeRepeats(), 0);
}

QTEST_APPLESS_MAIN(TestFramePacing)
#include "tst_framepacing.moc"

// The timing log, line by line, from frames fed by hand.
#include "timinglog.h"

#include <QtTest>

#include <cstdio>

namespace {

QStringList linesOf(FILE* file)
{
    std::rewind(file);
    QStringList lines;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file))
        lines << QString::fromLatin1(buffer).trimmed();
    return lines;
}

} // namespace

class TestTimingLog : public QObject
{
    Q_OBJECT

private slots:
    void clockLineThenOneLinePerSecond();
    void lateMeansLateForThePeriod_data();
    void lateMeansLateForThePeriod();
};

// Frames every 20 ms with one of 40 ms; the track is heard from 1500, 3 ms late.
void TestTimingLog::clockLineThenOneLinePerSecond()
{
    FILE* file = std::tmpfile();
    QVERIFY(file);
    TimingLog log(file);
    log.begin(1796636806011LL);
    int last = 0;
    for (int t = 20; t <= 2010; t += (t == 600 ? 40 : 20)) {
        TimingLog::Audio audio;
        if (t >= 1500)
            audio = {t - 1500 - 3, t - 1500, 1};
        log.frame(t, t - last, audio);
        last = t;
    }
    const QStringList expected{
        "quenvarix: engine time 0 = unix time 1796636806.011",
        "quenvarix: engine 1000 ms, audio -, difference -, frames 49, late 1, longest 40 ms, seeks 0",
        "quenvarix: engine 2000 ms, audio 497 ms, difference -3 ms, frames 50, late 0, longest 20 ms, seeks 1",
    };
    QCOMPARE(linesOf(file), expected);
    std::fclose(file);
}

void TestTimingLog::lateMeansLateForThePeriod_data()
{
    QTest::addColumn<double>("period");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("late");
    QTest::newRow("--fps 100: 13 ms is late") << 10.0 << 13 << true;
    QTest::newRow("--fps 100: 12 ms is not") << 10.0 << 12 << false;
    QTest::newRow("144 Hz: two refreshes are late") << 6.94 << 14 << true;
    QTest::newRow("60 Hz: one refresh is not") << 16.67 << 17 << false;
    QTest::newRow("--fps 20: 40 ms is late") << 50.0 << 63 << true;
}

void TestTimingLog::lateMeansLateForThePeriod()
{
    QFETCH(double, period);
    QFETCH(int, interval);
    QFETCH(bool, late);
    FILE* file = std::tmpfile();
    QVERIFY(file);
    TimingLog log(file);
    log.begin(0);
    log.pacing(TimingLog::Pacing::Timer, period);
    log.frame(500, interval, {});
    log.frame(1000, qRound(period), {});
    const QString line = linesOf(file).last();
    std::fclose(file);
    QVERIFY2(line.contains(late ? ", late 1," : ", late 0,"), qPrintable(line));
}

QTEST_GUILESS_MAIN(TestTimingLog)
#include "tst_timinglog.moc"

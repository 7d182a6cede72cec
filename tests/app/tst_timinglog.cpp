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

QTEST_GUILESS_MAIN(TestTimingLog)
#include "tst_timinglog.moc"

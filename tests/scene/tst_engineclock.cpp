// Engine time on a fake monotonic source: start, pause, jumps and the manual
// time, as the player's seeking, pausing and offline rendering use them.
#include "clockscript.h"
#include "engineclock.h"

#include <QtTest>

class TestEngineClock : public QObject
{
    Q_OBJECT

private slots:
    void script_data();
    void script();
};

// Each row is a script of steps, "+N" moving the source on N ms, and the
// engine time expected at its end.
void TestEngineClock::script_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("expected");
    QTest::newRow("zero before start") << "+500" << 0;
    QTest::newRow("counts from start") << "+1000 start +250" << 250;
    QTest::newRow("restart counts anew") << "start +300 start +20" << 20;
    QTest::newRow("stop goes back to zero") << "start +300 stop +20" << 0;
    QTest::newRow("pause holds") << "start +100 pause +500" << 100;
    QTest::newRow("resume runs on") << "start +100 pause +500 resume +30" << 130;
    QTest::newRow("second pause keeps the first") << "start +100 pause +50 pause +50 resume" << 100;
    QTest::newRow("resume without pause") << "start +100 resume +10" << 110;
    QTest::newRow("pause before start") << "pause +100 start +10" << 10;
    QTest::newRow("jump runs on") << "start +100 jump5000 +20" << 5020;
    QTest::newRow("jump back") << "start +9000 jump300 +20" << 320;
    QTest::newRow("jump while paused holds") << "start pause jump300 +50" << 300;
    QTest::newRow("jump then resume") << "start pause jump300 +50 resume +10" << 310;
    QTest::newRow("jump starts a stopped clock") << "jump700 +5" << 705;
    QTest::newRow("manual wins") << "start +100 manual77 +50" << 77;
    QTest::newRow("manual before start") << "manual42" << 42;
    QTest::newRow("cleared manual gives the running time") << "start manual77 +50 clear" << 50;
}

void TestEngineClock::script()
{
    QFETCH(QString, steps);
    qint64 source = 1000000000;  // ns
    EngineClock clock([&source] { return source; });
    const QString unknown = playClockScript(&clock, &source, steps);
    QVERIFY2(unknown.isEmpty(), qPrintable("unknown step " + unknown));
    QTEST(clock.now(), "expected");
}

QTEST_GUILESS_MAIN(TestEngineClock)
#include "tst_engineclock.moc"

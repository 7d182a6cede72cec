// When the sound is heard off its place: the times buffers pass the watched
// pad, made up here, with the jitter of a sink that waits for room.
#include "placementwatch.h"

#include <QtTest>

namespace {

const qint64 kMs = 1000000;
const qint64 kBuffer = 23 * kMs;   // a decoded MP3 frame, about
const qint64 kLead = 114 * kMs;    // how far ahead the sink takes the sound
const qint64 kForGood = 1 << 30;   // ms

// One start: `placed` ms off its place throughout, and `late` ms more from
// `from` until `until` (ms after the start); a seek in the playing stream if
// `inStream`, playing `plays` ms.
struct Start
{
    qint64 placed;
    qint64 from;
    qint64 until;
    qint64 late;
    bool inStream = false;
    qint64 plays = 6000;
};
using Starts = QList<Start>;

// Each start plays its time, or until the watch tells (the player then starts
// again); returns what was told of each, in ms.
QList<qint64> watch(const Starts& starts)
{
    PlacementWatch watch;
    QList<qint64> told;
    qint64 zeroAt = 0;
    for (const Start& start : starts) {
        zeroAt += 100000 * kMs;  // each start elsewhere on the monotonic clock
        start.inStream ? watch.resumeAt(zeroAt) : watch.begin(zeroAt);
        for (qint64 position = 0; position < start.plays * kMs && !watch.offPlace(); position += kBuffer) {
            const qint64 ms = position / kMs;
            const qint64 late = start.placed + (ms >= start.from && ms < start.until ? start.late : 0);
            const qint64 jitter = (position / kBuffer * 7919 % 16) * kMs / 10;
            watch.passed(zeroAt + position - kLead + late * kMs + jitter, position);
        }
        told << qRound64(watch.offPlace() / 1e6);
    }
    return told;
}

} // namespace

Q_DECLARE_METATYPE(Starts)

class TestPlacementWatch : public QObject
{
    Q_OBJECT

private slots:
    void toldOnlyWhenOffPlace_data();
    void toldOnlyWhenOffPlace();
    void notToldForRoomInBursts();
};

void TestPlacementWatch::toldOnlyWhenOffPlace_data()
{
    QTest::addColumn<Starts>("starts");
    QTest::addColumn<QList<qint64>>("expected");  // ms of each start, 0 for nothing told
    const Start inPlace{0, 0, 0, 0};
    QTest::newRow("steady") << Starts{inPlace, inPlace} << QList<qint64>{0, 0};
    QTest::newRow("a stall") << Starts{{0, 3000, kForGood, 20}} << QList<qint64>{20};
    QTest::newRow("a stall of a period") << Starts{{0, 3000, kForGood, 6}} << QList<qint64>{6};
    QTest::newRow("a stall under the limit") << Starts{{0, 3000, kForGood, 3}} << QList<qint64>{0};
    QTest::newRow("held up for 0.7 s") << Starts{{0, 3000, 3700, 30}} << QList<qint64>{0};
    QTest::newRow("early while the buffer fills") << Starts{{0, 0, 300, -150}} << QList<qint64>{0};
    // Told within a second, where a look at whole seconds would not be yet.
    QTest::newRow("a stall late in a start") << Starts{{0, 4700, kForGood, 20}} << QList<qint64>{20};
    QTest::newRow("a stall soon after a start") << Starts{inPlace, {0, 1200, kForGood, 10}}
                                                << QList<qint64>{0, 10};
    QTest::newRow("a stall in the first second") << Starts{{0, 800, kForGood, 10}} << QList<qint64>{10};
    // Placed again in the playing stream each time, and late once more at once.
    const Start lateAgain{0, 0, kForGood, 6, true};
    QTest::newRow("stalls one after another")
        << Starts{{0, 3000, kForGood, 6}, lateAgain, lateAgain, lateAgain} << QList<qint64>{6, 6, 6, 6};
    QTest::newRow("in place after a stall") << Starts{{0, 3000, kForGood, 20}, inPlace}
                                            << QList<qint64>{20, 0};
    QTest::newRow("a start placed late") << Starts{inPlace, {8, 0, 0, 0}} << QList<qint64>{0, 8};
    QTest::newRow("a start placed early") << Starts{inPlace, {-8, 0, 0, 0}} << QList<qint64>{0, -8};
    QTest::newRow("early later in a start") << Starts{inPlace, {0, 3000, kForGood, -8}}
                                            << QList<qint64>{0, 0};
    QTest::newRow("placed off under the limit") << Starts{inPlace, {3, 0, 0, 0}} << QList<qint64>{0, 0};
    // Seeks 1.1 s apart, each with its buffer to fill again, and a stall amid them.
    const Start seek{0, 0, 0, 0, true, 1100}, seekAfterStall{0, 0, kForGood, 10, true, 1100};
    QTest::newRow("a stall amid seeks")
        << Starts{{0, 0, 0, 0, false, 1000}, seek, {0, 600, kForGood, 10, true, 1100}, seekAfterStall,
                  seekAfterStall, seekAfterStall}
        << QList<qint64>{0, 0, 0, 0, 0, 10};
    // Told once; the next start, as far off, is the server's new placement.
    const Start moved{30, 0, 0, 0};
    QTest::newRow("the server's placement moved") << Starts{inPlace, moved, moved, moved}
                                                  << QList<qint64>{0, 30, 0, 0};
}

void TestPlacementWatch::toldOnlyWhenOffPlace()
{
    QFETCH(Starts, starts);
    QFETCH(QList<qint64>, expected);
    const QList<qint64> told = watch(starts);
    QCOMPARE(told.size(), expected.size());
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(qAbs(told[i] - expected[i]) <= 2,
                 qPrintable(QString("start %1: told %2 ms").arg(i).arg(told[i])));
}

// PulseAudio behind a null sink of 100 ms makes room in bursts 0.85 s apart:
// between them each buffer passes later, by up to 25 ms.
void TestPlacementWatch::notToldForRoomInBursts()
{
    PlacementWatch watch;
    const qint64 burst = 850 * kMs;
    for (qint64 start = 1; start <= 3; ++start) {
        const qint64 zeroAt = start * 100000 * kMs;
        watch.begin(zeroAt);
        for (qint64 position = 0; position < 8000 * kMs; position += kBuffer) {
            const qint64 sinceBurst = (zeroAt + position + start * 300 * kMs) % burst;
            watch.passed(zeroAt + position - kLead + sinceBurst * 25 / 850, position);
        }
        QCOMPARE(watch.offPlace(), 0);
    }
}

QTEST_APPLESS_MAIN(TestPlacementWatch)
#include "tst_placementwatch.moc"

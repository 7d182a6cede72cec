// When the sound has fallen behind its place: the times buffers pass the
// watched pad, made up here, with the jitter of a sink that waits for room.
#include "stallwatch.h"

#include <QtTest>

namespace {

const qint64 kMs = 1000000;
const qint64 kBuffer = 23 * kMs;  // a decoded MP3 frame, about

struct Lateness
{
    qint64 from;    // ms after the start
    qint64 until;   // ms after the start (or for good: a stall)
    qint64 amount;  // ms late
};

// 10 s of buffers whose passing is `lateness` late in its span, plus up to
// 1.5 ms of jitter; returns what the watch tells.
qint64 watch(Lateness lateness)
{
    StallWatch watch;
    const qint64 lead = 200 * kMs;  // the server's buffer
    for (qint64 position = 0; position < 10000 * kMs; position += kBuffer) {
        const qint64 ms = position / kMs;
        const qint64 late = ms >= lateness.from && ms < lateness.until ? lateness.amount * kMs : 0;
        const qint64 jitter = (position / kBuffer * 7919 % 16) * kMs / 10;
        watch.passed(position - lead + late + jitter, position);
    }
    return watch.fellBehind();
}

} // namespace

Q_DECLARE_METATYPE(Lateness)

class TestStallWatch : public QObject
{
    Q_OBJECT

private slots:
    void toldOnlyForAStall_data();
    void toldOnlyForAStall();
};

void TestStallWatch::toldOnlyForAStall_data()
{
    QTest::addColumn<Lateness>("lateness");
    QTest::addColumn<qint64>("behind");  // ms, 0 for nothing told
    QTest::newRow("steady") << Lateness{0, 0, 0} << qint64(0);
    QTest::newRow("a stall") << Lateness{5000, 99999, 20} << qint64(20);
    QTest::newRow("a stall of a period") << Lateness{5000, 99999, 6} << qint64(6);
    QTest::newRow("a stall under the limit") << Lateness{5000, 99999, 3} << qint64(0);
    QTest::newRow("held up for 0.7 s") << Lateness{5000, 5700, 30} << qint64(0);
    QTest::newRow("early while the buffer fills") << Lateness{0, 1800, -150} << qint64(0);
}

void TestStallWatch::toldOnlyForAStall()
{
    QFETCH(Lateness, lateness);
    QFETCH(qint64, behind);
    const qint64 told = watch(lateness);
    QVERIFY2(qAbs(told - behind * kMs) < 2 * kMs, qPrintable(QString("told %1 ms").arg(told / 1e6)));
}

QTEST_APPLESS_MAIN(TestStallWatch)
#include "tst_stallwatch.moc"

#include "progressbar.h"

#include <QtTest>

#include <cstdio>
#include <unistd.h>

class TestProgressBar : public QObject
{
    Q_OBJECT

private slots:
    void line_data();
    void line();
    void disabledPrintsNothing();
};

void TestProgressBar::line_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("line");

    QTest::newRow("nothing yet") << 0 << 2300 << qint64(0)
        << "[----------]    0/2300 frames      -- fps  --:-- left";
    QTest::newRow("half at 50 fps") << 1150 << 2300 << qint64(23000)
        << "[#####-----] 1150/2300 frames   50.0 fps   0:23 left";
    QTest::newRow("minutes left") << 100 << 2300 << qint64(10000)
        << "[----------]  100/2300 frames   10.0 fps   3:40 left";
    QTest::newRow("done") << 7 << 7 << qint64(700)
        << "[##########] 7/7 frames   10.0 fps   0:00 left";
}

void TestProgressBar::line()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(qint64, elapsedMs);
    QTEST(ProgressBar::line(done, total, elapsedMs, 10), "line");
}

void TestProgressBar::disabledPrintsNothing()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    FILE* stream = fdopen(dup(file.handle()), "w");
    QVERIFY(stream);
    {
        ProgressBar bar(3, false, stream);
        bar.update(3);
        bar.finish("3 frames written");
    }
    std::fclose(stream);
    QCOMPARE(file.size(), qint64(0));
}

QTEST_GUILESS_MAIN(TestProgressBar)
#include "tst_progressbar.moc"

// What happens once the timeline has run out, for each way of running.
#include "endofdemo.h"

#include <QtTest>

Q_DECLARE_METATYPE(EndOfDemo::Action)

class TestEndOfDemo : public QObject
{
    Q_OBJECT

private slots:
    void action_data();
    void action();
};

void TestEndOfDemo::action_data()
{
    QTest::addColumn<bool>("loop");
    QTest::addColumn<bool>("exitAtEnd");
    QTest::addColumn<int>("time");
    QTest::addColumn<EndOfDemo::Action>("action");

    using A = EndOfDemo::Action;
    QTest::newRow("as designed: runs on black") << false << false << 600000 << A::None;
    QTest::newRow("loop shows the last frame") << true << false << 46000 << A::None;
    QTest::newRow("loop restarts after it") << true << false << 46001 << A::Restart;
    QTest::newRow("exit waits for the tail") << false << true << 46499 << A::None;
    QTest::newRow("exit after the tail") << false << true << 46500 << A::Quit;
    QTest::newRow("exit long after") << false << true << 90000 << A::Quit;
}

void TestEndOfDemo::action()
{
    QFETCH(bool, loop);
    QFETCH(bool, exitAtEnd);
    QFETCH(int, time);
    QTEST(EndOfDemo(loop, exitAtEnd).at(time), "action");
}

QTEST_GUILESS_MAIN(TestEndOfDemo)
#include "tst_endofdemo.moc"

// Which key asks for what: Escape alone without --dev, the demo maker's
// transport keys with it, frame steps only while paused.
#include "playerkeys.h"

#include <QtTest>

Q_DECLARE_METATYPE(PlayerKeys::Action)

class TestPlayerKeys : public QObject
{
    Q_OBJECT

private slots:
    void command_data();
    void command();
};

void TestPlayerKeys::command_data()
{
    QTest::addColumn<bool>("dev");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<int>("key");
    QTest::addColumn<PlayerKeys::Action>("action");
    QTest::addColumn<int>("amount");

    using A = PlayerKeys::Action;
    QTest::newRow("escape quits") << false << false << int(Qt::Key_Escape) << A::Quit << 0;
    QTest::newRow("escape quits a paused dev run") << true << true << int(Qt::Key_Escape)
                                                   << A::Quit << 0;
    QTest::newRow("space without --dev") << false << false << int(Qt::Key_Space) << A::None << 0;
    QTest::newRow("seek without --dev") << false << false << int(Qt::Key_Right) << A::None << 0;
    QTest::newRow("space pauses") << true << false << int(Qt::Key_Space) << A::TogglePause << 0;
    QTest::newRow("left: a second back") << true << false << int(Qt::Key_Left) << A::SeekBy
                                         << -1000;
    QTest::newRow("page down: ten ahead") << true << true << int(Qt::Key_PageDown) << A::SeekBy
                                          << 10000;
    QTest::newRow("home: the start") << true << false << int(Qt::Key_Home) << A::SeekTo << 0;
    QTest::newRow("period while playing") << true << false << int(Qt::Key_Period) << A::None << 0;
    QTest::newRow("period while paused") << true << true << int(Qt::Key_Period) << A::StepFrames
                                         << 1;
    QTest::newRow("comma while paused") << true << true << int(Qt::Key_Comma) << A::StepFrames
                                        << -1;
    QTest::newRow("any other key") << true << false << int(Qt::Key_Q) << A::None << 0;
}

void TestPlayerKeys::command()
{
    QFETCH(bool, dev);
    QFETCH(bool, paused);
    QFETCH(int, key);
    const PlayerKeys::Command command = PlayerKeys(dev).command(key, paused);
    QTEST(command.action, "action");
    QTEST(command.amount, "amount");
}

QTEST_GUILESS_MAIN(TestPlayerKeys)
#include "tst_playerkeys.moc"

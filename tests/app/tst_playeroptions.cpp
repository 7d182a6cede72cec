// The player's command line: what runs, what is refused and why.
#include "playeroptions.h"

#include <QtTest>

class TestPlayerOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestPlayerOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("timingLog");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << QStringList() << int(PlayerOptions::Run) << false << "";
    QTest::newRow("timing log") << QStringList{"--timing-log"} << int(PlayerOptions::Run) << true << "";
    QTest::newRow("unknown option") << QStringList{"--timing"} << int(PlayerOptions::Error) << false
                                    << "Unknown option 'timing'.";
    QTest::newRow("stray argument") << QStringList{"demo.mp3"} << int(PlayerOptions::Error) << false
                                    << "Unexpected argument 'demo.mp3'.";
}

void TestPlayerOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(bool, timingLog);
    QFETCH(QString, message);
    PlayerOptions options;
    QCOMPARE(int(options.parse(QStringList{"quenvarix"} + arguments)), outcome);
    QCOMPARE(options.timingLog, timingLog);
    QCOMPARE(options.message, message);
}

QTEST_GUILESS_MAIN(TestPlayerOptions)
#include "tst_playeroptions.moc"

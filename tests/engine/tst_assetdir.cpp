// Finding data/: the directory fixed at build time, or the one beside the
// executable of an installed tree that was moved.
#include "assetdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestAssetDir : public QObject
{
    Q_OBJECT

private slots:
    void choosesTheDirectoryThatHoldsData_data();
    void choosesTheDirectoryThatHoldsData();
    void runningExecutableIsThisTest();
};

void TestAssetDir::choosesTheDirectoryThatHoldsData_data()
{
    QTest::addColumn<bool>("fixedHasData");
    QTest::addColumn<bool>("besideHasData");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fixed present") << true << false << "fixed";
    QTest::newRow("both present: the fixed one wins") << true << true << "fixed";
    QTest::newRow("fixed absent, beside present") << false << true << "beside";
    QTest::newRow("neither: the fixed one, so the loaders name what is missing") << false << false << "fixed";
}

// A moved tree: <root>/moved/bin holds the executable, <root>/moved/share/quenvarix/data the data.
void TestAssetDir::choosesTheDirectoryThatHoldsData()
{
    QFETCH(bool, fixedHasData);
    QFETCH(bool, besideHasData);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir tree(root.path());
    QVERIFY(tree.mkpath("fixed") && tree.mkpath("moved/bin"));
    if (fixedHasData)
        QVERIFY(tree.mkpath("fixed/data"));
    if (besideHasData)
        QVERIFY(tree.mkpath("moved/share/quenvarix/data"));
    const QString fixed = root.path() + "/fixed/";
    const QString beside = root.path() + "/moved/share/quenvarix/";

    const QString found = resolveAssetDir(fixed, root.path() + "/moved/bin");
    QCOMPARE(found, expected == "fixed" ? fixed : beside);
}

void TestAssetDir::runningExecutableIsThisTest()
{
    QCOMPARE(runningExecutableDir(), QCoreApplication::applicationDirPath());
}

QTEST_GUILESS_MAIN(TestAssetDir)
#include "tst_assetdir.moc"

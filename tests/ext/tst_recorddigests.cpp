// Randomly made small models, read and compared with the digests of the
// records (and of the messages) that the reader gave for the same inputs when
// tests/data/objrecords.txt was written. Any change to the reader, a faster
// one above all, must leave them all as they were.
//
// QUENVARIX_UPDATE_RECORDS=1 makes the test write the file instead; do that
// only for an intended change of what the reader makes, and say so.

#include "glmtest.h"
#include "recorddigest.h"

#include <QDir>
#include <QtTest>

namespace {

const int kInputs = 2000;
const QString kRecordsFile = QStringLiteral(QUENVARIX_SOURCE_DIR "/tests/data/objrecords.txt");

// A small deterministic generator (xorshift64*), one stream per input.
class Dice
{
public:
    explicit Dice(uint64_t seed) : m_state(seed * 0x9e3779b97f4a7c15ull + 1) {}
    int below(int n)
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return int((m_state * 0x2545f4914f6cdd1dull) >> 33) % n;
    }
    template <int N> const char* pick(const char* const (&choices)[N]) { return choices[below(N)]; }

private:
    uint64_t m_state;
};

// Words that may follow a keyword. None starts with "v" or "m", so none can
// become an unknown vertex keyword or a library statement of its own.
const char* const kNumbers[] = {"0", "1", "-2.5", "0.125", "3e2", "+7", ".5", "5.", "-0", "1e40", "nan",
                                "x", "1,5", "123456.789", "0.333333333333", "2E-3", "16777217", "-"};
const char* const kIndices[] = {"1", "2", "3", "4", "-1", "-2", "-4", "0", "9", "99999999999", "+2", "x"};
const char* const kNames[] = {"a", "b", "A", "default", "red", "blue", "gold", ""};
const char* const kBlanks[] = {" ", " ", " ", "\t", "  ", " \r"};
const char* const kLineEnds[] = {"\n", "\n", "\n", "\r\n", "\n\n", " \n"};
const char* const kOther[] = {"# comment f 1 2 3", "s 1", "o thing", "", "usemtl", "g", "f", "1 2 3", "l 1 2"};

QByteArray numbers(Dice& dice, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(dice.pick(kBlanks)) + dice.pick(kNumbers);
    return text;
}

// One reference in one of the four forms (or a broken one).
QByteArray reference(Dice& dice, int form)
{
    const char* const separators[][2] = {{"", ""}, {"/", ""}, {"/", "/"}, {"//", ""}, {"/", "//"}};
    const char* const* parts = separators[form];
    QByteArray ref = dice.pick(kIndices);
    if (*parts[0])
        ref += parts[0] + QByteArray(dice.pick(kIndices));
    if (*parts[1])
        ref += parts[1] + QByteArray(dice.pick(kIndices));
    return ref;
}

QByteArray face(Dice& dice)
{
    const int form = dice.below(5);
    QByteArray text = "f";
    for (int i = dice.below(7); i > 0; --i) {
        const bool mixed = dice.below(8) == 0;
        text += (dice.below(12) == 0 ? "\n" : dice.pick(kBlanks)) + reference(dice, mixed ? dice.below(5) : form);
    }
    return text;
}

QByteArray statement(Dice& dice)
{
    switch (dice.below(10)) {
    case 0: case 1: return "v" + numbers(dice, dice.below(5));
    case 2: return "vn" + numbers(dice, dice.below(4));
    case 3: return "vt" + numbers(dice, dice.below(4));
    case 4: case 5: return face(dice);
    case 6: return "g" + QByteArray(dice.pick(kBlanks)) + dice.pick(kNames) + (dice.below(4) ? "" : " b");
    case 7: return "usemtl " + QByteArray(dice.pick(kNames));
    case 8: return dice.below(3) ? QByteArray(dice.pick(kOther)) : "mtllib " + QByteArray(dice.below(2) ? "one.mtl" : "two.mtl");
    }
    return dice.pick(kOther);
}

QByteArray randomModel(int seed)
{
    Dice dice{uint64_t(seed)};
    QByteArray text;
    for (int i = dice.below(25); i >= 0; --i)
        text += statement(dice) + (i == 0 && dice.below(4) == 0 ? "" : dice.pick(kLineEnds));
    return text;
}

// The record and what the reader printed, in one digest.
uint64_t readDigest(const QByteArray& text)
{
    OutputCapture capture;
    const ModelPtr model(glmReadOBJMemory(text.constData(), size_t(text.size()), "model.obj"));
    const QByteArray out = capture.text().toLatin1();
    return RecordDigest().model(model.get()).bytes(out.constData(), size_t(out.size())).result();
}

QString hex(uint64_t value)
{
    return QStringLiteral("%1").arg(value, 16, 16, QLatin1Char('0'));
}

}  // namespace

class TestRecordDigests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomModels();
    void largeFileAsInMemory_data();
    void largeFileAsInMemory();

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
};

// The libraries that the models name, in the current directory, where a
// model read as "model.obj" looks for them.
void TestRecordDigests::initTestCase()
{
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(writeFile("one.mtl", "newmtl red\nKd 1 0 0\nNs 500\nnewmtl blue\nKa 0 0 1 newmtl x\nnewmtl red\n"));
    QVERIFY(writeFile("two.mtl", "Kd 0.5\nnewmtl\nnewmtl gold\nKs 1 1 1\n"));
}

void TestRecordDigests::cleanupTestCase()
{
    QDir::setCurrent(m_previousDir);
}

void TestRecordDigests::randomModels()
{
    QStringList digests;
    for (int seed = 0; seed < kInputs; ++seed)
        digests << hex(readDigest(randomModel(seed)));

    if (qEnvironmentVariableIsSet("QUENVARIX_UPDATE_RECORDS")) {
        QVERIFY(writeFile(kRecordsFile, digests.join('\n').toLatin1() + '\n'));
        QSKIP("digests written");
    }
    const QStringList expected = QString::fromLatin1(readFile(kRecordsFile)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(expected.size(), kInputs);
    for (int seed = 0; seed < kInputs; ++seed) {
        if (digests[seed] != expected[seed])
            QFAIL(qPrintable(QStringLiteral("model %1 reads differently:\n").arg(seed)
                             + QString::fromLatin1(randomModel(seed))));
    }
}

void TestRecordDigests::largeFileAsInMemory_data()
{
    QTest::addColumn<int>("size");

    // Large files are read another way than small ones and than text in
    // memory; a file that fills its last page has nothing after it.
    QTest::newRow("1 MiB, ending with a number at a page end") << (1 << 20);
    QTest::newRow("1 MiB + 4095") << (1 << 20) + 4095;
    QTest::newRow("3 MiB + 1") << (3 << 20) + 1;
}

void TestRecordDigests::largeFileAsInMemory()
{
    QFETCH(int, size);

    QByteArray text;
    for (int i = 0; text.size() < size - 100; ++i)
        text += "v " + QByteArray::number(i % 97) + ".25 -1 2e-3\nvt 0.5 0.5\nf -1/1 -2/1 -3/1 -4/1\n";
    text += "#" + QByteArray(size - text.size() - 10, 'x') + "\nv 1 2 33";
    QCOMPARE(text.size(), size);
    QVERIFY(writeFile("large.obj", text));

    const ModelPtr fromFile(glmReadOBJ("large.obj"));
    const ModelPtr fromMemory(glmReadOBJMemory(text.constData(), size_t(text.size()), "large.obj"));

    QCOMPARE(fromFile->vertices[3 * fromFile->numvertices + 2], 33.0f);
    QCOMPARE(RecordDigest().model(fromFile.get()).result(), RecordDigest().model(fromMemory.get()).result());
}

QTEST_GUILESS_MAIN(TestRecordDigests)

#include "tst_recorddigests.moc"

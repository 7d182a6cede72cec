// The transform value: composition, the literal rotation product, colour
// products at QColor's precision and exact equality.
#include "transform.h"

#include <QtTest>

#include <cmath>

namespace {

// Nine significant digits tell every float apart, so comparing these texts is exact.
QString tupleText(const QQuaternion& q)
{
    return QString("(%1, %2, %3, %4)")
        .arg(q.scalar(), 0, 'g', 9).arg(q.x(), 0, 'g', 9).arg(q.y(), 0, 'g', 9).arg(q.z(), 0, 'g', 9);
}

QColor rgbaF(double r, double g, double b, double a)
{
    QColor color;
    color.setRgbF(r, g, b, a);
    return color;
}

enum Field { NoChange, Alpha, TranslationX, RotationScalar, Scale, InvalidColor };

void nudge(Transform& t, Field field)
{
    switch (field) {
    case NoChange: break;
    case Alpha: t.SetColor(1, 0.5f, 0.25f, 0.99f); break;
    case TranslationX: t.translation.setX(std::nextafter(t.translation.x(), 10.0f)); break;
    case RotationScalar: t.rotation.setScalar(std::nextafter(t.rotation.scalar(), 100.0f)); break;
    case Scale: t.scale = std::nextafter(t.scale, 10.0f); break;
    case InvalidColor: t.color = QColor(); break;
    }
}

Transform sample()
{
    Transform t;
    t.SetTranslation(1, 2, 3);
    t.SetRotation(20, 0, 1, 0);
    t.SetColor(1, 0.5f, 0.25f, 1);
    t.SetScale(2);
    return t;
}

}  // namespace

class TestTransform : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void rotationIsStoredAsGiven();
    void rotationProduct_data();
    void rotationProduct();
    void colorProduct_data();
    void colorProduct();
    void sumComposesEveryFieldAndLeavesOperandsAlone();
    void plusEqualsMatchesSum();
    void equalityIsExact_data();
    void equalityIsExact();
    void toMatrix_data();
    void toMatrix();
};

void TestTransform::defaults()
{
    const Transform t;
    QCOMPARE(t.translation, QVector3D(0, 0, 0));
    QCOMPARE(tupleText(t.rotation), QString("(1, 0, 0, 0)"));
    QVERIFY(!t.color.isValid());
    QCOMPARE(t.scale, 1.0f);
}

void TestTransform::rotationIsStoredAsGiven()
{
    Transform t;
    t.SetRotation(90, 2, 0, 0);
    QCOMPARE(tupleText(t.rotation), QString("(90, 2, 0, 0)"));  // no normalisation
}

void TestTransform::rotationProduct_data()
{
    QTest::addColumn<QQuaternion>("left");
    QTest::addColumn<QQuaternion>("right");
    QTest::addColumn<QString>("product");

    QTest::newRow("neutral on the left") << QQuaternion(1, 0, 0, 0) << QQuaternion(90, 1, 0, 0)
                                         << "(90, 1, 0, 0)";
    QTest::newRow("neutral on the right") << QQuaternion(90, 1, 0, 0) << QQuaternion(1, 0, 0, 0)
                                          << "(90, 1, 0, 0)";
    QTest::newRow("two turns about x, taken literally")
        << QQuaternion(20, 1, 0, 0) << QQuaternion(90, 1, 0, 0) << "(1799, 110, 0, 0)";
    QTest::newRow("y then x") << QQuaternion(20, 0, 1, 0) << QQuaternion(90, 1, 0, 0)
                              << "(1800, 20, 90, -1)";
    QTest::newRow("x then y") << QQuaternion(90, 1, 0, 0) << QQuaternion(20, 0, 1, 0)
                              << "(1800, 20, 90, 1)";
    QTest::newRow("every component") << QQuaternion(1, 2, 3, 4) << QQuaternion(5, 6, 7, 8)
                                     << "(-60, 12, 30, 24)";
}

void TestTransform::rotationProduct()
{
    QFETCH(QQuaternion, left);
    QFETCH(QQuaternion, right);
    QFETCH(QString, product);

    Transform t;
    t.rotation = left;
    t.AddRotation(right);
    QCOMPARE(tupleText(t.rotation), product);
}

void TestTransform::colorProduct_data()
{
    QTest::addColumn<QColor>("own");
    QTest::addColumn<QColor>("other");
    QTest::addColumn<QColor>("product");

    QTest::newRow("per channel") << rgbaF(1, 0.5, 0.5, 1) << rgbaF(0.5, 1, 1, 0.5)
                                 << rgbaF(0.5, 0.5, 0.5, 0.5);
    QTest::newRow("invalid times invalid is opaque black") << QColor() << QColor()
                                                            << rgbaF(0, 0, 0, 1);
    QTest::newRow("invalid times white") << QColor() << rgbaF(1, 1, 1, 1) << rgbaF(0, 0, 0, 1);
    // 0.3 and 0.7 are stored as 19661 and 45875 of 65535; their product is
    // 13763, one step above the 13762 of an exact 0.21.
    QColor stored;
    stored.setRgba64(QRgba64::fromRgba64(13763, 0, 0, 65535));
    QTest::newRow("reads the stored 16-bit components") << rgbaF(0.3, 0, 0, 1)
                                                        << rgbaF(0.7, 0, 0, 1) << stored;
}

void TestTransform::colorProduct()
{
    QFETCH(QColor, own);
    QFETCH(QColor, other);
    QFETCH(QColor, product);

    Transform t;
    t.color = own;
    t.AddColor(other);
    QCOMPARE(t.color, product);
}

void TestTransform::sumComposesEveryFieldAndLeavesOperandsAlone()
{
    Transform a;
    a.SetTranslation(1, 2, 3);
    a.SetRotation(20, 0, 1, 0);
    a.SetColor(1, 0.5f, 0.5f, 1);
    a.SetScale(1.5f);
    Transform b;
    b.SetTranslation(0.5f, 0, -1);
    b.SetRotation(90, 1, 0, 0);
    b.SetColor(0.5f, 1, 1, 0.5f);
    b.SetScale(2);
    const Transform aBefore = a, bBefore = b;

    const Transform sum = a + b;

    QCOMPARE(sum.translation, QVector3D(1.5f, 2, 2));
    QCOMPARE(tupleText(sum.rotation), QString("(1800, 20, 90, -1)"));
    QCOMPARE(sum.color, rgbaF(0.5, 0.5, 0.5, 0.5));
    QCOMPARE(sum.scale, 3.0f);
    QVERIFY(a == aBefore);
    QVERIFY(b == bBefore);
    QVERIFY(a + b != b + a);  // the rotation product does not commute
}

void TestTransform::plusEqualsMatchesSum()
{
    Transform a = sample();
    Transform b;
    b.SetTranslation(-1, 0, 4);
    b.SetRotation(90, 1, 0, 0);
    const Transform expected = a + b;
    QVERIFY(&(a += b) == &a);
    QVERIFY(a == expected);
}

void TestTransform::equalityIsExact_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("equal");

    QTest::newRow("identical") << int(NoChange) << true;
    QTest::newRow("alpha only") << int(Alpha) << false;
    QTest::newRow("one ulp in a coordinate") << int(TranslationX) << false;
    QTest::newRow("one ulp in the rotation") << int(RotationScalar) << false;
    QTest::newRow("one ulp in the scale") << int(Scale) << false;
    QTest::newRow("invalid against a valid colour") << int(InvalidColor) << false;
}

void TestTransform::equalityIsExact()
{
    QFETCH(int, field);
    QFETCH(bool, equal);

    const Transform a = sample();
    Transform b = sample();
    nudge(b, Field(field));
    QCOMPARE(a == b, equal);
    QCOMPARE(a != b, !equal);
}

void TestTransform::toMatrix_data()
{
    QTest::addColumn<QVector3D>("translation");
    QTest::addColumn<QQuaternion>("rotation");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QVector3D>("point");
    QTest::addColumn<QVector3D>("mapped");

    QTest::newRow("default is the identity") << QVector3D() << QQuaternion() << 1.0f
                                             << QVector3D(1, 2, 3) << QVector3D(1, 2, 3);
    QTest::newRow("scale, then turn, then move")
        << QVector3D(1, 2, 3) << QQuaternion::fromAxisAndAngle(0, 0, 1, 90) << 2.0f
        << QVector3D(1, 0, 0) << QVector3D(1, 4, 3);
}

void TestTransform::toMatrix()
{
    QFETCH(QVector3D, translation);
    QFETCH(QQuaternion, rotation);
    QFETCH(float, scale);
    QFETCH(QVector3D, point);
    QFETCH(QVector3D, mapped);

    Transform t;
    t.translation = translation;
    t.rotation = rotation;
    t.scale = scale;
    const QVector3D actual = t.toMatrix().map(point);
    QVERIFY2((actual - mapped).length() < 1e-5f,
             qPrintable(QString("(%1, %2, %3)").arg(actual.x()).arg(actual.y()).arg(actual.z())));
}

QTEST_GUILESS_MAIN(TestTransform)
#include "tst_transform.moc"

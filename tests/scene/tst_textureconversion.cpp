// Texture::convertToGl works in the image's own buffer; it must produce GL's
// upload layout (RGBA bytes, straight alpha, bottom row first) for every kind
// of image a loader may hand over and for the demo's own files.
#include "texture.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// Distinct values in every channel of every pixel, alpha included.
QImage pattern(int width, int height, QImage::Format format)
{
    QImage argb(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            argb.setPixel(x, y, qRgba(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256,
                                      (x * 7 + y * 13) % 256));
    return argb.convertToFormat(format);
}

// The upload layout as the toolkit's own conversions make it.
QImage glLayout(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGBA8888).mirrored();
}

QByteArray bytes(const QImage& image)
{
    QByteArray all;
    for (int y = 0; y < image.height(); ++y)
        all.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return all;
}

}  // namespace

class TestTextureConversion : public QObject
{
    Q_OBJECT

private slots:
    void sameBytesAsTheToolkit_data();
    void sameBytesAsTheToolkit();
    void imageSharedElsewhereIsLeftAlone();
};

void TestTextureConversion::sameBytesAsTheToolkit_data()
{
    QTest::addColumn<QImage>("image");
    QTest::newRow("rgb32, odd height") << pattern(5, 3, QImage::Format_RGB32);
    QTest::newRow("argb32, even height") << pattern(4, 4, QImage::Format_ARGB32);
    QTest::newRow("premultiplied") << pattern(7, 2, QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("rgb888") << pattern(3, 5, QImage::Format_RGB888);
    QTest::newRow("indexed") << pattern(6, 3, QImage::Format_RGB32).convertToFormat(
        QImage::Format_Indexed8);
    QTest::newRow("grayscale") << pattern(2, 7, QImage::Format_Grayscale8);
    QTest::newRow("one pixel") << pattern(1, 1, QImage::Format_ARGB32);
    QTest::newRow("one row") << pattern(9, 1, QImage::Format_RGB32);
    QTest::newRow("null") << QImage();
    QTest::newRow("demo jpeg") << QImage(QUENVARIX_SOURCE_DIR "/data/box.jpg");
    QTest::newRow("demo png") << QImage(QUENVARIX_SOURCE_DIR "/data/texts/code.png");
}

void TestTextureConversion::sameBytesAsTheToolkit()
{
    QFETCH(QImage, image);
    const QImage expected = glLayout(image);
    Texture texture(new QImage(image));
    image = QImage();  // the texture's image is the only reference to its data

    texture.convertToGl();

    const QImage& actual = *texture.GetImage();
    QCOMPARE(actual.format(), expected.isNull() ? QImage::Format_Invalid : QImage::Format_ARGB32);
    QCOMPARE(actual.size(), expected.size());
    QCOMPARE(bytes(actual), bytes(expected));
}

void TestTextureConversion::imageSharedElsewhereIsLeftAlone()
{
    const QImage original = pattern(4, 3, QImage::Format_ARGB32);
    const QByteArray before = bytes(original);
    Texture texture(new QImage(original));  // shares the pixels with `original`

    texture.convertToGl();

    QCOMPARE(bytes(original), before);
    QCOMPARE(bytes(*texture.GetImage()), bytes(glLayout(original)));
}

QTEST_MAIN(TestTextureConversion)
#include "tst_textureconversion.moc"

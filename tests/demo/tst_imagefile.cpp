// Whole images are decoded whatever follows them; an image cut anywhere
// before its end counts as missing. The images are made here, in the kinds
// that editors and cameras write.
#include "imagefile.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>

namespace {

// A picture with edges and gradients, so that every encoder has real work.
QImage picture(QImage::Format format)
{
    QImage image(48, 40, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 48, 40);
    gradient.setColorAt(0, QColor(250, 20, 60, 200));
    gradient.setColorAt(1, QColor(10, 200, 90, 255));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::white);
    painter.drawEllipse(6, 4, 30, 30);
    painter.end();
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// A JPEG whose APP1 (Exif) segment carries a whole thumbnail JPEG, as
// cameras write it: an end-of-image marker well before the real end.
QByteArray jpegWithThumbnail()
{
    const QByteArray thumbnail = encoded(picture(QImage::Format_RGB32).scaled(8, 8), "jpg");
    const QByteArray payload = QByteArray("Exif\0\0", 6) + thumbnail;
    QByteArray segment("\xff\xe1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return encoded(picture(QImage::Format_RGB32), "jpg").insert(2, segment + payload);
}

// The PNG header's bit depth and colour type, to show which kind Qt wrote.
QByteArray pngKind(const QByteArray& png)
{
    return png.mid(24, 2).toHex();
}

struct Sample
{
    const char* name;
    QByteArray bytes;
};

} // namespace

class TestImageFile : public QObject
{
    Q_OBJECT

    QVector<Sample> m_samples;

private slots:
    void initTestCase();
    void wholeImageIsDecodedWhateverFollows_data();
    void wholeImageIsDecodedWhateverFollows();
    void imageCutAnywhereIsRefused_data();
    void imageCutAnywhereIsRefused();
    void otherFormatsAreLeftToTheDecoder_data();
    void otherFormatsAreLeftToTheDecoder();
};

// The kinds of PNG are read from the header and the progressive JPEG from its
// start-of-frame marker, so each sample is what its name says.
void TestImageFile::initTestCase()
{
    const QByteArray grey = encoded(picture(QImage::Format_Grayscale8), "png");
    const QByteArray palette = encoded(picture(QImage::Format_Indexed8), "png");
    const QByteArray deep = encoded(picture(QImage::Format_RGBA64), "png");
    const QByteArray progressive = encoded(picture(QImage::Format_RGB32), "jpg", true);
    QCOMPARE(pngKind(grey), QByteArray("0800"));
    QCOMPARE(pngKind(palette), QByteArray("0803"));
    QCOMPARE(pngKind(deep), QByteArray("1006"));
    QVERIFY(progressive.contains("\xff\xc2") && !progressive.contains("\xff\xc0"));
    m_samples = {{"png rgba", encoded(picture(QImage::Format_ARGB32), "png")},
                 {"png 8-bit grey", grey},
                 {"png palette", palette},
                 {"png 16-bit", deep},
                 {"jpeg baseline", encoded(picture(QImage::Format_RGB32), "jpg")},
                 {"jpeg progressive", progressive},
                 {"jpeg grey", encoded(picture(QImage::Format_Grayscale8), "jpg")},
                 {"jpeg with thumbnail", jpegWithThumbnail()}};
}

void TestImageFile::wholeImageIsDecodedWhateverFollows_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QByteArray>("trailer");
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) >> 3);
    const QVector<QPair<const char*, QByteArray>> trailers = {
        {"nothing", {}},
        {"one byte", QByteArray(1, '\0')},
        {"64 zeros", QByteArray(64, '\0')},
        {"65 zeros", QByteArray(65, '\0')},
        {"4 KiB of noise", noise},
        {"markers", QByteArray("\xff\xd8\xff\xd9" "IEND\xff")},
        {"a cut-off picture", encoded(picture(QImage::Format_RGB32), "jpg").left(300)}};
    for (const Sample& sample : m_samples) {
        for (const auto& trailer : trailers)
            QTest::addRow("%s, %s", sample.name, trailer.first) << sample.bytes << trailer.second;
        QTest::addRow("%s, itself again", sample.name) << sample.bytes << sample.bytes;
    }
}

void TestImageFile::wholeImageIsDecodedWhateverFollows()
{
    QFETCH(QByteArray, image);
    QFETCH(QByteArray, trailer);
    QCOMPARE(imageLength(image + trailer), image.size());
    QImage decoded;
    QVERIFY(decodeCompleteImage(image + trailer, &decoded));
    QCOMPARE(decoded.size(), QSize(48, 40));
}

void TestImageFile::imageCutAnywhereIsRefused_data()
{
    QTest::addColumn<QByteArray>("image");
    for (const Sample& sample : m_samples)
        QTest::newRow(sample.name) << sample.bytes;
}

// Every cut, from the first byte to the last but one.
void TestImageFile::imageCutAnywhereIsRefused()
{
    QFETCH(QByteArray, image);
    QImage decoded;
    for (int length = 0; length < image.size(); ++length)
        QVERIFY2(!decodeCompleteImage(image.left(length), &decoded), qPrintable(QString::number(length)));
}

void TestImageFile::otherFormatsAreLeftToTheDecoder_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decodes");
    QTest::newRow("bmp") << encoded(picture(QImage::Format_RGB32), "bmp") << true;
    QTest::newRow("gif header") << QByteArray("GIF89a") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestImageFile::otherFormatsAreLeftToTheDecoder()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decodes);
    QVERIFY(isCompleteImage(bytes));
    QImage decoded;
    QCOMPARE(decodeCompleteImage(bytes, &decoded), decodes);
}

QTEST_GUILESS_MAIN(TestImageFile)

#include "tst_imagefile.moc"

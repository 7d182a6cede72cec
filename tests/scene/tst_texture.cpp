// Textures (image ownership, preparation status, the upload layout) and the
// name registry that never replaces an entry.
#include "objectmanager.h"
#include "texture.h"

#include <QImage>
#include <QtTest>

namespace {

// An image that counts its own destruction.
class CountingImage : public QImage
{
public:
    explicit CountingImage(int* destroyed) : QImage(1, 1, QImage::Format_RGB32), m_destroyed(destroyed) {}
    ~CountingImage() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

}  // namespace

class TestTexture : public QObject
{
    Q_OBJECT

private slots:
    void statusMovesThroughPreparation();
    void convertToGlMakesBottomRowFirstRgba();
    void textureOwnsItsImage();
    void setImage();
    void registryIsEmptyAndLookupsDoNotInsert();
    void registryNeverReplaces();
    void registryNamesAreCaseSensitive();
};

void TestTexture::statusMovesThroughPreparation()
{
    Texture texture(new QImage(2, 2, QImage::Format_RGB32));
    QCOMPARE(texture.GetStatus(), 0);
    QCOMPARE(texture.GetGlId(), 0u);
    texture.convertToGl();
    QCOMPARE(texture.GetStatus(), 1);
    texture.SetGlId(7);
    QCOMPARE(texture.GetStatus(), 2);
    QCOMPARE(texture.GetGlId(), 7u);
}

void TestTexture::convertToGlMakesBottomRowFirstRgba()
{
    auto* image = new QImage(1, 2, QImage::Format_ARGB32);
    image->setPixel(0, 0, qRgba(255, 0, 0, 255));   // top: red
    image->setPixel(0, 1, qRgba(0, 64, 255, 128));  // bottom: blue-ish, half alpha
    Texture texture(image);

    texture.convertToGl();

    QCOMPARE(texture.GetImage(), image);  // converted in place
    const uchar* first = texture.GetImage()->constScanLine(0);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(first), 4), QByteArray("\x00\x40\xff\x80", 4));
    const uchar* second = texture.GetImage()->constScanLine(1);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(second), 4), QByteArray("\xff\x00\x00\xff", 4));
}

void TestTexture::textureOwnsItsImage()
{
    int destroyed = 0;
    delete new Texture(new CountingImage(&destroyed));
    QCOMPARE(destroyed, 1);
}

void TestTexture::setImage()
{
    int destroyed = 0;
    auto* first = new CountingImage(&destroyed);
    auto* second = new CountingImage(&destroyed);
    {
        Texture texture(first);
        texture.SetGlId(3);
        texture.SetImage(nullptr);
        QCOMPARE(texture.GetImage(), first);
        texture.SetImage(first);
        QCOMPARE(destroyed, 0);

        texture.SetImage(second);
        QCOMPARE(texture.GetImage(), second);
        QCOMPARE(destroyed, 1);  // the replaced image goes
        QCOMPARE(texture.GetStatus(), 2);
        QCOMPARE(texture.GetGlId(), 3u);
    }
    QCOMPARE(destroyed, 2);
}

void TestTexture::registryIsEmptyAndLookupsDoNotInsert()
{
    ObjectManager<Texture> registry;
    QCOMPARE(registry.find_object("x"), static_cast<Texture*>(nullptr));
    QCOMPARE(registry.count(), 0);
}

void TestTexture::registryNeverReplaces()
{
    Texture a(nullptr), b(nullptr);
    ObjectManager<Texture> registry;
    QCOMPARE(registry.add_object(&a, "x"), &a);
    QCOMPARE(registry.add_object(&b, "x"), static_cast<Texture*>(nullptr));
    QCOMPARE(registry.find_object("x"), &a);
    QCOMPARE(registry.count(), 1);
}

void TestTexture::registryNamesAreCaseSensitive()
{
    Texture lower(nullptr), upper(nullptr);
    ObjectManager<Texture> registry;
    QCOMPARE(registry.add_object(&lower, "box"), &lower);
    QCOMPARE(registry.add_object(&upper, "Box"), &upper);
    QCOMPARE(registry.find_object("box"), &lower);
    QCOMPARE(registry.find_object("Box"), &upper);
    QCOMPARE(registry.find_object("BOX"), static_cast<Texture*>(nullptr));
}

QTEST_GUILESS_MAIN(TestTexture)
#include "tst_texture.moc"

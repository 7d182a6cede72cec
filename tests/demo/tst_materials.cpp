#include "demotree.h"
#include "geometry.h"
#include "modelcache.h"
#include "path.h"
#include "props.h"

#include <QtTest>

#include <memory>

using PropMaker = ModelObject* (*)();
Q_DECLARE_METATYPE(PropMaker)

class TestMaterials : public QObject
{
    Q_OBJECT

    RecordingRenderer* m_renderer = nullptr;

private slots:
    void initTestCase();
    void loadedImageIsRegisteredConvertedAndUploaded();
    void unreadableImageRegistersNothing_data();
    void unreadableImageRegistersNothing();
    void takenNameKeepsTheFirstTexture();
    void texQuadUsesTheNamedTexture_data();
    void texQuadUsesTheNamedTexture();
    void nullTextureKeepsTextures();
    void setColorTintsEveryPoint();
    void nullModelIsIgnored();
    void propsLoadTheirModelFiles_data();
    void propsLoadTheirModelFiles();
};

void TestMaterials::initTestCase()
{
    m_renderer = installRecordingRenderer();
}

void TestMaterials::loadedImageIsRegisteredConvertedAndUploaded()
{
    m_renderer->clear();
    Texture* texture = registerGeneratedTexture("tervald");
    QVERIFY(texture);
    QCOMPARE(m_renderer->calls, QStringList{"LoadTexture"});
    QCOMPARE(texture->GetStatus(), int(Texture::Uploaded));
    QVERIFY(texture->GetGlId() != 0);
    QCOMPARE(texture->GetImage()->size(), QSize(4, 2));
}

void TestMaterials::unreadableImageRegistersNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("missing") << "/nonexistent/kvo-screen.png";
    QTest::newRow("not an image") << QString(QUENVARIX_SOURCE_DIR "/CMakeLists.txt");
}

void TestMaterials::unreadableImageRegistersNothing()
{
    QFETCH(QString, file);
    m_renderer->clear();
    const int registered = ObjectManager<Texture>::tm->count();
    QTest::ignoreMessage(QtDebugMsg, "texture not initialized");
    init_texture(file, "unreadable");
    QCOMPARE(ObjectManager<Texture>::tm->count(), registered);
    QCOMPARE(ObjectManager<Texture>::tm->find_object("unreadable"), nullptr);
    QVERIFY(m_renderer->calls.isEmpty());
}

void TestMaterials::takenNameKeepsTheFirstTexture()
{
    Texture* first = registerGeneratedTexture("twice");
    m_renderer->clear();
    Texture* found = registerGeneratedTexture("twice");
    QCOMPARE(found, first);
    QCOMPARE(m_renderer->calls, QStringList{"LoadTexture"});
}

void TestMaterials::texQuadUsesTheNamedTexture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("textured");
    QTest::newRow("registered") << "pemo" << true;
    QTest::newRow("not in the catalogue") << "no-such-texture" << false;
}

void TestMaterials::texQuadUsesTheNamedTexture()
{
    QFETCH(QString, name);
    QFETCH(bool, textured);
    Texture* texture = textured ? registerGeneratedTexture(name) : nullptr;
    std::unique_ptr<ModelObject> quad(tex_quad(name));
    QCOMPARE(quad->NumFaces(), 1);
    QCOMPARE(quad->GetPoints().at(2)->m_transform.translation, QVector3D(10, 10, 0));
    QCOMPARE(textureOf(quad.get()), texture);
}

void TestMaterials::nullTextureKeepsTextures()
{
    Texture* texture = registerGeneratedTexture("kept");
    std::unique_ptr<ModelObject> box(create_box(1, 1, 1, nullptr, nullptr));
    set_texture(box.get(), texture);
    set_texture(box.get(), nullptr);
    for (const PolygonObject* face : box->GetPolygons())
        QCOMPARE(face->GetTexture(), texture);
    // The grounds ask for names the demo never loads.
    std::unique_ptr<ModelObject> stone(stone_ground());
    std::unique_ptr<ModelObject> metal(metal_ground());
    QCOMPARE(textureOf(stone.get()), nullptr);
    QCOMPARE(textureOf(metal.get()), nullptr);
}

void TestMaterials::setColorTintsEveryPoint()
{
    std::unique_ptr<ModelObject> box(create_box(1, 1, 1, nullptr, nullptr));
    set_color(box.get(), 0.25f, 0.5f, 0.75f, 1.0f);
    const QColor tint = QColor::fromRgbF(0.25, 0.5, 0.75, 1.0);
    for (const PointObject* point : box->GetPoints())
        QCOMPARE(point->m_transform.color, tint);
    QCOMPARE(box->m_transform.color, QColor(Qt::white));
    ModelObject empty(nullptr, "");
    set_color(&empty, 1, 0, 0, 1);
    QCOMPARE(empty.m_transform.color, QColor(Qt::white));
}

void TestMaterials::nullModelIsIgnored()
{
    set_texture(nullptr, registerGeneratedTexture("unused"));
    set_color(nullptr, 1, 1, 1, 1);
}

void TestMaterials::propsLoadTheirModelFiles_data()
{
    QTest::addColumn<PropMaker>("make");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("texture");
    QTest::newRow("container") << &container << "/data/cargoContainer.obj" << "container";
    QTest::newRow("can") << &can << "/data/can.obj" << "can";
    QTest::newRow("barrel") << &barrel << "/data/beerBarrel.obj" << "barrel";
    QTest::newRow("box") << &box << "/data/box.obj" << "box";
    QTest::newRow("cogwheel") << &cogwheel << "/data/cogwheel_01.obj" << "cogwheel";
    QTest::newRow("tree") << &tree << "/data/tree.obj" << "tree";
    QTest::newRow("cone") << &cone << "/data/traffic_cone_01.obj" << "cone";
    QTest::newRow("stairs") << &stairs << "/data/stairs.obj" << "stairs";
    QTest::newRow("spider") << &spider << "/data/spider.obj" << "spider";
    QTest::newRow("shovel") << &shovel << "/data/shovel.obj" << "shovel";
    QTest::newRow("sentry") << &sentry << "/data/SentryGun.obj" << "sentry";
    QTest::newRow("hammer") << &hammer << "/data/hammer.obj" << "hammer";
}

void TestMaterials::propsLoadTheirModelFiles()
{
    QFETCH(PropMaker, make);
    QFETCH(QString, file);
    QFETCH(QString, texture);
    Texture* registered = registerGeneratedTexture(texture);
    ModelCache* cache = ModelCache::instance();
    cache->clear();
    std::unique_ptr<ModelObject> prop(make());
    QVERIFY(prop);
    QCOMPARE(cache->size(), 1);
    QVERIFY(cache->contains(PATH + file));
    QCOMPARE(prop->GetParent(), nullptr);
    QCOMPARE(prop->m_transform, WorldObject(nullptr, "").m_transform);
    for (const PolygonObject* face : prop->GetPolygons())
        QCOMPARE(face->GetTexture(), registered);
}

QTEST_GUILESS_MAIN(TestMaterials)
#include "tst_materials.moc"

// The fixed-function renderer on a real GL context: the state it sets, the
// projection, the transform and colour it hands to GL, and what reaches the
// framebuffer.
#include "glcontext.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "qtrenderer.h"
#include "texture.h"
#include "transform.h"

#include <QImage>
#include <QMatrix4x4>
#include <QtTest>

#include <GL/gl.h>
#include <cmath>
#include <memory>
#include <vector>

namespace {

const int kSize = 64;

QMatrix4x4 glMatrix(GLenum which)
{
    GLfloat m[16];
    glGetFloatv(which, m);
    return QMatrix4x4(m).transposed();  // GL is column-major
}

bool fuzzyEqual(const QMatrix4x4& a, const QMatrix4x4& b)
{
    for (int i = 0; i < 16; ++i) {
        if (qAbs(a.constData()[i] - b.constData()[i]) > 1e-4f)
            return false;
    }
    return true;
}

// Four points of a square of half-size h at depth z, facing +z.
struct Quad {
    QList<PointObject*> points;
    QList<QPointF*> coords;
    Quad(float h, float z)
    {
        const float xy[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
        for (const auto& c : xy) {
            auto* p = new PointObject(nullptr, QString());
            p->m_transform.SetTranslation(c[0], c[1], z);
            p->m_normal = QVector3D(0, 0, 1);
            points << p;
            coords << new QPointF(c[0] > 0, c[1] > 0);
        }
    }
    ~Quad() { qDeleteAll(points); qDeleteAll(coords); }
};

Transform colored(float r, float g, float b, float a)
{
    Transform t;
    t.SetColor(r, g, b, a);
    return t;
}

QRgb centre(const QImage& image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

class TestWidgetRenderer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void initSetsTheFixedState();
    void lightSitsBesideTheViewer();
    void resizeWithZeroHeight();
    void setTransformReplacesMatrixAndColour();
    void zeroAxisRotationLeavesGeometryUnrotated();
    void overlappingPolygonsAddUp();
    void alphaZeroLeavesTheFrameUnchanged();
    void nullTextureChangesNoBinding();
    void loadTextureRecordsIdAndStatus();
    void secondUploadFreesTheFirst();
    void fewerTexCoordsThanPointsDrawsSafely();
    void narrowImagesAreConvertedBeforeUpload_data();
    void narrowImagesAreConvertedBeforeUpload();
    void meshDrawnAtOnceLooksAsFaceByFace();

private:
    void drawUnlit(const Transform& t, float half, float z, Texture* texture = nullptr);

    std::unique_ptr<GlContext> m_gl;
    std::unique_ptr<WidgetRenderer> m_renderer;
};

void TestWidgetRenderer::init()
{
    m_gl = std::make_unique<GlContext>(kSize, kSize);
    QVERIFY(m_gl->isValid());
    m_renderer = std::make_unique<WidgetRenderer>();
    m_renderer->Init();
    m_renderer->ResizeWindow(kSize, kSize);
}

void TestWidgetRenderer::cleanup()
{
    m_renderer.reset();
    m_gl.reset();
}

// Lighting off, so the colour reaching the framebuffer is the one set.
void TestWidgetRenderer::drawUnlit(const Transform& t, float half, float z, Texture* texture)
{
    glDisable(GL_LIGHTING);
    if (!texture)
        glDisable(GL_TEXTURE_2D);
    Quad quad(half, z);
    m_renderer->SetTransform(t);
    m_renderer->DrawPolygon(quad.points, texture, quad.coords);
    glFinish();
}

void TestWidgetRenderer::initSetsTheFixedState()
{
    QVERIFY(glIsEnabled(GL_TEXTURE_2D));
    QVERIFY(glIsEnabled(GL_BLEND));
    QVERIFY(glIsEnabled(GL_LIGHTING));
    QVERIFY(glIsEnabled(GL_LIGHT0));
    QVERIFY(glIsEnabled(GL_COLOR_MATERIAL));
    QVERIFY(!glIsEnabled(GL_DEPTH_TEST));
    QVERIFY(!glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    QCOMPARE(value, GL_SMOOTH);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    QCOMPARE(value, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &value);
    QCOMPARE(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    QCOMPARE(value, GL_ONE);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    QCOMPARE(value, GL_NICEST);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &value);
    QCOMPARE(value, GL_FRONT_AND_BACK);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    QCOMPARE(value, GL_AMBIENT_AND_DIFFUSE);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    QCOMPARE(value, GL_MODELVIEW);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    QCOMPARE(QVector4D(clear[0], clear[1], clear[2], clear[3]), QVector4D(0, 0, 0, 0));
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    QCOMPARE(depth, 1.0f);
}

void TestWidgetRenderer::lightSitsBesideTheViewer()
{
    GLfloat v[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    QCOMPARE(QVector4D(v[0], v[1], v[2], v[3]), QVector4D(1, 1, 0, 1));
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    QCOMPARE(QVector4D(v[0], v[1], v[2], v[3]), QVector4D(0, 0, 0, 0));
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    QCOMPARE(QVector4D(v[0], v[1], v[2], v[3]), QVector4D(1, 1, 1, 1));
}

void TestWidgetRenderer::resizeWithZeroHeight()
{
    m_renderer->ResizeWindow(800, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    QCOMPARE(QRect(viewport[0], viewport[1], viewport[2], viewport[3]), QRect(0, 0, 800, 1));
    QMatrix4x4 expected;
    expected.perspective(45.0f, 800.0f, 0.1f, 3000.0f);
    QVERIFY(fuzzyEqual(glMatrix(GL_PROJECTION_MATRIX), expected));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    QCOMPARE(mode, GL_MODELVIEW);
    QVERIFY(glMatrix(GL_MODELVIEW_MATRIX).isIdentity());
}

void TestWidgetRenderer::setTransformReplacesMatrixAndColour()
{
    Transform t;
    t.SetTranslation(0, 0, -30);
    t.SetRotation(20, 1, 0, 0);
    t.SetScale(2);
    t.SetColor(1, 1, 1, 0.5f);
    m_renderer->SetTransform(colored(0.2f, 0.2f, 0.2f, 1));  // replaced, not composed
    m_renderer->SetTransform(t);
    QMatrix4x4 expected;
    expected.translate(0, 0, -30);
    expected.rotate(20, 1, 0, 0);
    expected.scale(2);
    QVERIFY(fuzzyEqual(glMatrix(GL_MODELVIEW_MATRIX), expected));
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    // QColor keeps 16 bits per channel: 0.5 comes back as 32768 / 65535.
    QCOMPARE(QVector4D(c[0], c[1], c[2], c[3]), QVector4D(1, 1, 1, 32768.0f / 65535.0f));
}

void TestWidgetRenderer::zeroAxisRotationLeavesGeometryUnrotated()
{
    Transform t;  // rotation (1, 0, 0, 0): one degree about no axis
    t.SetTranslation(1, 2, -3);
    m_renderer->SetTransform(t);
    QMatrix4x4 expected;
    expected.translate(1, 2, -3);
    QVERIFY(fuzzyEqual(glMatrix(GL_MODELVIEW_MATRIX), expected));
}

void TestWidgetRenderer::overlappingPolygonsAddUp()
{
    m_renderer->StartDraw();
    drawUnlit(colored(0.25f, 0, 0, 1), 5, -10);
    drawUnlit(colored(0, 0, 1, 0.5f), 5, -5);  // nearer, drawn after: adds, weighted by alpha
    drawUnlit(colored(0.25f, 0, 0, 1), 5, -20);  // farther, drawn last: still adds (no depth test)
    const QRgb pixel = centre(m_gl->grab());
    QVERIFY(qAbs(qRed(pixel) - 128) <= 2);
    QCOMPARE(qGreen(pixel), 0);
    QVERIFY(qAbs(qBlue(pixel) - 128) <= 2);
}

void TestWidgetRenderer::alphaZeroLeavesTheFrameUnchanged()
{
    m_renderer->StartDraw();
    drawUnlit(colored(1, 1, 1, 0), 5, -10);
    const QRgb pixel = centre(m_gl->grab());
    QCOMPARE(qRed(pixel) + qGreen(pixel) + qBlue(pixel), 0);
}

void TestWidgetRenderer::nullTextureChangesNoBinding()
{
    QImage* image = new QImage(4, 4, QImage::Format_ARGB32);
    image->fill(Qt::red);
    Texture texture(image);
    texture.convertToGl();
    m_renderer->LoadTexture(&texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    Quad quad(1, -5);
    m_renderer->DrawPolygon(quad.points, nullptr, quad.coords);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    QCOMPARE(bound, 0);
    m_renderer->DrawPolygon(quad.points, &texture, quad.coords);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    QCOMPARE(GLuint(bound), texture.GetGlId());
}

void TestWidgetRenderer::loadTextureRecordsIdAndStatus()
{
    QImage* image = new QImage(8, 4, QImage::Format_ARGB32);
    image->fill(qRgba(0, 255, 0, 0));  // transparent pixels upload as opaque
    Texture texture(image);
    texture.convertToGl();
    QCOMPARE(texture.GetStatus(), 1);
    m_renderer->LoadTexture(&texture);
    QCOMPARE(texture.GetStatus(), 2);
    QVERIFY(texture.GetGlId() != 0);
    QVERIFY(glIsTexture(texture.GetGlId()));
    GLint width = 0, format = 0, alphaBits = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    QCOMPARE(width, 8);
    QVERIFY(format == 3 || format == GL_RGB || format == GL_RGB8);
    QCOMPARE(alphaBits, 0);
}

void TestWidgetRenderer::secondUploadFreesTheFirst()
{
    QImage* image = new QImage(4, 4, QImage::Format_ARGB32);
    image->fill(Qt::red);
    Texture texture(image);
    texture.convertToGl();
    m_renderer->LoadTexture(&texture);
    const GLuint first = texture.GetGlId();
    m_renderer->LoadTexture(&texture);
    QVERIFY(glIsTexture(texture.GetGlId()));
    QVERIFY(texture.GetGlId() == first || !glIsTexture(first));  // GL may hand the name out again
}

void TestWidgetRenderer::fewerTexCoordsThanPointsDrawsSafely()
{
    QImage* image = new QImage(2, 2, QImage::Format_ARGB32);
    image->fill(Qt::white);
    Texture texture(image);
    texture.convertToGl();
    m_renderer->LoadTexture(&texture);
    m_renderer->StartDraw();
    Quad quad(5, -10);
    const QList<QPointF*> two = quad.coords.mid(0, 2);
    glDisable(GL_LIGHTING);
    m_renderer->SetTransform(colored(1, 1, 1, 1));
    m_renderer->DrawPolygon(quad.points, &texture, two);  // must not read past the list
    glFinish();
    QCOMPARE(qRed(centre(m_gl->grab())), 255);
}

void TestWidgetRenderer::narrowImagesAreConvertedBeforeUpload_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<int>("depth");
    QTest::newRow("24-bit") << QImage::Format_RGB888 << 24;
    QTest::newRow("8-bit grey") << QImage::Format_Grayscale8 << 8;
}

// Uploading reads four bytes a pixel: a narrower image is converted first
// rather than read past its end.
void TestWidgetRenderer::narrowImagesAreConvertedBeforeUpload()
{
    QFETCH(QImage::Format, format);
    QFETCH(int, depth);
    QImage* image = new QImage(33, 17, format);
    image->fill(Qt::white);
    Texture texture(image);
    QTest::ignoreMessage(QtWarningMsg,
                         qPrintable(QStringLiteral("texture image of %1 bits per pixel converted "
                                                   "to the GL layout before upload").arg(depth)));
    m_renderer->LoadTexture(&texture);
    QCOMPARE(texture.GetStatus(), 2);
    std::vector<GLubyte> texels(33 * 17 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    QCOMPARE(int(texels.back()), 255);
    QCOMPARE(int(texels.front()), 255);
}

namespace {

QImage* twoByTwo(QRgb a, QRgb b)
{
    auto* image = new QImage(2, 2, QImage::Format_ARGB32);
    image->setPixel(0, 0, a), image->setPixel(1, 1, a);
    image->setPixel(1, 0, b), image->setPixel(0, 1, b);
    return image;
}

// A face of `corners` points around (x, y), textured with the first
// `coords` of its corners' coordinates.
void addFace(ModelObject& mesh, float x, float y, int corners, Texture* texture, int coords)
{
    auto* face = new PolygonObject(&mesh, QString());
    for (int i = 0; i < corners; ++i) {
        const float angle = float(i) * 6.2832f / float(corners);
        PointObject* point = face->AddPoint(x + 2 * std::cos(angle), y + 2 * std::sin(angle), -20);
        point->m_normal = QVector3D(std::cos(angle), 0.5f, 1);
        mesh.AddPoint(point);
        if (i < coords)
            face->AddTexCoord(0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle));
    }
    face->SetTexture(texture);
    mesh.AddPolygon(face);
}

}  // namespace

// Everything a face can do to the GL state that the next face sees: two
// textures taking turns, untextured faces that keep the last binding and
// coordinate, a five-cornered face, a face short of coordinates, one too
// small to draw that still binds, and a following untextured mesh.
void TestWidgetRenderer::meshDrawnAtOnceLooksAsFaceByFace()
{
    Texture red(twoByTwo(qRgb(255, 40, 0), qRgb(90, 0, 0)));
    Texture blue(twoByTwo(qRgb(0, 60, 255), qRgb(0, 200, 90)));
    for (Texture* texture : {&red, &blue}) {
        texture->convertToGl();
        m_renderer->LoadTexture(texture);
    }
    ModelObject mesh(nullptr, QStringLiteral("mesh"));
    addFace(mesh, -6, -6, 3, &red, 3);
    addFace(mesh, -2, -6, 3, &blue, 3);
    addFace(mesh, 2, -6, 3, nullptr, 0);
    addFace(mesh, 6, -6, 5, &red, 5);
    addFace(mesh, -6, 0, 3, &red, 1);
    addFace(mesh, -2, 0, 3, &red, 3);
    addFace(mesh, 0, 0, 2, &blue, 2);
    ModelObject untextured(nullptr, QStringLiteral("after"));
    addFace(untextured, 4, 4, 4, nullptr, 0);
    Transform tint;
    tint.SetColor(1, 0.8f, 0.6f, 0.7f);

    QImage pictures[2];
    for (QImage& picture : pictures) {
        m_renderer->StartDraw();
        if (&picture == &pictures[0]) {
            m_renderer->DrawMesh(mesh, tint, tint);
            m_renderer->DrawMesh(untextured, tint, tint);
        } else {
            m_renderer->Renderer::DrawMesh(mesh, tint, tint);
            m_renderer->Renderer::DrawMesh(untextured, tint, tint);
        }
        glFinish();
        picture = m_gl->grab();
    }
    QCOMPARE(m_renderer->meshCache().compileCount(), 2);
    QCOMPARE(pictures[0], pictures[1]);
    int lit = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            lit += qGray(pictures[0].pixel(x, y)) > 20 ? 1 : 0;
    QVERIFY2(lit > kSize * kSize / 10, "the faces should cover a good part of the frame");
}

QTEST_MAIN(TestWidgetRenderer)
#include "tst_widgetrenderer.moc"

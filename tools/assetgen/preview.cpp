#include "preview.h"

#include "meshbuilder.h"
#include "paintkit.h"

#include <QMatrix4x4>
#include <QPainter>

#include <cmath>
#include <vector>

namespace preview {

namespace {

struct ScreenCorner { QVector3D position; QVector2D uv; }; // x, y in pixels; z towards the viewer

// Colours one pixel: the texture (or the material colour) under flat light.
class Shader
{
public:
    Shader(const MeshBuilder& mesh, const QMap<QString, QImage>& textures, int material)
    {
        const Material* m = material >= 0 ? &mesh.materials()[size_t(material)] : nullptr;
        m_colour = m ? m->diffuse : QColor(200, 200, 200);
        if (m)
            m_texture = textures.value(m->texture);
    }
    QRgb at(const QVector2D& uv, float shade) const
    {
        QColor c = m_colour;
        if (!m_texture.isNull()) {
            const int x = qBound(0, int(uv.x() * m_texture.width()), m_texture.width() - 1);
            const int y = qBound(0, int((1.0f - uv.y()) * m_texture.height()), m_texture.height() - 1);
            c = QColor(m_texture.pixel(x, y));
        }
        return qRgb(int(c.red() * shade), int(c.green() * shade), int(c.blue() * shade));
    }

private:
    QColor m_colour;
    QImage m_texture;
};

float edge(const QVector3D& a, const QVector3D& b, float x, float y)
{
    return (b.x() - a.x()) * (y - a.y()) - (b.y() - a.y()) * (x - a.x());
}

// Fills one triangle into the image with a depth test (larger z is nearer).
void rasterise(const ScreenCorner (&c)[3], const Shader& shader, float shade, QImage& image, std::vector<float>& depth)
{
    const float area = edge(c[0].position, c[1].position, c[2].position.x(), c[2].position.y());
    if (qAbs(area) < 1e-6f)
        return;
    const int w = image.width(), h = image.height();
    const int x0 = qMax(0, int(std::floor(qMin(c[0].position.x(), qMin(c[1].position.x(), c[2].position.x())))));
    const int x1 = qMin(w - 1, int(std::ceil(qMax(c[0].position.x(), qMax(c[1].position.x(), c[2].position.x())))));
    const int y0 = qMax(0, int(std::floor(qMin(c[0].position.y(), qMin(c[1].position.y(), c[2].position.y())))));
    const int y1 = qMin(h - 1, int(std::ceil(qMax(c[0].position.y(), qMax(c[1].position.y(), c[2].position.y())))));
    for (int y = y0; y <= y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float b0 = edge(c[1].position, c[2].position, px, py) / area;
            const float b1 = edge(c[2].position, c[0].position, px, py) / area;
            const float b2 = 1.0f - b0 - b1;
            if (b0 < 0 || b1 < 0 || b2 < 0)
                continue;
            const float z = b0 * c[0].position.z() + b1 * c[1].position.z() + b2 * c[2].position.z();
            float& nearest = depth[size_t(y) * size_t(w) + size_t(x)];
            if (z <= nearest)
                continue;
            nearest = z;
            line[x] = shader.at(c[0].uv * b0 + c[1].uv * b1 + c[2].uv * b2, shade);
        }
    }
}

} // namespace

QImage prop(const MeshBuilder& mesh, const QMap<QString, QImage>& textures, int size, float yaw)
{
    QMatrix4x4 view;
    view.rotate(22, 1, 0, 0);
    view.rotate(yaw, 0, 1, 0);
    QVector3D lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f);
    for (const auto& t : mesh.triangles()) {
        for (const auto& corner : t.corners) {
            const QVector3D p = view.map(corner.position);
            lo = QVector3D(qMin(lo.x(), p.x()), qMin(lo.y(), p.y()), qMin(lo.z(), p.z()));
            hi = QVector3D(qMax(hi.x(), p.x()), qMax(hi.y(), p.y()), qMax(hi.z(), p.z()));
        }
    }
    // Rendered at twice the size, then scaled down smoothly: cheap antialiasing.
    const int big = size * 2;
    const float scale = big * 0.86f / qMax(hi.x() - lo.x(), hi.y() - lo.y());
    const QVector3D mid = (lo + hi) / 2;
    QImage image(big, big, QImage::Format_RGB32);
    image.fill(QColor(24, 26, 32));
    std::vector<float> depth(size_t(big) * size_t(big), -1e30f);
    const QVector3D light = QVector3D(-0.4f, 0.6f, 0.7f).normalized();
    for (const auto& t : mesh.triangles()) {
        ScreenCorner c[3];
        for (int k = 0; k < 3; ++k) {
            const QVector3D p = view.map(t.corners[k].position) - mid;
            c[k] = {{big / 2.0f + p.x() * scale, big / 2.0f - p.y() * scale, p.z()}, t.corners[k].uv};
        }
        const QVector3D normal = QVector3D::normal(view.map(t.corners[0].position), view.map(t.corners[1].position),
                                                   view.map(t.corners[2].position));
        const float shade = 0.3f + 0.7f * qMax(0.0f, QVector3D::dotProduct(normal, light));
        rasterise(c, Shader(mesh, textures, t.material), shade, image, depth);
    }
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage contactSheet(const QVector<QPair<QString, QImage>>& cells, int columns, int cellSize)
{
    const int label = 26;
    const int rows = (cells.size() + columns - 1) / columns;
    QImage sheet(columns * cellSize, rows * (cellSize + label), QImage::Format_RGB32);
    sheet.fill(QColor(16, 16, 20));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < cells.size(); ++i) {
        const QPointF corner((i % columns) * cellSize, (i / columns) * (cellSize + label));
        painter.drawImage(QRectF(corner + QPointF(4, 4), QSizeF(cellSize - 8, cellSize - 8)), cells[i].second);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(230, 230, 235));
        painter.drawPath(paintkit::centredText(cells[i].first, paintkit::dejavu("DejaVuSans.ttf", 15),
                                               corner + QPointF(cellSize / 2.0, cellSize + label / 2.0 - 2)));
    }
    return sheet;
}

} // namespace preview

#ifndef PREVIEW_H
#define PREVIEW_H

#include <QImage>
#include <QMap>
#include <QString>
#include <QVector>

class MeshBuilder;

// Pictures for people, not for the demo: a flat-shaded orthographic view of a
// prop (each triangle coloured by its texture at the triangle's centre) and
// contact sheets that put labelled pictures side by side.
namespace preview {

// `yaw` turns the prop about y before it is tilted towards the viewer.
QImage prop(const MeshBuilder& mesh, const QMap<QString, QImage>& textures, int size, float yaw);
QImage contactSheet(const QVector<QPair<QString, QImage>>& cells, int columns, int cellSize);

} // namespace preview

#endif

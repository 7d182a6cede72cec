#ifndef RECORDINGRENDERER_H
#define RECORDINGRENDERER_H

#include "renderer.h"
#include "transform.h"

#include <QString>
#include <QStringList>
#include <QVector>

class PointObject;
class Texture;

// A renderer that draws nothing and remembers every call, for tests that
// check what the scene graph asks of a renderer and in which order.
class RecordingRenderer : public Renderer
{
public:
    struct Polygon {
        QVector<QVector3D> vertices;  // the points' translations, in order
        QVector<QVector3D> normals;
        QVector<QPointF> texCoords;   // as handed over, one per entry of the list
        Texture* texture;
    };

    void Init() override { calls << "Init"; }
    void Uninit() override { calls << "Uninit"; }
    void StartDraw() override { calls << "StartDraw"; }
    void EndDraw() override { calls << "EndDraw"; }
    void ResizeWindow(int width, int height) override;
    void LoadTexture(Texture* texture) override;
    void SetTransform(const Transform& transform) override;
    void DrawPolygon(const QList<PointObject*>& points, Texture* texture,
                     const QList<QPointF*>& texCoords) override;

    void clear();

    QStringList calls;               // "StartDraw", "SetTransform", "DrawPolygon", ...
    QVector<Transform> transforms;   // every SetTransform argument
    QVector<Polygon> polygons;       // every DrawPolygon argument
    unsigned int nextTextureId = 1;  // LoadTexture hands out 1, 2, 3, ...
};

#endif

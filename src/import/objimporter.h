#ifndef OBJIMPORTER_H
#define OBJIMPORTER_H

#include <QString>

class Model;
class ModelObject;
class PolygonObject;
struct ModelTriangle;

// Turns a Wavefront OBJ file into one mesh node: a polygon with three points
// of its own per triangle. Groups and materials leave no trace.
class ObjImporter
{
public:
    // Reads and converts the file; the nodes are named after its base name.
    ModelObject* load(const QString& file);
    // The mesh node for a loaded model, owned by the caller.
    ModelObject* convert(const Model& model, const QString& name);

private:
    static QString baseName(const QString& file);
    static PolygonObject* convertTriangle(const ModelTriangle& triangle, ModelObject* mesh,
                                          const QString& name, int index);
};

#endif

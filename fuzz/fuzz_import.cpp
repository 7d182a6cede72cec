// Imports each input as an OBJ file (with its MTL library) through the
// engine's entry point, and checks the mesh node tree it builds.

#include "fuzzinput.h"
#include "modelimporter.h"
#include "modelobject.h"
#include "polygonobject.h"

#include <QString>
#include <QtGlobal>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool silenced = (qInstallMessageHandler(quiet), true);
    (void)silenced;
    const FuzzInput input(data, size);
    input.writeModel();
    ModelObject* mesh = ModelImporter::load(QString::fromStdString(FuzzInput::objPath()));
    require(mesh != nullptr);
    require(mesh->GetPoints().size() == 3 * mesh->NumFaces());
    for (const PolygonObject* polygon : mesh->GetPolygons())
        require(polygon->GetPoints().size() == 3
                && (polygon->GetTexCoords().isEmpty() || polygon->GetTexCoords().size() == 3));
    delete mesh;
    return 0;
}

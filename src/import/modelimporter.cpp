#include "modelimporter.h"

#include "modelobject.h"
#include "objimporter.h"

int ModelImporter::parseType(const QString& file)
{
    const int dot = file.lastIndexOf('.');
    return file.mid(dot + 1) == QLatin1String("obj") ? Obj : Unknown;
}

ModelObject* ModelImporter::load(const QString& file)
{
    if (parseType(file) != Obj)
        return nullptr;
    ObjImporter importer;
    return importer.load(file);
}

#include "modelimporter.h"

#include "modelobject.h"

// Placeholder until the OBJ importer lands: recognises the type, builds nothing.
int ModelImporter::parseType(const QString& file)
{
    const int dot = file.lastIndexOf('.');
    return file.mid(dot + 1) == QLatin1String("obj") ? Obj : Unknown;
}

ModelObject* ModelImporter::load(const QString& file)
{
    if (parseType(file) != Obj)
        return nullptr;
    return new ModelObject(nullptr, QString());
}

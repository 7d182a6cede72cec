#ifndef MODELIMPORTER_H
#define MODELIMPORTER_H

#include <QString>

class ModelObject;

// Entry point of model import: picks an importer by the file's extension.
class ModelImporter
{
public:
    enum FileType { Unknown = 0, Obj = 1 };

    // 1 for the extension "obj" exactly (case-sensitive), else 0. A name
    // without "." is its own extension.
    static int parseType(const QString& file);
    // A new mesh node tree owned by the caller, or null for an unknown type.
    static ModelObject* load(const QString& file);
};

#endif

#ifndef OBJFILEGENERATOR_H
#define OBJFILEGENERATOR_H

#include <string>

// Writes a large, deterministic Wavefront OBJ file and its material library
// for the reader benchmarks: a rippled grid of vertices, each with a texture
// coordinate and a normal, cut into bands of quads ("f v/vt/vn" x 4), one
// group and one "usemtl" per band. The same parameters always give the same
// bytes, so figures from different runs and machines read the same input.
class ObjFileGenerator
{
public:
    // `rows` x `columns` vertices, `groups` bands, `materials` materials.
    ObjFileGenerator(int rows, int columns, int groups, int materials);

    // The benchmark file: about 60 MB, ~50 groups.
    static ObjFileGenerator standard();

    // Writes `directory`/`baseName`.obj and .mtl unless the .obj is already
    // there; returns the .obj path, or "" when it cannot be written.
    std::string ensure(const std::string& directory, const std::string& baseName) const;

private:
    bool writeObj(const std::string& path, const std::string& mtlName) const;
    bool writeMtl(const std::string& path) const;

    int m_rows;
    int m_columns;
    int m_groups;
    int m_materials;
};

#endif

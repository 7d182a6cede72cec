#ifndef PEEROBJREADERS_H
#define PEEROBJREADERS_H

#include <cstddef>
#include <string>

// Independent OBJ readers from Debian, linked here only as baselines for
// bench_objread: tinyobjloader (libtinyobjloader-dev) and assimp
// (libassimp-dev). Each reads a whole file into its own structures, with its
// fastest single-threaded settings that still end in triangles, and reports
// what it read, so that the benchmark can check that it did the same work.
class PeerObjReaders
{
public:
    struct Counts {
        size_t vertices = 0;
        size_t normals = 0;
        size_t texcoords = 0;
        size_t triangles = 0;
    };

    // False (and a message in `error`) when the reader fails on the file.
    static bool readTinyObj(const std::string& file, Counts& counts, std::string& error);
    static bool readAssimp(const std::string& file, Counts& counts, std::string& error);
};

#endif

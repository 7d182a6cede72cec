#include "peerobjreaders.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <tiny_obj_loader.h>

#include <vector>

bool PeerObjReaders::readTinyObj(const std::string& file, Counts& counts, std::string& error)
{
    // Triangulated (our reader makes triangles too); no vertex colours, which
    // the library would otherwise fill with a default for every vertex.
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warning;
    const std::string dir = file.substr(0, file.rfind('/') + 1);
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, file.c_str(), dir.c_str(),
                          /*triangulate=*/true, /*default_vcols_fallback=*/false))
        return false;
    counts = Counts{attrib.vertices.size() / 3, attrib.normals.size() / 3, attrib.texcoords.size() / 2, 0};
    for (const tinyobj::shape_t& shape : shapes)
        counts.triangles += shape.mesh.num_face_vertices.size();
    return true;
}

bool PeerObjReaders::readAssimp(const std::string& file, Counts& counts, std::string& error)
{
    // One importer for the whole run (building one registers every format);
    // triangulation is the only post-processing step.
    static Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file, aiProcess_Triangulate);
    if (!scene) {
        error = importer.GetErrorString();
        return false;
    }
    // assimp keeps no shared vertex list: every mesh holds its corners.
    counts = Counts{};
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        counts.vertices += scene->mMeshes[i]->mNumVertices;
        counts.triangles += scene->mMeshes[i]->mNumFaces;
    }
    importer.FreeScene();
    return true;
}

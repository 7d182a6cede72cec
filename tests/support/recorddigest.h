#ifndef RECORDDIGEST_H
#define RECORDDIGEST_H

// A 64-bit digest (FNV-1a) of everything the OBJ reader puts into a record:
// counts, every coordinate array whole (entry 0 included), the triangles,
// the groups in list order and the materials. Two records with the same
// digest are, for any practical purpose, the same bytes. Plain C++, so that
// the benchmarks can use it too.

#include "glm.h"

#include <cstdint>
#include <cstring>

class RecordDigest
{
public:
    RecordDigest& bytes(const void* data, size_t size)
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            m_hash = (m_hash ^ p[i]) * 0x100000001b3ull;
        return *this;
    }
    template <typename T> RecordDigest& value(const T& v) { return bytes(&v, sizeof v); }
    // Null and empty differ; the terminator ends the string.
    RecordDigest& text(const char* s) { return s ? bytes(s, strlen(s) + 1) : value(uint8_t(0xff)); }
    template <typename T> RecordDigest& array(const T* data, size_t count)
    {
        value(uint8_t(data != nullptr));
        return data ? bytes(data, count * sizeof(T)) : *this;
    }

    RecordDigest& model(const GLMmodel* m)
    {
        text(m->pathname).text(m->mtllibname);
        value(m->numvertices).array(m->vertices, 3 * (size_t(m->numvertices) + 1));
        value(m->numnormals).array(m->normals, m->normals ? 3 * (size_t(m->numnormals) + 1) : 0);
        value(m->numtexcoords).array(m->texcoords, m->texcoords ? 2 * (size_t(m->numtexcoords) + 1) : 0);
        value(m->numfacetnorms).value(uint8_t(m->facetnorms != nullptr));
        value(m->numtriangles).array(m->triangles, m->numtriangles);
        value(m->numgroups);
        for (const GLMgroup* g = m->groups; g; g = g->next)
            text(g->name).value(g->numtriangles).value(g->material).array(g->triangles, g->numtriangles);
        value(m->nummaterials);
        for (GLuint i = 0; i < m->nummaterials; ++i) {
            const GLMmaterial& mat = m->materials[i];
            text(mat.name).value(mat.diffuse).value(mat.ambient).value(mat.specular).value(mat.emissive);
            value(mat.shininess);
        }
        return value(m->position);
    }

    uint64_t result() const { return m_hash; }

private:
    uint64_t m_hash = 0xcbf29ce484222325ull;
};

#endif

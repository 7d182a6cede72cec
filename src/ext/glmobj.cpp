// The OBJ reader.
//
// A file is read into memory once and tokenised in place, in two passes: the
// first counts (and reads the material library) so that every array can be
// allocated once, the second fills them. Both passes run the same statement
// and face code, so they always agree on what the file holds; the one
// exception is the common simple face, which the first pass counts without
// reading its numbers, to an upper bound that the second pass trims.
//
// A statement starts with a whitespace-delimited keyword, recognised by its
// first character (and, after "v", its second). "v", "vn" and "vt" read their
// numbers from their own line only, and the rest of that line is ignored; a
// number that is missing or does not parse leaves 0 in its slot.

#include "glmfaces.h"
#include "glmreader.h"

namespace {

// A written index as a slot of an array holding `count` entries, of which
// `read` have been read so far: negative indices count back from the last one
// read (-1 is the last), and anything outside 1..count becomes 0, the empty slot.
inline GLuint _glmResolve(long long index, GLuint read, GLuint count)
{
    if (index < 0)
        index += static_cast<long long>(read) + 1;
    return index >= 1 && index <= count ? GLuint(index) : 0;
}

GLMgroup* _glmFindGroup(GLMreader& reader, std::string_view name)
{
    const auto found = reader.groups.find(name);
    return found == reader.groups.end() ? nullptr : found->second;
}

// The group of that name, or a new empty one at the head of the list.
GLMgroup* _glmAddGroup(GLMreader& reader, std::string_view name)
{
    if (GLMgroup* existing = _glmFindGroup(reader, name))
        return existing;
    GLMmodel* model = reader.model;
    GLMgroup* group = _glmAllocate<GLMgroup>(1);
    group->name = _glmCopy(name);
    group->next = model->groups;
    model->groups = group;
    model->numgroups++;
    reader.groups.emplace(std::string_view(group->name, name.size()), group);
    return group;
}

// A "g" line without a name goes back to the "default" group.
std::string_view _glmGroupName(std::string_view word)
{
    return word.empty() ? std::string_view("default") : word;
}

bool _glmUnknownToken(std::string_view token)
{
    fputs("_glmFirstPass(): Unknown token \"", stdout);
    fwrite(token.data(), 1, token.size(), stdout);
    fputs("\".\n", stdout);
    return _glmFatal();
}

// Counts the vertices, normals, texture coordinates and triangles (overall
// and per group), reads the material library and sizes every group.
class GLMfirstPass
{
public:
    explicit GLMfirstPass(GLMreader& reader) : m_reader(reader), m_model(reader.model) {}

    bool run(GLMcursor c)
    {
        m_reader.group = _glmAddGroup(m_reader, "default");
        std::string_view token;
        while (_glmNextToken(c, token)) {
            switch (token[0]) {
            case 'v': if (!countCoordinates(token, c)) return false; break;
            case 'm': if (!_glmReadMTL(m_model, _glmFirstWord(c))) return false; break;
            case 'g': m_reader.group = _glmAddGroup(m_reader, _glmGroupName(_glmFirstWord(c))); break;
            case 'f': countFace(c); break;
            default: _glmSkipLine(c); break;  // "#", "usemtl", "o", "s", ...
            }
        }
        return true;
    }

private:
    bool countCoordinates(std::string_view token, GLMcursor& c)
    {
        if (token.size() == 1)
            ++m_model->numvertices;
        else if (token[1] == 'n')
            ++m_model->numnormals;
        else if (token[1] == 't')
            ++m_model->numtexcoords;
        else
            return _glmUnknownToken(token);
        _glmSkipLine(c);
        return true;
    }

    // Simple faces are counted to an upper bound; the second pass trims.
    void countFace(GLMcursor& c)
    {
        GLuint bound = 0;
        if (_glmBoundSimpleFace(c, bound))
            return addTriangles(bound);
        _glmReadFace(c, [this](const GLMref&, const GLMref&, const GLMref&) { addTriangles(1); });
    }

    void addTriangles(GLuint count)
    {
        m_model->numtriangles += count;
        m_reader.group->numtriangles += count;
    }

    GLMreader& m_reader;
    GLMmodel* m_model;
};

// An array that the second pass fills completely.
template <typename T> T* _glmAllocateFilled(size_t count)
{
    return static_cast<T*>(_glmAllocateLarge(count * sizeof(T)));
}

template <typename T> T* _glmShrink(T* array, size_t count)
{
    T* shrunk = static_cast<T*>(realloc(array, (count ? count : 1) * sizeof(T)));
    return shrunk ? shrunk : array;
}

// Allocates every array at the size the first pass counted, entry 0 of each
// coordinate array zero. Groups count their triangles again while filling.
void _glmAllocateArrays(GLMmodel* model)
{
    model->vertices = _glmAllocateFilled<GLfloat>(3 * (size_t(model->numvertices) + 1));
    if (model->numnormals)
        model->normals = _glmAllocateFilled<GLfloat>(3 * (size_t(model->numnormals) + 1));
    if (model->numtexcoords)
        model->texcoords = _glmAllocateFilled<GLfloat>(2 * (size_t(model->numtexcoords) + 1));
    memset(model->vertices, 0, 3 * sizeof(GLfloat));
    if (model->normals)
        memset(model->normals, 0, 3 * sizeof(GLfloat));
    if (model->texcoords)
        memset(model->texcoords, 0, 2 * sizeof(GLfloat));
    model->triangles = _glmAllocateFilled<GLMtriangle>(model->numtriangles);
    for (GLMgroup* group = model->groups; group; group = group->next) {
        group->triangles = _glmAllocateFilled<GLuint>(group->numtriangles);
        group->numtriangles = 0;
    }
}

// Fills the arrays. Every statement is read exactly as the first pass read it.
class GLMsecondPass
{
public:
    explicit GLMsecondPass(GLMreader& reader) : m_reader(reader), m_model(reader.model) {}

    void run(GLMcursor c)
    {
        _glmIndexMaterials(m_reader);
        m_reader.group = _glmFindGroup(m_reader, "default");
        std::string_view token;
        while (_glmNextToken(c, token)) {
            switch (token[0]) {
            case 'v': readCoordinates(token, c); break;
            case 'u': useMaterial(_glmFirstWord(c)); break;
            case 'g': useGroup(_glmGroupName(_glmFirstWord(c))); break;
            case 'f': readFace(c); break;
            default: _glmSkipLine(c); break;  // "#", "mtllib", "o", "s", ...
            }
        }
        GLM_REQUIRE(m_numtriangles <= m_model->numtriangles);
        if (m_numtriangles < m_model->numtriangles)
            trimTriangles();
        GLM_REQUIRE(m_numvertices == m_model->numvertices && m_numnormals == m_model->numnormals
                    && m_numtexcoords == m_model->numtexcoords);
    }

private:
    // The first pass counted some malformed faces high: arrays to their
    // true size.
    void trimTriangles()
    {
        m_model->numtriangles = m_numtriangles;
        m_model->triangles = _glmShrink(m_model->triangles, m_numtriangles);
        for (GLMgroup* group = m_model->groups; group; group = group->next)
            group->triangles = _glmShrink(group->triangles, group->numtriangles);
    }

    void readCoordinates(std::string_view token, GLMcursor& c)
    {
        // The first pass counted exactly these statements, so the checks
        // against the counts only guard the arrays.
        const char kind = token.size() == 1 ? ' ' : token[1];
        if (kind == ' ' && m_numvertices < m_model->numvertices)
            readNumbers(c, &m_model->vertices[3 * size_t(++m_numvertices)], 3);
        else if (kind == 'n' && m_numnormals < m_model->numnormals)
            readNumbers(c, &m_model->normals[3 * size_t(++m_numnormals)], 3);
        else if (kind == 't' && m_numtexcoords < m_model->numtexcoords)
            readNumbers(c, &m_model->texcoords[2 * size_t(++m_numtexcoords)], 2);
        if (*c.p == '\n')
            ++c.p;
        else
            _glmSkipLine(c);
    }

    // The slot is written whole, 0 where a number is missing: the arrays
    // start out undefined.
    static void readNumbers(GLMcursor& c, GLfloat* slot, int count)
    {
        GLfloat values[3] = {0.0f, 0.0f, 0.0f};
        _glmReadFloats(c, values, count);
        memcpy(slot, values, size_t(count) * sizeof(GLfloat));
    }

    void useMaterial(std::string_view name)
    {
        m_material = _glmFindMaterial(m_reader, name);
        m_reader.group->material = m_material;
    }

    void useGroup(std::string_view name)
    {
        if (GLMgroup* group = _glmFindGroup(m_reader, name))
            m_reader.group = group;
        m_reader.group->material = m_material;
    }

    void readFace(GLMcursor& c)
    {
        _glmReadFace(c, [this](const GLMref& a, const GLMref& b, const GLMref& d) {
            addTriangle(a, b, d);
        });
    }

    void addTriangle(const GLMref& a, const GLMref& b, const GLMref& c)
    {
        if (m_numtriangles == m_model->numtriangles)
            return;
        GLMtriangle triangle;
        setCorner(triangle, 0, a);
        setCorner(triangle, 1, b);
        setCorner(triangle, 2, c);
        triangle.findex = 0;
        m_model->triangles[m_numtriangles] = triangle;
        GLMgroup* group = m_reader.group;
        group->triangles[group->numtriangles++] = m_numtriangles++;
    }

    void setCorner(GLMtriangle& triangle, int k, const GLMref& ref) const
    {
        triangle.vindices[k] = _glmResolve(ref.v, m_numvertices, m_model->numvertices);
        triangle.tindices[k] = _glmResolve(ref.t, m_numtexcoords, m_model->numtexcoords);
        triangle.nindices[k] = _glmResolve(ref.n, m_numnormals, m_model->numnormals);
    }

    GLMreader& m_reader;
    GLMmodel* m_model;
    GLuint m_numvertices = 0;   // entries filled so far, also the last index read
    GLuint m_numnormals = 0;
    GLuint m_numtexcoords = 0;
    GLuint m_numtriangles = 0;
    GLuint m_material = 0;      // current material
};

}  // namespace

namespace {

// Reads a text followed by kGlmPadding zero bytes.
GLMmodel* _glmReadPadded(const char* data, size_t size, const char* pathname)
{
    GLMmodel* model = _glmAllocate<GLMmodel>(1);
    model->pathname = _glmCopy(pathname);
    GLMreader reader{model, {}, {}};
    const GLMcursor text{data, data + size};
    if (!GLMfirstPass(reader).run(text)) {
        glmDelete(model);
        return nullptr;
    }
    _glmAllocateArrays(model);
    GLMsecondPass(reader).run(text);
    return model;
}

}  // namespace

GLMmodel* glmReadOBJMemory(const char* data, size_t size, const char* pathname)
{
    GLM_REQUIRE(pathname);
    GLM_REQUIRE(data || size == 0);
    char* padded = _glmPaddedCopy(data, size);
    GLMmodel* model = _glmReadPadded(padded, size, pathname);
    free(padded);
    return model;
}

GLMmodel* glmReadOBJ(const char* filename)
{
    GLM_REQUIRE(filename);
    GLMfileText file;
    if (!file.read(filename)) {
        fprintf(stderr, "glmReadOBJ() failed: can't open data file \"%s\".\n", filename);
        _glmFatal();
        return nullptr;
    }
    return _glmReadPadded(file.data(), file.size(), filename);
}

GLvoid glmDelete(GLMmodel* model)
{
    if (!model)
        return;
    free(model->pathname);
    free(model->mtllibname);
    free(model->vertices);
    free(model->normals);
    free(model->texcoords);
    free(model->facetnorms);
    free(model->triangles);
    _glmFreeMaterials(model);
    while (GLMgroup* group = model->groups) {
        model->groups = group->next;
        free(group->name);
        free(group->triangles);
        free(group);
    }
    free(model);
}

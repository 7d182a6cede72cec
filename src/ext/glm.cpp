// The OBJ and MTL reader.
//
// A file is read into memory once and tokenised in place, in two passes: the
// first counts (and reads the material library) so that every array can be
// allocated at its exact size, the second fills them. Both passes run the same
// statement and face code, so they always agree on what the file holds.
//
// Text rules, as a scanf-based reader would apply them:
// - a statement starts with a whitespace-delimited keyword, recognised by its
//   first character (and, after "v", its second);
// - tokens and lines may be of any length: a long token is read whole and a
//   skipped line is skipped up to its newline, however long it is;
// - "v", "vn" and "vt" read their numbers from their own line only, and the
//   rest of that line is ignored; a number that is missing or does not parse
//   leaves 0 in its slot, and "nan", "inf" or out-of-range numbers read as 0;
// - face references are read like "%d", "%d/%d", "%d/%d/%d" or "%d//%d"
//   (the first reference, which must be on the "f" line, decides the form)
//   for as long as the next text reads as a reference.
//
// Numbers are parsed with std::from_chars, which always takes a point as the
// decimal separator. The reader therefore leaves the process locale alone:
// setting LC_NUMERIC would change number formatting for the whole program,
// and the "en_US" locale is not installed everywhere.

#include "glm.h"
#include "glmprivate.h"

#include <charconv>
#include <cmath>
#include <string.h>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Indices beyond this are out of range of any model anyway; saturating here
// keeps the arithmetic on them defined.
const long long kIndexLimit = 1LL << 40;

// A read position in a text buffer.
struct _GLMcursor {
    const char* p;    // next character
    const char* end;  // one past the last character
};

// One face corner as written: vertex, texture coordinate and normal index,
// 0 where the reference gives none.
struct _GLMref {
    long long v, t, n;
};

// The four face forms; the first reference of a face decides which one.
enum _GLMform { _GLM_V, _GLM_VT, _GLM_VTN, _GLM_VN };

// Lookup tables kept for one read, so that a file with many groups or
// materials is not searched linearly at every statement.
struct _GLMreader {
    GLMmodel* model;
    std::unordered_map<std::string_view, GLMgroup*> groups;    // keyed by the group's own name
    std::unordered_map<std::string_view, GLuint> materials;  // first material of each name
    GLMgroup* group = nullptr;                                // current group
};

// A NUL-terminated copy of `text` (which may itself hold NUL bytes).
char* _glmCopy(std::string_view text)
{
    char* copy = _glmAllocate<char>(text.size() + 1);
    memcpy(copy, text.data(), text.size());
    return copy;
}

// Character classes of the C locale, by table: the tokeniser asks for every byte.
struct _GLMcharClasses {
    bool space[256] = {};
    constexpr _GLMcharClasses()
    {
        for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
            space[c] = true;
    }
};
constexpr _GLMcharClasses kClasses;

inline bool _glmIsSpace(char c)
{
    return kClasses.space[static_cast<unsigned char>(c)];
}

inline bool _glmIsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// Whitespace within a line.
inline bool _glmIsBlank(char c)
{
    return c != '\n' && _glmIsSpace(c);
}

inline void _glmSkipBlanks(_GLMcursor& c)
{
    while (c.p < c.end && _glmIsBlank(*c.p))
        ++c.p;
}

inline void _glmSkipLine(_GLMcursor& c)
{
    const void* newline = memchr(c.p, '\n', size_t(c.end - c.p));
    c.p = newline ? static_cast<const char*>(newline) + 1 : c.end;
}

// The next whitespace-delimited token; false at the end of the text.
inline bool _glmNextToken(_GLMcursor& c, std::string_view& token)
{
    while (c.p < c.end && _glmIsSpace(*c.p))
        ++c.p;
    const char* start = c.p;
    while (c.p < c.end && !_glmIsSpace(*c.p))
        ++c.p;
    token = std::string_view(start, size_t(c.p - start));
    return c.p != start;
}

// The first word of the rest of the line ("" if there is none); the cursor
// moves past the whole line.
std::string_view _glmFirstWord(_GLMcursor& c)
{
    _glmSkipBlanks(c);
    const char* start = c.p;
    while (c.p < c.end && !_glmIsSpace(*c.p))
        ++c.p;
    const std::string_view word(start, size_t(c.p - start));
    _glmSkipLine(c);
    return word;
}

// Powers of ten that a float holds exactly.
const float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The common "-12.345678" with at most 2^24 as its digits and at most ten
// decimals: one exact float division gives the correctly rounded value.
// Anything else (exponents, long mantissas, "nan", ...) returns false.
inline bool _glmReadSimpleFloat(_GLMcursor& c, GLfloat& value)
{
    const char* s = c.p;
    const bool negative = s < c.end && *s == '-';
    if (s < c.end && (*s == '-' || *s == '+'))
        ++s;
    unsigned long mantissa = 0;
    int digits = 0, decimals = 0;
    for (; s < c.end && _glmIsDigit(*s); ++s, ++digits)
        mantissa = mantissa * 10 + unsigned(*s - '0');
    if (s < c.end && *s == '.')
        for (++s; s < c.end && _glmIsDigit(*s); ++s, ++digits, ++decimals)
            mantissa = mantissa * 10 + unsigned(*s - '0');
    if (digits == 0 || digits > 9 || decimals > 10 || mantissa > (1ul << 24)
        || (s < c.end && (*s == 'e' || *s == 'E')))
        return false;
    const float magnitude = float(mantissa) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    c.p = s;
    return true;
}

// One number of the current line. False, with nothing consumed but blanks,
// when no number starts here; a number that is not finite reads as 0.
inline bool _glmReadFloat(_GLMcursor& c, GLfloat& value)
{
    _glmSkipBlanks(c);
    if (_glmReadSimpleFloat(c, value))
        return true;
    const char* start = c.p;
    if (start < c.end && *start == '+' && !(start + 1 < c.end && start[1] == '-'))
        ++start;  // from_chars takes no plus sign; "%f" does
    float number = 0.0f;
    const std::from_chars_result result = std::from_chars(start, c.end, number);
    if (result.ec == std::errc::invalid_argument)
        return false;
    c.p = result.ptr;
    value = (result.ec == std::errc() && std::isfinite(number)) ? number : 0.0f;
    return true;
}

// Up to `count` numbers of the current line into `values`; stops at the first
// that does not parse, leaving the remaining values as they are.
inline void _glmReadFloats(_GLMcursor& c, GLfloat* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!_glmReadFloat(c, values[i]))
            return;
}

// One integer as "%d" reads it: leading whitespace, newlines included, is
// consumed even when no number follows.
inline bool _glmReadInt(_GLMcursor& c, long long& value)
{
    while (c.p < c.end && _glmIsSpace(*c.p))
        ++c.p;
    const char* s = c.p;
    const bool negative = s < c.end && *s == '-';
    if (s < c.end && (*s == '-' || *s == '+'))
        ++s;
    if (s == c.end || !_glmIsDigit(*s))
        return false;
    long long number = 0;
    for (; s < c.end && _glmIsDigit(*s); ++s)
        if (number < kIndexLimit)
            number = number * 10 + (*s - '0');
    value = negative ? -number : number;
    c.p = s;
    return true;
}

inline bool _glmExpect(_GLMcursor& c, char expected)
{
    if (c.p == c.end || *c.p != expected)
        return false;
    ++c.p;
    return true;
}

// One corner reference in the given form; returns how many of its values
// were read (0: this is not a reference), as the matching scanf format would.
inline int _glmReadRef(_GLMcursor& c, _GLMform form, _GLMref& ref)
{
    ref = _GLMref{0, 0, 0};
    if (!_glmReadInt(c, ref.v))
        return 0;
    switch (form) {
    case _GLM_V:
        return 1;
    case _GLM_VN:
        return _glmExpect(c, '/') && _glmExpect(c, '/') && _glmReadInt(c, ref.n) ? 2 : 1;
    case _GLM_VT:
        return _glmExpect(c, '/') && _glmReadInt(c, ref.t) ? 2 : 1;
    case _GLM_VTN:
        if (!_glmExpect(c, '/') || !_glmReadInt(c, ref.t))
            return 1;
        return _glmExpect(c, '/') && _glmReadInt(c, ref.n) ? 3 : 2;
    }
    return 1;
}

_GLMform _glmFaceForm(std::string_view token)
{
    if (token.find("//") != std::string_view::npos)
        return _GLM_VN;
    _GLMref ref;
    _GLMcursor c{token.data(), token.data() + token.size()};
    if (_glmReadRef(c, _GLM_VTN, ref) == 3)
        return _GLM_VTN;
    c.p = token.data();
    if (_glmReadRef(c, _GLM_VT, ref) == 2)
        return _GLM_VT;
    return _GLM_V;
}

// Reads the references of one face, just after its "f", and hands each
// triangle of its fan to emit(corner 0, corner 1, corner 2): (1, 2, 3),
// (1, 3, 4), (1, 4, 5), ... A face whose first three references are not all
// there makes no triangle; an "f" with nothing after it on its line leaves
// the next line alone.
template <typename Emit> void _glmReadFace(_GLMcursor& c, Emit&& emit)
{
    _glmSkipBlanks(c);
    if (c.p == c.end || *c.p == '\n')
        return;
    std::string_view token;
    _glmNextToken(c, token);
    const _GLMform form = _glmFaceForm(token);
    _GLMcursor first{token.data(), token.data() + token.size()};
    _GLMref corner0{}, previous{}, next{};
    const bool read0 = _glmReadRef(first, form, corner0) > 0;
    const bool read1 = _glmReadRef(c, form, previous) > 0;
    const bool whole = read0 && read1 && _glmReadRef(c, form, next) > 0;
    if (whole)
        emit(corner0, previous, next);
    previous = next;
    while (_glmReadRef(c, form, next) > 0) {
        if (whole)
            emit(corner0, previous, next);
        previous = next;
    }
}

// A written index as a slot of an array holding `count` entries, of which
// `read` have been read so far: negative indices count back from the last one
// read (-1 is the last), and anything outside 1..count becomes 0, the empty slot.
inline GLuint _glmResolve(long long index, GLuint read, GLuint count)
{
    if (index < 0)
        index += static_cast<long long>(read) + 1;
    return index >= 1 && index <= count ? GLuint(index) : 0;
}

// Blocks smaller than this are not worth a system call.
const size_t kPrefaultBytes = size_t(1) << 20;

// A large block that is about to be written from end to end: have the kernel
// map all its pages in one call instead of taking one fault per page as the
// writes reach them. For a 60 MB model the faults cost more than the parsing
// on some virtual machines. Without MADV_POPULATE_WRITE (Linux 5.14) this
// does nothing, and so does a failing call: the faults then come as before.
void _glmPrefault(void* block, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    if (bytes < kPrefaultBytes)
        return;
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (uintptr_t(block) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(block) + bytes) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)block;
    (void)bytes;
#endif
}

// Reads a whole file into memory; null when it cannot be opened or read.
// Only regular files and pipes count as readable: a directory cannot be
// read, and a device such as /dev/zero would never end.
char* _glmReadFile(const char* path, size_t* size)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return nullptr;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
        fclose(file);
        return nullptr;
    }
    size_t capacity = S_ISREG(info.st_mode) ? size_t(info.st_size) + 1 : 65536;
    char* data = _glmAllocate<char>(capacity);
    _glmPrefault(data, capacity);
    size_t length = 0;
    for (size_t got = 1; got != 0; length += got) {
        if (length == capacity) {
            capacity *= 2;
            char* grown = static_cast<char*>(realloc(data, capacity));
            if (!grown)
                _glmOutOfMemory(capacity);
            data = grown;
        }
        got = fread(data + length, 1, capacity - length, file);
    }
    const bool failed = ferror(file);
    fclose(file);
    if (failed) {
        free(data);
        return nullptr;
    }
    *size = length;
    return data;
}

GLMgroup* _glmFindGroup(_GLMreader& reader, std::string_view name)
{
    const auto found = reader.groups.find(name);
    return found == reader.groups.end() ? nullptr : found->second;
}

// The group of that name, or a new empty one at the head of the list.
GLMgroup* _glmAddGroup(_GLMreader& reader, std::string_view name)
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

// The index of the first material of that name, or 0 after a message.
GLuint _glmFindMaterial(_GLMreader& reader, std::string_view name)
{
    const auto found = reader.materials.find(name);
    if (found != reader.materials.end())
        return found->second;
    const std::string copy(name);
    printf("_glmFindMaterial():  can't find material \"%s\".\n", copy.c_str());
    return 0;
}

void _glmIndexMaterials(_GLMreader& reader)
{
    const GLMmodel* model = reader.model;
    reader.materials.clear();
    for (GLuint i = 0; i < model->nummaterials; ++i)
        reader.materials.emplace(model->materials[i].name, i);
}

void _glmFreeMaterials(GLMmodel* model)
{
    for (GLuint i = 0; i < model->nummaterials; ++i)
        free(model->materials[i].name);
    free(model->materials);
    model->materials = nullptr;
    model->nummaterials = 0;
}

void _glmDefaultMaterial(GLMmaterial& material)
{
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    memcpy(material.diffuse, diffuse, sizeof diffuse);
    memcpy(material.ambient, ambient, sizeof ambient);
    memcpy(material.specular, specular, sizeof specular);
    material.shininess = 0.0f;
}

// Every MTL statement takes exactly one line, in the counting pass as in the
// reading pass, so "newmtl" is counted exactly where it is read.
GLuint _glmCountMaterials(_GLMcursor c)
{
    GLuint count = 1;  // "default"
    std::string_view token;
    while (_glmNextToken(c, token)) {
        if (token[0] == 'n')
            ++count;
        _glmSkipLine(c);
    }
    return count;
}

// One statement of a library into `material` (the current one).
void _glmReadMaterialStatement(std::string_view keyword, _GLMcursor& c, GLMmaterial& material)
{
    if (keyword[0] == 'N') {
        if (_glmReadFloat(c, material.shininess))
            material.shininess = material.shininess / 1000.0f * 128.0f;
    } else if (keyword == "Kd") {
        _glmReadFloats(c, material.diffuse, 3);
    } else if (keyword == "Ks") {
        _glmReadFloats(c, material.specular, 3);
    } else if (keyword == "Ka") {
        _glmReadFloats(c, material.ambient, 3);
    }
    _glmSkipLine(c);
}

// Replaces the model's materials by those of a library text. Statements
// before the first "newmtl" apply to "default".
void _glmParseMTL(GLMmodel* model, const char* data, size_t size)
{
    const _GLMcursor start{data, data + size};
    _glmFreeMaterials(model);
    model->nummaterials = _glmCountMaterials(start);
    model->materials = _glmAllocate<GLMmaterial>(model->nummaterials);
    for (GLuint i = 0; i < model->nummaterials; ++i)
        _glmDefaultMaterial(model->materials[i]);
    model->materials[0].name = _glmCopy("default");

    GLuint current = 0;
    _GLMcursor c = start;
    std::string_view keyword;
    while (_glmNextToken(c, keyword)) {
        if (keyword[0] == 'n' && current + 1 < model->nummaterials)
            model->materials[++current].name = _glmCopy(_glmFirstWord(c));
        else
            _glmReadMaterialStatement(keyword, c, model->materials[current]);
    }
}

// Reads the library `name`, looked up beside the model file. A statement
// without a name names no library.
bool _glmReadMTL(GLMmodel* model, std::string_view name)
{
    if (name.empty())
        return true;
    char* dir = _glmDirName(model->pathname);
    const std::string path = std::string(dir) + std::string(name);
    free(dir);
    size_t size = 0;
    char* data = _glmReadFile(path.c_str(), &size);
    if (!data) {
        fprintf(stderr, "_glmReadMTL() failed: can't open material file \"%s\".\n", path.c_str());
        return _glmFatal();
    }
    free(model->mtllibname);
    model->mtllibname = _glmCopy(name);
    _glmParseMTL(model, data, size);
    free(data);
    return true;
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
bool _glmFirstPass(_GLMreader& reader, _GLMcursor c)
{
    GLMmodel* model = reader.model;
    reader.group = _glmAddGroup(reader, "default");
    GLuint numvertices = 0, numnormals = 0, numtexcoords = 0, numtriangles = 0;
    const auto count = [&](const _GLMref&, const _GLMref&, const _GLMref&) {
        ++numtriangles;
        ++reader.group->numtriangles;
    };
    std::string_view token;
    while (_glmNextToken(c, token)) {
        switch (token[0]) {
        case 'v':
            if (token.size() == 1)
                ++numvertices;
            else if (token[1] == 'n')
                ++numnormals;
            else if (token[1] == 't')
                ++numtexcoords;
            else
                return _glmUnknownToken(token);
            _glmSkipLine(c);
            break;
        case 'm':
            if (!_glmReadMTL(model, _glmFirstWord(c)))
                return false;
            break;
        case 'g':
            reader.group = _glmAddGroup(reader, _glmGroupName(_glmFirstWord(c)));
            break;
        case 'f':
            _glmReadFace(c, count);
            break;
        default:  // "#", "usemtl", "o", "s", ...
            _glmSkipLine(c);
            break;
        }
    }
    model->numvertices = numvertices;
    model->numnormals = numnormals;
    model->numtexcoords = numtexcoords;
    model->numtriangles = numtriangles;
    return true;
}

// An array that the second pass fills completely.
template <typename T> T* _glmAllocateFilled(size_t count)
{
    T* array = _glmAllocate<T>(count);
    _glmPrefault(array, count * sizeof(T));
    return array;
}

// Allocates every array at the size the first pass counted; entry 0 of each
// coordinate array stays zero. Groups count their triangles again while filling.
void _glmAllocateArrays(GLMmodel* model)
{
    model->vertices = _glmAllocateFilled<GLfloat>(3 * (size_t(model->numvertices) + 1));
    if (model->numnormals)
        model->normals = _glmAllocateFilled<GLfloat>(3 * (size_t(model->numnormals) + 1));
    if (model->numtexcoords)
        model->texcoords = _glmAllocateFilled<GLfloat>(2 * (size_t(model->numtexcoords) + 1));
    model->triangles = _glmAllocateFilled<GLMtriangle>(model->numtriangles);
    for (GLMgroup* group = model->groups; group; group = group->next) {
        group->triangles = _glmAllocateFilled<GLuint>(group->numtriangles);
        group->numtriangles = 0;
    }
}

// Fills the arrays. Every statement is read exactly as the first pass read it.
class _GLMsecondPass
{
public:
    explicit _GLMsecondPass(_GLMreader& reader) : m_reader(reader), m_model(reader.model) {}

    void run(_GLMcursor c)
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
        _GLM_REQUIRE(m_numtriangles == m_model->numtriangles);
    }

private:
    void readCoordinates(std::string_view token, _GLMcursor& c)
    {
        // The first pass counted exactly these statements, so the checks
        // against the counts only guard the arrays.
        const char kind = token.size() == 1 ? ' ' : token[1];
        if (kind == ' ' && m_numvertices < m_model->numvertices)
            _glmReadFloats(c, &m_model->vertices[3 * size_t(++m_numvertices)], 3);
        else if (kind == 'n' && m_numnormals < m_model->numnormals)
            _glmReadFloats(c, &m_model->normals[3 * size_t(++m_numnormals)], 3);
        else if (kind == 't' && m_numtexcoords < m_model->numtexcoords)
            _glmReadFloats(c, &m_model->texcoords[2 * size_t(++m_numtexcoords)], 2);
        _glmSkipLine(c);
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

    void readFace(_GLMcursor& c)
    {
        _glmReadFace(c, [this](const _GLMref& a, const _GLMref& b, const _GLMref& d) {
            addTriangle(a, b, d);
        });
    }

    void addTriangle(const _GLMref& a, const _GLMref& b, const _GLMref& c)
    {
        if (m_numtriangles == m_model->numtriangles)
            return;
        GLMtriangle& triangle = m_model->triangles[m_numtriangles];
        setCorner(triangle, 0, a);
        setCorner(triangle, 1, b);
        setCorner(triangle, 2, c);
        GLMgroup* group = m_reader.group;
        group->triangles[group->numtriangles++] = m_numtriangles++;
    }

    void setCorner(GLMtriangle& triangle, int k, const _GLMref& ref) const
    {
        triangle.vindices[k] = _glmResolve(ref.v, m_numvertices, m_model->numvertices);
        triangle.tindices[k] = _glmResolve(ref.t, m_numtexcoords, m_model->numtexcoords);
        triangle.nindices[k] = _glmResolve(ref.n, m_numnormals, m_model->numnormals);
    }

    _GLMreader& m_reader;
    GLMmodel* m_model;
    GLuint m_numvertices = 0;   // entries filled so far, also the last index read
    GLuint m_numnormals = 0;
    GLuint m_numtexcoords = 0;
    GLuint m_numtriangles = 0;
    GLuint m_material = 0;      // current material
};

}  // namespace

char* _glmDirName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return _glmCopy(std::string_view(path, slash ? size_t(slash - path) + 1 : 0));
}

GLMmodel* glmReadOBJMemory(const char* data, size_t size, const char* pathname)
{
    _GLM_REQUIRE(pathname);
    _GLM_REQUIRE(data || size == 0);
    GLMmodel* model = _glmAllocate<GLMmodel>(1);
    model->pathname = _glmCopy(pathname);
    _GLMreader reader{model, {}, {}};
    const _GLMcursor text{data, data + size};
    if (!_glmFirstPass(reader, text)) {
        glmDelete(model);
        return nullptr;
    }
    _glmAllocateArrays(model);
    _GLMsecondPass(reader).run(text);
    return model;
}

GLMmodel* glmReadOBJ(const char* filename)
{
    _GLM_REQUIRE(filename);
    size_t size = 0;
    char* data = _glmReadFile(filename, &size);
    if (!data) {
        fprintf(stderr, "glmReadOBJ() failed: can't open data file \"%s\".\n", filename);
        _glmFatal();
        return nullptr;
    }
    GLMmodel* model = glmReadOBJMemory(data, size, filename);
    free(data);
    return model;
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

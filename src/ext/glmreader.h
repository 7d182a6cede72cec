#ifndef GLMREADER_H
#define GLMREADER_H

// What the OBJ passes, the MTL reader and the file reader share; not part of
// the public interface.

#include "glm.h"
#include "glmprivate.h"
#include "glmtokens.h"

#include <string_view>
#include <unordered_map>

// Lookup tables kept for one read, so that a file with many groups or
// materials is not searched linearly at every statement.
struct GLMreader {
    GLMmodel* model;
    std::unordered_map<std::string_view, GLMgroup*> groups;    // keyed by the group's own name
    std::unordered_map<std::string_view, GLuint> materials;  // first material of each name
    GLMgroup* group = nullptr;                                // current group
};

// A NUL-terminated copy of `text` (which may itself hold NUL bytes).
inline char* _glmCopy(std::string_view text)
{
    char* copy = _glmAllocate<char>(text.size() + 1);
    memcpy(copy, text.data(), text.size());
    return copy;
}

// The index of the first material of that name, or 0 after a message.
GLuint _glmFindMaterial(GLMreader& reader, std::string_view name);
// Indexes the model's materials by name for _glmFindMaterial.
void _glmIndexMaterials(GLMreader& reader);
void _glmFreeMaterials(GLMmodel* model);
// Reads the library `name`, looked up beside the model file; false after the
// message when it cannot be read (in a build that does not end the process).
bool _glmReadMTL(GLMmodel* model, std::string_view name);

// A whole file in memory, followed by kGlmPadding zero bytes.
class GLMfileText
{
public:
    GLMfileText() = default;
    GLMfileText(const GLMfileText&) = delete;
    GLMfileText& operator=(const GLMfileText&) = delete;
    ~GLMfileText();

    // False when the file cannot be opened or read.
    bool read(const char* path);
    const char* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    char* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;  // mapped (released with munmap), else from malloc
};

// `size` bytes followed by kGlmPadding zero bytes. Released with free().
char* _glmPaddedCopy(const char* data, size_t size);
// A block for an array that is about to be written from end to end (its
// contents are undefined until then). Released with free().
void* _glmAllocateLarge(size_t bytes);

#endif

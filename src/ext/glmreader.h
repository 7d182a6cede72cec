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

// Reads a whole file into memory; null when it cannot be opened or read.
char* _glmReadFile(const char* path, size_t* size);
// Maps the pages of a large block that is about to be filled in one go.
void _glmPrefault(void* block, size_t bytes);

#endif

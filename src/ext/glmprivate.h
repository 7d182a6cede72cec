#ifndef GLMPRIVATE_H
#define GLMPRIVATE_H

// Helpers shared by the OBJ reader, the utilities and the writer; not part of
// the public interface.

#include <stdio.h>
#include <stdlib.h>

// Caller errors (a missing model, a missing array) stop the process in every
// build, with or without NDEBUG: carrying on would only crash later.
#define GLM_REQUIRE(condition) \
    ((condition) ? (void)0 : _glmRequireFailed(#condition, __func__))

[[noreturn]] inline void _glmRequireFailed(const char* condition, const char* function)
{
    fprintf(stderr, "%s(): assertion \"%s\" failed.\n", function, condition);
    fflush(stdout);
    abort();
}

// Unreadable or unwritable files and unknown "v" keywords end the process with
// status 1 once their message is printed. The fuzz build defines
// GLM_RETURN_ON_FATAL, and there the call returns false so that the caller
// releases what it holds and gives up on the model, and fuzzing goes on.
#ifdef GLM_RETURN_ON_FATAL
inline bool _glmFatal()
{
    return false;
}
#else
[[noreturn]] inline bool _glmFatal()
{
    exit(1);
}
#endif

[[noreturn]] inline void _glmOutOfMemory(size_t bytes)
{
    fprintf(stderr, "glm: out of memory (%zu bytes).\n", bytes);
    exit(1);
}

// Zero-filled storage for `count` records; ends the process when there is none.
template <typename T> T* _glmAllocate(size_t count)
{
    void* block = calloc(count ? count : 1, sizeof(T));
    if (!block)
        _glmOutOfMemory(count * sizeof(T));
    return static_cast<T*>(block);
}

// `path` cut after its last "/" (kept), or "" without one. Freed by the caller.
char* _glmDirName(const char* path);

#endif

// Whole files into memory, and the paths beside them.

#include "glmreader.h"

#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

char* _glmDirName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return _glmCopy(std::string_view(path, slash ? size_t(slash - path) + 1 : 0));
}

// Whole files into memory, large blocks, and the paths beside them.

#include "glmreader.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The size of a huge page on x86-64 and arm64 (with 4 KiB base pages).
const size_t kHugePage = size_t(2) << 20;
// Files from this size on are mapped rather than read.
const size_t kMapBytes = size_t(1) << 20;

// Reads until the end of the file, into `data` from `length` on, growing it
// as needed (the size of a regular file is only a first guess: it may still
// be growing, and a pipe has none). Keeps kGlmPadding bytes free at the end.
bool _glmReadAll(int fd, char*& data, size_t& length, size_t& capacity)
{
    for (;;) {
        if (capacity - length < kGlmPadding + 1) {
            capacity *= 2;
            char* grown = static_cast<char*>(realloc(data, capacity));
            if (!grown)
                _glmOutOfMemory(capacity);
            data = grown;
        }
        const ssize_t got = read(fd, data + length, capacity - length - kGlmPadding);
        if (got == 0)
            return true;
        if (got < 0 && errno != EINTR)
            return false;
        length += got > 0 ? size_t(got) : 0;
    }
}

// A regular file mapped read-only, followed by zero pages for the padding,
// or null when the system will not map it. All its pages are mapped in one
// call (MAP_POPULATE). Unlike reading, this copies nothing and takes no fresh
// memory, which the kernel would have to clear first: for a 60 MB model on a
// virtual machine that is tens of milliseconds.
char* _glmMapFile(int fd, size_t size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const size_t mapped = (size + kGlmPadding + page - 1) / page * page;
    void* region = mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED)
        return nullptr;
    if (size && mmap(region, size, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0) == MAP_FAILED) {
        munmap(region, mapped);
        return nullptr;
    }
    return static_cast<char*>(region);
}

}  // namespace

// Large blocks are aligned to huge pages and marked for them: one page
// fault then maps 2 MiB instead of 4 KiB. On virtual machines a fault can
// cost several microseconds, and a 60 MB model touches some 25000 pages of
// 4 KiB. Without transparent huge pages (or with them switched off) the hint
// changes nothing and the pages come as before.
void* _glmAllocateLarge(size_t bytes)
{
    if (bytes < kHugePage)
        return _glmAllocate<char>(bytes);
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* block = aligned_alloc(kHugePage, rounded);
    if (!block)
        _glmOutOfMemory(bytes);
#ifdef MADV_HUGEPAGE
    madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

char* _glmPaddedCopy(const char* data, size_t size)
{
    char* copy = static_cast<char*>(_glmAllocateLarge(size + kGlmPadding));
    if (size)
        memcpy(copy, data, size);
    memset(copy + size, 0, kGlmPadding);
    return copy;
}

// Only regular files and pipes count as readable: a directory cannot be
// read, and a device such as /dev/zero would never end. Large regular files
// are mapped; small ones (a mapping costs more system calls than it saves)
// and pipes are read.
bool GLMfileText::read(const char* path)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool done = fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode));
    if (done && S_ISREG(info.st_mode) && size_t(info.st_size) >= kMapBytes
        && (m_data = _glmMapFile(fd, size_t(info.st_size)))) {
        m_size = size_t(info.st_size);
        m_mapped = true;
    } else if (done) {
        size_t capacity = (S_ISREG(info.st_mode) ? size_t(info.st_size) : 65536) + kGlmPadding + 1;
        m_data = static_cast<char*>(_glmAllocateLarge(capacity));
        done = _glmReadAll(fd, m_data, m_size, capacity);
        memset(m_data + m_size, 0, kGlmPadding);
    }
    close(fd);
    return done;
}

GLMfileText::~GLMfileText()
{
    if (m_mapped)
        munmap(m_data, m_size + kGlmPadding);
    else
        free(m_data);
}

char* _glmDirName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return _glmCopy(std::string_view(path, slash ? size_t(slash - path) + 1 : 0));
}

#include "allocationcounter.h"

#include <malloc.h>
#include <new>

// glibc's own entry points: the interposed functions below forward to them,
// so every block still comes from (and goes back to) the same allocator.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void __libc_free(void* block);
}

namespace {

bool g_counting = false;
AllocationCounter::Totals g_totals;

void record(void* block, size_t size)
{
    if (!g_counting || !block)
        return;
    ++g_totals.allocations;
    g_totals.bytes += size;
    g_totals.usableBytes += malloc_usable_size(block);
}

void* allocateOrThrow(size_t size)
{
    void* block = malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    return block;
}

}  // namespace

void AllocationCounter::start()
{
    g_totals = Totals();
    g_counting = true;
}

AllocationCounter::Totals AllocationCounter::stop()
{
    g_counting = false;
    return g_totals;
}

bool AllocationCounter::isCounting()
{
    return g_counting;
}

extern "C" {

void* malloc(size_t size)
{
    void* block = __libc_malloc(size);
    record(block, size);
    return block;
}

void* calloc(size_t count, size_t size)
{
    void* block = __libc_calloc(count, size);
    record(block, count * size);
    return block;
}

void* realloc(void* block, size_t size)
{
    void* moved = __libc_realloc(block, size);
    record(moved, size);
    return moved;
}

void free(void* block)
{
    __libc_free(block);
}

}  // extern "C"

// operator new goes through the counted malloc; delete through free.
void* operator new(size_t size) { return allocateOrThrow(size); }
void* operator new[](size_t size) { return allocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size == 0 ? 1 : size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return malloc(size == 0 ? 1 : size); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }

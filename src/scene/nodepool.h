#ifndef NODEPOOL_H
#define NODEPOOL_H

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QUENVARIX_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUENVARIX_NODE_POOL 0
#endif
#endif
#ifndef QUENVARIX_NODE_POOL
#define QUENVARIX_NODE_POOL 1
#endif

// Blocks of one size for the scene's most numerous nodes (mesh points and
// polygons), carved in order out of large slabs. The nodes of a mesh built
// in one go then lie next to one another instead of between their ids,
// coordinates and list blocks, and the update and draw passes, which walk
// every one of them every frame, read memory in order. Freed blocks are
// reused; the slabs stay until the process ends. Single-threaded, like the
// scene graph.
//
// A request of any other size (a class derived from the node) goes to the
// global allocator, and so does everything in sanitizer builds, where
// blocks of their own let the sanitizer see each node's lifetime.
template <std::size_t NodeSize>
class NodePool
{
public:
    static void* allocate(std::size_t size)
    {
        if (!pooled(size))
            return ::operator new(size);
        if (!m_free)
            addSlab();
        FreeBlock* block = m_free;
        m_free = block->next;
        return block;
    }

    static void release(void* block, std::size_t size) noexcept
    {
        if (!block)
            return;
        if (!pooled(size)) {
            ::operator delete(block);
            return;
        }
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = m_free;
        m_free = freed;
    }

    // The size of every pooled block.
    static constexpr std::size_t blockSize() { return kBlockSize; }
    // Bytes taken from the global allocator for slabs so far.
    static std::size_t reservedBytes() { return m_reserved; }

private:
    struct FreeBlock {
        FreeBlock* next;
    };

    static constexpr std::size_t kAlignment = alignof(std::max_align_t);
    static constexpr std::size_t kBlockSize = (NodeSize + kAlignment - 1) / kAlignment * kAlignment;
    static constexpr std::size_t kBlocksPerSlab = 512;
    static constexpr std::size_t kSlabAlignment = 64;

    static bool pooled(std::size_t size) { return QUENVARIX_NODE_POOL && size == NodeSize; }

    // Threads the new slab's blocks onto the free list in address order, so
    // that consecutive allocations are consecutive in memory.
    static void addSlab()
    {
        // Cache-line aligned: a point (128 bytes) then spans two lines, not three.
        auto* slab = static_cast<char*>(
            ::operator new(kBlockSize * kBlocksPerSlab, std::align_val_t(kSlabAlignment)));
        m_reserved += kBlockSize * kBlocksPerSlab;
        for (std::size_t i = kBlocksPerSlab; i-- > 0;) {
            auto* block = reinterpret_cast<FreeBlock*>(slab + i * kBlockSize);
            block->next = m_free;
            m_free = block;
        }
    }

    static inline FreeBlock* m_free = nullptr;
    static inline std::size_t m_reserved = 0;
};

#endif

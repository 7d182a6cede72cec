#ifndef ALLOCATIONCOUNTER_H
#define ALLOCATIONCOUNTER_H

#include <cstddef>

// Counts heap allocations made by this process while counting is switched
// on. The benchmark binaries that link allocationcounter.cpp replace the
// global operator new and interpose malloc, calloc and realloc, so Qt's own
// containers (which allocate with malloc) are counted as well as `new`.
// Single-threaded use only: the counters are plain globals.
class AllocationCounter
{
public:
    struct Totals {
        size_t allocations = 0;  // calls that returned a new block (realloc included)
        size_t bytes = 0;        // bytes asked for
        size_t usableBytes = 0;  // bytes the allocator actually handed out
    };

    // Zeroes the totals and starts counting.
    static void start();
    // Stops counting and returns what was counted since start().
    static Totals stop();
    static bool isCounting();
};

// Counts for as long as it lives.
class CountingScope
{
public:
    CountingScope() { AllocationCounter::start(); }
    ~CountingScope() { if (AllocationCounter::isCounting()) AllocationCounter::stop(); }
    AllocationCounter::Totals finish() { return AllocationCounter::stop(); }
};

#endif

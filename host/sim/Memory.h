// Inspection and fault injection of the simulated host's memory manager.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

struct MemoryStats {
    std::size_t livePointers = 0;
    std::size_t liveHandles = 0;
    std::size_t liveBytes = 0;
    std::size_t invalidFrees = 0; // frees of blocks the host never gave or already took back
    std::size_t allocations = 0;  // successful allocations since the start
};
MemoryStats memoryStats();

// After `skip` successful allocations, the next n allocations (pointers or handles, new or
// resized) fail with err. Walking skip upwards reaches every allocation of an operation.
void failNextAllocations(int n, GSErrCode err = ErrMemoryFull, int skip = 0);
// Whether p is a live pointer block, h a live handle.
bool isLivePointer(const void* p);
bool isLiveHandle(const void* h);
// Forgets the invalid frees counted so far (a test that makes one on purpose calls it).
void clearInvalidFrees();

} // namespace sim

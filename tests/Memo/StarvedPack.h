// A memo packed into a fresh element memo store while the host's allocations fail, one failing
// after `skip` good ones for every skip below `tries`: whether the packing fails or throws, no host
// memory block is left behind once the store is gone.
#pragma once

#include "Memo/ElementMemoStore.h"
#include "Memo/Memo.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <new>

namespace testing_memo {

inline void expectStarvedPackLeavesNothing(zelvane::Memo const& memo, int tries) {
    for (int skip = 0; skip < tries; ++skip) {
        SCOPED_TRACE(skip);
        sim::MemoryStats before = sim::memoryStats();
        {
            zelvane::ElementMemoStore store;
            sim::failNextAllocations(1, ErrMemoryFull, skip);
            try {
                memo.pack(&store);
            } catch (const std::bad_alloc&) {
            }
            sim::failNextAllocations(0);
        }
        sim::MemoryStats after = sim::memoryStats();
        EXPECT_EQ(after.livePointers + after.liveHandles, before.livePointers + before.liveHandles);
    }
}

} // namespace testing_memo

// A memo packed twice into one memo store: the second packing replaces the blocks of the first, so
// the store holds as many host memory blocks as after one packing.
#pragma once

#include "Memo/ElementMemoStore.h"
#include "Memo/Memo.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

namespace testing_memo {

template <typename Store = zelvane::ElementMemoStore>
void expectPackingTwiceReplacesTheBlocks(zelvane::Memo const& memo) {
    auto live = [] {
        sim::MemoryStats stats = sim::memoryStats();
        return stats.livePointers + stats.liveHandles;
    };
    Store store;
    std::size_t empty = live();
    ASSERT_TRUE(memo.pack(&store));
    std::size_t once = live();
    EXPECT_GT(once, empty);
    ASSERT_TRUE(memo.pack(&store));
    EXPECT_EQ(live(), once);
}

} // namespace testing_memo

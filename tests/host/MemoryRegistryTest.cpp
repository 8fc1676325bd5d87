// The memory manager answers block sizes without a lookup and keeps count of live blocks a page at
// a time: sizes, liveness and frees must stay exact through growth, moves and many blocks.
#include "GSRoot/BM.hpp"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

TEST(MemoryRegistryTest, SizesFollowEveryResize) {
    GSPtr p = BMAllocatePtr(10, ALLOCATE_CLEAR, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(BMGetPtrSize(p), 10);
    for (GSSize size : {GSSize(100000), GSSize(3), GSSize(0), GSSize(4096)}) {
        GSPtr old = p;
        p = BMReallocPtr(p, size, ALLOCATE_CLEAR, 0);
        ASSERT_NE(p, nullptr) << size;
        EXPECT_EQ(BMGetPtrSize(p), size);
        EXPECT_EQ(BMError(), 0);
        EXPECT_TRUE(sim::isLivePointer(p));
        if (old != p) {
            EXPECT_FALSE(sim::isLivePointer(old)) << size;
        }
    }
    sim::failNextAllocations(1);
    EXPECT_EQ(BMReallocPtr(p, 1 << 20, 0, 0), nullptr);
    EXPECT_EQ(BMGetPtrSize(p), 4096) << "a failed resize keeps the block";

    // A handle's block is no pointer block.
    GSHandle h = BMAllocateHandle(8, 0, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(BMGetPtrSize(*h), 0);
    EXPECT_EQ(BMError(), ErrNilHandle);
    EXPECT_EQ(BMGetHandleSize(h), 8);
    ASSERT_EQ(BMReallocHandle(h, 70000, ALLOCATE_CLEAR, 0), h);
    EXPECT_EQ(BMGetHandleSize(h), 70000);
    EXPECT_EQ((*h)[69999], 0);
    BMKillHandle(&h);
    BMKillPtr(&p);
}

TEST(MemoryRegistryTest, ManyBlocksFreedInAnyOrder) {
    sim::MemoryStats before = sim::memoryStats();
    std::vector<GSPtr> blocks;
    for (int i = 0; i < 5000; ++i) {
        blocks.push_back(BMAllocatePtr(GSSize(i % 97), 0, 0));
        ASSERT_NE(blocks.back(), nullptr);
    }
    // Blocks of a page or more each, so that many pages are kept and let go.
    for (int i = 0; i < 3000; ++i) {
        blocks.push_back(BMAllocatePtr(GSSize(4096 + i % 5 * 4096), 0, 0));
        ASSERT_NE(blocks.back(), nullptr);
    }
    EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers + blocks.size());
    std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
    std::vector<GSPtr> freed;
    for (std::size_t i = 0; i < blocks.size(); i += 2) {
        freed.push_back(blocks[i]);
        BMKillPtr(&blocks[i]);
    }
    for (std::size_t i = 1; i < blocks.size(); i += 2) {
        EXPECT_TRUE(sim::isLivePointer(blocks[i]));
    }
    for (GSPtr gone : freed) {
        // A freed address may be handed out again only by a later allocation.
        EXPECT_FALSE(sim::isLivePointer(gone));
    }
    for (std::size_t i = 1; i < blocks.size(); i += 2) {
        BMKillPtr(&blocks[i]);
    }
    sim::MemoryStats after = sim::memoryStats();
    EXPECT_EQ(after.livePointers, before.livePointers);
    EXPECT_EQ(after.liveBytes, before.liveBytes);
    EXPECT_EQ(after.invalidFrees, before.invalidFrees);

    // A pointer the host never gave is not freed, and counted.
    char own[32] = {};
    GSPtr foreign = own + 16;
    BMKillPtr(&foreign);
    EXPECT_EQ(sim::memoryStats().invalidFrees, before.invalidFrees + 1);
    sim::clearInvalidFrees();
}

// Neighbouring pages are placed side by side in the registry, in runs that meet others: blocks on
// long runs of pages, freed from the middle of runs and then all, stay told apart.
TEST(MemoryRegistryTest, BlocksOnNeighbouringPagesFreedFromTheMiddleOfTheirRuns) {
    sim::MemoryStats before = sim::memoryStats();
    std::vector<GSPtr> blocks;
    for (int i = 0; i < 4000; ++i) {
        blocks.push_back(BMAllocatePtr(GSSize(4000 + i % 3 * 4096), 0, 0));
        ASSERT_NE(blocks.back(), nullptr);
    }
    for (std::size_t step : {std::size_t(3), std::size_t(7)}) {
        for (std::size_t i = step / 2; i < blocks.size(); i += step) {
            BMKillPtr(&blocks[i]);
        }
        for (GSPtr block : blocks) {
            if (block != nullptr) {
                ASSERT_TRUE(sim::isLivePointer(block)) << step;
                ASSERT_EQ(BMGetPtrSize(block) % 4096, 4000 % 4096) << step;
            }
        }
    }
    for (GSPtr& block : blocks) {
        BMKillPtr(&block);
    }
    sim::MemoryStats after = sim::memoryStats();
    EXPECT_EQ(after.livePointers, before.livePointers);
    EXPECT_EQ(after.liveBytes, before.liveBytes);
    EXPECT_EQ(after.invalidFrees, before.invalidFrees);
}

TEST(MemoryRegistryTest, AnAddressWithinALiveBlockIsNoBlockToFree) {
    sim::MemoryStats before = sim::memoryStats();
    GSPtr p = BMAllocatePtr(64, ALLOCATE_CLEAR, 0);
    ASSERT_NE(p, nullptr);
    // On the block's own page: one a slot further, and one off the slots.
    for (std::ptrdiff_t offset : {8, 16, 1}) {
        GSPtr inside = p + offset;
        BMKillPtr(&inside);
        EXPECT_EQ(inside, nullptr);
        EXPECT_TRUE(sim::isLivePointer(p)) << offset;
        EXPECT_EQ(BMGetPtrSize(p), 64) << offset;
    }
    EXPECT_EQ(sim::memoryStats().invalidFrees, before.invalidFrees + 3);
    EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers + 1);
    BMKillPtr(&p);
    EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers);
    EXPECT_EQ(sim::memoryStats().liveBytes, before.liveBytes);
    sim::clearInvalidFrees();
}

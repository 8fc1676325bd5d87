#include "Environment/MemoryBlock.h"
#include "Environment/Memory.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

using zelvane::MemoryBlock;

namespace {

std::string bytesOf(MemoryBlock const& block) {
    if (block.getHandle() == nullptr) {
        return {};
    }
    return std::string(*block.getHandle(), std::size_t(block.size()));
}

} // namespace

TEST(MemoryBlockTest, Construction) {
    EXPECT_EQ(MemoryBlock().size(), 0);
    EXPECT_EQ(MemoryBlock().getHandle(), nullptr);
    EXPECT_EQ(MemoryBlock(0).getHandle(), nullptr);
    EXPECT_EQ(MemoryBlock(-4).getHandle(), nullptr);
    EXPECT_EQ(MemoryBlock(12).size(), 12);
    EXPECT_EQ(MemoryBlock(nullptr, 10).size(), 0);
    EXPECT_EQ(MemoryBlock(nullptr, 10).getHandle(), nullptr);
    EXPECT_EQ(MemoryBlock("abc", 0).getHandle(), nullptr);
    EXPECT_EQ(bytesOf(MemoryBlock("abc", 3)), "abc");

    char** handle = zelvane::allocateHandle(5);
    std::memcpy(*handle, "hello", 5);
    MemoryBlock adopted(handle);
    EXPECT_EQ(adopted.getHandle(), handle);
    EXPECT_EQ(bytesOf(adopted), "hello"); // freed with the block
}

TEST(MemoryBlockTest, CopiesAreIndependent) {
    MemoryBlock original("data", 4);
    MemoryBlock copy(original);
    std::unique_ptr<MemoryBlock> cloned(original.clone());
    ASSERT_NE(copy.getHandle(), original.getHandle());
    ASSERT_NE(cloned->getHandle(), original.getHandle());
    (*original.getHandle())[0] = 'D';
    EXPECT_EQ(bytesOf(copy), "data");
    EXPECT_EQ(bytesOf(*cloned), "data");

    MemoryBlock target("old", 3);
    target = original;
    EXPECT_EQ(bytesOf(target), "Data");
    MemoryBlock const& alias = target;
    target = alias;
    EXPECT_EQ(bytesOf(target), "Data");
    target = MemoryBlock();
    EXPECT_EQ(target.getHandle(), nullptr);

    // An empty handle copies as no handle.
    MemoryBlock empty(zelvane::allocateHandle(0));
    EXPECT_EQ(MemoryBlock(empty).getHandle(), nullptr);
}

TEST(MemoryBlockTest, HandleOwnership) {
    MemoryBlock block("abc", 3);
    char** own = block.getHandle();
    block = own; // assigning its own handle keeps it alive
    block.reset(own);
    EXPECT_EQ(bytesOf(block), "abc");

    char** other = zelvane::allocateHandle(2);
    block = other;
    EXPECT_EQ(block.getHandle(), other);
    EXPECT_FALSE(sim::isLiveHandle(own));

    char** released = block.release();
    EXPECT_EQ(released, other);
    EXPECT_EQ(block.getHandle(), nullptr);
    EXPECT_EQ(block.size(), 0);
    block.reset(released);
    block.reset(nullptr);
    EXPECT_FALSE(sim::isLiveHandle(released));
}

TEST(MemoryBlockTest, ResizeAndAppend) {
    MemoryBlock block;
    block.append("ab", 2);
    block.append("cd", 2);
    block.append(nullptr, 3);
    block.append("x", 0);
    EXPECT_EQ(bytesOf(block), "abcd");
    block.append(*block.getHandle() + 1, 3); // from its own bytes, which may move
    EXPECT_EQ(bytesOf(block), "abcdbcd");
    block.resize(3);
    EXPECT_EQ(bytesOf(block), "abc");
    MemoryBlock grown;
    grown.resize(6);
    EXPECT_EQ(grown.size(), 6);
}

TEST(MemoryBlockTest, AllocationFailureKeepsTheBlock) {
    MemoryBlock block("abc", 3);
    sim::failNextAllocations(1);
    EXPECT_THROW(block.append("def", 3), std::bad_alloc);
    EXPECT_EQ(bytesOf(block), "abc");

    MemoryBlock target("xyz", 3);
    sim::failNextAllocations(1);
    EXPECT_THROW(target = block, std::bad_alloc);
    EXPECT_EQ(bytesOf(target), "xyz");

    sim::failNextAllocations(1);
    EXPECT_THROW(MemoryBlock(8), std::bad_alloc);
}

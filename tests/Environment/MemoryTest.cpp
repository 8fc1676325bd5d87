#include "Environment/Memory.h"

#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>

using namespace zelvane;

TEST(MemoryTest, PointerBlocks) {
    char* block = allocatePtr(10);
    EXPECT_EQ(getPtrSize(block), 10);
    std::memcpy(block, "abcdefghij", 10);
    reallocPtr(block, 4);
    EXPECT_EQ(getPtrSize(block), 4);
    EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
    char* copy = clonePtr(block);
    EXPECT_NE(copy, block);
    EXPECT_EQ(std::memcmp(copy, "abcd", 4), 0);
    disposePtr(&copy);
    EXPECT_EQ(copy, nullptr);
    disposePtr(&block);
    EXPECT_EQ(getPtrSize(nullptr), 0);
    EXPECT_EQ(clonePtr(nullptr), nullptr);

    char* fresh = nullptr;
    reallocPtr(fresh, 3);
    EXPECT_EQ(getPtrSize(fresh), 3);
    disposePtr(&fresh);

    // Grown, a block keeps its bytes and the added ones are cleared, small or large.
    for (int size : {16, 1 << 20, 8 << 20}) {
        SCOPED_TRACE(size);
        char* grown = allocatePtr(6);
        std::memcpy(grown, "abcdef", 6);
        reallocPtr(grown, 10);
        std::memset(grown + 6, 'x', 4);
        reallocPtr(grown, size);
        ASSERT_EQ(getPtrSize(grown), size);
        EXPECT_EQ(std::memcmp(grown, "abcdefxxxx", 10), 0);
        EXPECT_EQ(std::count(grown + 10, grown + size, 0), size - 10);
        disposePtr(&grown);
    }
}

TEST(MemoryTest, HostFailuresBecomeBadAlloc) {
    sim::failNextAllocations(1);
    EXPECT_THROW(allocatePtr(8), std::bad_alloc);
    EXPECT_NE(memError(), 0);

    char* block = allocatePtr(4);
    std::memcpy(block, "wxyz", 4);
    sim::failNextAllocations(1);
    EXPECT_THROW(reallocPtr(block, 100), std::bad_alloc);
    EXPECT_EQ(getPtrSize(block), 4) << "a failed resize keeps the old block";
    EXPECT_EQ(std::memcmp(block, "wxyz", 4), 0);
    disposePtr(&block);

    char** handle = allocateHandle(2);
    sim::failNextAllocations(1);
    EXPECT_THROW(reallocHandle(handle, 50), std::bad_alloc);
    EXPECT_EQ(getHandleSize(handle), 2);
    disposeHandle(&handle);

    EXPECT_THROW(copyMemory(nullptr, "a", 1), std::bad_alloc);
}

TEST(MemoryTest, Handles) {
    char** a = allocateHandle(3);
    std::memcpy(*a, "abc", 3);
    char** b = cloneHandle(a);
    EXPECT_EQ(getHandleSize(b), 3);
    handleAndHandle(a, b);
    ASSERT_EQ(getHandleSize(b), 6);
    EXPECT_EQ(std::memcmp(*b, "abcabc", 6), 0);

    char* block = allocatePtr(5);
    std::memcpy(block, "12345", 5);
    ptrAndHandle(block, b, 2);
    ASSERT_EQ(getHandleSize(b), 8);
    EXPECT_EQ(std::memcmp(*b + 6, "12", 2), 0);
    ptrAndHandle(block, b, 0);
    EXPECT_EQ(getHandleSize(b), 8);
    EXPECT_THROW(ptrAndHandle(block, b, 6), std::bad_alloc);

    char** c = nullptr;
    ptrToHandle(block, &c, 0);
    EXPECT_EQ(getHandleSize(c), 5);
    char** d = nullptr;
    EXPECT_THROW(ptrToHandle(block, &d, 6), std::bad_alloc);
    EXPECT_EQ(d, nullptr);
    char** e = nullptr;
    ptrToHandle(nullptr, &e, 3);
    EXPECT_EQ(getHandleSize(e), 0);
    EXPECT_NE(e, nullptr);

    for (char*** h : {&a, &b, &c, &e}) {
        disposeHandle(h);
        EXPECT_EQ(*h, nullptr);
    }
    disposePtr(&block);
    EXPECT_EQ(getHandleSize(nullptr), 0);
    EXPECT_EQ(cloneHandle(nullptr), nullptr);
}

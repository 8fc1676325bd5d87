#include "GSRoot/BM.hpp"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define ZELVANE_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELVANE_TEST_ASAN 1
#endif
#endif
#ifdef ZELVANE_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

TEST(MemoryManagerTest, RegistryTracksLiveBlocksAndInvalidFrees) {
    sim::MemoryStats before = sim::memoryStats();
    GSPtr p = BMAllocatePtr(16, ALLOCATE_CLEAR, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[15], 0);
    EXPECT_TRUE(sim::isLivePointer(p));
    EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers + 1);
    GSPtr copy = p;
    BMKillPtr(&p);
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(sim::isLivePointer(copy));
    BMKillPtr(&copy); // a second free is caught, not performed
    EXPECT_EQ(sim::memoryStats().invalidFrees, before.invalidFrees + 1);
    EXPECT_NE(BMError(), 0);

    sim::clearInvalidFrees(); // made on purpose
}

TEST(MemoryManagerTest, ClearedBlocksHoldOnlyZerosWhereFreedBlocksHeldOtherBytes) {
    const GSSize sizes[] = {1, 8, 16, 100, 1000, 1024, 1025, 5000, 300000};
    for (GSSize size : sizes) {
        // Blocks freed full of other bytes leave them where the next blocks of their size may go.
        for (int round = 0; round < 3; ++round) {
            GSPtr p = BMAllocatePtr(size, 0, 0);
            GSHandle h = BMAllocateHandle(size, 0, 0);
            ASSERT_NE(p, nullptr);
            ASSERT_NE(h, nullptr);
            std::memset(p, 0xA5, std::size_t(size));
            std::memset(*h, 0x5A, std::size_t(size));
            BMKillPtr(&p);
            BMKillHandle(&h);
        }
        GSPtr p = BMAllocatePtr(size, ALLOCATE_CLEAR, 0);
        GSHandle h = BMAllocateHandle(size, ALLOCATE_CLEAR, 0);
        ASSERT_NE(p, nullptr);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(std::string(p, std::size_t(size)), std::string(std::size_t(size), '\0')) << size;
        EXPECT_EQ(std::string(*h, std::size_t(size)), std::string(std::size_t(size), '\0')) << size;
        BMKillPtr(&p);
        BMKillHandle(&h);
    }
}

TEST(MemoryManagerTest, HandlesKeepTheirAddressWhenResized) {
    GSHandle h = BMAllocateHandle(4, 0, 0);
    ASSERT_NE(h, nullptr);
    GSHandle resized = BMReallocHandle(h, 4096, ALLOCATE_CLEAR, 0);
    EXPECT_EQ(resized, h);
    EXPECT_EQ(BMGetHandleSize(h), 4096);
    EXPECT_EQ((*h)[4095], 0);
    sim::failNextAllocations(1);
    EXPECT_EQ(BMReallocHandle(h, 8, 0, 0), nullptr);
    EXPECT_EQ(BMError(), ErrMemoryFull);
    EXPECT_EQ(BMGetHandleSize(h), 4096);
    BMKillHandle(&h);
    EXPECT_EQ(h, nullptr);
}

// Under AddressSanitizer the place a handle's bytes left on a resize cannot be read through a
// pointer kept from before it, the first resize (out of the piece made with the master pointer)
// included.
TEST(MemoryManagerTest, BytesAHandleLeftOnAResizeAreNotReadable) {
#ifdef ZELVANE_TEST_ASAN
    for (GSSize newSize : {GSSize(64), GSSize(8), GSSize(0)}) {
        GSHandle h = BMAllocateHandle(32, ALLOCATE_CLEAR, 0);
        ASSERT_NE(h, nullptr);
        char* before = *h;
        ASSERT_EQ(BMReallocHandle(h, newSize, 0, 0), h) << newSize;
        ASSERT_NE(*h, before) << newSize;
        EXPECT_NE(__asan_region_is_poisoned(before, 32), nullptr) << newSize;
        EXPECT_TRUE(__asan_address_is_poisoned(before)) << newSize;
        BMKillHandle(&h);
    }
#else
    GTEST_SKIP() << "needs AddressSanitizer";
#endif
}

// A handle resized keeps its bytes up to the smaller size, the added ones cleared when asked, from
// its first resize on (when its block first moves) and through every later one; a resize that
// fails leaves the handle as it was.
TEST(MemoryManagerTest, ResizedHandlesKeepTheirBytes) {
    struct Case {
        GSSize first, second, third;
        GSFlags flags;
    };
    const Case cases[] = {
        {16, 4096, 8, ALLOCATE_CLEAR},
        {4096, 16, 5000, ALLOCATE_CLEAR},
        {100, 100, 100, 0},
        {0, 24, 0, ALLOCATE_CLEAR},
        {1, 2000, 3, 0},
    };
    for (const Case& c : cases) {
        const std::string label =
            std::to_string(c.first) + " " + std::to_string(c.second) + " " + std::to_string(c.third);
        GSHandle h = BMAllocateHandle(c.first, 0, 0);
        ASSERT_NE(h, nullptr) << label;
        std::string expected;
        for (GSSize i = 0; i < c.first; ++i) {
            expected += char('a' + i % 26);
        }
        if (c.first > 0) {
            std::memcpy(*h, expected.data(), expected.size());
        }
        sim::failNextAllocations(1);
        EXPECT_EQ(BMReallocHandle(h, c.second, c.flags, 0), nullptr) << label;
        EXPECT_EQ(BMGetHandleSize(h), c.first) << label;
        EXPECT_EQ(std::string(*h, std::size_t(c.first)), expected) << label;
        for (GSSize size : {c.second, c.third}) {
            ASSERT_EQ(BMReallocHandle(h, size, c.flags, 0), h) << label;
            ASSERT_EQ(BMGetHandleSize(h), size) << label;
            const std::size_t kept = std::min(expected.size(), std::size_t(size));
            EXPECT_EQ(std::string(*h, kept), expected.substr(0, kept)) << label;
            if ((c.flags & ALLOCATE_CLEAR) != 0) {
                EXPECT_EQ(std::string(*h + kept, std::size_t(size) - kept),
                          std::string(std::size_t(size) - kept, '\0'))
                    << label;
            } else {
                // The bytes added without clearing are the caller's to write.
                for (std::size_t i = kept; i < std::size_t(size); ++i) {
                    (*h)[i] = char('A' + i % 26);
                }
            }
            expected = std::string(*h, std::size_t(size));
        }
        BMKillHandle(&h);
        EXPECT_EQ(h, nullptr) << label;
    }
}

TEST(MemoryManagerTest, FailuresAfterSkippedAllocations) {
    sim::failNextAllocations(1, ErrMemoryFull, 2);
    GSPtr a = BMAllocatePtr(1, 0, 0);
    GSHandle b = BMAllocateHandle(1, 0, 0);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(BMAllocatePtr(1, 0, 0), nullptr);
    GSPtr c = BMAllocatePtr(1, 0, 0);
    EXPECT_NE(c, nullptr);
    BMKillPtr(&a);
    BMKillPtr(&c);
    BMKillHandle(&b);
}

TEST(SimTest, FaultsAndCallLog) {
    EXPECT_EQ(sim::enter("IO_Open", 7), NoError);
    sim::failCall("IO_Open", ErrIO, 2, 1);
    EXPECT_EQ(sim::enter("IO_Open"), NoError);
    EXPECT_EQ(sim::enter("IO_Open"), ErrIO);
    EXPECT_EQ(sim::enter("IO_Open"), ErrIO);
    EXPECT_EQ(sim::enter("IO_Open"), NoError);
    EXPECT_EQ(sim::callCount("IO_Open"), 5u);
    EXPECT_EQ(sim::calls().front().code, 7);
    sim::failCall("X", ErrParam, -1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sim::injectedError("X"), ErrParam);
    }
    sim::reset();
    EXPECT_EQ(sim::injectedError("X"), NoError);
    EXPECT_TRUE(sim::calls().empty());
    EXPECT_TRUE(std::filesystem::is_directory(sim::sandboxRoot()));
}

TEST(SimTest, CallsAreCountedByTheirNamesWhereverTheTextLies) {
    sim::clearCalls();
    // One buffer holding one name, then another, then the first again; names of one length.
    char buffer[] = "Call_A";
    sim::log(buffer);
    sim::log(buffer);
    buffer[5] = 'B';
    sim::log(buffer);
    sim::log(std::string("Call_A")); // the same name in text of its own
    buffer[5] = 'A';
    sim::log(buffer);
    EXPECT_EQ(sim::callCount("Call_A"), 4u);
    EXPECT_EQ(sim::callCount("Call_B"), 1u);
    std::vector<std::string> names;
    for (const sim::CallRecord& call : sim::calls()) {
        names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Call_A", "Call_A", "Call_B", "Call_A", "Call_A"}));

    // Long names the same way, whether or not the log keeps their text at hand.
    for (std::size_t length : {47, 48, 49, 60}) {
        std::string name(length, 'L');
        std::string other = name;
        other.back() = 'M';
        sim::log(name);
        sim::log(name);
        name.back() = 'M';
        sim::log(name);
        name.back() = 'L';
        sim::log(name);
        EXPECT_EQ(sim::callCount(std::string(length, 'L')), 3u) << length;
        EXPECT_EQ(sim::callCount(other), 1u) << length;
    }
}

TEST(SimTest, CallLogKeepsTheLatestCallsAndCountsEveryOne) {
    const std::size_t total = sim::callLogCapacity + 10;
    for (std::size_t i = 0; i < total; ++i) {
        sim::log(i % 2 == 0 ? "Even" : "Odd", Int64(i));
    }
    std::vector<sim::CallRecord> calls = sim::calls();
    ASSERT_EQ(calls.size(), sim::callLogCapacity);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        ASSERT_EQ(calls[i].code, Int64(i + 10)) << i;
        ASSERT_EQ(calls[i].name, i % 2 == 0 ? "Even" : "Odd") << i;
    }
    EXPECT_EQ(sim::callCount("Even"), total / 2);
    EXPECT_EQ(sim::callCount("Odd"), total / 2);
    EXPECT_EQ(sim::callCount("Never"), 0u);
    sim::clearCalls();
    EXPECT_TRUE(sim::calls().empty());
    EXPECT_EQ(sim::callCount("Even"), 0u);
    sim::log("Odd", 3);
    ASSERT_EQ(sim::calls().size(), 1u);
    EXPECT_EQ(sim::calls().front().code, 3);
    EXPECT_EQ(sim::callCount("Odd"), 1u);
}

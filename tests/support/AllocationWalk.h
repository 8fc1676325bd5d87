// Fails each host allocation of one part of an operation in turn. A first run, with no failure,
// notes where the part's allocations lie, counted from the operation's start; each of them then
// fails in a run of its own, which the test checks.
#pragma once

#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>

namespace testing_support {

// Counts the host allocations made since it started; marks taken while an operation runs.
class AllocationCounter {
public:
    AllocationCounter() { restart(); }
    // The operation starts now.
    void restart() { m_start = made(); }
    std::size_t count() const { return made() - m_start; }

private:
    static std::size_t made() { return sim::memoryStats().allocations; }

    std::size_t m_start = 0;
};

// The host memory blocks alive now: an attempt that leaves more behind leaked them.
inline std::size_t liveHostBlocks() {
    sim::MemoryStats stats = sim::memoryStats();
    return stats.livePointers + stats.liveHandles;
}

// The allocations of one part of an operation, counted from the operation's start: from `first`
// up to, not including, `last`.
struct AllocationSpan {
    std::size_t first = 0;
    std::size_t last = 0;
};

// One allocation to fail, counted from the start of the operation it is given.
class AllocationFailure {
public:
    explicit AllocationFailure(std::size_t step) : m_step(step) {}

    // Runs the operation with that allocation failing with ErrMemoryFull, and answers what it
    // answers. The failure is disarmed after it, reached or not.
    template <typename Operation>
    auto operator()(Operation&& operation) const {
        Disarm disarm;
        sim::failNextAllocations(1, ErrMemoryFull, int(m_step));
        return std::forward<Operation>(operation)();
    }

private:
    struct Disarm {
        ~Disarm() { sim::failNextAllocations(0); }
    };

    std::size_t m_step;
};

// Calls attempt(failure) once for each allocation of the span, the failure naming it; the
// attempt runs the operation through the failure and checks what followed.
template <typename Attempt>
void failEachAllocation(AllocationSpan const& span, Attempt&& attempt) {
    ASSERT_LT(span.first, span.last) << "the part makes no allocation";
    for (std::size_t step = span.first; step < span.last; ++step) {
        SCOPED_TRACE("allocation " + std::to_string(step));
        attempt(AllocationFailure(step));
    }
}

} // namespace testing_support

// Ends one fuzz run against the simulated host.
#pragma once

#include "sim/Memory.h"
#include "sim/Sim.h"

#include <cstdio>
#include <cstdlib>

// Aborts when host memory blocks leaked or were freed twice since `start`, then clears the host's
// call log, which would otherwise grow without end.
inline void checkHostMemory(sim::MemoryStats const& start) {
    sim::MemoryStats end = sim::memoryStats();
    if (end.livePointers + end.liveHandles != start.livePointers + start.liveHandles ||
        end.invalidFrees != start.invalidFrees) {
        std::fprintf(stderr, "host memory blocks leaked or freed twice\n");
        std::abort();
    }
    sim::clearCalls();
}

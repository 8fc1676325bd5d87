// Control of the simulated host's GUID generator.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

// Restarts the generator from a seed: the same seed gives the same sequence of GUIDs.
// sim::reset() seeds it with a fixed value, so every test sees the same sequence; a process that
// never resets draws its seed from the system's random source.
void seedGuidGenerator(UInt64 seed);

} // namespace sim

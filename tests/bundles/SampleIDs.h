// What the test bundles know of each other.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sample {

// The sample add-on's developer and local ID.
constexpr UInt32 developerID = 0x5A454C56;
constexpr UInt32 localID = 100;
constexpr short menuID = 32500;
// The family of the sample add-on's announcement events (kind 0).
constexpr UInt32 announcement = MakeGSType("SMPL");

} // namespace sample

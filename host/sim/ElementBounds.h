// The simulated host's element bounds ('CABO').
#pragma once

#include "ACAPI/ElementBounds.hpp"

namespace sim {

// The box the host answers for the element, kept in single precision as the host does.
void setElementBounds(const GS::Guid& guid, const API_Box3D& box);
void clearElementBounds(const GS::Guid& guid);
// Answers the box of an element without set bounds (the 3D model's body of the element);
// false when it has none.
using BoundsProvider = bool (*)(const GS::Guid& guid, API_Box3D& box);
void setBoundsProvider(BoundsProvider provider);

} // namespace sim

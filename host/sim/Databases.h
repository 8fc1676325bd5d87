// The simulated host's drawing databases: which one is current, and the floor plan's storeys.
#pragma once

#include "ACAPI/Elements.hpp"

namespace sim {

// The current database: its window type and ID (null for the floor plan and the 3D model, which
// share their elements). The floor plan after a reset.
void setCurrentDatabase(API_WindowTypeID type, const GS::Guid& id = GS::Guid());
API_WindowTypeID currentWindowType();
GS::Guid currentDatabase();

// The index of the floor plan's current storey (0 after a reset).
void setCurrentStorey(short index);
short currentStorey();

} // namespace sim

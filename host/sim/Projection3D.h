// The simulated host's 3D projection (an axonometric view with identity matrices after a reset).
#pragma once

#include "ACAPI/Projection3D.hpp"

namespace sim {

void setProjection(const API_3DProjectionInfo& info);
API_3DProjectionInfo projection();

} // namespace sim

// The goodies requests of the simulated host: each host module registers the requests it serves.
#pragma once

#include "ACAPI/Goodies.hpp"

namespace sim {

using GoodiesHandler = GSErrCode (*)(void* par1, void* par2, void* par3, void* par4);
bool registerGoodies(API_GoodiesID code, GoodiesHandler handler);

} // namespace sim

// The simulated host's storeys.
#pragma once

#include "ACAPI/Storeys.hpp"

#include <string>
#include <vector>

namespace sim {

struct Storey {
    short index = 0;
    Int32 floorId = 0;
    double level = 0.0;
    std::string name;
};

// The storeys from the lowest up and the level of the top of the highest; one storey 0 at level
// 0, 3 high, after a reset. The current storey is in sim/Databases.h.
void setStoreys(const std::vector<Storey>& storeys, double topLevel);
const std::vector<Storey>& storeys();
// How often the storeys were switched with rebuilding, and without.
int storeySwitches(bool rebuilt);

} // namespace sim

// The simulated host's solid-element operations.
#pragma once

#include "ACAPI/SolidLinks.hpp"

#include <vector>

namespace sim {

struct SolidLink {
    GS::Guid op;
    API_SolidOperationID operation = 0;
    GSFlags flags = 0;
};

// The links onto the target, in the order they were made.
std::vector<SolidLink> solidLinksOf(const GS::Guid& target);

} // namespace sim

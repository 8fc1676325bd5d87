// The simulated host's trims: which element trims which, and how.
#pragma once

#include "ACAPI/ElementTrims.hpp"

#include <utility>
#include <vector>

namespace sim {

// The elements trimming the element with their trim types, in the order they were made.
std::vector<std::pair<GS::Guid, API_TrimTypeID>> trimsOf(const GS::Guid& guid);

} // namespace sim

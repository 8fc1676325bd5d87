// The simulated host's requests about elements placed from library parts.
#pragma once

#include "ACAPI/ComponentRequests.hpp"

#include <string>
#include <vector>

namespace sim {

// The name 'GULN' answers for the element (its part is then counted as not loaded); an empty
// name forgets it.
void setUnloadedPartName(const GS::Guid& element, const std::string& name);
// The name set for the element, empty when none is.
std::string unloadedPartName(const GS::Guid& element);
// The elements refreshed with 'RFSH', in order.
std::vector<GS::Guid> refreshedElements();

} // namespace sim

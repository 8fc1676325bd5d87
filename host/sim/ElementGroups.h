// The simulated host's nesting of element groups.
#pragma once

#include "ACAPI/ElementGroups.hpp"

namespace sim {

// The group that holds the group (the null GUID: none).
void setGroupParent(const GS::Guid& group, const GS::Guid& parent);

} // namespace sim

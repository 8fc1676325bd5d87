// Team work of the simulated host: the server's online state and who holds each element.
#pragma once

#include "GSRoot/Guid.hpp"

#include <string>

namespace sim {

// The team-work server is online after a reset (it matters only in a shared project).
void setServerOnline(bool online);
// Registers an element of the project with its owner (0: nobody holds it). Elements not
// registered are unknown to reservations.
void setElementOwner(const GS::Guid& guid, short ownerId);
// The member holding the element, 0 for nobody or an unknown element.
short elementOwner(const GS::Guid& guid);
bool isKnownToTeamwork(const GS::Guid& guid);

} // namespace sim

namespace sim {

// A lockable object set of a shared project ("LayerSettingsDialog"): the current member's rights
// in it and its status (1 free, 2 the current member's, 3 another's). None after a reset.
void setLockableSet(const std::string& name, bool createRight, bool modifyRight, Int32 status);
Int32 lockableStatus(const std::string& name);

} // namespace sim

// Team work of the simulated host: the server's online state and who holds each element.
#pragma once

#include "GSRoot/Guid.hpp"

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

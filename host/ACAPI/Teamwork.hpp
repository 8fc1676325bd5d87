// Team work: whether the team-work server is online, and reserving and releasing elements for the
// current member of a shared project.
#pragma once

#include "ACAPI/Elements.hpp"

#include <vector>

// An element that could not be reserved and the member who holds it.
struct API_ReservationConflict {
    API_Guid guid;
    short ownerId = 0;
};

// True when the open project is shared and its team-work server can be reached.
bool ACAPI_TeamworkControl_IsOnline();

// Reserves the elements for the current member: those free or already the member's become his;
// those another member holds are listed in conflicts (when given) and stay his. APIERR_NOPLAN
// without a project, APIERR_GENERAL when the project is not shared or the server is offline,
// APIERR_BADID for an element the project does not hold (nothing is reserved then).
GSErrCode ACAPI_TeamworkControl_ReserveElements(const std::vector<API_Guid>& guids,
                                                std::vector<API_ReservationConflict>* conflicts);
// Gives the current member's reservations of the elements back; elements of others stay theirs.
GSErrCode ACAPI_TeamworkControl_ReleaseElements(const std::vector<API_Guid>& guids);

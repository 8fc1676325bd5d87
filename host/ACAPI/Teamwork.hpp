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

namespace GS {
class UniString;
}

// Lockable object sets (such as "LayerSettingsDialog"): the set of a name (the null GUID for
// none), whether the current member may create and delete or modify in it, its status (0 when
// the project is not shared, 1 free, 2 reserved by the current member, 3 by another) and
// reserving or releasing it (APIERR_GENERAL when its status does not allow it).
API_Guid ACAPI_TeamworkControl_FindLockableObjectSet(const GS::UniString& objectSetName);
bool ACAPI_TeamworkControl_HasCreateRight(const API_Guid& objectSetGuid);
bool ACAPI_TeamworkControl_HasDeleteModifyRight(const API_Guid& objectSetGuid);
Int32 ACAPI_TeamworkControl_GetLockableStatus(const API_Guid& objectSetGuid);
GSErrCode ACAPI_TeamworkControl_ReserveLockable(const API_Guid& objectSetGuid);
GSErrCode ACAPI_TeamworkControl_ReleaseLockable(const API_Guid& objectSetGuid);

#include "ACAPI/Teamwork.hpp"

#include "ACAPI/Environment.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "IO/Location.hpp"
#include "sim/GuidTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <unordered_map>

namespace {

struct State {
    bool online = true;
    // Asked for every element read, often several times in a row for one element.
    sim::GuidTable<short> owners;
    // How many of them a member holds: none in a project nobody shares, whose reads then need no
    // look-up.
    std::size_t held = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); }) && sim::registerProjectClear([] {
                            state().owners.clear();
                            state().held = 0;
                        });

// The owner entry of the GUID, or null when it has none; with `make`, made (0) when it has none.
short* ownerEntry(const GS::Guid& guid, bool make) {
    return make ? &state().owners[guid] : state().owners.find(guid);
}

// Gives the element of that owner entry to the member (0: nobody).
void setOwner(short& owner, short ownerId) {
    state().held = state().held + (ownerId != 0 ? 1 : 0) - (owner != 0 ? 1 : 0);
    owner = ownerId;
}

// The current member's ID, or an error when there is no online shared project.
GSErrCode currentMember(short& userId) {
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    API_ProjectInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_ProjectID, &info);
    delete info.location;
    if (err != NoError) {
        return err;
    }
    if (!info.teamwork || !state().online) {
        return APIERR_GENERAL;
    }
    userId = info.userId;
    return NoError;
}

// The call logged with the number of elements it names, then the current member's ID.
GSErrCode enterAsMember(const char* call, const std::vector<API_Guid>& guids, short& userId) {
    if (GSErrCode err = sim::enter(call, Int64(guids.size())); err != NoError) {
        return err;
    }
    return currentMember(userId);
}

} // namespace

namespace sim {

void setServerOnline(bool online) {
    state().online = online;
}

void setElementOwner(const GS::Guid& guid, short ownerId) {
    setOwner(*ownerEntry(guid, true), ownerId);
}

short elementOwner(const GS::Guid& guid) {
    if (state().held == 0) {
        return 0;
    }
    const short* owner = ownerEntry(guid, false);
    return owner == nullptr ? 0 : *owner;
}

bool isKnownToTeamwork(const GS::Guid& guid) {
    return ownerEntry(guid, false) != nullptr;
}

} // namespace sim

bool ACAPI_TeamworkControl_IsOnline() {
    if (sim::enter("ACAPI_TeamworkControl_IsOnline") != NoError) {
        return false;
    }
    return ACAPI_TeamworkControl_HasConnection() && state().online;
}

GSErrCode ACAPI_TeamworkControl_ReserveElements(const std::vector<API_Guid>& guids,
                                                std::vector<API_ReservationConflict>* conflicts) {
    short userId = 0;
    if (GSErrCode err = enterAsMember("ACAPI_TeamworkControl_ReserveElements", guids, userId);
        err != NoError) {
        return err;
    }
    for (const API_Guid& guid : guids) {
        if (!sim::isKnownToTeamwork(guid)) {
            return APIERR_BADID;
        }
    }
    if (conflicts != nullptr) {
        conflicts->clear();
    }
    for (const API_Guid& guid : guids) {
        short& owner = *ownerEntry(guid, true);
        if (owner == 0 || owner == userId) {
            setOwner(owner, userId);
        } else if (conflicts != nullptr) {
            conflicts->push_back(API_ReservationConflict{guid, owner});
        }
    }
    return NoError;
}

GSErrCode ACAPI_TeamworkControl_ReleaseElements(const std::vector<API_Guid>& guids) {
    short userId = 0;
    if (GSErrCode err = enterAsMember("ACAPI_TeamworkControl_ReleaseElements", guids, userId);
        err != NoError) {
        return err;
    }
    for (const API_Guid& guid : guids) {
        short* owner = ownerEntry(guid, false);
        if (owner != nullptr && *owner == userId) {
            setOwner(*owner, 0);
        }
    }
    return NoError;
}

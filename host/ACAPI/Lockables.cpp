#include "ACAPI/Teamwork.hpp"

#include "GSRoot/UniString.hpp"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <map>

namespace {

struct Lockable {
    GS::Guid guid;
    bool create = false;
    bool modify = false;
    Int32 status = 1;
};

std::map<std::string, Lockable>& sets() {
    static auto* instance = new std::map<std::string, Lockable>;
    return *instance;
}

const bool registered = sim::registerReset([] { sets().clear(); });

Lockable* find(const API_Guid& guid) {
    if (guid.IsNull() || !sim::isTeamwork()) {
        return nullptr;
    }
    for (auto& entry : sets()) {
        if (entry.second.guid == guid) {
            return &entry.second;
        }
    }
    return nullptr;
}

} // namespace

namespace sim {

void setLockableSet(const std::string& name, bool createRight, bool modifyRight, Int32 status) {
    Lockable& set = sets()[name];
    if (set.guid.IsNull()) {
        set.guid.Generate();
    }
    set.create = createRight;
    set.modify = modifyRight;
    set.status = status;
}

Int32 lockableStatus(const std::string& name) {
    auto it = sets().find(name);
    return it == sets().end() ? 0 : it->second.status;
}

} // namespace sim

API_Guid ACAPI_TeamworkControl_FindLockableObjectSet(const GS::UniString& objectSetName) {
    if (sim::enter("ACAPI_TeamworkControl_FindLockableObjectSet") != NoError || !sim::isTeamwork()) {
        return API_Guid();
    }
    auto it = sets().find(objectSetName.ToUTF8());
    return it == sets().end() ? API_Guid() : it->second.guid;
}

bool ACAPI_TeamworkControl_HasCreateRight(const API_Guid& objectSetGuid) {
    const Lockable* set = find(objectSetGuid);
    return sim::enter("ACAPI_TeamworkControl_HasCreateRight") == NoError && set != nullptr && set->create;
}

bool ACAPI_TeamworkControl_HasDeleteModifyRight(const API_Guid& objectSetGuid) {
    const Lockable* set = find(objectSetGuid);
    return sim::enter("ACAPI_TeamworkControl_HasDeleteModifyRight") == NoError && set != nullptr &&
           set->modify;
}

Int32 ACAPI_TeamworkControl_GetLockableStatus(const API_Guid& objectSetGuid) {
    const Lockable* set = find(objectSetGuid);
    if (sim::enter("ACAPI_TeamworkControl_GetLockableStatus") != NoError || set == nullptr) {
        return 0;
    }
    return set->status;
}

GSErrCode ACAPI_TeamworkControl_ReserveLockable(const API_Guid& objectSetGuid) {
    if (GSErrCode err = sim::enter("ACAPI_TeamworkControl_ReserveLockable"); err != NoError) {
        return err;
    }
    Lockable* set = find(objectSetGuid);
    if (set == nullptr || set->status != 1) {
        return APIERR_GENERAL;
    }
    set->status = 2;
    return NoError;
}

GSErrCode ACAPI_TeamworkControl_ReleaseLockable(const API_Guid& objectSetGuid) {
    if (GSErrCode err = sim::enter("ACAPI_TeamworkControl_ReleaseLockable"); err != NoError) {
        return err;
    }
    Lockable* set = find(objectSetGuid);
    if (set == nullptr || set->status != 2) {
        return APIERR_GENERAL;
    }
    set->status = 1;
    return NoError;
}

#include "ACAPI/ComponentRequests.hpp"

#include "GSRoot/UniString.hpp"
#include "sim/ComponentRequests.h"
#include "sim/Database.h"
#include "sim/ElementTable.h"
#include "sim/Goodies.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"

#include <unordered_map>

namespace {

using sim::GuidHash;

struct State {
    std::unordered_map<GS::Guid, std::string, GuidHash> unloaded;
    std::vector<GS::Guid> refreshed;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

GSErrCode unloadedName(void* par1, void* par2, void*, void*) {
    auto* guid = static_cast<const API_Guid*>(par1);
    auto* name = static_cast<GS::UniString*>(par2);
    if (guid == nullptr || name == nullptr) {
        return APIERR_BADPARS;
    }
    auto it = state().unloaded.find(*guid);
    if (!sim::hasElement(*guid) || it == state().unloaded.end()) {
        return APIERR_BADID;
    }
    *name = GS::UniString(it->second.c_str());
    return NoError;
}

GSErrCode refresh(void* par1, void*, void*) {
    auto* head = static_cast<const API_Elem_Head*>(par1);
    if (head == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(head->guid)) {
        return APIERR_BADID;
    }
    state().refreshed.push_back(head->guid);
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerGoodies(APIAny_GetUnloadedLibpartNameID, unloadedName) &&
                        sim::registerDatabaseRequest(APIDb_RefreshElementID, refresh);

} // namespace

namespace sim {

void setUnloadedPartName(const GS::Guid& element, const std::string& name) {
    if (name.empty()) {
        state().unloaded.erase(element);
    } else {
        state().unloaded[element] = name;
    }
}

std::string unloadedPartName(const GS::Guid& element) {
    auto it = state().unloaded.find(element);
    return it != state().unloaded.end() ? it->second : std::string();
}

std::vector<GS::Guid> refreshedElements() {
    return state().refreshed;
}

} // namespace sim

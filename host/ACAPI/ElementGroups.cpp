#include "ACAPI/ElementGroups.hpp"

#include "sim/ElementGroups.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"

#include <unordered_map>

namespace {

using sim::GuidHash;

std::unordered_map<GS::Guid, GS::Guid, GuidHash>& parents() {
    static auto* instance = new std::unordered_map<GS::Guid, GS::Guid, GuidHash>;
    return *instance;
}

const bool registered =
    sim::registerReset([] { parents().clear(); }) && sim::registerProjectClear([] { parents().clear(); });

} // namespace

void sim::setGroupParent(const GS::Guid& group, const GS::Guid& parent) {
    if (parent.IsNull()) {
        parents().erase(group);
    } else {
        parents()[group] = parent;
    }
}

GSErrCode ACAPI_ElementGroup_GetRootGroup(const API_Guid& group, API_Guid* root) {
    if (GSErrCode err = sim::enter("ACAPI_ElementGroup_GetRootGroup"); err != NoError) {
        return err;
    }
    if (root == nullptr) {
        return APIERR_BADPARS;
    }
    if (group.IsNull()) {
        return APIERR_BADID;
    }
    GS::Guid current = group;
    // A chain longer than the table holds a loop: stop where it closes.
    for (std::size_t steps = 0; steps <= parents().size(); ++steps) {
        auto it = parents().find(current);
        if (it == parents().end()) {
            break;
        }
        current = it->second;
    }
    *root = current;
    return NoError;
}

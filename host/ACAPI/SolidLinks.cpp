#include "ACAPI/SolidLinks.hpp"

#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"
#include "sim/SolidLinks.h"

#include <algorithm>
#include <unordered_map>

namespace {

using sim::GuidHash;

using Links = std::vector<sim::SolidLink>;

std::unordered_map<GS::Guid, Links, GuidHash>& state() {
    static auto* instance = new std::unordered_map<GS::Guid, Links, GuidHash>;
    return *instance;
}

const bool registered =
    sim::registerReset([] { state().clear(); }) && sim::registerProjectClear([] { state().clear(); });

// Links whose operator was deleted since are dropped.
Links live(const GS::Guid& target) {
    Links found;
    auto it = state().find(target);
    if (it != state().end()) {
        for (const sim::SolidLink& link : it->second) {
            if (sim::hasElement(link.op)) {
                found.push_back(link);
            }
        }
    }
    return found;
}

const sim::SolidLink* findLink(const GS::Guid& target, const GS::Guid& op) {
    auto it = state().find(target);
    if (it == state().end() || !sim::hasElement(op)) {
        return nullptr;
    }
    for (const sim::SolidLink& link : it->second) {
        if (link.op == op) {
            return &link;
        }
    }
    return nullptr;
}

GSErrCode known(const GS::Guid& guid) {
    return sim::hasElement(guid) ? NoError : APIERR_BADID;
}

// What a listing call checks before it answers: the call logged, a place for the list, and the
// element it lists for.
GSErrCode enterListing(const char* call, const void* list, const GS::Guid& guid) {
    if (GSErrCode err = sim::enter(call); err != NoError) {
        return err;
    }
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    return known(guid);
}

} // namespace

std::vector<sim::SolidLink> sim::solidLinksOf(const GS::Guid& target) {
    return live(target);
}

GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& target, const API_Guid& op,
                                         API_SolidOperationID operation, GSFlags flags) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SolidLink_Create", operation); err != NoError) {
        return err;
    }
    if (operation < APISolid_Substraction || operation > APISolid_Addition || target == op) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(target) || !sim::hasElement(op)) {
        return APIERR_BADID;
    }
    Links& links = state()[target];
    links.erase(std::remove_if(links.begin(), links.end(), [&](const auto& link) { return link.op == op; }),
                links.end());
    links.push_back(sim::SolidLink{op, operation, flags});
    return NoError;
}

GSErrCode ACAPI_Element_SolidLink_Remove(const API_Guid& target, const API_Guid& op) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SolidLink_Remove"); err != NoError) {
        return err;
    }
    auto it = state().find(target);
    if (it == state().end()) {
        return APIERR_BADID;
    }
    Links& links = it->second;
    auto found = std::find_if(links.begin(), links.end(), [&](const auto& link) { return link.op == op; });
    if (found == links.end()) {
        return APIERR_BADID;
    }
    links.erase(found);
    return NoError;
}

GSErrCode ACAPI_Element_SolidLink_GetOperators(const API_Guid& target, GS::Array<API_Guid>** operators) {
    if (GSErrCode err = enterListing("ACAPI_Element_SolidLink_GetOperators", operators, target);
        err != NoError) {
        return err;
    }
    auto* list = new GS::Array<API_Guid>;
    for (const sim::SolidLink& link : live(target)) {
        list->Push(link.op);
    }
    *operators = list;
    return NoError;
}

GSErrCode ACAPI_Element_SolidLink_GetTargets(const API_Guid& op, GS::Array<API_Guid>** targets) {
    if (GSErrCode err = enterListing("ACAPI_Element_SolidLink_GetTargets", targets, op); err != NoError) {
        return err;
    }
    auto* list = new GS::Array<API_Guid>;
    for (const auto& [target, links] : state()) {
        if (sim::hasElement(target) &&
            std::any_of(links.begin(), links.end(), [&](const auto& link) { return link.op == op; })) {
            list->Push(target);
        }
    }
    *targets = list;
    return NoError;
}

GSErrCode ACAPI_Element_SolidLink_GetOperation(const API_Guid& target, const API_Guid& op,
                                               API_SolidOperationID* operation) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SolidLink_GetOperation"); err != NoError) {
        return err;
    }
    const sim::SolidLink* link = findLink(target, op);
    if (operation == nullptr) {
        return APIERR_BADPARS;
    }
    if (link == nullptr) {
        return APIERR_BADID;
    }
    *operation = link->operation;
    return NoError;
}

GSErrCode ACAPI_Element_SolidLink_GetFlags(const API_Guid& target, const API_Guid& op, GSFlags* flags) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SolidLink_GetFlags"); err != NoError) {
        return err;
    }
    const sim::SolidLink* link = findLink(target, op);
    if (flags == nullptr) {
        return APIERR_BADPARS;
    }
    if (link == nullptr) {
        return APIERR_BADID;
    }
    *flags = link->flags;
    return NoError;
}

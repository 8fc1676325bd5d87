#include "ACAPI/ElementTrims.hpp"

#include "sim/ElementTable.h"
#include "sim/ElementTrims.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"

#include <algorithm>
#include <unordered_map>

namespace {

using sim::GuidHash;

using Trims = std::vector<std::pair<GS::Guid, API_TrimTypeID>>;

std::unordered_map<GS::Guid, Trims, GuidHash>& state() {
    static auto* instance = new std::unordered_map<GS::Guid, Trims, GuidHash>;
    return *instance;
}

const bool registered =
    sim::registerReset([] { state().clear(); }) && sim::registerProjectClear([] { state().clear(); });

// Trims by elements that were deleted since are dropped.
Trims live(const GS::Guid& guid) {
    Trims found;
    auto it = state().find(guid);
    if (it != state().end()) {
        for (const auto& trim : it->second) {
            if (sim::hasElement(trim.first)) {
                found.push_back(trim);
            }
        }
    }
    return found;
}

bool isKnownType(API_TrimTypeID type) {
    return type == APITrim_No || type == APITrim_KeepInside || type == APITrim_KeepOutside ||
           type == APITrim_KeepAll;
}

} // namespace

std::vector<std::pair<GS::Guid, API_TrimTypeID>> sim::trimsOf(const GS::Guid& guid) {
    return live(guid);
}

GSErrCode ACAPI_Element_Trim_GetTrimmingElements(const API_Guid& guid, GS::Array<API_Guid>* trimming) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Trim_GetTrimmingElements"); err != NoError) {
        return err;
    }
    if (trimming == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    trimming->Clear();
    for (const auto& trim : live(guid)) {
        trimming->Push(trim.first);
    }
    return NoError;
}

GSErrCode ACAPI_Element_Trim_GetTrimType(const API_Guid& guid, const API_Guid& other, API_TrimTypeID* type) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Trim_GetTrimType"); err != NoError) {
        return err;
    }
    if (type == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid) || !sim::hasElement(other)) {
        return APIERR_BADID;
    }
    *type = APITrim_No;
    for (const auto& trim : live(guid)) {
        if (trim.first == other) {
            *type = trim.second;
        }
    }
    return NoError;
}

GSErrCode ACAPI_Element_Trim_ElementsWith(const API_Guid& guid, const API_Guid& other, API_TrimTypeID type) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Trim_ElementsWith", Int64(type)); err != NoError) {
        return err;
    }
    if (!isKnownType(type) || guid == other) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid) || !sim::hasElement(other)) {
        return APIERR_BADID;
    }
    Trims& trims = state()[guid];
    trims.erase(
        std::remove_if(trims.begin(), trims.end(), [&](const auto& trim) { return trim.first == other; }),
        trims.end());
    if (type != APITrim_No) {
        trims.emplace_back(other, type);
    }
    return NoError;
}

#include "ACAPI/Selection.hpp"

#include "ACAPI/ProjectInfo.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstring>

namespace {

struct State {
    std::vector<API_Neig> neigs;
    API_SelTypeID type = API_SelEmpty;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered =
    sim::registerReset([] { state() = State(); }) && sim::registerProjectClear([] { state() = State(); });

bool sameRecord(const API_Neig& a, const API_Neig& b) {
    return a.guid == b.guid && a.neigID == b.neigID && a.elemPartType == b.elemPartType &&
           a.elemPartIndex == b.elemPartIndex;
}

bool isEditable(const GS::Guid& guid) {
    API_Elem_Head head = sim::element(guid).header;
    return !head.locked && head.hotlinkGuid.IsNull() &&
           (!sim::isTeamwork() || head.userId == sim::currentUserId());
}

// Deleted elements drop out of the selection.
std::vector<API_Neig> living() {
    std::vector<API_Neig> result;
    for (const API_Neig& neig : state().neigs) {
        if (sim::hasElement(neig.guid)) {
            result.push_back(neig);
        }
    }
    return result;
}

} // namespace

namespace sim {

void setSelection(const std::vector<API_Neig>& neigs, API_SelTypeID type) {
    state().neigs = neigs;
    state().type = neigs.empty() && type == API_SelElems ? API_SelEmpty : type;
}

std::vector<API_Neig> selection() {
    return living();
}

API_SelTypeID selectionType() {
    return state().type;
}

} // namespace sim

GSErrCode ACAPI_Selection_Get(API_SelectionInfo* selectionInfo, API_Neig*** selNeigs, bool onlyEditable, bool,
                              Int32) {
    if (GSErrCode err = sim::enter("ACAPI_Selection_Get"); err != NoError) {
        return err;
    }
    if (selectionInfo == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    std::vector<API_Neig> neigs = living();
    if (onlyEditable) {
        neigs.erase(
            std::remove_if(neigs.begin(), neigs.end(), [](const API_Neig& n) { return !isEditable(n.guid); }),
            neigs.end());
    }
    *selectionInfo = API_SelectionInfo();
    selectionInfo->typeID = state().type == API_SelElems && neigs.empty() ? API_SelEmpty : state().type;
    selectionInfo->sel_nElem = Int32(neigs.size());
    if (selNeigs != nullptr) {
        *selNeigs = nullptr;
        if (!neigs.empty()) {
            GSHandle handle = BMAllocateHandle(GSSize(neigs.size() * sizeof(API_Neig)), 0, 0);
            if (handle == nullptr) {
                return APIERR_MEMFULL;
            }
            std::memcpy(*handle, neigs.data(), neigs.size() * sizeof(API_Neig));
            *selNeigs = reinterpret_cast<API_Neig**>(handle);
        }
    }
    return NoError;
}

GSErrCode ACAPI_Element_Select(const API_Neig* neigs, Int32 count, bool add) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Select", count); err != NoError) {
        return err;
    }
    if (count < 0 || (count > 0 && neigs == nullptr)) {
        return APIERR_BADPARS;
    }
    if (count == 0) {
        if (!add) {
            sim::setSelection({}, API_SelEmpty);
        }
        return NoError;
    }
    for (Int32 i = 0; i < count; ++i) {
        if (!sim::hasElement(neigs[i].guid)) {
            return APIERR_BADID;
        }
    }
    std::vector<API_Neig> current = living();
    for (Int32 i = 0; i < count; ++i) {
        auto same = [&](const API_Neig& n) { return sameRecord(n, neigs[i]); };
        if (add) {
            if (std::none_of(current.begin(), current.end(), same)) {
                current.push_back(neigs[i]);
            }
        } else {
            current.erase(std::remove_if(current.begin(), current.end(), same), current.end());
        }
    }
    sim::setSelection(current, API_SelElems);
    return NoError;
}

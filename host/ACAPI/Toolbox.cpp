#include "ACAPI/Toolbox.hpp"

#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Environment.h"
#include "sim/Interface.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"
#include "sim/Toolbox.h"

#include <deque>
#include <utility>

namespace {

struct State {
    bool suspended = false;
    Int32 toolType = 0;
    UInt32 toolVariation = 0;
    std::deque<std::pair<bool, sim::SettingsChanges>> settingsAnswers;
    std::deque<short> layerAnswers;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

GSErrCode isSuspended(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    *static_cast<bool*>(par1) = state().suspended;
    return NoError;
}

GSErrCode getToolbox(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    auto* item = static_cast<API_ToolBoxItem*>(par1);
    item->typeID = state().toolType;
    item->variationID = state().toolVariation;
    return NoError;
}

bool isTool(API_ElemTypeID type) {
    return type >= 0 && type <= 100;
}

GSErrCode setToolbox(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    auto* item = static_cast<API_ToolBoxItem*>(par1);
    if (!isTool(item->typeID)) {
        return APIERR_BADID;
    }
    state().toolType = item->typeID;
    state().toolVariation = item->variationID;
    return NoError;
}

GSErrCode settingsDialog(void* par1, void*, void*) {
    auto* item = static_cast<API_ToolBoxItem*>(par1);
    if (item == nullptr || !isTool(item->typeID)) {
        return APIERR_BADPARS;
    }
    auto& answers = state().settingsAnswers;
    if (answers.empty()) {
        sim::log("sim::unscriptedDialog", APIIo_SettingsDialogID);
        return APIERR_CANCEL;
    }
    auto [accept, changes] = answers.front();
    answers.pop_front();
    if (accept && changes) {
        changes(item->typeID, item->variationID);
    }
    return accept ? NoError : APIERR_CANCEL;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerEnvironmentRequest(APIEnv_IsSuspendGroupOnID, isSuspended) &&
                        sim::registerEnvironmentRequest(APIEnv_GetToolBoxModeID, getToolbox) &&
                        sim::registerEnvironmentRequest(APIEnv_SetToolBoxModeID, setToolbox) &&
                        sim::registerInterfaceRequest(APIIo_SettingsDialogID, settingsDialog);

} // namespace

namespace sim {

void setGroupSuspended(bool suspended) {
    state().suspended = suspended;
}

bool isGroupSuspended() {
    return state().suspended;
}

void setToolbox(Int32 typeID, UInt32 variationID) {
    state().toolType = typeID;
    state().toolVariation = variationID;
}

Int32 toolboxType() {
    return state().toolType;
}

UInt32 toolboxVariation() {
    return state().toolVariation;
}

void queueSettingsDialog(bool accept) {
    state().settingsAnswers.emplace_back(accept, SettingsChanges());
}

void queueSettingsDialog(SettingsChanges changes) {
    state().settingsAnswers.emplace_back(true, std::move(changes));
}

void queueLayerChoice(short layer) {
    state().layerAnswers.push_back(layer);
}

} // namespace sim

namespace {

GSErrCode lockElements(const API_Elem_Head* heads, Int32 count, bool lock) {
    for (Int32 i = 0; i < count; ++i) {
        if (!sim::hasElement(heads[i].guid)) {
            return APIERR_BADID;
        }
    }
    for (Int32 i = 0; i < count; ++i) {
        const GS::Guid& guid = heads[i].guid;
        bool others = sim::isTeamwork() && sim::elementOwner(guid) != sim::currentUserId();
        if (sim::elementDatabase(guid) == sim::currentDatabase() && !others) {
            sim::setElementLocked(guid, lock);
        }
    }
    return NoError;
}

} // namespace

GSErrCode ACAPI_Element_Tool(const API_Elem_Head* elemHeads, Int32 nItems, API_ToolCmdID typeID, void*) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Tool", typeID); err != NoError) {
        return err;
    }
    if (nItems < 0 || (nItems > 0 && elemHeads == nullptr)) {
        return APIERR_BADPARS;
    }
    if (typeID == APITool_Lock || typeID == APITool_Unlock) {
        return lockElements(elemHeads, nItems, typeID == APITool_Lock);
    }
    if (typeID != APITool_SuspendGroups) {
        return sim::applyElementTool(typeID, elemHeads, nItems);
    }
    state().suspended = !state().suspended;
    return NoError;
}

GSErrCode ACAPI_Internal(GSType code, void* par1, void* par2, void*) {
    if (GSErrCode err = sim::enter("ACAPI_Internal", code); err != NoError) {
        return err;
    }
    if (code != APIInternal_LayerChooserID) {
        return APIERR_BADID;
    }
    auto* item = static_cast<API_ToolBoxItem*>(par1);
    auto* layer = static_cast<short*>(par2);
    if (item == nullptr || layer == nullptr || !isTool(item->typeID)) {
        return APIERR_BADPARS;
    }
    auto& answers = state().layerAnswers;
    if (answers.empty()) {
        sim::log("sim::unscriptedDialog", APIInternal_LayerChooserID);
        return APIERR_CANCEL;
    }
    short chosen = answers.front();
    answers.pop_front();
    if (chosen < 0) {
        return APIERR_CANCEL;
    }
    *layer = chosen;
    return NoError;
}

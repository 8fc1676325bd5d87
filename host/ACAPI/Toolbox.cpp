#include "ACAPI/Toolbox.hpp"

#include "ACAPI/ElementMemo.hpp"
#include "sim/Databases.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Environment.h"
#include "sim/Escaped.h"
#include "sim/Interface.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"
#include "sim/Toolbox.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <utility>

namespace {

struct State {
    bool suspended = false;
    Int32 toolType = 0;
    UInt32 toolVariation = 0;
    struct Answer {
        sim::SettingsAnswer answer;
        sim::SettingsChanges changes;
    };
    std::deque<Answer> settingsAnswers;
    std::string settingsRefusal; // why the last refused answer was refused, until taken
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

// The library part index of a tool's default element, null for a tool without one.
Int32* partIndex(API_Element& element) {
    switch (element.header.typeID) {
    case API_ObjectID:
        return &element.object.libInd;
    case API_LampID:
        return &element.lamp.libInd;
    case API_WindowID:
        return &element.window.openingBase.libInd;
    case API_DoorID:
        return &element.door.openingBase.libInd;
    default:
        return nullptr;
    }
}

Int32 partNamed(const std::string& name) {
    for (Int32 index = 1; index <= sim::libPartCount(); ++index) {
        if (sim::loadedLibPart(index)->name == name) {
            return index;
        }
    }
    return 0;
}

// The tool's defaults take the part and values the user set; answers why not when the host cannot
// take them (empty when it does). The dialog shows the part's own parameters and its sizes, each
// with a field of its type: a value has one of them to go to, and is of its kind.
std::string takeSettings(const API_ToolBoxItem& item, const sim::SettingsAnswer& answer) {
    if (answer.part.empty() && answer.values.empty()) {
        return {};
    }
    API_Element defaults = sim::defaults(item.typeID, item.variationID);
    std::vector<sim::LibParameter> parameters = sim::defaultMemoParameters(item.typeID, item.variationID);
    Int32* index = partIndex(defaults);
    const std::string tool = "tool type " + std::to_string(item.typeID);
    if (!answer.part.empty()) {
        Int32 part = partNamed(answer.part);
        if (index == nullptr) {
            return "the " + tool + " places no library part";
        }
        if (part == 0) {
            return "no loaded library part is named " + sim::escaped(answer.part);
        }
        *index = part;
        parameters = sim::loadedLibPart(part)->parameters;
    }
    const sim::LibPartDef* part = index != nullptr ? sim::loadedLibPart(*index) : nullptr;
    const std::string whose = part != nullptr ? "the part " + sim::escaped(part->name) : "the " + tool;
    for (const sim::SettingsValue& value : answer.values) {
        auto found = std::find_if(parameters.begin(), parameters.end(), [&](const sim::LibParameter& p) {
            return std::strncmp(value.name.c_str(), p.record.name, sizeof p.record.name) == 0;
        });
        if (found == parameters.end() && index != nullptr &&
            (value.name == "A" || value.name == "B" || value.name == "ZZYZX")) {
            // Every placed part has its sizes, whether its parameters list them or not.
            parameters.push_back(sim::scalarParameter(APIParT_Length, value.name, 0.0));
            found = parameters.end() - 1;
        }
        if (found == parameters.end()) {
            return whose + " has no parameter " + sim::escaped(value.name);
        }
        const bool text = found->record.typeID == APIParT_CString;
        if (found->record.typeMod == API_ParArray || text != value.isText) {
            return "the parameter " + sim::escaped(value.name) + " of " + whose + " takes " +
                   (found->record.typeMod == API_ParArray ? "an array"
                    : text                                ? "a text"
                                                          : "a number or true or false");
        }
        short flags = found->record.flags;
        *found = text ? sim::textParameter(value.name, value.text, flags)
                      : sim::scalarParameter(found->record.typeID, value.name, value.number, flags);
    }
    sim::setDefaults(defaults);
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    if (sim::writeParameterRecords(parameters, &memo.params) == NoError) {
        sim::storeDefaultMemo(item.typeID, item.variationID, &memo);
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    return {};
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
    State::Answer next = answers.front();
    answers.pop_front();
    if (!next.answer.accept) {
        return APIERR_CANCEL;
    }
    if (next.changes) {
        next.changes(item->typeID, item->variationID);
    }
    if (std::string refusal = takeSettings(*item, next.answer); !refusal.empty()) {
        sim::log("sim::settingsRefused", APIIo_SettingsDialogID);
        state().settingsRefusal = refusal;
        return APIERR_CANCEL;
    }
    return NoError;
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
    sim::SettingsAnswer answer;
    answer.accept = accept;
    state().settingsAnswers.push_back({answer, SettingsChanges()});
}

void queueSettingsDialog(SettingsChanges changes) {
    sim::SettingsAnswer answer;
    answer.accept = true;
    state().settingsAnswers.push_back({answer, std::move(changes)});
}

void queueSettingsDialog(const SettingsAnswer& answer) {
    state().settingsAnswers.push_back({answer, SettingsChanges()});
}

std::string takeSettingsRefusal() {
    return std::exchange(state().settingsRefusal, std::string());
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

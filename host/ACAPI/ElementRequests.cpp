#include "ACAPI/ElementRequests.hpp"

#include "GSRoot/UniString.hpp"
#include "sim/Database.h"
#include "sim/ElementRequests.h"
#include "sim/ElementTable.h"
#include "sim/Goodies.h"
#include "sim/Interface.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <map>

namespace {

struct State {
    std::vector<GS::Guid> drawn;
    std::vector<GS::Guid> scriptsRun;
    std::vector<API_ElemHighlight> highlights;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

GSErrCode infoString(void* par1, void* par2, bool compound) {
    auto* guid = static_cast<const API_Guid*>(par1);
    auto* text = static_cast<GS::UniString*>(par2);
    if (guid == nullptr || text == nullptr) {
        return APIERR_BADPARS;
    }
    std::string element, compoundText;
    if (!sim::elementInfoStrings(*guid, element, compoundText)) {
        return APIERR_BADID;
    }
    *text = GS::UniString((compound ? compoundText : element).c_str());
    return NoError;
}

GSErrCode elementInfo(void* par1, void* par2, void*) {
    return infoString(par1, par2, false);
}

GSErrCode compoundInfo(void* par1, void* par2, void*) {
    return infoString(par1, par2, true);
}

GSErrCode fromAnywhere(void* par1, void*, void*) {
    auto* element = static_cast<API_Element*>(par1);
    if (element == nullptr) {
        return APIERR_BADPARS;
    }
    const API_Element* found = sim::findElement(element->header.guid);
    if (found == nullptr) {
        return APIERR_BADID;
    }
    *element = *found;
    element->header.userId = sim::elementOwner(element->header.guid);
    return NoError;
}

GSErrCode drawElement(void* par1, void*, void*) {
    auto* head = static_cast<const API_Elem_Head*>(par1);
    if (head == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(head->guid)) {
        return APIERR_BADID;
    }
    state().drawn.push_back(head->guid);
    return NoError;
}

GSErrCode runParameterScript(void* par1, void*, void*, void*) {
    auto* head = static_cast<const API_Elem_Head*>(par1);
    if (head == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(head->guid)) {
        return APIERR_BADID;
    }
    API_ElemTypeID type = sim::element(head->guid).header.typeID;
    if (type < API_WindowID || type > API_LampID) {
        return APIERR_BADID;
    }
    state().scriptsRun.push_back(head->guid);
    return NoError;
}

GSErrCode neigToType(void* par1, void* par2, void*, void*) {
    auto* neigID = static_cast<const Int32*>(par1);
    auto* type = static_cast<API_ElemTypeID*>(par2);
    if (neigID == nullptr || type == nullptr) {
        return APIERR_BADPARS;
    }
    API_ElemTypeID found = sim::elementTypeOfNeig(*neigID);
    if (found == 0) {
        return APIERR_BADPARS;
    }
    *type = found;
    return NoError;
}

GSErrCode highlight(void* par1, void*, void*) {
    auto* table = static_cast<const GS::Array<API_ElemHighlight>*>(par1);
    state().highlights.clear();
    if (table != nullptr) {
        for (const API_ElemHighlight& item : *table) {
            if (!sim::hasElement(item.guid)) {
                state().highlights.clear();
                return APIERR_BADID;
            }
            state().highlights.push_back(item);
        }
    }
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerDatabaseRequest(APIDb_GetElementInfoStringID, elementInfo) &&
                        sim::registerDatabaseRequest(APIDb_GetCompoundInfoStringID, compoundInfo) &&
                        sim::registerDatabaseRequest(APIDb_GetElementFromAnywhereID, fromAnywhere) &&
                        sim::registerDatabaseRequest(APIDb_DrawElementID, drawElement) &&
                        sim::registerGoodies(APIAny_RunGDLParScriptID, runParameterScript) &&
                        sim::registerGoodies(APIAny_NeigIDToElemTypeID, neigToType) &&
                        sim::registerInterfaceRequest(APIIo_HighlightElementsID, highlight);

} // namespace

namespace sim {

API_ElemTypeID elementTypeOfNeig(Int32 neigID) {
    // The first kind of each element type's selection records; the kinds in between select parts
    // of the element before them.
    static const std::map<Int32, API_ElemTypeID> firsts = {
        {1, 1},   {5, 2},   {6, 3},   {10, 4},  {12, 5},  {13, 6},  {14, 7},  {15, 8},  {17, 9},
        {21, 10}, {27, 11}, {28, 12}, {29, 13}, {31, 14}, {32, 15}, {33, 16}, {34, 17}, {38, 18},
        {40, 19}, {44, 21}, {46, 22}, {48, 23}, {50, 24}, {51, 25}, {53, 26}, {55, 29}, {57, 31}};
    if (neigID < 1 || neigID > 58) {
        return 0;
    }
    auto it = firsts.upper_bound(neigID);
    return std::prev(it)->second;
}

std::vector<GS::Guid> drawnElements() {
    return state().drawn;
}

std::vector<GS::Guid> parameterScriptsRun() {
    return state().scriptsRun;
}

std::vector<API_ElemHighlight> highlights() {
    return state().highlights;
}

} // namespace sim

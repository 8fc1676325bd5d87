#include "ACAPI/DatabaseInfo.hpp"
#include "ACAPI/ElementRequests.hpp"
#include "ACAPI/ElementTable.hpp"
#include "Attribute/CadColour.h"
#include "Database/BaseElemSelection.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Environment/Memory.h"
#include "GSRoot/UniString.hpp"
#include "Geometry/Cube.h"

#include <cmath>
#include <memory>

namespace zelvane {

namespace {

struct HandleFree {
    void operator()(API_Elem_Head** handle) const {
        char** block = reinterpret_cast<char**>(handle);
        disposeHandle(&block);
    }
};
using HeaderList = std::unique_ptr<API_Elem_Head*, HandleFree>;

} // namespace

bool Drawing::erase(const ElementLink& link) {
    if (!activate()) {
        return false;
    }
    API_Elem_Head head = link.getHeader();
    GSErrCode err = ACAPI_Element_Delete(&head, 1);
    setLastError(err);
    return err == NoError;
}

bool Drawing::erase(const ElementLinkList& list) {
    if (!activate()) {
        return false;
    }
    if (list.empty()) {
        return true;
    }
    HeaderList heads(list.getHeaderList(false));
    if (heads == nullptr) {
        setLastError(APIERR_MEMFULL);
        return false;
    }
    GSErrCode err = ACAPI_Element_Delete(*heads, Int32(list.size()));
    setLastError(err);
    return err == NoError;
}

bool Drawing::erase(BaseElemSelection& selection) {
    std::unique_ptr<ElementLinkList> list(selection.getElementLinks());
    return list != nullptr && erase(*list);
}

bool Drawing::applyTool(API_ToolCmdID command, const ElementLinkList& list) {
    if (!activate()) {
        return false;
    }
    HeaderList heads(list.getHeaderList(false));
    if (heads == nullptr && !list.empty()) {
        setLastError(APIERR_MEMFULL);
        return false;
    }
    GSErrCode err =
        ACAPI_Element_Tool(heads != nullptr ? *heads : nullptr, Int32(list.size()), command, nullptr);
    setLastError(err);
    return err == NoError;
}

bool Drawing::applyTool(API_ToolCmdID command, BaseElemSelection& selection) {
    std::unique_ptr<ElementLinkList> list(selection.getElementLinks());
    if (list == nullptr || !activate()) {
        return false;
    }
    HeaderList heads(list->getHeaderList(false));
    if (heads == nullptr && !list->empty()) {
        setLastError(APIERR_MEMFULL);
        return false;
    }
    GSErrCode err =
        ACAPI_Element_Tool(heads != nullptr ? *heads : nullptr, Int32(list->size()), command, nullptr);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    selection.setElementHeaders(heads != nullptr ? *heads : nullptr, Int32(list->size()));
    return true;
}

bool Drawing::group(const ElementLinkList& list) {
    return applyTool(APITool_Group, list);
}
bool Drawing::ungroup(const ElementLinkList& list) {
    return applyTool(APITool_Ungroup, list);
}
bool Drawing::moveForward(const ElementLinkList& list) {
    return applyTool(APITool_BringForward, list);
}
bool Drawing::moveToFront(const ElementLinkList& list) {
    return applyTool(APITool_BringToFront, list);
}
bool Drawing::moveBackward(const ElementLinkList& list) {
    return applyTool(APITool_SendBackward, list);
}
bool Drawing::moveToBack(const ElementLinkList& list) {
    return applyTool(APITool_SendToBack, list);
}
bool Drawing::lock(const ElementLinkList& list) {
    return applyTool(APITool_Lock, list);
}
bool Drawing::unlock(const ElementLinkList& list) {
    return applyTool(APITool_Unlock, list);
}

bool Drawing::addLinkTo(const ElementLink& from, const ElementLink& to) {
    if (!activate()) {
        return false;
    }
    GSErrCode err = ACAPI_Element_Link(GS::Guid(from.getUniqueID()), GS::Guid(to.getUniqueID()), 0);
    setLastError(err);
    return err == NoError;
}

bool Drawing::addLinksTo(const ElementLink& from, const ElementLinkList& list) {
    bool all = true;
    for (const ElementLink* to : list) {
        if (to != nullptr && !addLinkTo(from, *to)) {
            all = false;
        }
    }
    return all;
}

std::size_t Drawing::getLinksFrom(const ElementLink& link, ElementLinkList& list) {
    if (!activate()) {
        return 0;
    }
    GS::Array<API_Guid> to;
    GSErrCode err = ACAPI_Element_GetLinks(GS::Guid(link.getUniqueID()), &to);
    setLastError(err);
    if (err != NoError) {
        return 0;
    }
    for (const API_Guid& guid : to) {
        list.push_back(new ElementLink(Guid(guid), this));
    }
    return to.GetSize();
}

bool Drawing::setObserved(const ElementLink& link, bool observed) {
    if (!activate()) {
        return false;
    }
    API_Elem_Head head = link.getHeader();
    GSErrCode err = observed ? ACAPI_Element_AttachObserver(&head, 0) : ACAPI_Element_DetachObserver(&head);
    setLastError(err);
    return err == NoError;
}

bool Drawing::runParameterScript(const ElementLink& link) {
    if (!activate()) {
        return false;
    }
    API_Elem_Head head = link.getHeader();
    GSErrCode err = ACAPI_Goodies(APIAny_RunGDLParScriptID, &head);
    setLastError(err);
    return err == NoError;
}

bool Drawing::show(const ElementLinkList& list) {
    if (!activate()) {
        return false;
    }
    bool all = true;
    for (const ElementLink* link : list) {
        API_Elem_Head head = link->getHeader();
        GSErrCode err = ACAPI_Database(APIDb_DrawElementID, &head);
        setLastError(err);
        all = all && err == NoError;
    }
    return all;
}

bool Drawing::highlight(const ElementLinkList& list, const CadColour& colour, bool clearFirst) {
    if (!activate()) {
        return false;
    }
    if (clearFirst) {
        clearHighlights();
    }
    if (list.empty()) {
        return true;
    }
    GS::Array<API_ElemHighlight> table;
    for (const ElementLink* link : list) {
        API_ElemHighlight item;
        item.guid = GS::Guid(link->getUniqueID());
        item.colour.f_red = colour.getRed();
        item.colour.f_green = colour.getGreen();
        item.colour.f_blue = colour.getBlue();
        table.Push(item);
    }
    bool wireframe = false;
    GSErrCode err = ACAPI_Interface(APIIo_HighlightElementsID, &table, &wireframe);
    setLastError(err);
    if (err == NoError) {
        m_isHighlighted = 1;
    }
    return err == NoError;
}

GSErrCode Drawing::clearHighlights() {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Interface(APIIo_HighlightElementsID, nullptr, nullptr);
    setLastError(err);
    m_isHighlighted = 0;
    return err;
}

GSErrCode Drawing::readDatabaseInfo(API_DatabaseInfo& info) const {
    info.typeID = getType();
    info.databaseUnId = GS::Guid(getID());
    GSErrCode err = ACAPI_Database(APIDb_GetDatabaseInfoID, &info);
    setLastError(err);
    return err;
}

GSErrCode Drawing::writeDatabaseInfo(API_DatabaseInfo& info) const {
    GSErrCode err = ACAPI_Database(APIDb_ModifyDatabaseID, &info);
    setLastError(err);
    return err;
}

String Drawing::getName() const {
    API_DatabaseInfo info;
    return activate() && readDatabaseInfo(info) == NoError ? String(info.name, sizeof info.name) : String();
}

String Drawing::getTitle() const {
    API_DatabaseInfo info;
    return activate() && readDatabaseInfo(info) == NoError ? String(info.title, sizeof info.title) : String();
}

String Drawing::getReference() const {
    API_DatabaseInfo info;
    return activate() && readDatabaseInfo(info) == NoError ? String(info.ref, sizeof info.ref) : String();
}

bool Drawing::setName(const String& name) {
    API_DatabaseInfo info;
    if (!activate() || readDatabaseInfo(info) != NoError) {
        return false;
    }
    name.copyTo(info.name, sizeof info.name);
    return writeDatabaseInfo(info) == NoError;
}

bool Drawing::setReference(const String& reference) {
    API_DatabaseInfo info;
    if (!activate() || readDatabaseInfo(info) != NoError) {
        return false;
    }
    reference.copyTo(info.ref, sizeof info.ref);
    return writeDatabaseInfo(info) == NoError;
}

GSErrCode Drawing::setZoom(const Cube& box) {
    if (!activate()) {
        return m_lastError;
    }
    Cube sorted(box);
    sorted.sort();
    API_Box zoom{sorted.getOrigin().x(), sorted.getOrigin().y(), sorted.getEnd().x(), sorted.getEnd().y()};
    GSErrCode err = ACAPI_Automate(APIDo_ZoomID, &zoom);
    setLastError(err);
    return err;
}

GSErrCode Drawing::zoomToFit() {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Automate(APIDo_ZoomID, nullptr);
    setLastError(err);
    return err;
}

GSErrCode Drawing::setZoomToSelected() {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Automate(APIDo_ZoomToSelectedID);
    setLastError(err);
    return err;
}

Cube* Drawing::getZoom(bool extent) {
    if (!activate()) {
        return nullptr;
    }
    API_Box box{};
    GSErrCode err = ACAPI_Database(extent ? APIDb_GetExtentID : APIDb_GetZoomID, &box);
    setLastError(err);
    return err == NoError ? new Cube(box) : nullptr;
}

double Drawing::getScale() {
    if (!activate()) {
        return 0.0;
    }
    double scale = 0.0;
    GSErrCode err = ACAPI_Database(APIDb_GetDrawingScaleID, &scale);
    setLastError(err);
    return err == NoError ? scale : 0.0;
}

GSErrCode Drawing::setScale(double scale, bool flag) {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Database(APIDb_ChangeDrawingScaleID, &scale, &flag);
    setLastError(err);
    return err;
}

double Drawing::getPixelSize() {
    if (!activate()) {
        return 0.0;
    }
    Int32 origin = 0;
    Int32 far = 6553600; // the pixel (0, 100)
    API_Coord a{}, b{};
    GSErrCode err = ACAPI_Database(APIDb_PixelToCoordID, &origin, &a);
    if (err == NoError) {
        err = ACAPI_Database(APIDb_PixelToCoordID, &far, &b);
    }
    setLastError(err);
    if (err != NoError) {
        return 0.0;
    }
    return std::hypot(b.x - a.x, b.y - a.y) / 100.0;
}

GSErrCode Drawing::redraw() {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Database(APIDb_RedrawCurrentDatabaseID);
    setLastError(err);
    return err;
}

GSErrCode Drawing::refresh() {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Database(APIDb_RebuildCurrentDatabaseID);
    setLastError(err);
    return err;
}

GSErrCode Drawing::rebuild(bool regenerate) {
    if (!activate()) {
        return m_lastError;
    }
    GSErrCode err = ACAPI_Automate(APIDo_RebuildID, &regenerate);
    setLastError(err);
    return err;
}

} // namespace zelvane

// The simulated host's elements: set up, inspected and changed by tests and the host program.
// Elements are keyed by GUID; each lives in one database (the null ID: the floor plan, which the
// 3D model shares).
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Elements.hpp"
#include "ACAPI/Selection.hpp"

#include <string>
#include <utility>
#include <vector>

namespace sim {

// The add-on user data attached to an element or a tool default.
struct UserDataRecord {
    std::vector<char> bytes;
    short version = 0;
    UInt16 platformSign = 0;
    GSFlags flags = 0;
};

// Adds an element to a database; a null GUID in its header gets a new one. Answers the GUID.
GS::Guid addElement(const API_Element& element, const GS::Guid& database = GS::Guid());
bool hasElement(const GS::Guid& guid);
// The element's record; throws std::out_of_range when there is none.
API_Element element(const GS::Guid& guid);
// The element's record as the table keeps it (without its owner), valid until the table changes;
// null when there is none. For reading a few members without copying the record.
const API_Element* findElement(const GS::Guid& guid);
// The database holding the element; throws std::out_of_range when there is none.
GS::Guid elementDatabase(const GS::Guid& guid);
void removeElement(const GS::Guid& guid);
std::size_t elementCount();

// Where another part of the host last found what it keeps of an element (its memo), for the GUID,
// with that part's count of removals then: the table only keeps it with the element, so that a
// call about the element finds it without a search of that part's own table of many. The part
// checks it before use: a hint copied to another element or older than a removal does not hold.
struct ElementHint {
    const void* at = nullptr;
    GS::Guid guid;
    UInt64 epoch = 0;
};
// The element's memo hint; null when there is no element.
ElementHint* memoHint(const GS::Guid& guid);
// The elements of a database, in the order they were made.
std::vector<GS::Guid> elementsOf(const GS::Guid& database);

// Sets the element's lock flag; throws std::out_of_range when there is none.
void setElementLocked(const GS::Guid& guid, bool locked);

// The element's listing strings: its own information string ('GEIS') and the compound string of
// its master prefix followed by it ('GCIS').
void setElementInfo(const GS::Guid& guid, const std::string& element, const std::string& compound);
std::string elementInfo(const GS::Guid& guid);

void setUserData(const GS::Guid& guid, const UserDataRecord& record);
bool hasUserData(const GS::Guid& guid);
UserDataRecord userData(const GS::Guid& guid);
// The user data of a tool's defaults.
bool hasDefaultUserData(API_ElemTypeID type, API_ElemVariationID variation);
UserDataRecord defaultUserData(API_ElemTypeID type, API_ElemVariationID variation);

// The default element of a tool (type and variation from its header); a tool without one answers
// a cleared record of its type.
void setDefaults(const API_Element& element);
API_Element defaults(API_ElemTypeID type, API_ElemVariationID variation);
// The tools that have a default element, by type and then variation.
std::vector<std::pair<API_ElemTypeID, API_ElemVariationID>> defaultTools();

// Links between elements (to, with flags) and observed elements.
std::vector<GS::Guid> linksFrom(const GS::Guid& guid);
bool isObserved(const GS::Guid& guid);

// When set, every moving edit gives the element a new GUID.
void setEditRenewsGuid(bool renew);
// The edits applied to an element (by its GUID at the time of the edit).
std::vector<API_EditPars> editsOf(const GS::Guid& guid);

// What ACAPI_Element_Tool does to the listed elements for the grouping and drawing-order commands
// (the toolbox itself locks, unlocks and suspends groups).
GSErrCode applyElementTool(GSType command, const API_Elem_Head* heads, Int32 count);

// The selection of the current window, and its kind (elements or a marquee).
void setSelection(const std::vector<API_Neig>& neigs, API_SelTypeID type = API_SelElems);
std::vector<API_Neig> selection();
API_SelTypeID selectionType();

// The journal of an undoable command's element changes: begun when the command starts; each
// element is remembered as it was before the command first creates, changes or deletes it. Ending
// it keeps it as the last command's, to be reverted once, or (for a failed command) reverts it at
// once; a new journal drops the old one.
void beginElementJournal();
void endElementJournal(bool keep);
// Puts every element the last kept journal remembered back as it was; false without one.
bool revertElementJournal();

// The renovation statuses that a renovation filter hides (none for a filter never set).
void setRenovationFilterHides(const GS::Guid& filter, const std::vector<Int32>& statuses);

} // namespace sim

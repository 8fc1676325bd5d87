// The elements of the open project: listing and filtering them, reading, changing, creating,
// editing and deleting them, their user data, links and observers, and the tool defaults.
// Elements are found by GUID; listing works on the current database (the floor plan and the 3D
// model share theirs).
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Elements.hpp"
#include "GSRoot/Array.hpp"

// The element's extra data; its parts are named by the bits of a memo mask.
struct API_ElementMemo;

// Element filter flags; a flag asks for elements that pass its test. Any other bit is refused
// (APIERR_BADPARS).
using API_ElemFilterFlags = UInt32;
// Not locked, not in a hotlink, and in a shared project owned by the current member.
constexpr API_ElemFilterFlags APIFilt_IsEditable = 0x0001;
// On a layer that is shown (an element without a layer is shown).
constexpr API_ElemFilterFlags APIFilt_OnVisLayer = 0x0002;
// On the current storey (floor plan elements only).
constexpr API_ElemFilterFlags APIFilt_OnActFloor = 0x0004;
// Not shared, or owned by the current team member.
constexpr API_ElemFilterFlags APIFilt_InMyWorkspace = 0x0010;
// In no group and in no hotlink.
constexpr API_ElemFilterFlags APIFilt_IsIndependent = 0x0020;
// Of the floor plan (the model), not of a drawing's own database.
constexpr API_ElemFilterFlags APIFilt_FromFloorplan = 0x0200;
// Shown by the renovation filter passed with the call (its renovation status is not hidden).
constexpr API_ElemFilterFlags APIFilt_IsVisibleByRenovation = 0x0400;

// The GUIDs of the current database's elements of a type (0: every type) and variation (0: every
// variation) that pass the flags, in the order they were made.
GSErrCode ACAPI_Element_GetElemList(API_ElemTypeID typeID, GS::Array<API_Guid>* elemList,
                                    API_ElemFilterFlags filterBits = 0, API_ElemVariationID variationID = 0,
                                    const API_Guid& renovationFilterGuid = API_Guid());
// Whether the element exists and passes the flags (and the variation, when not 0).
bool ACAPI_Element_Filter(const API_Guid& guid, API_ElemFilterFlags filterBits,
                          API_ElemVariationID variationID = 0,
                          const API_Guid& renovationFilterGuid = API_Guid());

// The element named by element->header.guid, of any database; APIERR_BADID when there is none
// or when a header type other than 0 differs from the element's.
GSErrCode ACAPI_Element_Get(API_Element* element);
GSErrCode ACAPI_Element_GetHeader(API_Elem_Head* header);
// The memo parts of the mask (0: none). The memo's handles are new; the caller disposes them.
GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask);

// Changes the members of the element that the mask marks (a byte of the mask not 0 marks the
// byte of the record), and the memo parts of memoMask. The header's type, GUID and owner never
// change. APIERR_NOTMINE for another member's element in a shared project.
GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               UInt64 memoMask, bool withDel);
// A new element in the current database; the record's header gets its new GUID.
GSErrCode ACAPI_Element_Create(API_Element* element, const API_ElementMemo* memo);
// Changes the marked members of every listed element to those of defPars (and its memo).
GSErrCode ACAPI_Element_ChangeParameters(const API_Elem_Head* heads, Int32 count, const API_Element* defPars,
                                         const API_ElementMemo* memo, const API_Element* mask);
// Edits the listed elements; the selection records are given their elements' GUIDs afterwards
// (an edit without delete makes copies, and the host may renew a GUID).
GSErrCode ACAPI_Element_Edit(API_Neig* neigs, Int32 count, const API_EditPars& pars);
GSErrCode ACAPI_Element_Delete(const API_Elem_Head* heads, Int32 count);

// The add-on's user data of an element, or of the tool defaults of its type and variation when
// the header's GUID is null. APIERR_NOUSERDATA (with a null handle) when none is attached. The
// handle is new: the caller frees it.
GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head* header, API_ElementUserData* userData);
GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head* header, const API_ElementUserData* userData);
// APIERR_NOUSERDATA when none was attached.
GSErrCode ACAPI_Element_DeleteUserData(const API_Elem_Head* header);

// Links from one element to another, with the link's flags.
GSErrCode ACAPI_Element_Link(const API_Guid& from, const API_Guid& to, GSFlags flags);
GSErrCode ACAPI_Element_Unlink(const API_Guid& from, const API_Guid& to);
GSErrCode ACAPI_Element_GetLinks(const API_Guid& from, GS::Array<API_Guid>* to);
GSErrCode ACAPI_Element_GetLinkFlags(const API_Guid& from, const API_Guid& to, GSFlags* flags);
GSErrCode ACAPI_Element_AttachObserver(const API_Elem_Head* header, GSFlags flags);
GSErrCode ACAPI_Element_DetachObserver(const API_Elem_Head* header);

// The default element of the tool of the header's type and variation (and its memo when asked).
GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo);
GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, const API_ElementMemo* memo,
                                       const API_Element* mask);

// The user's selection in the current window: selection records of elements, or a marquee.
#pragma once

#include "ACAPI/Elements.hpp"

// What is selected: nothing, elements, or a marquee (2 a polygon, 3 a rectangle, 4 a rotated
// rectangle).
using API_SelTypeID = Int32;
constexpr API_SelTypeID API_SelEmpty = 0;
constexpr API_SelTypeID API_SelElems = 1;
constexpr API_SelTypeID API_MarqueePoly = 2;
constexpr API_SelTypeID API_MarqueeHorBox = 3;
constexpr API_SelTypeID API_MarqueeRotBox = 4;

struct API_SelectionInfo {
    API_SelTypeID typeID = API_SelEmpty;
    Int32 sel_nElem = 0;
};

// The selection: its kind and, in *selNeigs, a new handle of its records (null when there are
// none; the caller frees it).
GSErrCode ACAPI_Selection_Get(API_SelectionInfo* selectionInfo, API_Neig*** selNeigs, bool onlyEditable,
                              bool ignorePartialSelection = true, Int32 relativeTo = 0);
// Adds the listed elements to the selection (add) or removes them from it; removing none clears
// the whole selection. APIERR_BADID when an element does not exist (nothing changes).
GSErrCode ACAPI_Element_Select(const API_Neig* neigs, Int32 count, bool add);

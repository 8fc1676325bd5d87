// Elements trimmed by others: which elements trim one, how, and trimming one with another.
#pragma once

#include "ACAPI/Elements.hpp"
#include "GSRoot/Array.hpp"

// Kinds of trim, four-character codes; APITrim_No: the two do not trim each other.
using API_TrimTypeID = GSType;
constexpr API_TrimTypeID APITrim_No = MakeGSType("TRNO");
constexpr API_TrimTypeID APITrim_KeepInside = MakeGSType("TRKI");
constexpr API_TrimTypeID APITrim_KeepOutside = MakeGSType("TRKO");
constexpr API_TrimTypeID APITrim_KeepAll = MakeGSType("TRKA");

// The elements trimming the element, in the order the trims were made; APIERR_BADID for an unknown
// element.
GSErrCode ACAPI_Element_Trim_GetTrimmingElements(const API_Guid& guid, GS::Array<API_Guid>* trimming);
// How `other` trims `guid` (APITrim_No when it does not).
GSErrCode ACAPI_Element_Trim_GetTrimType(const API_Guid& guid, const API_Guid& other, API_TrimTypeID* type);
// `other` trims `guid` with the type; APITrim_No removes the trim. APIERR_BADPARS for an unknown
// type or an element trimming itself.
GSErrCode ACAPI_Element_Trim_ElementsWith(const API_Guid& guid, const API_Guid& other, API_TrimTypeID type);

// Requests about elements placed from library parts.
#pragma once

#include "ACAPI/Database.hpp"
#include "ACAPI/Elements.hpp"
#include "ACAPI/Goodies.hpp"

namespace GS {
class UniString;
}

// ACAPI_Goodies(APIAny_GetUnloadedLibpartNameID, const API_Guid* element, GS::UniString* name):
// the name of the library part of an element whose part is not in the loaded library;
// APIERR_BADID for an unknown element or one whose part is loaded.
constexpr GSType APIAny_GetUnloadedLibpartNameID = MakeGSType("GULN");
// ACAPI_Database(APIDb_RefreshElementID, const API_Elem_Head*, const bool* forceRebuild): redraws
// the element from its library part; APIERR_BADID for an unknown element.
constexpr GSType APIDb_RefreshElementID = MakeGSType("RFSH");

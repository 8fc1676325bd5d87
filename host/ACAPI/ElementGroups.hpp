// Groups of elements nest: a group may belong to a bigger one.
#pragma once

#include "ACAPI/Elements.hpp"

// The outermost group holding the group (itself when it belongs to none). APIERR_BADID for the
// null GUID.
GSErrCode ACAPI_ElementGroup_GetRootGroup(const API_Guid& group, API_Guid* root);

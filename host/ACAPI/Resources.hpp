// The add-on interface's access to the calling add-on's own resources.
#pragma once

#include "GSRoot/RS.hpp"

// The resource module of the add-on whose code is running.
GSResModule ACAPI_GetOwnResModule();
// The localised text at index (1-based) of string list resID; false, and the text emptied, when
// there is none.
bool ACAPI_Resource_GetLocStr(GS::UniString* text, short resID, short index, GSResModule module);

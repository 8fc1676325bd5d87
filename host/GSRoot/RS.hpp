// The host's resource manager: string lists and typed resources of a resource module (one per
// loaded add-on, see ACAPI/Resources.hpp for an add-on's own).
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/UniString.hpp"

using GSResModule = Int32;
using GSResType = GSType;

constexpr GSResModule InvalidResModule = -1;

// The text at index (1-based) of string list resID; false, and the text emptied, when the module
// has no such list or index.
bool RSGetIndString(GS::UniString* text, short resID, short index, GSResModule module);
// The number of texts in string list resID; 0 when absent.
Int32 RSGetIndStringCount(short resID, GSResModule module);
// A new handle holding a copy of the typed resource (the caller kills it); null when absent or
// when memory runs out.
GSHandle RSLoadResource(GSResType type, GSResModule module, short resID);

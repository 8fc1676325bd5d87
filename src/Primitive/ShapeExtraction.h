// Turns the host's stream of an element's 2D shape records into drawing primitives. One
// extraction runs at a time, on the host's thread.
#pragma once

#include "ACAPI/ShapePrims.hpp"

namespace zelvane {

class PrimitiveList;

// Fills the list with the element's shape (hatch fill lines only when accepted). False for the
// host's error, for an exception while making a primitive (the list keeps what came before), or
// when an extraction is already running (left alone).
bool extractShape(API_Elem_Head const& head, PrimitiveList& list, bool acceptHatching);

// The host's callback, one call per record: 0 to go on; 0x81060388 outside an extraction; an
// error (the host then stops) when a primitive cannot be made.
GSErrCode explodeElement(API_Prim_Head const* prim, void const* par1, void const* par2, void const* par3);

} // namespace zelvane

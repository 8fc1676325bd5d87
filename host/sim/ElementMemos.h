// The memos of the simulated host's elements and tool defaults, kept by the element table.
#pragma once

#include "ACAPI/ElementTable.hpp"
#include "sim/Library.h"

#include <memory>
#include <vector>

namespace sim {

// Copies the element's memo parts of the mask into new handles of the memo record.
GSErrCode copyMemoOut(const GS::Guid& guid, API_ElementMemo* memo, UInt64 mask);
// Keeps copies of the memo parts of the mask for the element.
GSErrCode storeMemo(const GS::Guid& guid, const API_ElementMemo* memo, UInt64 mask);
void moveMemo(const GS::Guid& from, const GS::Guid& to);
void copyMemo(const GS::Guid& from, const GS::Guid& to);
void forgetMemo(const GS::Guid& guid);
// What the host keeps of an element's memo, copied aside (as the undo journal keeps it) to be put
// back whole; it shares the kept bytes, which never change.
struct StoredMemo;
using MemoCopy = std::shared_ptr<const StoredMemo>;
// Null when the element has no memo.
MemoCopy memoCopy(const GS::Guid& guid);
// The copy becomes the element's memo; null: the element has none.
void restoreMemo(const GS::Guid& guid, const MemoCopy& copy);
GSErrCode copyDefaultMemoOut(API_ElemTypeID type, API_ElemVariationID variation, API_ElementMemo* memo);
GSErrCode storeDefaultMemo(API_ElemTypeID type, API_ElemVariationID variation, const API_ElementMemo* memo);
// The library-part parameters the element's memo holds, or the tool default's; empty for none.
// `error` (where given) receives the host's error when the memo could not be handed out.
std::vector<LibParameter> memoParameters(const GS::Guid& guid, GSErrCode* error = nullptr);
std::vector<LibParameter> defaultMemoParameters(API_ElemTypeID type, API_ElemVariationID variation,
                                                GSErrCode* error = nullptr);
// The sizes of the box of an object whose memo holds parameters: the values of its last parameters
// named "A", "B" and "ZZYZX", each 0 when there is none. They are read from the parameter records
// when these are stored, not unpacked again on every read of the box.
struct MemoSizes {
    double a = 0.0, b = 0.0, z = 0.0;
};
// All 0 for an element without a memo or parameters.
MemoSizes memoSizes(const GS::Guid& guid);

} // namespace sim

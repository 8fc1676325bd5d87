// The memos of the simulated host's elements and tool defaults, kept by the element table.
#pragma once

#include "ACAPI/ElementTable.hpp"

namespace sim {

// Copies the element's memo parts of the mask into new handles of the memo record.
GSErrCode copyMemoOut(const GS::Guid& guid, API_ElementMemo* memo, UInt64 mask);
// Keeps copies of the memo parts of the mask for the element.
GSErrCode storeMemo(const GS::Guid& guid, const API_ElementMemo* memo, UInt64 mask);
void moveMemo(const GS::Guid& from, const GS::Guid& to);
void copyMemo(const GS::Guid& from, const GS::Guid& to);
void forgetMemo(const GS::Guid& guid);
GSErrCode copyDefaultMemoOut(API_ElemTypeID type, API_ElemVariationID variation, API_ElementMemo* memo);
GSErrCode storeDefaultMemo(API_ElemTypeID type, API_ElemVariationID variation, const API_ElementMemo* memo);

} // namespace sim

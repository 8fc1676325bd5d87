#include "sim/ElementMemos.h"

// The memo record has no parts this host keeps yet: reading gives none, and a memo handed in
// cannot be kept, so the call that brings it fails.
namespace sim {

GSErrCode copyMemoOut(const GS::Guid&, API_ElementMemo* memo, UInt64) {
    return memo != nullptr ? NoError : APIERR_BADPARS;
}

GSErrCode storeMemo(const GS::Guid&, const API_ElementMemo*, UInt64) {
    return APIERR_BADPARS;
}

void moveMemo(const GS::Guid&, const GS::Guid&) {}

void copyMemo(const GS::Guid&, const GS::Guid&) {}

void forgetMemo(const GS::Guid&) {}

GSErrCode copyDefaultMemoOut(API_ElemTypeID, API_ElemVariationID, API_ElementMemo* memo) {
    return memo != nullptr ? NoError : APIERR_BADPARS;
}

GSErrCode storeDefaultMemo(API_ElemTypeID, API_ElemVariationID, const API_ElementMemo*) {
    return APIERR_BADPARS;
}

} // namespace sim

// The host's miscellaneous services, chosen by a four-character request code. Each request
// documents what its parameters point to.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

using API_GoodiesID = GSType;

// Unknown request codes answer APIERR_BADID.
GSErrCode ACAPI_Goodies(API_GoodiesID code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr,
                        void* par4 = nullptr);

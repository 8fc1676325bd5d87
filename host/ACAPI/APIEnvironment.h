// The add-on interface's environment function: one entry point for many requests, each named by
// a four-character code (the request headers in this folder declare the codes and records).
#pragma once

#include "GSRoot/GSRoot.hpp"

// Error of a request the host does not know.
constexpr GSErrCode APIERR_BADID = GSErrCode(0x810600C7);
// Error of a request whose parameters are missing or out of range.
constexpr GSErrCode APIERR_BADPARS = GSErrCode(0x810600C8);

// Logged as "ACAPI_Environment" with the code; sim::failCall("ACAPI_Environment") fails every
// request, sim::failCall("ACAPI_Environment:GPRF") only those of one code.
GSErrCode ACAPI_Environment(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);

// The add-on interface's user-interface function: one entry point for many requests, each named
// by a four-character code (the request headers in this folder declare the codes and records).
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

// Unknown request codes answer APIERR_BADID, missing or out-of-range parameters APIERR_BADPARS.
// Logged as "ACAPI_Interface" with the code; sim::failCall("ACAPI_Interface") fails every request,
// sim::failCall("ACAPI_Interface:SLPD") only those of one code.
GSErrCode ACAPI_Interface(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);

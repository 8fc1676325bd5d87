// The add-on interface's database function: one entry point for many requests on the project's
// databases, each named by a four-character code.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

// ACAPI_Database(APIDb_GetActiveRenovationFilterID, GS::Guid* filter): the renovation filter of
// the active view; APIERR_NOPLAN without a project.
constexpr GSType APIDb_GetActiveRenovationFilterID = MakeGSType("GARF");

// Unknown request codes answer APIERR_BADID. Logged as "ACAPI_Database" with the code;
// sim::failCall("ACAPI_Database") fails every request, "ACAPI_Database:GARF" only those of one code.
GSErrCode ACAPI_Database(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);

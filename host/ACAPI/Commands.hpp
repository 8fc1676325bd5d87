// Whether another add-on's command can be called.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"

// NoError when the add-on is loaded and supports the command in that version or a later one;
// APIERR_MODULNOTINSTALLED, APIERR_MODULCMDNOTSUPPORTED or APIERR_MODULCMDVERSNOTSUPPORTED else.
GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion);

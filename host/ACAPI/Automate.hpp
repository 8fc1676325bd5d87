// Driving the host as a user would: opening and saving projects.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

namespace IO {
class Location;
}

// ACAPI_Automate(APIDo_OpenID, API_FileOpenPars*): opens a project file; the host sends the
// project notifications of closing the old project and opening the new one.
constexpr GSType APIDo_OpenID = MakeGSType("OPEN");
// ACAPI_Automate(APIDo_SaveID): saves the open project (pre-save and save notifications);
// APIERR_NOPLAN without one.
constexpr GSType APIDo_SaveID = MakeGSType("SAVE");

struct API_FileOpenPars {
    Int32 fileTypeID = 0; // 1: a project file
    bool libGiven = false;
    bool useStoredLib = false; // the record's sixth byte
    bool enableSaveAlert = false;
    IO::Location* file = nullptr;
};

// Unknown codes answer APIERR_BADID. Logged as "ACAPI_Automate" with the code.
GSErrCode ACAPI_Automate(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);

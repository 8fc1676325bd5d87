// The host application's special folders, asked through the environment function.
#pragma once

#include "ACAPI/Environment.hpp"

// ACAPI_Environment(APIEnv_GetSpecFolderID, const API_SpecFolderID* folder, IO::Location* location):
// the folder's location; APIERR_BADPARS for a folder the host does not know.
constexpr GSType APIEnv_GetSpecFolderID = MakeGSType("GSPF");

using API_SpecFolderID = Int32;
constexpr API_SpecFolderID API_UserDocumentsFolderID = 6;
constexpr API_SpecFolderID API_TemporaryFolderID = 7;
constexpr API_SpecFolderID API_ApplicationFolderID = 8;

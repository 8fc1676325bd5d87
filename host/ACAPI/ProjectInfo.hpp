// What the host tells of the open project, its team work and the host application itself.
#pragma once

#include "ACAPI/Environment.hpp"
#include "GSRoot/Guid.hpp"

namespace IO {
class Location;
}

// ACAPI_Environment(APIEnv_ProjectID, API_ProjectInfo*): the open project; APIERR_NOPLAN when no
// project is open.
constexpr GSType APIEnv_ProjectID = MakeGSType("PROJ");
// ACAPI_Environment(APIEnv_ProjectSharingID, API_SharingInfo*): the team of a shared project; the
// caller frees the users handle. APIERR_GENERAL when the project is not shared.
constexpr GSType APIEnv_ProjectSharingID = MakeGSType("SHAR");
// ACAPI_Environment(APIEnv_ApplicationID, API_ServerApplicationInfo*): the host application.
constexpr GSType APIEnv_ApplicationID = MakeGSType("APPL");

constexpr GSErrCode APIERR_NOPLAN = GSErrCode(0x810600CB);

struct API_ProjectInfo {
    bool untitled = true;
    bool teamwork = false;
    short userId = 0;                 // the current user's team-work member ID
    IO::Location* location = nullptr; // a new location of the project file (the caller deletes it), or null
};

struct API_UserInfo {
    GS::Guid guid; // the member's identifier on the team-work server
    char loginName[128] = {};
    char fullName[128] = {};
    short userId = 0;
    bool connected = false;
};

struct API_SharingInfo {
    Int32 nUsers = 0;
    API_UserInfo** users = nullptr; // a handle of nUsers records
};

struct API_ServerApplicationInfo {
    Int32 mainVersion = 0;
    Int32 releaseVersion = 0;
    char language[8] = {}; // the language code, "INT" for the international version
};

// True when the open project is a team-work project connected to its server.
bool ACAPI_TeamworkControl_HasConnection();

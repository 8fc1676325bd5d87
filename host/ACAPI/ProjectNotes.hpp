// The project's notes, its place on the earth and its current layer combination.
#pragma once

#include "ACAPI/Environment.hpp"
#include "ACAPI/ProjectInfo.hpp"

// Texts of 256 units, each ending with a 0 unit.
struct API_ProjectNoteInfo {
    unsigned short client[256] = {};
    unsigned short projectName[256] = {};
    unsigned short company[256] = {};
    unsigned short street[256] = {};
    unsigned short city[256] = {};
    unsigned short country[256] = {};
    unsigned short postcode[256] = {};
    unsigned short architect[256] = {};
    unsigned short draftsmen[256] = {};
    unsigned short projectStatus[256] = {};
    unsigned short dateOfIssue[256] = {};
    unsigned short keywords[256] = {};
    unsigned short notes[256] = {};
};

// Where the project stands: degrees of longitude and latitude, metres of altitude, the north
// direction in radians and the time zone in minutes from UTC.
struct API_PlaceInfo {
    double longitude = 0.0;
    double latitude = 0.0;
    double altitude = 0.0;
    double north = 0.0;
    Int32 timeZoneInMinutes = 0;
};

// ACAPI_Environment(APIEnv_GetProjectNotesID, API_ProjectNoteInfo*).
constexpr GSType APIEnv_GetProjectNotesID = MakeGSType("GPRN");
// ACAPI_Environment(APIEnv_GetPlaceSetsID, API_PlaceInfo*): APIERR_GENERAL when the project has
// no place.
constexpr GSType APIEnv_GetPlaceSetsID = MakeGSType("GPLA");
// ACAPI_Environment(APIEnv_ChangePlaceSetsID, const API_PlaceInfo*).
constexpr GSType APIEnv_ChangePlaceSetsID = MakeGSType("CPLA");
// ACAPI_Environment(APIEnv_GetCurrLayerCombID, short* index): the current layer combination;
// APIERR_BADINDEX when none is current.
constexpr GSType APIEnv_GetCurrLayerCombID = MakeGSType("GCLC");

// The floor plan's storeys: their records and switching the current one.
#pragma once

#include "ACAPI/Environment.hpp"
#include "ACAPI/ProjectInfo.hpp"

// A storey: its index, its floor ID, the level of its floor and its name (255 units and a 0 unit).
struct API_StoryType {
    short index = 0;
    Int32 floorId = 0;
    double level = 0.0;
    unsigned short uName[256] = {};
};

// The storeys, from the lowest up, and the current one. The handle holds one record more than
// there are storeys: the last stands for the top of the highest storey, at its level.
struct API_StoryInfo {
    short firstStory = 0;
    short lastStory = 0;
    short actStory = 0;
    API_StoryType** data = nullptr; // a new handle the caller frees
};

// ACAPI_Environment(APIEnv_GetStorySettingsID, API_StoryInfo*, flags): flags 0x10000000 asks for
// the records with the top record.
constexpr GSType APIEnv_GetStorySettingsID = MakeGSType("GSTO");
constexpr GSFlags APIStoryFlags_WithTop = 0x10000000;

// What to do with the storeys: action 0 goes to the storey of the index.
struct API_StoryCmdType {
    Int32 action = 0;
    short index = 0;
    bool dontRebuild = false;
};

// ACAPI_Environment(APIEnv_ChangeStorySettingsID, const API_StoryCmdType*): APIERR_BADINDEX for an
// index without a storey.
constexpr GSType APIEnv_ChangeStorySettingsID = MakeGSType("CSTO");

// On which storeys an element shows: its home storey, every storey above or below, or a number
// of storeys above and below.
struct API_StoryVisibility {
    bool showOnHome = false;
    bool showAllAbove = false;
    bool showAllBelow = false;
    short showRelAbove = 0;
    short showRelBelow = 0;
};

// How an element is tied to its home storey: the home storey's offset from the element's floor,
// and whether the home storey is fixed.
struct API_LinkToSettings {
    short homeStoryOffset = 0;
    bool fixedHomeStory = false;
};

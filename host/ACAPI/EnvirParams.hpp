// What the host gives the add-on's CheckEnvironment entry point, and what it answers.
#pragma once

#include "GSRoot/GSRoot.hpp"

struct API_ServerInfo {
    Int32 serverApplication = 0; // the host application: 1 is ArchiCAD
    Int32 mainVersion = 0;
    Int32 releaseVersion = 0;
};

// Filled by the add-on: its name and description as the host shows them (UTF-8).
struct API_AddOnInfo {
    char name[256] = {};
    char description[1024] = {};
};

struct API_EnvirParams {
    API_ServerInfo serverInfo;
    API_AddOnInfo addOnInfo;
};

// CheckEnvironment's answer: APIAddon_DontRegister (0) refuses to load.
using API_AddonType = Int32;
constexpr API_AddonType APIAddon_DontRegister = 0;
constexpr API_AddonType APIAddon_Normal = 2;

// The 3D window's projection: a perspective camera or an axonometric view.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Environment.hpp"
#include "ACAPI/ProjectInfo.hpp"

// A perspective camera: its plan position and height, its target's plan position and height, the
// distance between them, its roll about the viewing direction and its viewing cone (radians).
struct API_PerspPars {
    double azimuth = 0.0;
    double sunAzimuth = 0.0;
    double sunAltitude = 0.0;
    double viewCone = 0.0;
    double rollAngle = 0.0;
    double distance = 0.0;
    double cameraZ = 0.0;
    double targetZ = 0.0;
    API_Coord pos{0.0, 0.0};
    API_Coord target{0.0, 0.0};
    double reserved[18] = {};
};

// An axonometric view: the view transformation and its inverse.
struct API_AxonoPars {
    Int32 projMod = 0;
    double azimuth = 0.0;
    double sunAzimuth = 0.0;
    double sunAltitude = 0.0;
    API_Tranmat tranmat{};
    API_Tranmat invtranmat{};
    double reserved[8] = {};
};

struct API_3DProjectionInfo {
    bool isPersp = false;
    API_PerspPars u_persp;
    API_AxonoPars u_axono;
};

// ACAPI_Environment(APIEnv_Get3DProjectionSetsID, API_3DProjectionInfo*) and
// (APIEnv_Change3DProjectionSetsID, const API_3DProjectionInfo*).
constexpr GSType APIEnv_Get3DProjectionSetsID = MakeGSType("GP3D");
constexpr GSType APIEnv_Change3DProjectionSetsID = MakeGSType("CP3D");

// Preference requests of the environment function, and the unit system of the open project.
#pragma once

#include "ACAPI/Environment.hpp"

// ACAPI_Environment(APIEnv_GetPreferencesID, record, kind): copies the preferences of a kind
// into its record; the kind is passed as an integer in the second pointer.
constexpr GSType APIEnv_GetPreferencesID = MakeGSType("GPRF");

constexpr Int32 APIPrefs_WorkingUnitsID = 0;
constexpr Int32 APIPrefs_AreaUnitsID = 2;
constexpr Int32 APIPrefs_VolumeUnitsID = 3;
// The legacy record: eighteen 32-bit words (API_LegacyPrefs).
constexpr Int32 APIPrefs_LegacyID = 5;

struct API_LegacyPrefs {
    Int32 words[18];
};

// Length units. The first three are metric.
constexpr Int32 API_Meter = 0;
constexpr Int32 API_Centimeter = 1;
constexpr Int32 API_Millimeter = 2;
constexpr Int32 API_FootFracInch = 3;
constexpr Int32 API_FootDecInch = 4;
constexpr Int32 API_DecFoot = 5;
constexpr Int32 API_FracInch = 6;
constexpr Int32 API_DecInch = 7;

// Angle units (the formatter's angle values are decimal degrees).
constexpr Int32 API_DecimalDegree = 0;
constexpr Int32 API_Grad = 1;
constexpr Int32 API_Radian = 2;

// Area units; other values read as square metres.
constexpr Int32 API_SqMeter = 1;
constexpr Int32 API_SqCentimeter = 2;
constexpr Int32 API_SqMillimeter = 3;
constexpr Int32 API_SqInch = 5;
constexpr Int32 API_SqFoot = 9;

// Volume units; other values read as cubic metres. 4 and 5 are cubic feet, 7 cubic inches too.
constexpr Int32 API_CuMeter = 0;
constexpr Int32 API_CuCentimeter = 1;
constexpr Int32 API_CuMillimeter = 2;
constexpr Int32 API_CuFoot = 3;
constexpr Int32 API_CuInch = 6;
constexpr Int32 API_CuYard = 9;
constexpr Int32 API_Gallon = 10;

struct API_WorkingUnitPrefs {
    Int32 lengthUnit;
    Int32 angleUnit;
};

struct API_AreaUnitPrefs {
    Int32 areaUnit;
};

struct API_VolumeUnitPrefs {
    Int32 volumeUnit;
};

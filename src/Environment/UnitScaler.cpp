#include "Environment/UnitScaler.h"

#include "ACAPI/Preferences.hpp"

#include <cstdint>
#include <cstring>

namespace zelvane {

namespace {

// The preferences of a kind, read into a zero-filled record; false when the host fails.
template <typename Record>
bool readPreferences(Int32 kind, Record& record) {
    std::memset(&record, 0, sizeof record);
    return ACAPI_Environment(APIEnv_GetPreferencesID, &record,
                             reinterpret_cast<void*>(static_cast<std::intptr_t>(kind))) == NoError;
}

} // namespace

UnitScaler::UnitScaler() {
    API_WorkingUnitPrefs working;
    if (readPreferences(APIPrefs_WorkingUnitsID, working)) {
        switch (working.lengthUnit) {
        case API_Centimeter:
            m_lengthFactor = 100.0;
            m_lengthUnit = centimetre;
            break;
        case API_Millimeter:
            m_lengthFactor = 1000.0;
            m_lengthUnit = millimetre;
            break;
        case API_FootFracInch:
        case API_FootDecInch:
        case API_DecFoot:
            m_lengthFactor = 3.2808398950131235;
            m_lengthUnit = foot;
            break;
        case API_FracInch:
        case API_DecInch:
            m_lengthFactor = 39.37007874015748;
            m_lengthUnit = inch;
            break;
        default:
            break;
        }
    }

    API_AreaUnitPrefs area;
    if (readPreferences(APIPrefs_AreaUnitsID, area)) {
        switch (area.areaUnit) {
        case API_SqCentimeter:
            m_areaFactor = 10000.0;
            m_areaUnit = squareCentimetre;
            break;
        case API_SqMillimeter:
            m_areaFactor = 1000000.0;
            m_areaUnit = squareMillimetre;
            break;
        case API_SqFoot:
            m_areaFactor = 10.763910416709724;
            m_areaUnit = squareFoot;
            break;
        case API_SqInch:
            m_areaFactor = 1550.0031000062002;
            m_areaUnit = squareInch;
            break;
        default:
            break;
        }
    }

    API_VolumeUnitPrefs volume;
    if (readPreferences(APIPrefs_VolumeUnitsID, volume)) {
        switch (volume.volumeUnit) {
        case API_CuCentimeter:
            m_volumeFactor = 1e6;
            m_volumeUnit = cubicCentimetre;
            break;
        case API_CuMillimeter:
            m_volumeFactor = 1e9;
            m_volumeUnit = cubicMillimetre;
            break;
        case API_CuYard:
            m_volumeFactor = 1.3079506193143924;
            m_volumeUnit = cubicYard;
            break;
        case API_CuFoot:
        case API_CuFoot + 1:
        case API_CuFoot + 2:
            m_volumeFactor = 35.31466672148859;
            m_volumeUnit = cubicFoot;
            break;
        case API_CuInch:
        case API_CuInch + 1:
            m_volumeFactor = 61023.74409473229;
            m_volumeUnit = cubicInch;
            break;
        case API_Gallon:
            m_volumeFactor = 264.172051;
            m_volumeUnit = gallon;
            break;
        default:
            break;
        }
    }
}

} // namespace zelvane

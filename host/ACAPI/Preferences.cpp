#include "ACAPI/Preferences.hpp"

#include "sim/Environment.h"
#include "sim/Sim.h"
#include "sim/Units.h"

#include <cstdint>

namespace {

struct State {
    sim::UnitPreferences units;
    API_LegacyPrefs legacy{};
};

State& state() {
    static State* instance = new State;
    return *instance;
}

GSErrCode getPreferences(void* record, void* kindParameter, void*) {
    if (record == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::UnitPreferences& units = state().units;
    switch (Int32(reinterpret_cast<std::intptr_t>(kindParameter))) {
    case APIPrefs_WorkingUnitsID: {
        auto* prefs = static_cast<API_WorkingUnitPrefs*>(record);
        prefs->lengthUnit = units.length;
        prefs->angleUnit = units.angle;
        return NoError;
    }
    case APIPrefs_AreaUnitsID:
        static_cast<API_AreaUnitPrefs*>(record)->areaUnit = units.area;
        return NoError;
    case APIPrefs_VolumeUnitsID:
        static_cast<API_VolumeUnitPrefs*>(record)->volumeUnit = units.volume;
        return NoError;
    case APIPrefs_LegacyID:
        *static_cast<API_LegacyPrefs*>(record) = state().legacy;
        return NoError;
    default:
        return APIERR_BADPARS;
    }
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerEnvironmentRequest(APIEnv_GetPreferencesID, getPreferences);

} // namespace

namespace sim {

void setUnitPreferences(const UnitPreferences& units) {
    state().units = units;
}

UnitPreferences unitPreferences() {
    return state().units;
}

void setLegacyPreferences(const API_LegacyPrefs& prefs) {
    state().legacy = prefs;
}

} // namespace sim

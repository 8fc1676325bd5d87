// The simulated host's unit preferences (whether a project is open: sim/Project.h).
#pragma once

#include "ACAPI/Preferences.hpp"
#include "sim/Project.h"

namespace sim {

struct UnitPreferences {
    Int32 length = API_Meter;
    Int32 angle = API_DecimalDegree;
    Int32 area = API_SqMeter;
    Int32 volume = API_CuMeter;
};

// The working units (the defaults above after sim::reset()).
void setUnitPreferences(const UnitPreferences& units);
UnitPreferences unitPreferences();
// The legacy preference record (zeroed after sim::reset()).
void setLegacyPreferences(const API_LegacyPrefs& prefs);

} // namespace sim

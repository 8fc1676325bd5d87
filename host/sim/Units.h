// The simulated host's unit preferences and whether a project is open.
#pragma once

#include "ACAPI/Preferences.hpp"

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

// No project is open after sim::reset().
void setProjectOpen(bool open);
bool isProjectOpen();

} // namespace sim

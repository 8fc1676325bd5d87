// What the user does in the simulated host's object settings dialog ('OBJS').
#pragma once

#include "ACAPI/ObjectSettings.hpp"
#include "sim/Library.h"

#include <vector>

namespace sim {

// The next dialog is accepted with these record members (null: as shown) and parameters (empty:
// as shown); without a script the user cancels. One script serves one dialog.
void scriptObjectSettings(const API_ObjectType* values, const std::vector<LibParameter>& parameters);
// The parameters the last dialog showed.
std::vector<LibParameter> objectSettingsShown();

} // namespace sim

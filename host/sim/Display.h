// The simulated host's active window and monitors.
#pragma once

#include "GSRoot/GSRect.hpp"
#include "GSRoot/GSRoot.hpp"

#include <vector>

namespace sim {

// No active window after a reset.
void setActiveWindow(Int32 window);
// One monitor of 1920 by 1080 pixels with its top left corner at the origin after a reset.
void setMonitors(const std::vector<GSRect>& monitors);

} // namespace sim

// The report's section on the open project: its databases with their elements, and the selection.
#pragma once

#include <ostream>

namespace hostsim {

// Nothing when no project is open.
void writeProject(std::ostream& report);

} // namespace hostsim

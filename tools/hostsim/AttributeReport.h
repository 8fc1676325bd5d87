// The report's section on the project's attributes as the host holds them after the scenario.
#pragma once

#include <ostream>

namespace hostsim {

// "attributes:" then a line for every live attribute: its kind, index, quoted name and what the
// kind keeps (flags and group of layers, layer states of combinations, pen colours and widths,
// city positions, material colours).
void reportAttributes(std::ostream& report);

} // namespace hostsim

// The report's details of one placed element, after its header line: an object's or lamp's part,
// placement, size, IFC data and unloaded part's name; a wall's line, size and openings; a door's or
// window's part, size and place in its wall; the database a marker opens; what a proxy stands for;
// an object's or lamp's ratios and finishes, and the parameters of objects, lamps, doors and windows.
#pragma once

#include "GSRoot/Guid.hpp"

#include <ostream>

namespace hostsim {

// Lines indented under the element's own line; nothing for elements of other kinds.
// The part and parameters of the window, door, object and lamp tools' defaults, for those that
// have any.
void writeToolDefaults(std::ostream& report);

void writeElementDetails(std::ostream& report, const GS::Guid& guid);

} // namespace hostsim

// The report's details of one placed element, after its header line: an object's or lamp's part,
// placement, size, IFC data and unloaded part's name; a wall's line, size and openings; a door's or
// window's part, size and place in its wall; the database a marker opens; what a proxy stands for;
// an object's or lamp's ratios and finishes, and the parameters of objects, lamps, doors and windows.
#pragma once

#include "GSRoot/Guid.hpp"

#include <ostream>

namespace hostsim {

// Each tool's default element, as the host holds it: its type and variation, a window's, door's,
// object's or lamp's part (a window's or door's with its size), a wall's line and size, and the
// sizes and parameters of its default memo. Throws ScenarioError naming the tool whose parameters
// the host cannot hand out.
void writeToolDefaults(std::ostream& report);

// Lines indented under the element's own line; nothing for elements of other kinds. Throws
// ScenarioError naming the element and what of it the host cannot hand out, rather than leave it out.
void writeElementDetails(std::ostream& report, const GS::Guid& guid);

} // namespace hostsim

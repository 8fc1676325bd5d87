// Fault injection for the host geometry library.
#pragma once

namespace sim {

// The next polygon operation that succeeds appends, after its real results, one record whose
// contour-end table runs beyond its coordinates.
void appendMalformedPolygonResult();

} // namespace sim

// Steps shared by the polygon operations: edge midpoints and the simple test.
#pragma once

#include "Geometry/CadPolygon.h"
#include "Geometry/IntersectList.h"

namespace zelvane {

// The midpoint (on the arc for an arc edge) of the edge from vertex+step to vertex for a negative
// step, else from vertex to vertex+step; indices wrap.
CadPoint getEdgeMidpoint(CadPolygon const& polygon, int vertex, int step);

// An edge of the outline meets the outline or a hole anywhere but at its own ends: the polygon is
// not simple. Only edges whose boxes meet are compared.
bool meetsItselfElsewhere(CadPolygon const& polygon, double tol);

} // namespace zelvane

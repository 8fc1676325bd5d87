// Steps shared by the polygon splitting operations: edge midpoints, handing holes to pieces and
// walking a contour from crossing to crossing.
#pragma once

#include "Geometry/CadPolygon.h"
#include "Geometry/IntersectList.h"

namespace zelvane {

class PolyList;

// The midpoint (on the arc for an arc edge) of the edge from vertex+step to vertex for a negative
// step, else from vertex to vertex+step; indices wrap.
CadPoint getEdgeMidpoint(CadPolygon const& polygon, int vertex, int step);

// Moves every hole of the list that the piece encloses into the piece.
void insertHoles(CadPolygon& piece, PolyList& holes, double tol);

// Appends the contour's vertices to the piece, walking from vertex i in direction d, until the walk
// comes back to the piece's first vertex (true: the piece is closed) or reaches a point of the list
// (false; position then names that point). A walk that finds neither within one round closes the
// piece as it stands.
bool extractPolygonPath(CadPolygon const& contour, int i, IntersectList::iterator& position, int d,
                        CadPolygon& piece, IntersectList& list, double tol);

// An edge of the outline meets the outline or a hole anywhere but at its own ends: the polygon is
// not simple. Only edges whose boxes meet are compared.
bool meetsItselfElsewhere(CadPolygon const& polygon, double tol);

} // namespace zelvane

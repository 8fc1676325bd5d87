// Fault injection and inspection for the host geometry library.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <vector>

namespace sim {

// The next polygon operation that succeeds appends, after its real results, one record whose
// contour-end table runs beyond its coordinates.
void appendMalformedPolygonResult();

// A polygon record as a polygon operation received it.
struct PolygonRecordSeen {
    Int32 vertices = 0;
    Int32 arcs = 0;
    Int32 contours = 0;
    UInt32 status = 0;
    std::vector<UInt32> contourEnds; // from index 0
    std::vector<double> xs, ys;      // coordinates from index 1
    std::vector<UInt32> vertexData;  // 4-byte per-vertex data from index 1, when that is its size
    std::vector<Int32> arcEnds;      // end index of each arc record
    std::vector<double> arcAngles;
};

// The records the polygon operations received since the last reset, in order.
const std::vector<PolygonRecordSeen>& polygonInputs();

} // namespace sim

// The simulated host's element shapes: per element the ordered records ACAPI_Element_ShapePrims
// replays. A fault injected on "ACAPI_Element_ShapePrims record" with a skip of n makes the call
// answer that error after n records.
#pragma once

#include "ACAPI/ShapePrims.hpp"
#include "GSRoot/UniString.hpp"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sim {

struct ShapeRecord {
    API_PrimTypeID kind = API_ZombiePrimID;
    API_Prim_Head head;
    API_PrimPoint point;
    API_PrimLine line;
    API_PrimArc arc;
    API_PrimText text;
    API_PrimPLine polyline;
    API_PrimTri triangle;
    API_PrimPoly polygon;
    bool hasHatch = false;
    API_PrimHatchBorder hatch;
    std::string bytes;                // text
    std::vector<GS::UniChar> unicode; // text, empty for none
    std::vector<API_Coord> coords;    // polyline from 0; polygon packed (entry 0 unused)
    std::vector<Int32> ends;          // polygon packed (entry 0 unused)
    std::vector<API_PolyArc> arcs;
};

void setShapeRecords(const GS::Guid& guid, const std::vector<ShapeRecord>& records);

// Runs on the host's thread before each record of a replay (its index from 0), as other code the
// host runs meanwhile would, for instance another add-on asking for a shape. Null for none; a
// reset clears it.
using ShapeRecordHook = std::function<void(const GS::Guid& element, std::size_t index)>;
void setShapeRecordHook(ShapeRecordHook hook);

} // namespace sim

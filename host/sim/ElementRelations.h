// The simulated host's wall relations: what each wall is joined to and its drawn outline.
#pragma once

#include "ACAPI/ElementRelations.hpp"

#include <array>
#include <vector>

namespace sim {

struct WallRelations {
    // In the record's order: start, end, this wall's end on their body, their end on this body,
    // crossings.
    std::array<std::vector<API_ConnectionGuidItem>, 5> lists;
    // The outline: coordinates from index 1 (index 0 is added), contour ends and arcs.
    std::vector<API_Coord> coords;
    std::vector<Int32> pends;
    std::vector<API_PolyArc> arcs;
    // Added to every count handed out, beyond what the handles hold (a damaged record).
    Int32 countExcess = 0;
};

// Makes the wall known with its relations, replacing earlier ones.
void setWallRelations(const GS::Guid& wall, const WallRelations& relations);
void removeWallRelations(const GS::Guid& wall);

} // namespace sim

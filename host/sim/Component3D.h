// The simulated host's element bodies, read through the 3D component service and measured by
// 'CABO'.
#pragma once

#include "ACAPI/Component3D.hpp"

#include <vector>

namespace sim {

struct Body3D {
    struct Edge {
        Int32 vert1 = 0; // from 1
        Int32 vert2 = 0;
        Int32 status = 0;
        short pen = 0;
    };
    struct Polygon {
        std::vector<Int32> pedges; // signed edges from 1, 0 between contours
        Int32 vector = 0;          // signed vector from 1
        Int32 status = 0;
        short material = 0;
        // The convex decomposition as the host hands it out (empty: none).
        std::vector<Int32> facets;
    };
    std::vector<API_VertType> vertices;
    std::vector<Edge> edges;
    std::vector<Polygon> polygons;
    std::vector<API_VectType> vectors;
    API_Tranmat transformation{0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}};
    Int32 status = 1;
    short pen = 0;
    short material = 0;
};

// The element's bodies, replacing earlier ones. An object or lamp without bodies set has one: the
// box of its "A", "B" and "ZZYZX" (or its part's own width and depth, as the part says) at its
// position and absolute level, turned by its angle (mirrored when flipped), starting at its hotspot
// or centred on it as its part says.
void setBodies(const GS::Guid& guid, const std::vector<Body3D>& bodies);
// The bodies the host has for the element: those set, else an object's or lamp's box; none for
// anything else.
std::vector<Body3D> elementBodies(const GS::Guid& guid);
// A vertex of the body where its transformation places it.
API_VertType placedVertex(const Body3D& body, const API_VertType& vertex);
// A box of the three sizes at the origin (from 0 to the sizes), its six faces outward.
Body3D boxBody(double x, double y, double z);
// A square of side 4 with a square hole of side 2 in its middle, in the plane z = 0, facing up,
// material 3, without a convex decomposition.
Body3D squareWithHoleBody();
// Whether the boxes of the part (by library index) are centred on the hotspot (not by default).
void setPartBoxCentred(Int32 libInd, bool centred);
// Whether the boxes of the part are as wide and deep as the part itself (its "a" and "b" in the
// library) whatever the element's "A" and "B" (not by default), as a part drawn at a fixed size.
void setPartBoxOwnSize(Int32 libInd, bool own);

} // namespace sim

// A polygon with holes split by another polygon with holes into the pieces inside and outside it.
//
// Both boundaries are taken in coordinates relative to a vertex of the subject, each contour turned
// so that its material lies on the left of its edges, repeated vertices dropped. Where the two
// boundaries meet, the meeting point becomes a vertex of both: a vertex within the tolerance of a
// vertex of the other polygon is one node with it, a vertex within the tolerance of an edge of the
// other is put into that edge, and edges that cross get a node at the crossing. The subject's
// vertices keep their places, so that the pieces keep its area. Every edge then lies inside or
// outside the other polygon, or along an edge of it, and the pieces are traced from the edges that
// bound them: inside, the subject's edges inside the cutter, the cutter's edges inside the subject
// and the edges both share running the same way; outside, the subject's edges outside the cutter,
// the cutter's edges inside the subject turned round and the shared edges running against each other.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/PolyPoint.h"

#include <vector>

namespace zelvane {

class CadPolygon;
class PolyList;

class PolygonCut {
public:
    PolygonCut(CadPolygon const& subject, CadPolygon const& cutter, double tol);

    // Appends the pieces of the subject inside the cutter to inside and those outside it to outside
    // (a null list drops them); a subject the cutter does not divide goes whole, as a clone.
    void split(CadPolygon const& subject, CadPolygon const& pattern, PolyList* inside, PolyList* outside);

private:
    // A vertex of a contour: its place and its node.
    struct Corner {
        PolyPoint point;
        int node;
    };
    struct Contour {
        int polygon; // 0 the subject, 1 the cutter
        std::vector<Corner> run;
    };
    // An edge, named by its contour and the index of its end corner.
    struct EdgeRef {
        int contour;
        int corner;
    };
    // A node put into an edge at u (the distance from its start, or the angle turned along an arc).
    struct Insertion {
        int contour;
        int corner;
        double u;
        int node;
    };
    // A stretch of an edge between two nodes.
    struct Stretch {
        int from;
        int to;
        double sweep;
        int polygon;
        int contour;
    };

    void load(CadPolygon const& polygon, int index);
    int newNode(CadPoint const& point, int rank);
    int find(int node);
    void unite(int a, int b);
    void meet(EdgeRef const& a, EdgeRef const& b);
    // The point lies within the tolerance of the edge but not of its ends: u is where.
    bool onEdge(EdgeRef const& edge, CadPoint const& point, double& u) const;
    double parameter(EdgeRef const& edge, CadPoint const& point) const;
    // The point's foot on the edge's line or circle.
    CadPoint projected(EdgeRef const& edge, CadPoint const& point) const;
    void crossings(EdgeRef const& a, EdgeRef const& b, std::vector<CadPoint>& out) const;
    PolyPoint const& start(EdgeRef const& edge) const;
    PolyPoint const& end(EdgeRef const& edge) const;
    void buildStretches();
    // Where the stretch lies against the other polygon (given relative to the reference): inside,
    // outside, or along its boundary (within tol) when no probe tells.
    CadPoint::Pos probe(Stretch const& stretch, CadPolygon const& other, double tol) const;

    CadPoint m_reference;
    double m_tol;
    std::vector<Contour> m_contours;
    std::vector<CadPoint> m_points; // per node
    std::vector<int> m_rank;        // 0 a subject vertex, 1 a crossing, 2 a cutter vertex
    std::vector<int> m_parent;
    std::vector<char> m_owners; // per node: bit 1 the subject, bit 2 the cutter
    std::vector<Insertion> m_insertions;
    std::vector<Stretch> m_stretches;
};

} // namespace zelvane

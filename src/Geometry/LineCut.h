// A polygon with holes cut by an infinite line into the pieces on either side of it.
//
// The cut works in coordinates relative to a point of the polygon and measures sides with the
// line's own equation, so that it does not depend on how far from the origin the polygon lies.
// Every contour is turned so that its material lies on the left of its edges, repeated vertices go,
// and every point where an edge passes from one side to the other becomes a vertex. Vertices within
// the tolerance of the line are on it; those at one place are one node. Along the line, a stretch
// between two nodes is a cut where the material reaches it from both sides (counted by the edges
// that leave the line into each side). The pieces of a side are then traced from its edges and its
// cuts.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/PolyPoint.h"

#include <vector>

namespace zelvane {

class CadPolygon;
class LinearEquation;
class PolyList;

class LineCut {
public:
    LineCut(LinearEquation const& line, CadPoint const& reference, double tol);

    // Adds the contour's edges; a contour without area adds nothing.
    void addContour(CadPolygon const& contour, bool hole);
    // Joins the nodes on the line and adds the cuts; call once, after the last contour.
    void finish();
    // Some edge lies on the side (inside: right of the line, outside: left).
    bool reaches(CadPoint::Pos side) const;
    // Appends the pieces of the side to out, each a copy of the pattern with its vertices (outline
    // clockwise, holes anticlockwise).
    void trace(CadPoint::Pos side, CadPolygon const& pattern, PolyList& out) const;

private:
    struct Node {
        PolyPoint vertex; // relative to the reference point
        double side;      // signed distance from the line, positive on its right
        bool on;
        int merged; // the node that stands for this one
    };
    struct Arrow {
        int from;
        int to;
        double sweep;
        CadPoint::Pos side; // the side whose pieces it bounds
        bool lying;         // along the line
    };

    int addNode(PolyPoint const& vertex);
    void addArrow(int from, int to, double sweep);
    // Appends the edge's crossings with the line, strictly inside it, as vertices with their sweeps;
    // answers the sweep left for the edge's end.
    double crossings(PolyPoint const& from, PolyPoint const& to, std::vector<PolyPoint>& out) const;
    double sideOf(CadPoint const& p) const;
    double along(CadPoint const& p) const;

    double m_nx = 0.0, m_ny = 0.0, m_offset = 0.0;
    CadPoint m_reference;
    double m_tol;
    bool m_valid = false;
    std::vector<Node> m_nodes;
    std::vector<Arrow> m_arrows;
};

} // namespace zelvane

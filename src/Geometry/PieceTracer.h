// Traces pieces from directed edges that have their material on the left: at each node the edge
// that turns furthest left from the way back is taken, so that pieces touching at a node stay apart.
// Loops running anticlockwise are pieces, the others holes, each given to the smallest piece that
// holds it. Coordinates are relative to a reference point, which the pieces get back.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/PolyPoint.h"

#include <vector>

namespace zelvane {

class CadPolygon;
class PolyList;

class PieceTracer {
public:
    PieceTracer(CadPoint const& reference, double tol);

    // A node at the vertex (relative to the reference; its sweep is not used); answers its number.
    int addNode(PolyPoint const& vertex);
    // An edge from node to node, an arc when the sweep is beyond 1e-5.
    void addEdge(int from, int to, double sweep);
    // Appends the pieces, each a copy of the pattern with its vertices: outlines clockwise, holes
    // anticlockwise. Loops of no area are dropped.
    void trace(CadPolygon const& pattern, PolyList& out);

    // The signed area of a closed run of vertices, each carrying the sweep of the edge arriving at it.
    static double signedArea(std::vector<PolyPoint> const& run);
    // The centre and radius of the arc from a to b turning by sweep.
    static void arcCircle(CadPoint const& a, CadPoint const& b, double sweep, double& cx, double& cy,
                          double& r);
    // Turns a closed run round, when needed, so that it runs anticlockwise (clockwise for a hole);
    // answers false for a run without area.
    static bool orient(std::vector<PolyPoint>& run, bool hole);

private:
    struct Edge {
        int from;
        int to;
        double sweep;
        double startAngle;
        double endAngle;
        bool used;
    };

    CadPoint m_reference;
    double m_tol;
    std::vector<PolyPoint> m_nodes;
    std::vector<Edge> m_edges;
};

} // namespace zelvane

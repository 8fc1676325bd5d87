// CadPolygon against a point or a line: position by ray casting, nearest boundary points,
// intersections of the boundary and nodes inserted along it.
#include "Geometry/CadPolygon.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyEdge.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

// A probe beside vertex c along the direction t in which an arc edge leaves it: the arc's midpoint
// when that direction runs along the line (the arc then decides the side), else one unit along it.
CadPoint probeAlongArc(CadArc const& arc, CadPoint const& c, double t, LinearEquation const& line,
                       double tol) {
    double d = std::fmod(line.azimuthAngle() - t, pi);
    if (std::fabs(std::fabs(d) - pi) <= tol)
        d = 0.0;
    if (std::fabs(d) <= tol)
        return arc.midpoint();
    return c + CadPoint(std::cos(t), std::sin(t), 0.0);
}

// The arc from a to b turning by sweep: its centre and radius.
void arcCircle(CadPoint const& a, CadPoint const& b, double sweep, double& cx, double& cy, double& r) {
    double dx = b.x() - a.x(), dy = b.y() - a.y();
    r = std::hypot(dx, dy) / 2.0 / std::fabs(std::sin(sweep / 2.0));
    double d = 1.0 / std::tan(sweep / 2.0) / 2.0;
    cx = (a.x() + b.x()) / 2.0 - dy * d;
    cy = (a.y() + b.y()) / 2.0 + dx * d;
}

} // namespace

CadPoint::Pos CadPolygon::positionOf(CadPoint const& point, double tol) const {
    // One pass over every contour: a point within tol of an edge is on the boundary; otherwise the
    // edges crossing the horizontal ray to the right of the point are counted, each edge taken as
    // holding its lower end but not its upper one, so that a ray through a vertex counts the boundary
    // there exactly once whatever the vertex's neighbours. An arc edge counts as its chord, and the
    // point toggles once more when it lies between the chord and the arc. Coordinates are taken from
    // the point, so that they keep their precision far from the origin.
    double px = point.x();
    double py = point.y();
    double margin = 2.0 * std::fabs(tol) + 1e-6;
    bool inside = false;
    bool any = false;
    for (int k = getHoleCount(); k >= 0; --k) {
        CadPolygon const& contour = getShape(k);
        int n = contour.vertSize();
        if (n == 0)
            continue;
        any = true;
        auto vertices = contour.begin();
        PolyPoint const* previous = vertices[n - 1];
        double ax = previous->x() - px;
        double ay = previous->y() - py;
        for (int j = 0; j < n; ++j) {
            PolyPoint const* vertex = vertices[j];
            double bx = vertex->x() - px;
            double by = vertex->y() - py;
            double sweep = vertex->getSweep();
            bool straight = std::fabs(sweep) <= fixedTol;
            bool near = std::min(ax, bx) <= margin && std::max(ax, bx) >= -margin &&
                        std::min(ay, by) <= margin && std::max(ay, by) >= -margin;
            if ((near || !straight) && (contour.edgeTo(j).positionOf2D(point, tol) & 0x0E) != 0)
                return CadPoint::along;
            // The side of the edge's line the point lies on: positive on its left. The crossing of
            // the ray and the test against an arc's chord below both read it, so that a point on
            // the chord is never taken as on one side by the one and on the other by the other.
            double side = (bx - ax) * (0.0 - ay) - (by - ay) * (0.0 - ax);
            // The ray meets an upward edge right of the point when the point lies on its left.
            if ((ay > 0.0) != (by > 0.0) && (by > ay ? side > 0.0 : side < 0.0))
                inside = !inside;
            if (!straight) {
                double cx, cy, r;
                arcCircle(*previous, *vertex, sweep, cx, cy, r);
                cx -= px;
                cy -= py;
                // Between chord and arc: within the circle, on the chord's side that the arc bulges to
                // (its right for an anticlockwise arc). A point on the chord's line is taken as just
                // right of and above itself, as the count of crossings takes it.
                if (side == 0.0)
                    side = by != ay ? ay - by : bx - ax;
                if (cx * cx + cy * cy < r * r && (sweep > 0.0 ? side < 0.0 : side > 0.0))
                    inside = !inside;
            }
            previous = vertex;
            ax = bx;
            ay = by;
        }
    }
    if (!any)
        return CadPoint::outside;
    return inside ? CadPoint::inside : CadPoint::outside;
}

bool CadPolygon::isReflection(int i, LinearEquation const& line, double tol) const {
    int n = vertSize();
    if (n == 0 || line.positionOf(vertexAt(i), tol) != CadPoint::along)
        return false;
    // Back along the straight edges that lie on the line to B, the first vertex off it.
    int c = i;
    int steps = 0;
    while (steps < n && !isArc(vertexAt(c)) && line.positionOf(vertexAt(c - 1), tol) == CadPoint::along) {
        --c;
        ++steps;
    }
    if (steps >= n)
        return true;
    int b = c - 1;
    // Forward likewise to A.
    int d = i;
    steps = 0;
    while (steps < n && !isArc(vertexAt(d + 1)) && line.positionOf(vertexAt(d + 1), tol) == CadPoint::along) {
        ++d;
        ++steps;
    }
    int a = steps >= n ? i : d + 1;
    bool arcBefore = isArc(vertexAt(c));
    bool arcAfter = isArc(vertexAt(a));
    // Straight edges to one vertex off the line: the boundary leaves and returns on its side. Arcs to
    // that vertex (as in a contour of two arcs) may lie on either side, so their probes decide.
    if (wrapIndex(a) == wrapIndex(b) && !arcBefore && !arcAfter)
        return true;
    CadPoint before = vertexAt(b);
    CadPoint after = vertexAt(a);
    if (arcBefore) {
        CadArc arc(vertexAt(b), vertexAt(c));
        double t = normalisedAngle(arc.getEndAngle() + (arc.getSweep() > 0.0 ? -pi / 2.0 : pi / 2.0));
        before = probeAlongArc(arc, vertexAt(c), t, line, tol);
    }
    if (arcAfter) {
        CadArc arc(vertexAt(d), vertexAt(a));
        double t = normalisedAngle(arc.getStartAngle() + (arc.getSweep() > 0.0 ? pi / 2.0 : -pi / 2.0));
        after = probeAlongArc(arc, vertexAt(d), t, line, tol);
    }
    return line.positionOf(before, tol) == line.positionOf(after, tol);
}

InterPoint CadPolygon::closestPointAlong(CadPoint const& point, bool withHoles, bool in3D, double tol) const {
    InterPoint result(CadPoint(), CadPoint::none, CadPoint::none);
    if (vertSize() < 2)
        return result;
    auto distance = [&](CadPoint const& q) { return in3D ? point.lengthTo3D(q) : point.lengthTo2D(q); };
    result = vertexAt(0);
    CadPoint::Pos startCode = in3D && isClosed() ? CadPoint::along : CadPoint::atOrigin;
    result.getIntercept(InterPoint::first) = Intercept(startCode, 1, 0);
    double best = distance(vertexAt(0));
    for (int k = withHoles ? getHoleCount() : 0; k >= 0; --k) {
        CadPolygon const& contour = getShape(k);
        int n = contour.vertSize();
        for (int j = contour.isClosed() ? n : n - 1; j >= 1; --j) {
            PolyEdge edge = contour.edgeTo(j);
            CadPoint q = in3D ? edge.closestPointAlong3D(point, tol) : edge.closestPointAlong2D(point, tol);
            double d = distance(q);
            if (!(d < best))
                continue;
            CadPoint::Pos code = CadPoint::along;
            if (in3D) {
                if (contour.isClosed() && j == n)
                    code = CadPoint::atEnd;
            } else if (point.isEqual2D(edge.origin(), tol)) {
                code = CadPoint::atOrigin;
            } else if (point.isEqual2D(edge.end(), tol)) {
                code = CadPoint::atEnd;
            }
            result = q;
            result.getIntercept(InterPoint::first) = Intercept(code, j, k);
            best = d;
        }
    }
    return result;
}

InterPoint CadPolygon::closestPointAlong2D(CadPoint const& point, bool withHoles, double tol) const {
    return closestPointAlong(point, withHoles, false, tol);
}

InterPoint CadPolygon::closestPointAlong3D(CadPoint const& point, bool withHoles, double tol) const {
    return closestPointAlong(point, withHoles, true, tol);
}

template <typename EdgeQuery, typename HoleQuery>
int CadPolygon::intersectEdges(IntersectList& list, EdgeQuery const& edgeQuery,
                               HoleQuery const& holeQuery) const {
    int n = vertSize();
    if (n < 2)
        return 0;
    // The polygon's records go to its own intercept, which is the second one in a swapped list.
    InterPoint::Part own = list.isSwapped() ? InterPoint::second : InterPoint::first;
    Intercept saved = list.getSpec(own);
    int count = 0;
    for (int j = isClosed() ? n : n - 1; j >= 1; --j) {
        list.getSpec(own).m_vertex = wrapIndex(j);
        count += edgeQuery(edgeTo(j));
    }
    for (int k = getHoleCount(); k >= 1; --k) {
        list.getSpec(own).m_contour = saved.m_contour + k;
        count += holeQuery(getHole(k - 1));
    }
    list.getSpec(own) = saved;
    return count;
}

int CadPolygon::intersectionWith(Line const& line, IntersectList& list, double tol) const {
    return intersectEdges(
        list,
        [&](PolyEdge const& edge) {
            if (edge.isStraight())
                return edge.asLine().intersectionWith2D(line, list, tol) ? 1 : 0;
            return edge.asArc().intersectionWith2D(line, list, tol);
        },
        [&](CadPolygon const& hole) { return hole.intersectionWith(line, list, tol); });
}

int CadPolygon::intersectionWith(CadArc const& arc, IntersectList& list, double tol) const {
    return intersectEdges(
        list,
        [&](PolyEdge const& edge) {
            if (!edge.isStraight())
                return edge.asArc().intersectionWith2D(arc, list, tol);
            list.swapSpec();
            int count = arc.intersectionWith2D(edge.asLine(), list, tol);
            list.swapSpec();
            return count;
        },
        [&](CadPolygon const& hole) { return hole.intersectionWith(arc, list, tol); });
}

int CadPolygon::intersectionWith(PolyEdge const& edge, IntersectList& list, double tol) const {
    // An edge too flat to make an arc is taken as its chord.
    if (std::fabs(edge.getSweep()) <= std::max(tol, fixedTol))
        return intersectionWith(edge.asLine(), list, tol);
    return intersectionWith(edge.asArc(), list, tol);
}

int CadPolygon::intersectionWith(CadPolygon const& other, IntersectList& list, double tol) const {
    int n = vertSize();
    if (n < 2 || other.vertSize() < 2)
        return 0;
    InterPoint::Part own = list.isSwapped() ? InterPoint::second : InterPoint::first;
    Intercept saved = list.getSpec(own);
    int count = 0;
    // Asked of the other polygon, so that its vertices and contours land in its own intercept.
    list.swapSpec();
    for (int j = isClosed() ? n : n - 1; j >= 1; --j) {
        list.getSpec(own).m_vertex = wrapIndex(j);
        PolyEdge edge = edgeTo(j);
        count += edge.isStraight() ? other.intersectionWith(edge.asLine(), list, tol)
                                   : other.intersectionWith(edge.asArc(), list, tol);
    }
    list.swapSpec();
    for (int k = getHoleCount(); k >= 1; --k) {
        list.getSpec(own).m_contour = saved.m_contour + k;
        count += getHole(k - 1).intersectionWith(other, list, tol);
    }
    list.getSpec(own) = saved;
    return count;
}

unsigned int CadPolygon::addNodeAlong(unsigned int id, CadPoint const& point, double tol) {
    int n = vertSize();
    if (n == 0)
        return 0;
    int s = 0;
    if (id != 0) {
        s = findVertexById(id, nullptr);
        if (s == notFound)
            s = 0;
    }
    CadPoint::Pos endCode = CadPoint::none;
    int endEdge = 0;
    for (int j = s + n; j >= s + 1; --j) {
        int k = wrapIndex(j);
        if (k == 0 && !isClosed())
            continue;
        PolyEdge edge = edgeTo(k);
        CadPoint::Pos code = edge.positionOf2D(point, tol);
        if (code == CadPoint::along) {
            auto node = std::unique_ptr<PolyPoint>(vertexAt(k).clone());
            node->setID(allocateID());
            node->x() = point.x();
            node->y() = point.y();
            node->z() = point.z();
            if (!edge.isStraight()) {
                // The arc is shared out: the new vertex ends the part from the edge's start to it.
                CadArc arc = edge.asArc();
                double sweep = CadArc(arc.centre(), edge.origin(), point, arc.getSweep() < 0.0).getSweep();
                node->setSweep(sweep);
                vertexAt(k).setSweep(arc.getSweep() - sweep);
            }
            unsigned int nodeId = node->getID();
            insert(begin() + k, node.release());
            return nodeId;
        }
        if ((code == CadPoint::atEnd || code == CadPoint::atOrigin) && endCode == CadPoint::none) {
            endCode = code;
            endEdge = j;
        }
    }
    if (endCode == CadPoint::atEnd)
        return vertexAt(endEdge).getID();
    if (endCode == CadPoint::atOrigin)
        return vertexAt(endEdge - 1).getID();
    return 0;
}

} // namespace zelvane

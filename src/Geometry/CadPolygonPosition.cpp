// CadPolygon against a point or a line: position by ray casting, nearest boundary points,
// intersections of the boundary and nodes inserted along it.
#include "Geometry/CadPolygon.h"

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

// The angle brought into [0, 2pi).
double normalised(double angle) {
    angle = std::fmod(angle, 2.0 * pi);
    return angle < 0.0 ? angle + 2.0 * pi : angle;
}

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

// The point lies within margin of the box of the segment from a to b.
bool nearSegment(CadPoint const& a, CadPoint const& b, CadPoint const& p, double margin) {
    return p.x() >= std::min(a.x(), b.x()) - margin && p.x() <= std::max(a.x(), b.x()) + margin &&
           p.y() >= std::min(a.y(), b.y()) - margin && p.y() <= std::max(a.y(), b.y()) + margin;
}

// Sorts values in [0, limit] in linear time for spread values: one bucket per value, by its share
// of the limit, then each bucket on its own. The buckets follow the order of the values, so the
// result is that of a plain sort.
void sortWithin(std::vector<double>& values, double limit) {
    size_t n = values.size();
    if (n < 64 || !(limit > 0.0)) {
        std::sort(values.begin(), values.end());
        return;
    }
    auto bucketOf = [&](double value) {
        double share = value / limit * double(n);
        if (!(share > 0.0))
            return size_t(0);
        return share >= double(n) ? n - 1 : size_t(share);
    };
    std::vector<size_t> ends(n + 1, 0);
    for (double value : values)
        ++ends[bucketOf(value) + 1];
    for (size_t b = 1; b <= n; ++b)
        ends[b] += ends[b - 1];
    std::vector<double> sorted(n);
    for (double value : values)
        sorted[ends[bucketOf(value)]++] = value;
    // Each entry now holds the end of its bucket, which is the start of the next.
    size_t start = 0;
    for (size_t b = 0; b < n; ++b) {
        if (ends[b] - start > 1)
            std::sort(sorted.begin() + long(start), sorted.begin() + long(ends[b]));
        start = ends[b];
    }
    values.swap(sorted);
}

} // namespace

bool CadPolygon::isTangentCrossing(InterPoint const& point, LinearEquation const* ray, double tol) const {
    if (ray == nullptr)
        return false;
    int contour = point.getIntercept(InterPoint::first).m_contour;
    if (contour < 0 || contour > getHoleCount())
        return false;
    CadPolygon const& shape = getShape(contour);
    if (shape.empty())
        return false;
    PolyEdge edge = shape.edgeTo(point.getIntercept(InterPoint::first).m_vertex);
    if (edge.isStraight())
        return false;
    CadArc arc = edge.asArc();
    return std::fabs(ray->lengthTo(arc.centre()) - arc.getRadius()) <= tol;
}

CadPoint::Pos CadPolygon::positionOf(CadPoint const& point, double tol) const {
    auto box = getBounds();
    if (!box || box->positionOf2D(point, tol) == CadPoint::outside)
        return CadPoint::outside;
    // A straight edge or a crossing farther than this from a point cannot be found on it.
    double margin = 2.0 * std::fabs(tol) + 1e-6;
    std::vector<double> directions;
    for (int k = getHoleCount(); k >= 0; --k) {
        CadPolygon const& contour = getShape(k);
        for (int j = contour.vertSize() - 1; j >= 0; --j) {
            PolyEdge edge = contour.edgeTo(j);
            bool straight = edge.isStraight();
            if ((!straight || nearSegment(edge.origin(), edge.end(), point, margin)) &&
                (edge.positionOf2D(point, tol) & 0x0E) != 0)
                return CadPoint::along;
            if (straight)
                directions.push_back(std::fmod(edge.azimuthAngle(), pi));
        }
    }
    // The ray runs midway through the widest gap between the directions of the straight edges, as
    // far as possible from running along one of them.
    double direction = 0.0;
    if (!directions.empty()) {
        directions.push_back(pi);
        sortWithin(directions, pi);
        double previous = 0.0;
        double widest = 0.0;
        for (double angle : directions) {
            double gap = angle - previous;
            if (gap - widest > fixedTol) {
                direction = previous + gap / 2.0;
                widest = gap;
            }
            previous = angle;
        }
    }
    CadPoint far(point);
    far.movePolar(2.0 * box->getOrigin().lengthTo2D(box->getEnd()), direction);
    Line ray(point, far);
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    // Only straight edges that come near the ray are asked for a crossing; the others are rejected
    // by the list's codes anyway.
    double rayLength = point.lengthTo2D(far);
    double dx = rayLength > 0.0 ? (far.x() - point.x()) / rayLength : 0.0;
    double dy = rayLength > 0.0 ? (far.y() - point.y()) / rayLength : 0.0;
    auto awayFromRay = [&](CadPoint const& a, CadPoint const& b) {
        if (rayLength <= 0.0)
            return false;
        double sa = dx * (a.y() - point.y()) - dy * (a.x() - point.x());
        double sb = dx * (b.y() - point.y()) - dy * (b.x() - point.x());
        if ((sa > margin && sb > margin) || (sa < -margin && sb < -margin))
            return true;
        double ta = dx * (a.x() - point.x()) + dy * (a.y() - point.y());
        double tb = dx * (b.x() - point.x()) + dy * (b.y() - point.y());
        return ta < -margin && tb < -margin;
    };
    auto edgeQuery = [&](PolyEdge const& edge) {
        if (edge.isStraight()) {
            if (awayFromRay(edge.origin(), edge.end()))
                return 0;
            return edge.asLine().intersectionWith2D(ray, list, tol) ? 1 : 0;
        }
        return edge.asArc().intersectionWith2D(ray, list, tol);
    };
    std::function<int(CadPolygon const&)> holeQuery = [&](CadPolygon const& hole) {
        return hole.intersectEdges(list, edgeQuery, holeQuery);
    };
    intersectEdges(list, edgeQuery, holeQuery);
    list.removeDuplicates(fixedTol);
    if (list.empty())
        return CadPoint::outside;
    auto equation = LinearEquation::create(ray);
    bool inside = false;
    for (InterPoint const* hit : list) {
        if (hit->getPosition(InterPoint::second) == CadPoint::atOrigin)
            return CadPoint::along;
        CadPoint::Pos code = hit->getPosition(InterPoint::first);
        Intercept const& on = hit->getIntercept(InterPoint::first);
        if (code != CadPoint::atOrigin && code != CadPoint::atEnd) {
            // A ray that only touches an arc does not pass into or out of the polygon.
            if (!isTangentCrossing(*hit, equation.get(), tol))
                inside = !inside;
            continue;
        }
        int vertex = code == CadPoint::atOrigin ? on.m_vertex - 1 : on.m_vertex;
        bool touches = equation && on.m_contour >= 0 && on.m_contour <= getHoleCount() &&
                       getShape(on.m_contour).isReflection(vertex, *equation, fixedTol);
        if (!touches)
            inside = !inside;
    }
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
        double t = normalised(arc.getEndAngle() + (arc.getSweep() > 0.0 ? -pi / 2.0 : pi / 2.0));
        before = probeAlongArc(arc, vertexAt(c), t, line, tol);
    }
    if (arcAfter) {
        CadArc arc(vertexAt(d), vertexAt(a));
        double t = normalised(arc.getStartAngle() + (arc.getSweep() > 0.0 ? pi / 2.0 : -pi / 2.0));
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

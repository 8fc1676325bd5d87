// CadPolygon against another polygon: splitting into the pieces inside and outside it, and whether
// a segment crosses, a polygon encloses or two polygons overlap.
#include "Geometry/CadPolygon.h"

#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "Geometry/PolygonCut.h"
#include "Geometry/PolygonTracing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;

IntersectList boundaryList() {
    return IntersectList(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
}

bool validContour(CadPolygon const& polygon, int contour) {
    return contour >= 0 && contour <= polygon.getHoleCount();
}

// One edge of a contour with its plan box, for finding the edges of another polygon near it.
struct EdgeBox {
    double xMin, xMax, yMin, yMax;
    int contour; // 0 the outline, k the hole k-1
    int vertex;  // the edge's end vertex, wrapped
    int order;   // the position in which the whole-polygon query visits the edge
};

std::vector<EdgeBox> edgeBoxes(CadPolygon const& polygon, double margin) {
    std::vector<EdgeBox> boxes;
    int order = 0;
    auto add = [&](CadPolygon const& contour, int k) {
        int n = contour.vertSize();
        if (n < 2)
            return;
        for (int j = contour.isClosed() ? n : n - 1; j >= 1; --j) {
            PolyEdge edge = contour.edgeTo(j);
            CadPoint const& a = edge.origin();
            CadPoint const& b = edge.end();
            EdgeBox box{std::min(a.x(), b.x()),
                        std::max(a.x(), b.x()),
                        std::min(a.y(), b.y()),
                        std::max(a.y(), b.y()),
                        k,
                        contour.wrapIndex(j),
                        order++};
            if (!edge.isStraight()) {
                // The arc's whole circle: a box that surely holds it.
                CadArc arc = edge.asArc();
                double r = arc.getRadius();
                box = EdgeBox{arc.centre().x() - r,
                              arc.centre().x() + r,
                              arc.centre().y() - r,
                              arc.centre().y() + r,
                              k,
                              box.vertex,
                              box.order};
            }
            box.xMin -= margin;
            box.xMax += margin;
            box.yMin -= margin;
            box.yMax += margin;
            boxes.push_back(box);
        }
    };
    add(polygon, 0);
    for (int k = polygon.getHoleCount(); k >= 1; --k)
        add(polygon.getHole(k - 1), k);
    return boxes;
}

// The same points, in the same order, as a.intersectionWith(b, list, tol), but only the pairs of
// edges whose boxes meet are asked: the whole-polygon query tries every pair.
void intersectBoundaries(CadPolygon const& a, CadPolygon const& b, IntersectList& list, double tol) {
    if (a.vertSize() < 2 || b.vertSize() < 2)
        return;
    double margin = 2.0 * std::max(tol, fixedTol);
    std::vector<EdgeBox> ours = edgeBoxes(a, margin);
    std::vector<EdgeBox> theirs = edgeBoxes(b, margin);
    std::sort(theirs.begin(), theirs.end(),
              [](EdgeBox const& p, EdgeBox const& q) { return p.xMin < q.xMin; });
    double widest = 0.0;
    for (EdgeBox const& box : theirs)
        widest = std::max(widest, box.xMax - box.xMin);
    Intercept savedFirst = list.getSpec(InterPoint::first);
    Intercept savedSecond = list.getSpec(InterPoint::second);
    std::vector<EdgeBox const*> near;
    for (EdgeBox const& mine : ours) {
        near.clear();
        auto from = std::lower_bound(theirs.begin(), theirs.end(), mine.xMin - widest,
                                     [](EdgeBox const& box, double x) { return box.xMin < x; });
        for (auto it = from; it != theirs.end() && it->xMin <= mine.xMax; ++it)
            if (it->xMax >= mine.xMin && it->yMin <= mine.yMax && it->yMax >= mine.yMin)
                near.push_back(&*it);
        if (near.empty())
            continue;
        std::sort(near.begin(), near.end(),
                  [](EdgeBox const* p, EdgeBox const* q) { return p->order < q->order; });
        PolyEdge edge = a.getShape(mine.contour).edgeTo(mine.vertex);
        list.getSpec(InterPoint::first).m_vertex = mine.vertex;
        list.getSpec(InterPoint::first).m_contour = savedFirst.m_contour + mine.contour;
        // Asked of b's edges, as the whole-polygon query does, so b's codes land in its intercept.
        list.swapSpec();
        for (EdgeBox const* box : near) {
            PolyEdge theirEdge = b.getShape(box->contour).edgeTo(box->vertex);
            list.getSpec(InterPoint::second).m_vertex = box->vertex;
            list.getSpec(InterPoint::second).m_contour = savedSecond.m_contour + box->contour;
            if (edge.isStraight()) {
                if (theirEdge.isStraight())
                    theirEdge.asLine().intersectionWith2D(edge.asLine(), list, tol);
                else
                    theirEdge.asArc().intersectionWith2D(edge.asLine(), list, tol);
            } else if (!theirEdge.isStraight()) {
                theirEdge.asArc().intersectionWith2D(edge.asArc(), list, tol);
            } else {
                list.swapSpec();
                edge.asArc().intersectionWith2D(theirEdge.asLine(), list, tol);
                list.swapSpec();
            }
        }
        list.swapSpec();
    }
    list.getSpec(InterPoint::first) = savedFirst;
    list.getSpec(InterPoint::second) = savedSecond;
}

// One edge of a contour, read from its vertices, with its plan box grown by the margin.
struct SimpleEdge {
    double ax, ay, bx, by;
    double xMin, xMax, yMin, yMax;
    // For a straight edge whose line the edge queries take as it is: its unit direction, and the
    // largest of its coordinates, which bounds what rounding takes from their distances.
    double ux, uy, largest;
    int contour; // 0 the outline, k the hole k-1
    int vertex;  // the edge's end vertex, wrapped
    bool straight;
    bool plain;
};

// The queries put a line within 1e-5 of the vertical or the horizontal onto it: the plain line
// stands for theirs only when it runs well off both, or exactly along one.
bool plainLine(double dx, double dy) {
    dx = std::fabs(dx);
    dy = std::fabs(dy);
    return (dx == 0.0 || dx > fixedTol) && (dy == 0.0 || dy > fixedTol) && (dx > fixedTol || dy > fixedTol);
}

// The edges of the outline (from edge n down to edge 1), then those of the holes from the last.
std::vector<SimpleEdge> simpleEdges(CadPolygon const& polygon, double margin) {
    std::vector<SimpleEdge> edges;
    std::size_t count = std::size_t(polygon.vertSize());
    for (int k = polygon.getHoleCount(); k >= 1; --k)
        count += std::size_t(polygon.getHole(k - 1).vertSize());
    edges.reserve(count);
    auto add = [&](CadPolygon const& contour, int k) {
        int n = contour.vertSize();
        if (n < 2)
            return;
        for (int j = contour.isClosed() ? n : n - 1; j >= 1; --j) {
            PolyPoint const& a = contour[j - 1];
            PolyPoint const& b = contour[j];
            SimpleEdge edge{};
            edge.ax = a.x();
            edge.ay = a.y();
            edge.bx = b.x();
            edge.by = b.y();
            edge.contour = k;
            edge.vertex = j == n ? 0 : j;
            edge.straight = std::fabs(b.getSweep()) <= fixedTol;
            if (edge.straight) {
                edge.xMin = std::min(edge.ax, edge.bx);
                edge.xMax = std::max(edge.ax, edge.bx);
                edge.yMin = std::min(edge.ay, edge.by);
                edge.yMax = std::max(edge.ay, edge.by);
                double dx = edge.bx - edge.ax, dy = edge.by - edge.ay;
                edge.plain = plainLine(dx, dy);
                if (edge.plain) {
                    double length = std::sqrt(dx * dx + dy * dy);
                    edge.ux = dx / length;
                    edge.uy = dy / length;
                    edge.largest = std::max(
                        {std::fabs(edge.ax), std::fabs(edge.ay), std::fabs(edge.bx), std::fabs(edge.by)});
                }
            } else {
                // The arc's whole circle: a box that surely holds it.
                CadArc arc(a, b);
                double r = arc.getRadius();
                edge.xMin = arc.centre().x() - r;
                edge.xMax = arc.centre().x() + r;
                edge.yMin = arc.centre().y() - r;
                edge.yMax = arc.centre().y() + r;
            }
            edge.xMin -= margin;
            edge.xMax += margin;
            edge.yMin -= margin;
            edge.yMax += margin;
            edges.push_back(edge);
        }
    };
    add(polygon, 0);
    for (int k = polygon.getHoleCount(); k >= 1; --k)
        add(polygon.getHole(k - 1), k);
    return edges;
}

// The signed plan distance from the point to the plain edge's line, positive on its left.
double sideOf(SimpleEdge const& edge, double x, double y) {
    return edge.ux * (y - edge.ay) - edge.uy * (x - edge.ax);
}

// The edge queries may find the point along the plain edge: near its line, and farther than tol
// from the end it shares with a neighbour (its start or its end) towards its other end.
bool mayLieAlong(SimpleEdge const& edge, bool fromStart, double x, double y, double tol, double slack) {
    double along = fromStart ? edge.ux * (x - edge.ax) + edge.uy * (y - edge.ay)
                             : edge.ux * (edge.bx - x) + edge.uy * (edge.by - y);
    return std::fabs(sideOf(edge, x, y)) <= 2.0 * tol + slack && along >= tol - slack;
}

// Both ends of q lie on one side of p's plain line, farther from it than the reach.
bool apart(SimpleEdge const& p, SimpleEdge const& q, double reach) {
    double s = sideOf(p, q.ax, q.ay);
    double t = sideOf(p, q.bx, q.by);
    return (s > reach && t > reach) || (s < -reach && t < -reach);
}

// Which way q neighbours the outline's edge p: 1 the edge before it, 2 the edge after it, 3 both
// (an outline of two edges), 0 neither.
int neighbourhood(int n, SimpleEdge const& p, SimpleEdge const& q) {
    if (q.contour != 0)
        return 0;
    bool before = q.vertex == (p.vertex == 0 ? n - 1 : p.vertex - 1);
    bool after = q.vertex == (p.vertex == n - 1 ? 0 : p.vertex + 1);
    return (before ? 1 : 0) | (after ? 2 : 0);
}

// Two straight edges that the edge queries surely find apart, told without them. A point that the
// queries find on an edge lies within tol of its line and at most tol beyond its ends, so within
// tol times the root of 2 of the edge; straight neighbours are asked whether the far end of each
// lies along the other.
bool surelyApart(int n, SimpleEdge const& p, SimpleEdge const& q, double tol) {
    if (!p.plain || !q.plain || !(tol >= 0.0))
        return false;
    double slack = 1e-12 * (1.0 + std::max(p.largest, q.largest));
    int side = p.contour == 0 ? neighbourhood(n, p, q) : 0;
    if (side == 1 || side == 2) {
        bool before = side == 1;
        double farX = before ? q.ax : q.bx, farY = before ? q.ay : q.by;
        double ownX = before ? p.bx : p.ax, ownY = before ? p.by : p.ay;
        return !mayLieAlong(p, before, farX, farY, tol, slack) &&
               !mayLieAlong(q, !before, ownX, ownY, tol, slack);
    }
    double reach = 3.0 * tol + slack;
    return apart(p, q, reach) || apart(q, p, reach);
}

// The edge of the outline meets the other edge, as the edge queries find it, anywhere but at a
// vertex they share.
bool meets(CadPolygon const& polygon, SimpleEdge const& mine, SimpleEdge const& theirs, double tol) {
    // A neighbouring edge meets this one at the vertex they share, and that is no meeting;
    // neighbours in line with it are asked like any other edge.
    int side = neighbourhood(polygon.vertSize(), mine, theirs);
    bool before = (side & 1) != 0;
    bool after = (side & 2) != 0;
    PolyEdge edge = polygon.edgeTo(mine.vertex);
    PolyEdge other = polygon.getShape(theirs.contour).edgeTo(theirs.vertex);
    if ((side == 1 || side == 2) && edge.isStraight() && other.isStraight()) {
        // Straight neighbours nearly in line meet all along within the tolerance: they meet
        // elsewhere only when one folds back over the other.
        CadPoint const& far = before ? other.origin() : other.end();
        CadPoint const& own = before ? edge.end() : edge.origin();
        return edge.positionOf2D(far, tol) == CadPoint::along ||
               other.positionOf2D(own, tol) == CadPoint::along;
    }
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    if (edge.isStraight()) {
        if (other.isStraight())
            other.asLine().intersectionWith2D(edge.asLine(), list, tol);
        else
            other.asArc().intersectionWith2D(edge.asLine(), list, tol);
    } else if (!other.isStraight()) {
        other.asArc().intersectionWith2D(edge.asArc(), list, tol);
    } else {
        list.swapSpec();
        edge.asArc().intersectionWith2D(other.asLine(), list, tol);
        list.swapSpec();
    }
    for (InterPoint const* point : list) {
        if (before && point->isEqual2D(edge.origin(), tol))
            continue;
        if (after && point->isEqual2D(edge.end(), tol))
            continue;
        return true;
    }
    return false;
}

// The key of the value in an unsigned order that is the order of the values.
std::uint64_t orderKey(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t(1) << 63);
}

// The edges' positions in the order in which their boxes begin in x: sorted by the bytes of their
// keys from the lowest, each pass keeping the order of the one before.
std::vector<std::uint32_t> orderedByStart(std::vector<SimpleEdge> const& edges) {
    std::size_t n = edges.size();
    std::vector<std::uint64_t> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = orderKey(edges[i].xMin);
    std::vector<std::uint32_t> order(n), next(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = std::uint32_t(i);
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t counts[257] = {};
        for (std::size_t i = 0; i < n; ++i)
            ++counts[((keys[i] >> shift) & 0xFF) + 1];
        if (counts[((keys[0] >> shift) & 0xFF) + 1] == n)
            continue; // every key has the same byte here
        for (std::size_t b = 1; b < 257; ++b)
            counts[b] += counts[b - 1];
        for (std::uint32_t i : order)
            next[counts[(keys[i] >> shift) & 0xFF]++] = i;
        order.swap(next);
    }
    return order;
}

} // namespace

bool meetsItselfElsewhere(CadPolygon const& polygon, double tol) {
    int n = polygon.vertSize();
    std::vector<SimpleEdge> edges = simpleEdges(polygon, 2.0 * std::max(tol, fixedTol));
    if (edges.empty())
        return false;
    std::vector<std::uint32_t> order = orderedByStart(edges);
    // Every pair of boxes that overlap, found from the one that begins first in x; an edge of the
    // outline is asked against every other edge whose box meets its own, holes against holes not.
    for (std::size_t i = 0; i < order.size(); ++i) {
        SimpleEdge const& p = edges[order[i]];
        for (std::size_t k = i + 1; k < order.size() && edges[order[k]].xMin <= p.xMax; ++k) {
            SimpleEdge const& q = edges[order[k]];
            if (q.yMin > p.yMax || q.yMax < p.yMin || (p.contour != 0 && q.contour != 0))
                continue;
            if (surelyApart(n, p.contour == 0 ? p : q, p.contour == 0 ? q : p, tol))
                continue;
            if (p.contour == 0 && meets(polygon, p, q, tol))
                return true;
            if (q.contour == 0 && meets(polygon, q, p, tol))
                return true;
        }
    }
    return false;
}

namespace {

// Finds where the two boundaries meet, makes every such point a vertex of both, and keeps only the
// points where b's boundary passes from inside a to outside or back. Answers whether the two
// outlines meet at all.
bool intersectPolyWithPoly(CadPolygon& a, CadPolygon& b, IntersectList& list, double tol) {
    intersectBoundaries(a, b, list, tol);
    bool touch = false;
    for (InterPoint const* point : list)
        touch = touch || (point->getIntercept(InterPoint::first).m_contour == 0 &&
                          point->getIntercept(InterPoint::second).m_contour == 0);
    for (InterPoint::Part part : {InterPoint::first, InterPoint::second}) {
        CadPolygon& polygon = part == InterPoint::first ? a : b;
        for (InterPoint* point : list) {
            Intercept& own = point->getIntercept(part);
            if (validContour(polygon, own.m_contour) && !polygon.getShape(own.m_contour).empty())
                own.m_vertex = Int32(polygon.getShape(own.m_contour)[own.m_vertex]->getID());
        }
    }
    list.removeDuplicates(fixedTol);
    for (InterPoint::Part part : {InterPoint::first, InterPoint::second}) {
        CadPolygon& polygon = part == InterPoint::first ? a : b;
        for (InterPoint* point : list) {
            Intercept& own = point->getIntercept(part);
            if (!validContour(polygon, own.m_contour))
                continue;
            unsigned int id =
                polygon.getShape(own.m_contour).addNodeAlong(unsigned(own.m_vertex), *point, tol);
            if (id != 0)
                own.m_vertex = Int32(id);
        }
    }
    double half = tol / 2.0;
    for (auto it = list.begin(); it != list.end();) {
        Intercept const& onB = (*it)->getIntercept(InterPoint::second);
        bool keep = false;
        if (validContour(b, onB.m_contour)) {
            CadPolygon const& contour = b.getShape(onB.m_contour);
            int k = contour.findVertexById(unsigned(onB.m_vertex), nullptr);
            if (k != CadPolygon::notFound) {
                bool arrivingInside = a.positionOf(getEdgeMidpoint(contour, k, -1), half) == CadPoint::inside;
                bool leavingInside = a.positionOf(getEdgeMidpoint(contour, k, +1), half) == CadPoint::inside;
                keep = arrivingInside != leavingInside;
            }
        }
        it = keep ? std::next(it) : list.erase(it);
    }
    return touch;
}

} // namespace

void CadPolygon::splitWith(CadPolygon const& other, PolyList* inside, PolyList* outside, double tol) const {
    if (inside == nullptr && outside == nullptr)
        return;
    PolygonCut cut(*this, other, tol);
    CadPolygon pattern(*this);
    pattern.initialise(isClosed(), isHole());
    cut.split(*this, pattern, inside, outside);
}

bool CadPolygon::crosses(Line const& line, double tol) const {
    IntersectList list = boundaryList();
    intersectionWith(line, list, tol);
    list.insert(new InterPoint(line.origin(), CadPoint::along, CadPoint::atOrigin));
    list.insert(new InterPoint(line.end(), CadPoint::along, CadPoint::atEnd));
    list.sort(ComparePosition(tol));
    for (auto it = list.begin(); it != list.end() && std::next(it) != list.end(); ++it) {
        InterPoint const& p = **it;
        InterPoint const& q = **std::next(it);
        if (p.isEqual2D(q, fixedTol))
            continue;
        CadPoint mid((p.x() + q.x()) / 2.0, (p.y() + q.y()) / 2.0, (p.z() + q.z()) / 2.0);
        if (positionOf(mid, fixedTol) == CadPoint::inside)
            return true;
    }
    return false;
}

namespace {

// Every edge midpoint of every contour (holes from the last, then the outline), in that order.
template <typename Visit>
bool anyMidpoint(CadPolygon const& polygon, Visit const& visit) {
    for (int k = polygon.getHoleCount(); k >= 0; --k) {
        CadPolygon const& contour = polygon.getShape(k);
        for (int j = 0; j < contour.vertSize(); ++j)
            if (visit(contour.edgeTo(j).midpoint()))
                return true;
    }
    return false;
}

template <typename Visit>
bool anyVertex(CadPolygon const& polygon, Visit const& visit) {
    for (int k = polygon.getHoleCount(); k >= 0; --k)
        for (PolyPoint const* vertex : polygon.getShape(k))
            if (visit(*vertex))
                return true;
    return false;
}

} // namespace

bool CadPolygon::encloses(CadPolygon const& other, double tol) const {
    auto box = getBounds();
    auto otherBox = other.getBounds();
    if (!box || !otherBox || !box->encloses2D(*otherBox, fixedTol))
        return false;
    if (anyVertex(other, [&](CadPoint const& v) { return !encloses(v, tol); }))
        return false;
    if (anyVertex(*this, [&](CadPoint const& v) { return other.positionOf(v, tol) == CadPoint::inside; }))
        return false;
    CadPolygon a(*this);
    CadPolygon b(other);
    IntersectList list = boundaryList();
    bool touch = intersectPolyWithPoly(a, b, list, tol);
    bool insideSeen = false;
    if (anyMidpoint(b, [&](CadPoint const& m) {
            CadPoint::Pos code = positionOf(m, tol);
            insideSeen = insideSeen || code == CadPoint::inside;
            return code == CadPoint::outside;
        }))
        return false;
    if (insideSeen)
        return true;
    if (!touch)
        return false;
    // b lies on this polygon's boundary throughout: it encloses when this outline leaves b nowhere.
    for (int j = 0; j < a.vertSize(); ++j)
        if (other.positionOf(a.edgeTo(j).midpoint(), tol) == CadPoint::outside)
            return false;
    return true;
}

bool CadPolygon::overlaps(CadPolygon const& other, double tol) const {
    auto box = getBounds();
    auto otherBox = other.getBounds();
    if (!box || !otherBox || !box->overlaps2D(*otherBox, fixedTol))
        return false;
    if (anyVertex(other, [&](CadPoint const& v) { return positionOf(v, tol) == CadPoint::inside; }) ||
        anyVertex(*this, [&](CadPoint const& v) { return other.positionOf(v, tol) == CadPoint::inside; }))
        return true;
    CadPolygon a(*this);
    CadPolygon b(other);
    IntersectList list = boundaryList();
    bool touch = intersectPolyWithPoly(a, b, list, tol);
    if (!list.empty())
        return true;
    bool allOn = true;
    auto classify = [&allOn](CadPolygon const& against) {
        return [&allOn, &against](CadPoint const& m) {
            CadPoint::Pos code = against.positionOf(m, fixedTol);
            allOn = allOn && code != CadPoint::outside;
            return code == CadPoint::inside;
        };
    };
    if (anyMidpoint(b, classify(a)) || anyMidpoint(a, classify(b)))
        return true;
    return touch && allOn;
}

} // namespace zelvane

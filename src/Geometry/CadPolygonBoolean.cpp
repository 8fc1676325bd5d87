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

} // namespace

bool meetsItselfElsewhere(CadPolygon const& polygon, double tol) {
    int n = polygon.vertSize();
    double margin = 2.0 * std::max(tol, fixedTol);
    std::vector<EdgeBox> all = edgeBoxes(polygon, margin);
    std::vector<EdgeBox> sorted(all);
    std::sort(sorted.begin(), sorted.end(),
              [](EdgeBox const& p, EdgeBox const& q) { return p.xMin < q.xMin; });
    double widest = 0.0;
    for (EdgeBox const& box : sorted)
        widest = std::max(widest, box.xMax - box.xMin);
    std::vector<EdgeBox const*> near;
    // The outline's edges come first in all, from edge n down to edge 1.
    for (int e = 0; e < n && e < int(all.size()); ++e) {
        EdgeBox const& mine = all[std::size_t(e)];
        near.clear();
        auto from = std::lower_bound(sorted.begin(), sorted.end(), mine.xMin - widest,
                                     [](EdgeBox const& box, double x) { return box.xMin < x; });
        for (auto it = from; it != sorted.end() && it->xMin <= mine.xMax; ++it)
            if (it->xMax >= mine.xMin && it->yMin <= mine.yMax && it->yMax >= mine.yMin)
                near.push_back(&*it);
        PolyEdge edge = polygon.edgeTo(mine.vertex);
        for (EdgeBox const* box : near) {
            bool outline = box->contour == 0;
            if (outline && box->vertex == mine.vertex)
                continue;
            // A neighbouring edge meets this one at the vertex they share, and that is no meeting;
            // neighbours in line with it are asked like any other edge.
            bool before = outline && box->vertex == polygon.wrapIndex(mine.vertex - 1);
            bool after = outline && box->vertex == polygon.wrapIndex(mine.vertex + 1);
            PolyEdge other = polygon.getShape(box->contour).edgeTo(box->vertex);
            if ((before || after) && !(before && after) && edge.isStraight() && other.isStraight()) {
                // Straight neighbours nearly in line meet all along within the tolerance: they meet
                // elsewhere only when one folds back over the other.
                CadPoint const& far = before ? other.origin() : other.end();
                CadPoint const& own = before ? edge.end() : edge.origin();
                if (edge.positionOf2D(far, tol) == CadPoint::along ||
                    other.positionOf2D(own, tol) == CadPoint::along)
                    return true;
                continue;
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

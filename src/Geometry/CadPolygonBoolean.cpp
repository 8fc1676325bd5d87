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
#include "Geometry/PolygonTracing.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr Int32 used = CadPolygon::notFound;

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
            IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
            PolyEdge other = polygon.getShape(box->contour).edgeTo(box->vertex);
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

bool travelPolygon(CadPolygon const& polygon, IntersectList::iterator& position, InterPoint::Part part, int d,
                   CadPolygon& piece, IntersectList& list, double tol) {
    Intercept& own = (*position)->getIntercept(part);
    if (!validContour(polygon, own.m_contour))
        return true;
    CadPolygon const& contour = polygon.getShape(own.m_contour);
    int i = contour.findVertexById(unsigned(own.m_vertex), nullptr);
    if (i == CadPolygon::notFound)
        return true;
    if (part == InterPoint::first)
        own.m_vertex = used;
    return extractPolygonPath(contour, i, position, d, piece, list, tol);
}

std::unique_ptr<CadPolygon> emptyLike(CadPolygon const& polygon) {
    std::unique_ptr<CadPolygon> copy(polygon.clone());
    copy->initialise(polygon.isClosed(), polygon.isHole());
    return copy;
}

void pushTo(PolyList* list, std::unique_ptr<CadPolygon> polygon) {
    if (list != nullptr)
        list->push_back(polygon.release());
}

// Splits a by the outline of b into the pieces inside b (to in) and outside it (to out); changes both.
void splitPolyWithPoly(CadPolygon& a, CadPolygon& b, PolyList* in, PolyList* out, double tol) {
    a.setDirection(PolyPoint::clockwise, true, false);
    for (int k = 0; k < a.getHoleCount(); ++k)
        a.getHole(k).setDirection(PolyPoint::anticlockwise, true, false);
    a.renumber(false);
    b.setDirection(PolyPoint::clockwise, true, false);
    b.setHole(false);
    b.setHoles(nullptr);
    b.renumber(false);

    IntersectList list = boundaryList();
    bool touch = intersectPolyWithPoly(a, b, list, tol);
    if (list.empty()) {
        if (b.encloses(a, tol)) {
            pushTo(in, std::unique_ptr<CadPolygon>(a.clone()));
            return;
        }
        bool e = a.encloses(b, fixedTol);
        if (out != nullptr) {
            std::unique_ptr<CadPolygon> p(a.clone());
            if (e) {
                p->addHole(b.clone());
            } else if (p->getHoleCount() > 0 && a.overlaps(b, fixedTol)) {
                std::unique_ptr<CadPolygon> q(in != nullptr ? b.clone() : nullptr);
                std::unique_ptr<PolyVector> holes = p->releaseHoles();
                auto takenOut = std::make_unique<PolyVector>();
                for (auto it = holes->begin(); it != holes->end(); ++it) {
                    std::unique_ptr<CadPolygon> h(*it);
                    *it = nullptr;
                    if (!b.overlaps(*h, fixedTol)) {
                        p->addHole(h.release());
                    } else if (h->encloses(b, fixedTol)) {
                        q.reset();
                        p->addHole(h.release());
                    } else {
                        takenOut->push_back(h.release());
                    }
                }
                if (q) {
                    if (!takenOut->empty()) {
                        p->addHole(b.clone());
                        q->setHoles(takenOut.release());
                    }
                    pushTo(in, std::move(q));
                }
            }
            pushTo(out, std::move(p));
        }
        if (in != nullptr && e)
            pushTo(in, std::unique_ptr<CadPolygon>(b.clone()));
        return;
    }

    std::unique_ptr<CadPolygon> piecePattern = emptyLike(a);
    std::unique_ptr<CadPolygon> remainder;
    if (!touch) {
        remainder.reset(a.clone());
        remainder->setHoles(nullptr);
    }
    // Untouched holes inside b belong to the inside pieces; the others stay in the remainder or go
    // to whichever piece encloses them.
    PolyList spare;
    for (int k = a.getHoleCount() - 1; k >= 0; --k) {
        bool touched = false;
        for (InterPoint const* point : list)
            touched = touched || point->getIntercept(InterPoint::first).m_contour == k + 1;
        if (touched)
            continue;
        if (!touch && !b.encloses(a.getHole(k), fixedTol))
            remainder->addHole(a.getHole(k).clone());
        else
            spare.push_back(a.getHole(k).clone());
    }

    int bound = a.getVertexCount(false) + b.getVertexCount(false) + int(list.size()) + 4;
    for (auto p = list.begin(); p != list.end();) {
        Intercept const& own = (*p)->getIntercept(InterPoint::first);
        int k = CadPolygon::notFound;
        if (own.m_vertex != used && validContour(a, own.m_contour))
            k = a.getShape(own.m_contour).findVertexById(unsigned(own.m_vertex), nullptr);
        if (k == CadPolygon::notFound) {
            ++p;
            continue;
        }
        CadPolygon const& contour = a.getShape(own.m_contour);
        CadPoint mMinus = getEdgeMidpoint(contour, k, -1);
        CadPoint mPlus = getEdgeMidpoint(contour, k, +1);
        InterPoint cMinus = b.closestPointAlong2D(mMinus, true, tol);
        InterPoint cPlus = b.closestPointAlong2D(mPlus, true, tol);
        bool foundMinus = cMinus.getPosition(InterPoint::first) != CadPoint::none;
        bool foundPlus = cPlus.getPosition(InterPoint::first) != CadPoint::none;
        if (!foundMinus && !foundPlus) {
            ++p;
            continue;
        }
        // The midpoint farther from b decides; ties go to the leaving edge.
        CadPoint::Pos s;
        if ((foundPlus && !foundMinus) ||
            (foundPlus && foundMinus && mMinus.lengthTo2D(cMinus) <= mPlus.lengthTo2D(cPlus)))
            s = b.positionOf(mPlus, tol / 10.0);
        else
            s = b.positionOf(mMinus, tol / 10.0) == CadPoint::inside ? CadPoint::outside : CadPoint::inside;

        std::unique_ptr<CadPolygon> piece(piecePattern->clone());
        piece->push_back(new PolyPoint(**p, 0.0, 0));
        int d = s == CadPoint::inside ? +1 : -1;
        auto position = p;
        bool closed = false;
        for (int round = 0; round < bound && !closed; ++round) {
            closed = travelPolygon(a, position, InterPoint::first, +1, *piece, list, tol) ||
                     travelPolygon(b, position, InterPoint::second, d, *piece, list, tol);
        }
        if (!closed || !piece->isValid(false, fixedTol)) {
            piece.reset();
        } else if (!touch && !(s == CadPoint::inside && b.encloses(*piece, fixedTol))) {
            remainder->addHole(piece.release());
        } else {
            PolyList* target = s == CadPoint::inside ? in : out;
            if (target != nullptr) {
                insertHoles(*piece, spare, tol);
                target->push_back(piece.release());
            }
        }
        p = list.begin();
    }
    if (remainder)
        pushTo(out, std::move(remainder));
}

} // namespace

void CadPolygon::splitWith(CadPolygon const& other, PolyList* inside, PolyList* outside, double tol) const {
    if (inside == nullptr && outside == nullptr)
        return;
    std::unique_ptr<CadPolygon> a(clone());
    std::unique_ptr<CadPolygon> b = emptyLike(*this);
    *b = other;
    PolyList kept;
    splitPolyWithPoly(*a, *b, &kept, outside, tol);
    // The parts inside a hole of the other polygon lie outside it.
    for (int h = other.getHoleCount() - 1; h >= 0; --h) {
        PolyList next;
        while (!kept.empty()) {
            std::unique_ptr<CadPolygon> piece(kept.release(kept.begin()));
            std::unique_ptr<CadPolygon> hole = emptyLike(*this);
            *hole = other.getHole(h);
            splitPolyWithPoly(*piece, *hole, outside, &next, tol);
        }
        kept.swap(next);
    }
    if (inside != nullptr) {
        while (!kept.empty())
            inside->push_back(kept.release(kept.begin()));
    }
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

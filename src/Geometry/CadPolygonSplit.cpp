// CadPolygon cut by an infinite line into the pieces on either side of it.
#include "Geometry/CadPolygon.h"

#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "Geometry/PolygonTracing.h"

#include <cmath>
#include <iterator>
#include <memory>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr Int32 used = CadPolygon::notFound;

CadPoint::Pos opposite(CadPoint::Pos side) {
    return side == CadPoint::outside ? CadPoint::inside : CadPoint::outside;
}

} // namespace

CadPoint getEdgeMidpoint(CadPolygon const& polygon, int vertex, int step) {
    if (step < 0)
        return PolyEdge(polygon[vertex + step], polygon[vertex]).midpoint();
    return PolyEdge(polygon[vertex], polygon[vertex + step]).midpoint();
}

void insertHoles(CadPolygon& piece, PolyList& holes, double) {
    for (auto it = holes.begin(); it != holes.end();) {
        if (*it != nullptr && piece.encloses(**it, fixedTol)) {
            piece.addHole(holes.release(it++));
        } else {
            ++it;
        }
    }
}

bool extractPolygonPath(CadPolygon const& contour, int i, IntersectList::iterator& position, int d,
                        CadPolygon& piece, IntersectList& list, double tol) {
    int n = contour.vertSize();
    if (n == 0 || piece.empty())
        return true;
    for (int step = 0; step < n; ++step) {
        int j = contour.wrapIndex(i + d);
        auto v = std::unique_ptr<PolyPoint>(contour[j].clone());
        if (d < 0)
            v->setSweep(-contour[i].getSweep());
        if (v->isEqual2D(*piece[0], tol)) {
            piece[0]->setSweep(v->getSweep());
            return true;
        }
        CadPoint at = *v;
        piece.push_back(v.release());
        for (auto it = list.begin(); it != list.end(); ++it) {
            if ((*it)->isEqual2D(at, tol)) {
                position = it;
                return false;
            }
        }
        i = j;
    }
    return true;
}

void CadPolygon::splitWith(LinearEquation const& line, PolyList* right, PolyList* left, double tol) const {
    if (right == nullptr && left == nullptr)
        return;
    CadPolygon w(*this);
    double a = line.azimuthAngle();
    CadPoint p0 = line.closestPointTo(CadPoint(0.0, 0.0, 0.0));
    Line segment(p0, p0 + CadPoint(std::cos(a), std::sin(a), 0.0));
    w.setDirection(PolyPoint::clockwise, true, false);
    for (int k = 0; k < w.getHoleCount(); ++k)
        w.getHole(k).setDirection(PolyPoint::anticlockwise, true, false);
    w.renumber(false);

    // The segment's own filter accepts any position, so the whole infinite line counts.
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::none));
    w.intersectionWith(segment, list, tol);
    for (InterPoint* point : list) {
        Intercept& own = point->getIntercept(InterPoint::first);
        own.m_vertex = Int32(w.getShape(own.m_contour)[own.m_vertex]->getID());
    }
    list.removeDuplicates(fixedTol);
    for (InterPoint* point : list) {
        Intercept& own = point->getIntercept(InterPoint::first);
        unsigned int id = w.getShape(own.m_contour).addNodeAlong(unsigned(own.m_vertex), *point, tol);
        if (id != 0)
            own.m_vertex = Int32(id);
    }

    // Only the points where the boundary passes from one side to the other, or where the line
    // passes through material on both sides of a vertex, cut.
    double t = tol / 10.0;
    for (auto it = list.begin(); it != list.end();) {
        Intercept const& own = (*it)->getIntercept(InterPoint::first);
        bool keep = true;
        if (own.m_position != CadPoint::along) {
            CadPolygon const& contour = w.getShape(own.m_contour);
            int k = contour.findVertexById(unsigned(own.m_vertex), nullptr);
            if (k == notFound) {
                keep = false;
            } else {
                CadPoint m1 = getEdgeMidpoint(contour, k, -1);
                CadPoint m2 = getEdgeMidpoint(contour, k, +1);
                CadPoint::Pos s1 = line.positionOf(m1, t);
                CadPoint::Pos s2 = line.positionOf(m2, t);
                if (s1 == CadPoint::along && s2 == CadPoint::along) {
                    keep = false;
                } else if (s1 == CadPoint::along || s2 == CadPoint::along ||
                           (s1 == s2 && own.m_contour == 0)) {
                    auto turn = LinearEquation::create(m1, **it);
                    CadPoint::Pos material = own.m_contour == 0 ? CadPoint::inside : CadPoint::outside;
                    keep = turn && turn->positionOf(m2, fixedTol) != material;
                }
            }
        }
        it = keep ? std::next(it) : list.erase(it);
    }

    if (list.empty()) {
        CadPoint::Pos side = CadPoint::along;
        for (int i = 0; i < vertSize() && side == CadPoint::along; ++i)
            side = line.positionOf((*this)[i], fixedTol);
        PolyList* target = side == CadPoint::outside ? left : right;
        if (target != nullptr)
            target->push_back(clone());
        return;
    }

    PolyList holes;
    for (int k = getHoleCount(); k >= 1; --k) {
        bool touched = false;
        for (InterPoint const* point : list)
            touched = touched || point->getIntercept(InterPoint::first).m_contour == k;
        if (!touched)
            holes.push_back(getHole(k - 1).clone());
    }
    list.sort(ComparePosition(tol));
    CadPolygon piecePattern(*this);
    piecePattern.initialise(isClosed(), isHole());
    CadPoint::Pos dirSide = CadPoint::inside;
    if (std::cos(a) > fixedTol || (std::fabs(std::cos(a)) <= fixedTol && std::sin(a) > fixedTol))
        dirSide = CadPoint::outside;

    auto usable = [&](InterPoint const* point) {
        Intercept const& own = point->getIntercept(InterPoint::first);
        return own.m_vertex != used && own.m_contour != notFound &&
               w.getShape(own.m_contour).findVertexById(unsigned(own.m_vertex), nullptr) != notFound;
    };
    // The side into which the boundary leaves the point: that of the edge leaving its vertex, or
    // for an edge along the line the side opposite the arriving edge.
    auto leavingSide = [&](InterPoint const& point) {
        int contourNumber = point.getIntercept(InterPoint::first).m_contour;
        if (contourNumber < 0 || contourNumber > w.getHoleCount())
            return CadPoint::none;
        CadPolygon const& contour = w.getShape(contourNumber);
        int k = contour.findVertexByLocation(point, nullptr, fixedTol);
        if (k == notFound)
            return CadPoint::none;
        CadPoint::Pos leaving = line.positionOf(getEdgeMidpoint(contour, k, +1), t);
        if (leaving == CadPoint::along)
            leaving = opposite(line.positionOf(getEdgeMidpoint(contour, k, -1), t));
        return leaving;
    };
    for (;;) {
        auto start = list.begin();
        while (start != list.end() && !usable(*start))
            ++start;
        if (start == list.end())
            break;
        CadPoint::Pos side = leavingSide(**start);

        auto piece = std::make_unique<CadPolygon>(piecePattern);
        piece->push_back(new PolyPoint(**start, 0.0, 0));
        auto current = start;
        // Each round walks one stretch of a contour and one stretch of the line, so the rounds are
        // bounded by the number of points.
        for (std::size_t round = 0; round <= list.size(); ++round) {
            Intercept& at = (*current)->getIntercept(InterPoint::first);
            at.m_vertex = used;
            if (at.m_contour == notFound)
                break;
            CadPolygon const& contour = w.getShape(at.m_contour);
            int i = contour.findVertexByLocation(**current, nullptr, fixedTol);
            if (i == notFound)
                break;
            if (extractPolygonPath(contour, i, current, +1, *piece, list, tol))
                break;
            // Along the line to the next point where the boundary leaves into this piece's side; a
            // vertex where the boundary only touches the line from the other side is passed by.
            bool ended = false;
            for (;;) {
                if (side == dirSide) {
                    if (current == list.begin()) {
                        ended = true;
                        break;
                    }
                    --current;
                } else if (++current == list.end()) {
                    ended = true;
                    break;
                }
                if ((*current)->isEqual2D(*(*piece)[0], tol) || leavingSide(**current) == side)
                    break;
            }
            if (ended || (*current)->isEqual2D(*(*piece)[0], tol))
                break;
            if (!piece->insertUniqueVertex(new PolyPoint(**current, 0.0, 0), notFound))
                break;
        }
        PolyList* target = side == CadPoint::outside ? left : right;
        if (target != nullptr && piece->isValid(false, fixedTol)) {
            insertHoles(*piece, holes, tol);
            target->push_back(piece.release());
        }
    }
}

} // namespace zelvane

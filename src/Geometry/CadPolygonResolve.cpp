// CadPolygon cleaned and reshaped: self-intersecting outlines resolved into simple polygons, arcs
// replaced by chords, and repeated or collinear vertices removed.
#include "Geometry/CadPolygon.h"

#include "Geometry/CadArc.h"
#include "Geometry/Faceter.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"

#include <cmath>
#include <memory>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double chordDeviation = 0.002;

void pushValid(PolyList& out, std::unique_ptr<CadPolygon> polygon) {
    if (polygon->isValid(false, fixedTol))
        out.push_back(polygon.release());
}

// Cuts off the first loop found where an edge meets the outline away from its neighbours: the loop
// and the rest go to out. Answers false when the outline needed nothing.
bool resolvePolyIntersect(CadPolygon const& polygon, PolyList& out, double tol) {
    auto w = std::make_unique<CadPolygon>(polygon);
    w->setHoles(nullptr);
    bool cleaned = w->removeDuplicates2D(tol);
    w->renumber(false);
    for (int e = w->vertSize() - 1; e >= 0; --e) {
        IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
        PolyEdge edge = w->edgeTo(e);
        if (std::fabs((*w)[e]->getSweep()) <= fixedTol)
            w->intersectionWith(edge.asLine(), list, tol);
        else
            w->intersectionWith(edge.asArc(), list, tol);
        if (list.size() < 2)
            continue;
        for (InterPoint const* point : list) {
            Intercept const& own = point->getIntercept(InterPoint::first);
            bool joint = (own.m_position == CadPoint::atEnd && own.m_vertex == w->wrapIndex(e - 1)) ||
                         (own.m_position == CadPoint::atOrigin && own.m_vertex == w->wrapIndex(e + 1));
            if (joint)
                continue;
            unsigned int edgeId = (*w)[e]->getID();
            unsigned int pointId = (*w)[own.m_vertex]->getID();
            unsigned int a = w->addNodeAlong(edgeId, *point, tol);
            unsigned int b = w->addNodeAlong(pointId, *point, tol);
            int ia = a == 0 ? CadPolygon::notFound : w->findVertexById(a, nullptr);
            int ib = b == 0 ? CadPolygon::notFound : w->findVertexById(b, nullptr);
            if (ia == CadPolygon::notFound || ib == CadPolygon::notFound || ia == ib)
                break;
            int n = w->vertSize();
            int count = w->wrapIndex(ib - ia + n);
            std::unique_ptr<CadPolygon> loop(w->clone());
            loop->initialise(w->isClosed(), w->isHole());
            int index = w->wrapIndex(ia + 1);
            for (int c = 0; c < count; ++c) {
                if (index >= w->vertSize())
                    index = 0;
                loop->push_back(w->release(w->begin() + index));
            }
            pushValid(out, std::move(loop));
            pushValid(out, std::move(w));
            return true;
        }
    }
    if (!cleaned)
        return false;
    pushValid(out, std::move(w));
    return true;
}

} // namespace

int CadPolygon::resolveSelfIntersect(PolyList& out, double tol) const {
    PolyList current;
    if (!resolvePolyIntersect(*this, current, tol))
        return 0;
    PolyList done;
    PolyList pieces;
    // Each pass cuts one loop off every polygon still crossing itself; more passes than vertices
    // would mean a polygon that never settles, and it is dropped.
    for (int limit = vertSize(); limit >= 1 && !current.empty(); --limit) {
        while (!current.empty()) {
            std::unique_ptr<CadPolygon> polygon(current.release(current.begin()));
            if (!resolvePolyIntersect(*polygon, pieces, tol))
                done.push_back(polygon.release());
        }
        current.swap(pieces);
    }
    double total = 0.0;
    for (auto it = done.begin(); it != done.end();) {
        double area = (*it)->getArea(true, false);
        if (std::fabs(area) <= 10.0 * tol) {
            it = done.erase(it);
        } else {
            total += area;
            ++it;
        }
    }
    if (getHoleCount() > 0) {
        PolyList holes;
        for (int k = 0; k < getHoleCount(); ++k)
            if (getHole(k).resolveSelfIntersect(holes, tol) == 0)
                holes.push_back(getHole(k).clone());
        for (CadPolygon const* hole : holes) {
            double area = hole->getArea(true, false);
            if (std::fabs(area) <= 10.0 * tol || area > total + fixedTol)
                continue;
            PolyList next;
            for (CadPolygon const* piece : done)
                piece->splitWith(*hole, nullptr, &next, tol);
            done.swap(next);
        }
    }
    int count = int(done.size());
    while (!done.empty())
        out.push_back(done.release(done.begin()));
    return count;
}

void CadPolygon::facet() {
    for (int k = vertSize(); k >= 1; --k) {
        PolyPoint& end = *(*this)[k];
        if (std::fabs(end.getSweep()) <= fixedTol)
            continue;
        PolyPoint const& start = *(*this)[k - 1];
        PolyEdge edge(start, end);
        Faceter faceter(start, end, true, false, chordDeviation);
        bool validArc = edge.asArc().isValid(fixedTol);
        end.setSweep(0.0);
        if (faceter.getStepAngle() == 0.0 || faceter.getCount() == 0) {
            // No grid angle lies inside the arc (it spans less than a step), or the arc is too tight
            // for the deviation: its midpoint alone keeps the chords close to it and the polygon valid.
            if (validArc)
                insert(begin() + k, new PolyPoint(edge.midpoint(), 0.0, 0));
            continue;
        }
        int at = k;
        do {
            ++faceter;
            insert(begin() + at++, new PolyPoint(faceter.getVertex(), 0.0, 0));
        } while (faceter.getIndex() != faceter.getCount());
    }
}

void CadPolygon::optimise(bool removeColinear, double tol) {
    if (vertSize() < 3)
        return;
    PolyPoint previous = *(*this)[-1];
    // Never fewer than two vertices, so that vertex 0 is always there to read.
    for (int i = 0; i <= vertSize() && vertSize() > 2;) {
        PolyPoint vertex = *(*this)[i];
        PolyPoint next = *(*this)[i + 1];
        if (vertex.isEqual2D(previous, tol)) {
            erase(begin() + wrapIndex(i));
            continue;
        }
        if (removeColinear && PolyEdge(previous, vertex).isColinearTo2D(PolyEdge(vertex, next), tol)) {
            (*this)[i + 1]->setSweep(next.getSweep() + vertex.getSweep());
            erase(begin() + wrapIndex(i));
            continue;
        }
        previous = vertex;
        ++i;
    }
}

} // namespace zelvane

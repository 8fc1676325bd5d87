#include "Geometry/IntersectList.h"

#include "Geometry/CadArc.h"
#include "Geometry/PolyEdge.h"

#include <cmath>
#include <vector>

namespace zelvane {

IntersectList::IntersectList(Intercept const& first, Intercept const& second) : m_spec{first, second} {}

void IntersectList::addPos(InterPoint::Part part, CadPoint::Pos code) {
    m_spec[part].m_position = CadPoint::Pos(m_spec[part].m_position | code);
}

bool IntersectList::withPos(InterPoint::Part part, CadPoint::Pos code) const {
    CadPoint::Pos mask = m_spec[part].m_position;
    return mask == CadPoint::none || (mask & code) != 0;
}

bool IntersectList::isPos(InterPoint::Part part) const {
    return m_spec[part].m_position != CadPoint::none;
}

bool IntersectList::insert(InterPoint* point) {
    for (InterPoint::Part part : {InterPoint::first, InterPoint::second}) {
        point->getIntercept(part).m_vertex = m_spec[part].m_vertex;
        point->getIntercept(part).m_contour = m_spec[part].m_contour;
    }
    if (m_swapped) {
        CadPoint::Pos code = point->getPosition(InterPoint::first);
        point->setPosition(InterPoint::first, point->getPosition(InterPoint::second));
        point->setPosition(InterPoint::second, code);
    }
    if (!withPos(InterPoint::first, point->getPosition(InterPoint::first)) ||
        !withPos(InterPoint::second, point->getPosition(InterPoint::second))) {
        delete point;
        return false;
    }
    push_back(point);
    return true;
}

void IntersectList::removeDuplicates(double tol) {
    for (auto it = begin(); it != end();) {
        InterPoint const* point = *it;
        bool duplicated = false;
        for (auto later = std::next(it); later != end() && !duplicated; ++later) {
            InterPoint const* other = *later;
            duplicated = other->getIntercept(InterPoint::first).m_contour ==
                             point->getIntercept(InterPoint::first).m_contour &&
                         other->getIntercept(InterPoint::second).m_contour ==
                             point->getIntercept(InterPoint::second).m_contour &&
                         point->isEqual2D(*other, tol);
        }
        it = duplicated ? erase(it) : std::next(it);
    }
}

namespace {

using Before = std::function<bool(InterPoint const*, InterPoint const*)>;
using Position = IntersectList::iterator;

// Top-down merge sort; an element of the right run goes first only when it is strictly before.
void mergeSort(std::vector<Position>& items, std::vector<Position>& scratch, std::size_t lo, std::size_t hi,
               Before const& before) {
    if (hi - lo < 2)
        return;
    std::size_t mid = lo + (hi - lo) / 2;
    mergeSort(items, scratch, lo, mid, before);
    mergeSort(items, scratch, mid, hi, before);
    std::size_t left = lo, right = mid, out = lo;
    while (left < mid && right < hi)
        scratch[out++] = before(*items[right], *items[left]) ? items[right++] : items[left++];
    while (left < mid)
        scratch[out++] = items[left++];
    while (right < hi)
        scratch[out++] = items[right++];
    for (std::size_t i = lo; i < hi; ++i)
        items[i] = scratch[i];
}

} // namespace

void IntersectList::sort(Before const& before) {
    std::vector<Position> order;
    order.reserve(size());
    for (auto it = begin(); it != end(); ++it)
        order.push_back(it);
    std::vector<Position> scratch(order.size());
    mergeSort(order, scratch, 0, order.size(), before);
    // Moving each point to the back in sorted order leaves the list sorted.
    for (Position position : order)
        splice(end(), *this, position);
}

bool ComparePosition::operator()(InterPoint const* a, InterPoint const* b) const {
    if (b->x() - a->x() > m_tol)
        return true;
    if (std::fabs(a->x() - b->x()) <= m_tol)
        return b->y() - a->y() > m_tol;
    return false;
}

AlongLengthOf::AlongLengthOf(PolyEdge const& edge)
    : m_start(edge.origin()), m_radius(edge.getRadius(true)), m_clockwise(edge.getSweep() < 0.0),
      m_isArc(!edge.isStraight()), m_centre(edge.centre()) {}

bool AlongLengthOf::operator()(InterPoint const* a, InterPoint const* b) const {
    if (m_isArc) {
        double toA = std::fabs(CadArc(m_centre, m_start, *a, m_clockwise).getSweep());
        double toB = std::fabs(CadArc(m_centre, m_start, *b, m_clockwise).getSweep());
        return toB > toA;
    }
    PolyPoint::Rotation rotation = m_clockwise ? PolyPoint::clockwise : PolyPoint::anticlockwise;
    PolyEdge toA(m_start, *a, m_radius, rotation, 1e-5);
    PolyEdge toB(m_start, *b, m_radius, rotation, 1e-5);
    return toB.length2D() > toA.length2D();
}

} // namespace zelvane

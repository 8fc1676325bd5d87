#include "Geometry/IntersectList.h"

#include <cmath>
#include <vector>

namespace zelvane {

IntersectList::IntersectList(Intercept const& first, Intercept const& second) : m_spec{first, second} {}

IntersectList::IntersectList(IntersectList const& other) : m_spec{other.m_spec[0], other.m_spec[1]} {
    m_swapped = other.m_swapped;
    for (InterPoint const* point : other.m_points)
        m_points.push_back(point ? point->clone() : nullptr);
}

IntersectList& IntersectList::operator=(IntersectList const& other) {
    if (this != &other) {
        IntersectList copy(other);
        clear();
        m_points.swap(copy.m_points);
        m_spec[0] = other.m_spec[0];
        m_spec[1] = other.m_spec[1];
        m_swapped = other.m_swapped;
    }
    return *this;
}

IntersectList::~IntersectList() {
    clear();
}

IntersectList::iterator IntersectList::erase(iterator position) {
    delete *position;
    return m_points.erase(position);
}

void IntersectList::clear() {
    for (InterPoint* point : m_points)
        delete point;
    m_points.clear();
}

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
    m_points.push_back(point);
    return true;
}

void IntersectList::removeDuplicates(double tol) {
    for (auto it = m_points.begin(); it != m_points.end();) {
        InterPoint const* point = *it;
        bool duplicated = false;
        for (auto later = std::next(it); later != m_points.end() && !duplicated; ++later) {
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

// Top-down merge sort; a point of the right run goes first only when it is strictly before.
void mergeSort(std::vector<InterPoint*>& items, std::vector<InterPoint*>& scratch, std::size_t lo,
               std::size_t hi, Before const& before) {
    if (hi - lo < 2)
        return;
    std::size_t mid = lo + (hi - lo) / 2;
    mergeSort(items, scratch, lo, mid, before);
    mergeSort(items, scratch, mid, hi, before);
    std::size_t left = lo, right = mid, out = lo;
    while (left < mid && right < hi)
        scratch[out++] = before(items[right], items[left]) ? items[right++] : items[left++];
    while (left < mid)
        scratch[out++] = items[left++];
    while (right < hi)
        scratch[out++] = items[right++];
    for (std::size_t i = lo; i < hi; ++i)
        items[i] = scratch[i];
}

} // namespace

void IntersectList::sort(Before const& before) {
    std::vector<InterPoint*> items(m_points.begin(), m_points.end());
    std::vector<InterPoint*> scratch(items.size());
    mergeSort(items, scratch, 0, items.size(), before);
    m_points.assign(items.begin(), items.end());
}

bool ComparePosition::operator()(InterPoint const* a, InterPoint const* b) const {
    if (b->x() - a->x() > m_tol)
        return true;
    if (std::fabs(a->x() - b->x()) <= m_tol)
        return b->y() - a->y() > m_tol;
    return false;
}

} // namespace zelvane

// An owning list of intersection points with a position filter per operand, and the orderings of
// intersection points.
#pragma once

#include "Geometry/InterPoint.h"

#include <cstddef>
#include <functional>
#include <list>

namespace zelvane {

class PolyEdge;

class IntersectList {
public:
    using container = std::list<InterPoint*>;
    using iterator = container::iterator;
    using const_iterator = container::const_iterator;

    // The filter of each operand: its position code is a mask (0 accepts any code); its vertex and
    // contour are stamped on every point inserted.
    IntersectList(Intercept const& first = Intercept(), Intercept const& second = Intercept());
    IntersectList(IntersectList const& other);
    IntersectList& operator=(IntersectList const& other);
    virtual ~IntersectList();

    iterator begin() { return m_points.begin(); }
    iterator end() { return m_points.end(); }
    const_iterator begin() const { return m_points.begin(); }
    const_iterator end() const { return m_points.end(); }
    std::size_t size() const { return m_points.size(); }
    bool empty() const { return m_points.empty(); }
    InterPoint* front() const { return m_points.front(); }
    InterPoint* back() const { return m_points.back(); }
    // Deletes the point; returns the position after it.
    iterator erase(iterator position);
    void clear();

    Intercept& getSpec(InterPoint::Part part) { return m_spec[part]; }
    Intercept const& getSpec(InterPoint::Part part) const { return m_spec[part]; }
    bool isSwapped() const { return m_swapped; }
    void setSwapped(bool swapped) { m_swapped = swapped; }

    void addPos(InterPoint::Part part, CadPoint::Pos code);
    bool withPos(InterPoint::Part part, CadPoint::Pos code) const;
    // The query was restricted for that operand.
    bool isPos(InterPoint::Part part) const;
    void swapSpec() { m_swapped = !m_swapped; }

    // Takes the point over: appends it when both filters accept it, else deletes it.
    bool insert(InterPoint* point);
    // Erases every point that a later point duplicates in plan (tol) on the same contours.
    void removeDuplicates(double tol = 1e-5);

    // A stable merge sort that stays within bounds whatever the comparison answers, so the tolerant
    // orderings below can be used.
    void sort(std::function<bool(InterPoint const*, InterPoint const*)> const& before);

private:
    container m_points;
    Intercept m_spec[2];
    bool m_swapped = false;
};

// By x and, within the tolerance on x, by y. Not a strict weak order: use IntersectList::sort.
class ComparePosition {
public:
    explicit ComparePosition(double tol = 1e-5) : m_tol(tol) {}
    bool operator()(InterPoint const* a, InterPoint const* b) const;

private:
    double m_tol;
};

// By the distance travelled along an edge from its start.
class AlongLengthOf {
public:
    explicit AlongLengthOf(PolyEdge const& edge);
    bool operator()(InterPoint const* a, InterPoint const* b) const;

private:
    CadPoint m_start;
    double m_radius = 0.0;
    bool m_clockwise = false;
};

} // namespace zelvane

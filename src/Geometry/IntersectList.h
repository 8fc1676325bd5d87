// An owning list of intersection points with a position filter per operand, and the orderings of
// intersection points.
#pragma once

#include "Environment/List.h"
#include "Geometry/InterPoint.h"

#include <functional>

namespace zelvane {

class PolyEdge;

class IntersectList : public List<InterPoint> {
public:
    // The filter of each operand: its position code is a mask (0 accepts any code); its vertex and
    // contour are stamped on every point inserted.
    IntersectList(Intercept const& first = Intercept(), Intercept const& second = Intercept());

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
    // orderings below can be used. It relinks the points and allocates no list nodes.
    void sort(std::function<bool(InterPoint const*, InterPoint const*)> const& before);

private:
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
    // An arc edge measures the angle turned about its centre, which also holds beyond a half turn.
    bool m_isArc = false;
    CadPoint m_centre;
};

} // namespace zelvane

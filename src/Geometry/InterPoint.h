// An intersection point: where it lies on each of the two operands of an intersection query.
#pragma once

#include "Geometry/CadPoint.h"

namespace zelvane {

// Where a point lies on one operand: its position code, the polygon vertex it belongs to (0x7FFFFFFF
// marks a point used up) and its contour (0 the outline, k the hole k-1).
struct Intercept {
    Intercept() = default;
    Intercept(CadPoint::Pos position, Int32 vertex = 0, Int32 contour = 0)
        : m_position(position), m_vertex(vertex), m_contour(contour) {}

    CadPoint::Pos m_position = CadPoint::none;
    Int32 m_vertex = 0;
    Int32 m_contour = 0;
};

class InterPoint : public CadPoint {
public:
    // The operand: the object of the intersection query, or its argument.
    enum Part {
        first = 0,
        second = 1,
    };

    InterPoint() = default;
    InterPoint(CadPoint const& point, CadPoint::Pos firstCode, CadPoint::Pos secondCode);
    InterPoint(InterPoint const&) = default;
    InterPoint& operator=(InterPoint const&) = default;
    // Copies the coordinates only; the intercepts stay.
    InterPoint& operator=(CadPoint const& point);

    InterPoint* clone() const override;

    Intercept& getIntercept(Part part) { return m_intercept[part]; }
    Intercept const& getIntercept(Part part) const { return m_intercept[part]; }
    CadPoint::Pos getPosition(Part part) const { return m_intercept[part].m_position; }
    void setPosition(Part part, CadPoint::Pos position) { m_intercept[part].m_position = position; }
    // Exchanges the two intercepts whole.
    void swapIntercept();

private:
    Intercept m_intercept[2];
};

} // namespace zelvane

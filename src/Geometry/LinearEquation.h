// An infinite directed line in plan, a x + b y + c = 0, with (a, b) pointing to the right of the
// direction: the expression is positive on the right and negative on the left.
#pragma once

#include "Geometry/CadPoint.h"

#include <memory>

namespace zelvane {

class InterPoint;
class Line;

class LinearEquation {
public:
    // Through the coordinate origin along +x.
    LinearEquation() = default;
    LinearEquation(double angle, CadPoint const& point);
    LinearEquation(CadPoint const& point, double dx, double dy);
    // Through the line's origin towards its end.
    explicit LinearEquation(Line const& line);
    LinearEquation(LinearEquation const&) = default;
    LinearEquation& operator=(LinearEquation const&) = default;
    virtual ~LinearEquation() = default;

    double a() const { return m_a; }
    double b() const { return m_b; }
    double c() const { return m_c; }

    // Directions within 1e-5 of an axis snap onto it; otherwise the smaller of |a| and |b| is 1, so
    // two equations of the same directed line have equal coefficients.
    void calculate(CadPoint const& point, double dx, double dy);

    // Null when the two points coincide in plan (1e-5).
    static std::unique_ptr<LinearEquation> getEquation(CadPoint const& from, CadPoint const& to);
    static std::unique_ptr<LinearEquation> create(CadPoint const& point);
    static std::unique_ptr<LinearEquation> create(CadPoint const& from, CadPoint const& to);
    static std::unique_ptr<LinearEquation> create(Line const& line);

    // The same line run the other way.
    std::unique_ptr<LinearEquation> getFlipped() const;
    // Through the point, its direction this one turned clockwise by pi/2.
    std::unique_ptr<LinearEquation> getPerpendicular(CadPoint const& point) const;
    std::unique_ptr<LinearEquation> getParallel(CadPoint const& point) const;
    // As getPerpendicular, by value.
    LinearEquation perpendicularAt(CadPoint const& point) const;

    // The direction in [0, 2pi).
    double azimuthAngle() const;
    double angleTo(LinearEquation const& other) const;
    // Coefficients within 1e-5.
    bool operator==(LinearEquation const& other) const;
    bool operator!=(LinearEquation const& other) const;
    // By direction.
    bool operator<(LinearEquation const& other) const;
    // The point lies on the line (1e-5).
    bool operator==(CadPoint const& point) const;

    bool xAtY(double y, double& x) const;
    bool yAtX(double x, double& y) const;
    bool isParallelTo(LinearEquation const& other, double tol = 1e-5) const;
    bool isPerpendicularTo(LinearEquation const& other, double tol = 1e-5) const;
    // The crossing at z 0 with both codes none; null for parallel lines.
    std::unique_ptr<InterPoint> intersectionWith(LinearEquation const& other, double tol = 1e-5) const;
    // As intersectionWith, into result at z 0; false for parallel lines.
    bool crossingWith(LinearEquation const& other, double tol, CadPoint& result) const;
    double lengthTo(CadPoint const& point) const;
    CadPoint closestPointTo(CadPoint const& point) const;
    // along on the line, outside on its left, inside on its right, none for a degenerate equation.
    CadPoint::Pos positionOf(CadPoint const& point, double tol = 1e-5) const;

private:
    double m_a = 0.0;
    double m_b = -1.0;
    double m_c = 0.0;
};

} // namespace zelvane

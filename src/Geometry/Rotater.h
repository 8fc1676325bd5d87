// Rotations about one coordinate axis through the coordinate origin. A rotater whose angle lies
// within its tolerance of 0 is inactive and turns nothing.
#pragma once

#include "Geometry/CadPoint.h"

namespace zelvane {

class CadArc;
class CadPolygon;
class Line;
class Plane;
class PolyEdge;
class Vector3;
class Vector4;

class Rotater {
public:
    virtual ~Rotater() = default;

    virtual Rotater* clone() const = 0;
    virtual CadPoint::Axis getAxis() const = 0;
    virtual double getAngle() const;
    virtual bool isActive() const;
    // Stores the angle; active when |angle| > tol; then caches sin(-angle) and cos(angle).
    virtual void setAngle(double angle, double tol = 1e-5);
    // Turns the rotation into its exact inverse.
    virtual void reverse();
    virtual void transformPt(CadPoint& point) const = 0;
    // Turns the start, middle and end points and rebuilds the arc through them.
    virtual void transform(CadArc& arc) const;
    virtual void transform(Line& line) const;
    // Both ends; the sweep is kept.
    virtual void transform(PolyEdge& edge) const;
    // Every vertex of the outline and of the holes; the sweeps are kept.
    virtual void transform(CadPolygon& polygon) const;
    virtual void transform(Vector3& vector) const;
    // x, y and z as a point; w is kept.
    virtual void transform(Vector4& vector) const;
    // Turns the normal; the offset is kept.
    virtual void transform(Plane& plane) const;

protected:
    Rotater() = default;
    // Sets the angle by the base rule, also for a Y rotater.
    Rotater(double angle, double tol);
    Rotater(Rotater const&) = default;
    Rotater& operator=(Rotater const&) = default;

    bool m_active = false;
    double m_angle = 0.0;
    double m_s = 0.0;
    double m_c = 1.0;
};

// Turns anticlockwise about +X (y towards z) by the angle.
class XRotater : public Rotater {
public:
    XRotater() = default;
    XRotater(double angle, double tol = 1e-5) : Rotater(angle, tol) {}
    XRotater* clone() const override;
    CadPoint::Axis getAxis() const override { return CadPoint::xAxis; }
    void transformPt(CadPoint& point) const override;
};

// Constructed with an angle, turns from +x towards +z by it; after setAngle, from +z towards +x.
class YRotater : public Rotater {
public:
    YRotater() = default;
    YRotater(double angle, double tol = 1e-5) : Rotater(angle, tol) {}
    YRotater* clone() const override;
    CadPoint::Axis getAxis() const override { return CadPoint::yAxis; }
    double getAngle() const override;
    void setAngle(double angle, double tol = 1e-5) override;
    void transformPt(CadPoint& point) const override;
};

// Turns anticlockwise in plan by the angle.
class ZRotater : public Rotater {
public:
    ZRotater() = default;
    ZRotater(double angle, double tol = 1e-5) : Rotater(angle, tol) {}
    ZRotater* clone() const override;
    CadPoint::Axis getAxis() const override { return CadPoint::zAxis; }
    void transformPt(CadPoint& point) const override;
};

} // namespace zelvane

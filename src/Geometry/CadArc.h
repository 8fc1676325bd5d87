// A circular arc in 3D: a centre, the normal of its plane, a radius, a start angle and a signed sweep
// (positive runs anticlockwise). 3D work is done in a levelled frame where the arc's plane is
// horizontal; the start angle is measured in that frame.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/PolyPoint.h"
#include "Geometry/Vector3.h"

#include <memory>

namespace zelvane {

class Cube;
class IntersectList;
class Leveller;
class Line;
class Matrix3x3;
class Plane;

class CadArc {
public:
    // Centre (0, 0, 0), normal (0, 0, 1), radius, start and sweep 0: not valid.
    CadArc();
    // The third argument is the sweep, the fourth the start angle.
    CadArc(CadPoint const& centre, double radius, double sweep, double start,
           Vector3 const& normal = Vector3(0.0, 0.0, 1.0));
    // A plan arc about the centre from the start point towards the end point's direction, turning the
    // given way; the end point's distance is not used.
    CadArc(CadPoint const& centre, CadPoint const& start, CadPoint const& end, bool clockwise);
    // From p1 through p2 to p3; not valid when the points are collinear or coincident.
    CadArc(CadPoint const& p1, CadPoint const& p2, CadPoint const& p3);
    // The arc of a polygon edge from start to a vertex whose sweep gives the arc.
    CadArc(CadPoint const& start, PolyPoint const& end);
    CadArc(CadArc const& other);
    CadArc& operator=(CadArc const& other);
    virtual ~CadArc() = default;

    virtual CadArc* clone() const;
    virtual CadPoint const& centre() const { return m_centre; }
    virtual CadPoint& centre() { return m_centre; }
    virtual Vector3 const& getNormal() const { return m_normal; }
    virtual CadPoint getOrigin() const;
    // The end point with sweep 0 and id 0.
    virtual PolyPoint getEnd() const;
    virtual double getRadius() const { return m_radius; }
    virtual double getStartAngle() const { return m_start; }
    virtual double getSweep() const { return m_sweep; }
    virtual double getEndAngle() const { return m_start + m_sweep; }
    virtual double getRotation() const { return 0.0; }
    virtual bool isValid(double tol = 1e-5) const;
    // Through the centre with the arc's normal; the default plane when none can be made.
    virtual Plane getPlane() const;
    // Only for arcs in a horizontal plane; null otherwise.
    virtual std::unique_ptr<Cube> getBounds() const;
    // The sector, or with segment the part between the chord and the arc.
    virtual double getArea(bool segment, bool keepSign) const;
    virtual void setNormal(Vector3 const& normal) { m_normal = normal; }
    virtual void setRadius(double radius) { m_radius = radius; }
    virtual void expand(double d) { m_radius += d; }
    virtual void setStartAngle(double angle) { m_start = angle; }
    virtual void setSweep(double sweep) { m_sweep = sweep; }
    virtual void setEndAngle(double angle) { m_sweep = angle - m_start; }
    virtual void spin(double angle) { m_start += angle; }

    virtual bool operator==(CadArc const& other) const;
    virtual bool operator!=(CadArc const& other) const;
    virtual CadArc operator+(CadPoint const& offset) const;
    virtual CadArc& operator+=(CadPoint const& offset);
    virtual CadArc operator-(CadPoint const& offset) const;
    virtual CadArc& operator-=(CadPoint const& offset);
    virtual CadArc operator*(double factor) const;
    virtual CadArc& operator*=(double factor);
    virtual CadArc operator*(Matrix3x3 m) const;
    // Transforms the start point, the centre and the normal; the angles are kept.
    virtual CadArc& operator*=(Matrix3x3 m);
    virtual CadPoint midpoint() const;

    // The points where the plane meets the arc.
    virtual int intersectionWith(Plane const& plane, IntersectList& list, double tol = 1e-5) const;
    virtual double length3D() const;
    virtual bool isEqual3D(CadArc const& other, double tol = 1e-5) const;
    // Always (0, 0, 0).
    virtual CadPoint closestPointAlong3D(CadPoint const& p, double tol = 1e-5) const;
    // The nearest point of the full circle.
    virtual CadPoint closestPointTo3D(CadPoint const& p, double tol = 1e-5) const;
    virtual int intersectionWith3D(Line const& line, IntersectList& list, double tol = 1e-5) const;
    virtual int intersectionWith3D(CadArc const& other, IntersectList& list, double tol = 1e-5) const;
    // none off the arc's plane, else as positionOf2D in the plane of the arc.
    virtual CadPoint::Pos positionOf3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isParallelTo3D(CadArc const& other, double tol = 1e-5) const;
    // On the arc's plane within the disc of the full circle.
    virtual bool encloses3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isColinearTo3D(CadArc const& other, double tol = 1e-5) const;
    virtual bool isEqual2D(CadArc const& other, double tol = 1e-5) const;
    virtual double length2D() const;
    virtual CadPoint closestPointTo2D(CadPoint const& p, double tol = 1e-5) const;
    // The nearest point of the arc itself.
    virtual CadPoint closestPointAlong2D(CadPoint const& p, double tol = 1e-5) const;
    // The line's ends are lifted vertically onto the arc's plane.
    virtual int intersectionWith2D(Line const& line, IntersectList& list, double tol = 1e-5) const;
    virtual int intersectionWith2D(CadArc const& other, IntersectList& list, double tol = 1e-5) const;
    // outside or inside the circle, atOrigin, along, atEnd, or offSweep on the circle beyond the sweep.
    virtual CadPoint::Pos positionOf2D(CadPoint const& p, double tol = 1e-5) const;
    // Concentric in plan.
    virtual bool isParallelTo2D(CadArc const& other, double tol = 1e-5) const;
    virtual bool encloses2D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isColinearTo2D(CadArc const& other, double tol = 1e-5) const;
    virtual void movePolar(double len, double azimuth, double altitude);
    virtual void movePolar(double len, double angle);
    // The same points run the other way.
    virtual void flip();

    // Sets the leveller that turns the arc's plane level.
    virtual void initLevel(Leveller& leveller, double angle) const;
    virtual int createIntersect(CadPoint const& p, CadArc const& arc, CadArc const& other,
                                IntersectList& list, double tol) const;
    virtual int createIntersect(CadPoint const& p, CadArc const& arc, Line const& line, IntersectList& list,
                                double tol) const;
    // The line lies parallel to the arc's plane.
    virtual int intersectionWithLevel(Line const& line, IntersectList& list, double tol = 1e-5) const;
    // The arcs lie in one plane.
    virtual int intersectionWithLevel(CadArc const& other, IntersectList& list, double tol = 1e-5) const;

private:
    // The point at the angle on the circle.
    CadPoint pointAt(double angle) const;

    CadPoint m_centre;
    Vector3 m_normal;
    double m_radius = 0.0;
    double m_start = 0.0;
    double m_sweep = 0.0;
};

} // namespace zelvane

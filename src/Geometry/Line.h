// A straight segment in 3D from its origin to its end. The 2D queries work on the plan projection.
#pragma once

#include "Geometry/CadPoint.h"

namespace zelvane {

class IntersectList;
class Matrix3x3;

class Line {
public:
    Line() = default;
    Line(CadPoint const& origin, CadPoint const& end) : m_origin(origin), m_end(end) {}
    // The end lies len from the origin in plan along angle, at the origin's z.
    Line(CadPoint const& origin, double len, double angle);
    Line(API_Sector const& s, double z = 0.0);
    Line(Line const& other) : m_origin(other.m_origin), m_end(other.m_end) {}
    Line& operator=(Line const& other);
    Line& operator=(API_Sector const& s);
    virtual ~Line() = default;

    virtual CadPoint const& origin() const { return m_origin; }
    virtual CadPoint& origin() { return m_origin; }
    virtual CadPoint const& end() const { return m_end; }
    virtual CadPoint& end() { return m_end; }
    virtual bool operator==(Line const& other) const;
    virtual bool operator!=(Line const& other) const;
    virtual Line operator+(CadPoint const& offset) const;
    virtual Line& operator+=(CadPoint const& offset);
    virtual Line operator-(CadPoint const& offset) const;
    virtual Line& operator-=(CadPoint const& offset);
    virtual Line operator*(double factor) const;
    virtual Line& operator*=(double factor);
    virtual Line operator*(Matrix3x3 m) const;
    virtual Line& operator*=(Matrix3x3 m);
    virtual operator API_Sector() const;
    virtual double azimuthAngle() const;
    virtual double altitudeAngle() const;
    // The angle between the two directions, in [0, pi].
    virtual double angleTo(Line const& other) const;
    virtual CadPoint midpoint() const;
    // The line's height above the plan position of p, extrapolated beyond the ends.
    virtual double heightAt(CadPoint const& p) const;

    // The ends match pairwise in either orientation (1e-5; tol is not used).
    virtual bool isEqual3D(Line const& other, double tol = 1e-5) const;
    virtual double length3D() const;
    // The foot of the perpendicular from p on the infinite line.
    virtual CadPoint closestPointTo3D(CadPoint const& p, double tol = 1e-5) const;
    // The nearest point of the segment.
    virtual CadPoint closestPointAlong3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool intersectionWith3D(Line const& other, IntersectList& list, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isParallelTo3D(Line const& other, double tol = 1e-5) const;
    virtual bool encloses3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isColinearTo3D(Line const& other, double tol = 1e-5) const;
    virtual bool isEqual2D(Line const& other, double tol = 1e-5) const;
    virtual double length2D() const;
    // The anticlockwise turn from this direction to the other's, in [0, 2pi).
    virtual double angleTo2D(Line const& other) const;
    virtual CadPoint closestPointTo2D(CadPoint const& p, double tol = 1e-5) const;
    virtual CadPoint closestPointAlong2D(CadPoint const& p, double tol = 1e-5) const;
    // The lines are taken as infinite; the list's filters decide which crossings are kept.
    virtual bool intersectionWith2D(Line const& other, IntersectList& list, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf2D(CadPoint const& p, double tol = 1e-5) const;
    // Only lines pointing the same way are parallel in plan.
    virtual bool isParallelTo2D(Line const& other, double tol = 1e-5) const;
    virtual bool encloses2D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isColinearTo2D(Line const& other, double tol = 1e-5) const;
    virtual void movePolar(double len, double azimuth, double altitude);
    virtual void movePolar(double len, double angle);
    virtual void flip();

    // The crossing of the infinite lines, without positions.
    bool intersectionWith2D(Line const& other, CadPoint& result, double tol = 1e-5) const;
    // Moves the end by len along the line's direction; a negative len shortens it.
    void extend(double len);

private:
    CadPoint m_origin;
    CadPoint m_end;
};

} // namespace zelvane

// An infinite plane: the points p with normal . p = offset.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/Vector3.h"

#include <memory>

namespace zelvane {

class Cube;
class InterPoint;
class Line;
class Matrix3x3;
class Matrix4x4;

class Plane {
public:
    // The plane z = 0.
    Plane() : m_offset(0.0), m_normal(0.0, 0.0, 1.0) {}
    // The normal is made unit length.
    Plane(double offset, Vector3 const& normal);
    Plane(CadPoint const& point, Vector3 const& normal);
    // The normal as given, or (0, 0, 1) when it has no length; offset 0.
    explicit Plane(Vector3 const& normal);
    Plane(Plane const&) = default;
    Plane& operator=(Plane const&) = default;
    virtual ~Plane() = default;

    // Null when the normal is empty (1e-5).
    static std::unique_ptr<Plane> create(double offset, Vector3 const& normal);
    static std::unique_ptr<Plane> create(CadPoint const& point, Vector3 const& normal);
    // Normal (p1 - p2) x (p3 - p2) made unit length; null for collinear or coincident points.
    static std::unique_ptr<Plane> create(CadPoint const& p1, CadPoint const& p2, CadPoint const& p3);

    Vector3 const& getNormal() const { return m_normal; }
    double getOffset() const { return m_offset; }
    // The vector as given, unless it is empty (1e-5); the offset is kept.
    void setNormal(Vector3 const& normal);

    // outside (behind), along (on the plane) or inside (in front).
    CadPoint::Pos positionOf(CadPoint const& point, double tol = 1e-5) const;
    CadPoint closestPointTo(CadPoint const& point) const;
    // Signed: positive in front.
    double lengthTo(CadPoint const& point) const;
    // The plane's z above the point's plan position; the point's own z for a vertical plane.
    double heightAt(CadPoint const& point, double tol = 1e-5) const;
    // The crossing with the infinite line through the segment; null when parallel.
    std::unique_ptr<InterPoint> intersectionWith(Line const& line, double tol = 1e-5) const;
    // The line where the planes meet, its direction this normal x other normal; null when parallel.
    std::unique_ptr<Line> intersectionWith(Plane const& other, double tol = 1e-5) const;
    bool isParallelTo(Plane const& other, double tol = 1e-5) const;
    // True when the box's corners do not all lie on the same side (1e-5).
    bool cutsThrough(Cube const& box, double tol = 1e-5) const;

    virtual Plane operator+(CadPoint const& offset) const;
    virtual Plane& operator+=(CadPoint const& offset);
    virtual Plane operator*(double factor) const;
    virtual Plane operator*(Matrix3x3 const& m) const;
    virtual Plane operator*(Matrix4x4 const& m) const;
    // A negative factor also swaps the sides.
    virtual Plane& operator*=(double factor);
    virtual Plane& operator*=(Matrix3x3 const& m);
    virtual Plane& operator*=(Matrix4x4 const& m);

private:
    double m_offset;
    Vector3 m_normal;
};

} // namespace zelvane

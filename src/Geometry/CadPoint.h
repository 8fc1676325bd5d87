// A point of three doubles, the base of every geometric value, and the tolerance convention: a
// trailing tolerance (default 1e-5), equality as |a - b| <= tol, "exceeds" as a - b > tol.
#pragma once

#include "ACAPI/APIGeometry.hpp"

namespace zelvane {

class Matrix3x3;
class Matrix4x4;

class CadPoint {
public:
    // Where a point lies relative to a line, arc, plane, polygon or equation. Queries answer one
    // value; callers filter with masks of several (0 meaning any).
    enum Pos {
        none = 0,
        outside = 1,
        atOrigin = 2,
        along = 4,
        atEnd = 8,
        inside = 0x10,
        offSweep = 0x20,
    };

    enum Axis {
        xAxis = 0,
        yAxis = 1,
        zAxis = 2,
    };

    CadPoint() = default;
    CadPoint(double const& x, double const& y, double const& z = 0.0) : m_x(x), m_y(y), m_z(z) {}
    CadPoint(CadPoint const& p, double z);
    CadPoint(API_Coord const& c, double z = 0.0) : m_x(c.x), m_y(c.y), m_z(z) {}
    CadPoint(API_Coord3D const& c) : m_x(c.x), m_y(c.y), m_z(c.z) {}
    CadPoint(ModelerAPI::Vertex const& v) : m_x(v.x), m_y(v.y), m_z(v.z) {}
    CadPoint(API_VectType const& v) : m_x(v.x), m_y(v.y), m_z(v.z) {}
    CadPoint(API_VertType const& v) : m_x(v.x), m_y(v.y), m_z(v.z) {}
    CadPoint(ModelerAPI::TextureCoordinate const& t) : m_x(t.u), m_y(t.v), m_z(0.0) {}
    CadPoint(CadPoint const&) = default;
    virtual ~CadPoint() = default;

    CadPoint& operator=(CadPoint const& other);
    CadPoint& operator=(API_Coord const& c);
    CadPoint& operator=(ModelerAPI::TextureCoordinate const& t);
    CadPoint& operator=(API_Coord3D const& c);
    CadPoint& operator=(API_VectType const& v);
    CadPoint& operator=(API_VertType const& v);
    CadPoint& operator=(ModelerAPI::Vertex const& v);

    virtual CadPoint* clone() const;

    // Equal within 1e-5 as a sphere.
    virtual bool operator==(CadPoint const& other) const;
    virtual bool operator!=(CadPoint const& other) const;
    // By x, then y, then z, each within 1e-5. Not a strict weak order: never a key of std::sort or
    // of an ordered container.
    virtual bool operator<(CadPoint const& other) const;

    virtual CadPoint operator+(CadPoint const& other) const;
    virtual CadPoint& operator+=(CadPoint const& other);
    virtual CadPoint operator-(CadPoint const& other) const;
    virtual CadPoint& operator-=(CadPoint const& other);
    virtual CadPoint operator*(double const& factor) const;
    virtual CadPoint operator*(Matrix3x3 const& m) const;
    virtual CadPoint operator*(Matrix4x4 const& m) const;
    virtual CadPoint& operator*=(double const& factor);
    virtual CadPoint& operator*=(Matrix3x3 const& m);
    // The point as (x, y, z, 1) under M . v; no division by w.
    virtual CadPoint& operator*=(Matrix4x4 const& m);
    virtual CadPoint operator/(double const& divisor) const;
    virtual CadPoint& operator/=(double const& divisor);
    // x for xAxis, y for yAxis, z for any other value.
    virtual double& operator[](Axis axis);
    virtual double const& operator[](Axis axis) const;

    virtual operator API_Coord() const;
    virtual operator API_Coord3D() const;
    virtual operator ModelerAPI::Vertex() const;

    virtual double& x() { return m_x; }
    virtual double x() const { return m_x; }
    virtual double& y() { return m_y; }
    virtual double y() const { return m_y; }
    virtual double& z() { return m_z; }
    virtual double z() const { return m_z; }

    // Per axis on x and y (a square of side 2 tol); z is ignored.
    virtual bool isEqual2D(CadPoint const& other, double tol = 1e-5) const;
    virtual double lengthTo2D(CadPoint const& other) const;
    // Within tol as a distance (a sphere).
    virtual bool isEqual3D(CadPoint const& other, double tol = 1e-5) const;
    virtual double lengthTo3D(CadPoint const& other) const;
    // Plan bearing to the other point in [0, 2pi), anticlockwise from +X.
    virtual double azimuthAngleTo(CadPoint const& other) const;
    // Elevation to the other point in [-pi/2, pi/2].
    virtual double altitudeAngleTo(CadPoint const& other) const;
    virtual void movePolar(double len, double angle);
    virtual void movePolar(double len, double azimuth, double altitude);

    // Rounded to the nearest multiple of step; rounded2D sets z to 0.
    CadPoint rounded2D(double step) const;
    CadPoint rounded3D(double step) const;

private:
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
};

// Advances the axis in place: x to y, y to z, z back to x.
CadPoint::Axis& operator++(CadPoint::Axis& axis);
// The next axis, leaving the argument as it is.
CadPoint::Axis operator++(CadPoint::Axis const& axis);

} // namespace zelvane

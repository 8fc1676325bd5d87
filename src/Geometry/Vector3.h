// A direction or displacement in 3D. Matrix products treat it as a column: M . v.
#pragma once

#include "ACAPI/APIGeometry.hpp"

namespace zelvane {

class CadPoint;
class Line;
class Matrix3x3;
class Matrix4x4;

class Vector3 {
public:
    Vector3() = default;
    Vector3(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
    Vector3(CadPoint const& p);
    // The line's direction: end - origin.
    Vector3(Line const& l);
    Vector3(API_Coord3D const& c) : m_x(c.x), m_y(c.y), m_z(c.z) {}
    Vector3(ModelerAPI::Vector const& v) : m_x(v.x), m_y(v.y), m_z(v.z) {}
    Vector3(Vector3 const&) = default;
    virtual ~Vector3() = default;

    Vector3& operator=(Vector3 const&) = default;
    Vector3& operator=(CadPoint const& p);
    Vector3& operator=(Line const& l);
    Vector3& operator=(API_Coord3D const& c);
    Vector3& operator=(ModelerAPI::Vector const& v);

    operator CadPoint() const;
    operator ModelerAPI::Vector() const;

    double& x() { return m_x; }
    double x() const { return m_x; }
    double& y() { return m_y; }
    double y() const { return m_y; }
    double& z() { return m_z; }
    double z() const { return m_z; }

    Vector3 operator+(Vector3 const& other) const;
    Vector3& operator+=(Vector3 const& other);
    Vector3 operator-(Vector3 const& other) const;
    Vector3& operator-=(Vector3 const& other);
    Vector3 operator*(double factor) const;
    Vector3& operator*=(double factor);
    Vector3 operator*(Matrix3x3 const& m) const;
    Vector3& operator*=(Matrix3x3 const& m);
    // The vector as (x, y, z, 1): a translating matrix moves it like a point.
    Vector3 operator*(Matrix4x4 const& m) const;
    Vector3& operator*=(Matrix4x4 const& m);

    double magnitude() const;
    double dotProduct(Vector3 const& other) const;
    // this x other
    Vector3 vectorProduct(Vector3 const& other) const;
    // Unit length; a vector without length comes back as it is.
    Vector3 normalised() const;
    double azimuthAngle() const;
    double altitudeAngle() const;
    // In [0, pi]; 0 when either vector has no length (1e-5).
    double angleTo(Vector3 const& other) const;
    bool isEmpty(double tol = 1e-5) const;
    // The cross product of the unnormalised vectors within tol; opposite senses count. An empty
    // vector is parallel to nothing.
    bool isParallelTo(Vector3 const& other, double tol = 1e-5) const;
    bool isPerpendicularTo(Vector3 const& other, double tol = 1e-5) const;
    bool isSameSense(Vector3 const& other, double tol = 1e-5) const;

private:
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
};

} // namespace zelvane

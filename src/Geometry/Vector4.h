// The homogeneous form of a 3D vector; w is 1 for every vector made from a point, line or Vector3.
#pragma once

#include "ACAPI/APIGeometry.hpp"

namespace zelvane {

class CadPoint;
class Line;
class Matrix4x4;
class Vector3;

class Vector4 {
public:
    Vector4() = default;
    Vector4(double const& x, double const& y, double const& z) : m_x(x), m_y(y), m_z(z), m_w(1.0) {}
    Vector4(CadPoint const& p);
    Vector4(Line const& l);
    Vector4(API_Coord3D const& c) : m_x(c.x), m_y(c.y), m_z(c.z), m_w(1.0) {}
    Vector4(Vector3 const& v);
    Vector4(Vector4 const&) = default;
    virtual ~Vector4() = default;

    Vector4& operator=(Vector4 const&) = default;
    Vector4& operator=(CadPoint const& p);
    Vector4& operator=(Line const& l);
    Vector4& operator=(API_Coord3D const& c);
    Vector4& operator=(Vector3 const& v);

    // x, y, z; w is dropped, not divided by.
    operator CadPoint() const;

    double& x() { return m_x; }
    double x() const { return m_x; }
    double& y() { return m_y; }
    double y() const { return m_y; }
    double& z() { return m_z; }
    double z() const { return m_z; }
    double& w() { return m_w; }
    double w() const { return m_w; }

    // On x, y and z; the result keeps this vector's w.
    Vector4 operator+(Vector4 const& other) const;
    Vector4& operator+=(Vector4 const& other);
    Vector4 operator-(Vector4 const& other) const;
    Vector4& operator-=(Vector4 const& other);
    // All four components, w included.
    Vector4 operator*(double factor) const;
    Vector4& operator*=(double factor);
    Vector4 operator*(Matrix4x4 const& m) const;
    Vector4& operator*=(Matrix4x4 const& m);

    double magnitude() const;
    double dotProduct(Vector4 const& other) const;
    Vector4 vectorProduct(Vector4 const& other) const;
    // All four divided by the magnitude of (x, y, z).
    Vector4 normalised() const;
    double angleTo(Vector4 const& other) const;
    bool isEmpty(double tol = 1e-5) const;
    // No emptiness test: a zero vector is parallel and perpendicular to every vector.
    bool isParallelTo(Vector4 const& other, double tol = 1e-5) const;
    bool isPerpendicularTo(Vector4 const& other, double tol = 1e-5) const;
    bool isSameSense(Vector4 const& other, double tol = 1e-5) const;

private:
    Vector3 spatial() const;

    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
    double m_w = 0.0;
};

} // namespace zelvane

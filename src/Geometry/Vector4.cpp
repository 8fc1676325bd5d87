#include "Geometry/Vector4.h"

#include "Geometry/CadPoint.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Vector3.h"

#include <cmath>

namespace zelvane {

Vector4::Vector4(CadPoint const& p) : m_x(p.x()), m_y(p.y()), m_z(p.z()), m_w(1.0) {}

Vector4::Vector4(Line const& l) : Vector4(l.end() - l.origin()) {}

Vector4::Vector4(Vector3 const& v) : m_x(v.x()), m_y(v.y()), m_z(v.z()), m_w(1.0) {}

Vector4& Vector4::operator=(CadPoint const& p) {
    return *this = Vector4(p);
}

Vector4& Vector4::operator=(Line const& l) {
    return *this = Vector4(l);
}

Vector4& Vector4::operator=(API_Coord3D const& c) {
    return *this = Vector4(c);
}

Vector4& Vector4::operator=(Vector3 const& v) {
    return *this = Vector4(v);
}

Vector4::operator CadPoint() const {
    return CadPoint(m_x, m_y, m_z);
}

Vector4 Vector4::operator+(Vector4 const& other) const {
    return Vector4(*this) += other;
}

Vector4& Vector4::operator+=(Vector4 const& other) {
    m_x += other.m_x;
    m_y += other.m_y;
    m_z += other.m_z;
    return *this;
}

Vector4 Vector4::operator-(Vector4 const& other) const {
    return Vector4(*this) -= other;
}

Vector4& Vector4::operator-=(Vector4 const& other) {
    m_x -= other.m_x;
    m_y -= other.m_y;
    m_z -= other.m_z;
    return *this;
}

Vector4 Vector4::operator*(double factor) const {
    return Vector4(*this) *= factor;
}

Vector4& Vector4::operator*=(double factor) {
    m_x *= factor;
    m_y *= factor;
    m_z *= factor;
    m_w *= factor;
    return *this;
}

Vector4 Vector4::operator*(Matrix4x4 const& m) const {
    return Vector4(*this) *= m;
}

Vector4& Vector4::operator*=(Matrix4x4 const& m) {
    double v[4] = {m_x, m_y, m_z, m_w};
    double out[4];
    for (UInt16 r = 0; r < 4; ++r)
        out[r] = m(r, 0) * v[0] + m(r, 1) * v[1] + m(r, 2) * v[2] + m(r, 3) * v[3];
    m_x = out[0];
    m_y = out[1];
    m_z = out[2];
    m_w = out[3];
    return *this;
}

// The operations that ignore w are those of the 3D vector (x, y, z).
Vector3 Vector4::spatial() const {
    return Vector3(m_x, m_y, m_z);
}

double Vector4::magnitude() const {
    return spatial().magnitude();
}

double Vector4::dotProduct(Vector4 const& other) const {
    return spatial().dotProduct(other.spatial());
}

Vector4 Vector4::vectorProduct(Vector4 const& b) const {
    return Vector4(spatial().vectorProduct(b.spatial()));
}

Vector4 Vector4::normalised() const {
    double length = magnitude();
    if (!(length > 0.0))
        return *this;
    Vector4 result(*this);
    result.m_x /= length;
    result.m_y /= length;
    result.m_z /= length;
    result.m_w /= length;
    return result;
}

double Vector4::angleTo(Vector4 const& other) const {
    return spatial().angleTo(other.spatial());
}

bool Vector4::isEmpty(double tol) const {
    return spatial().isEmpty(tol);
}

bool Vector4::isParallelTo(Vector4 const& other, double tol) const {
    return spatial().vectorProduct(other.spatial()).isEmpty(tol);
}

bool Vector4::isPerpendicularTo(Vector4 const& other, double tol) const {
    return std::fabs(dotProduct(other)) <= tol;
}

bool Vector4::isSameSense(Vector4 const& other, double tol) const {
    return !(m_x * other.m_x < -tol || m_y * other.m_y < -tol || m_z * other.m_z < -tol ||
             m_w * other.m_w < -tol);
}

} // namespace zelvane

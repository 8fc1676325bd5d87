#include "Geometry/Vector3.h"

#include "Geometry/CadPoint.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Vector4.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

Vector3::Vector3(CadPoint const& p) : m_x(p.x()), m_y(p.y()), m_z(p.z()) {}

Vector3::Vector3(Line const& l) : Vector3(l.end() - l.origin()) {}

Vector3& Vector3::operator=(CadPoint const& p) {
    return *this = Vector3(p);
}

Vector3& Vector3::operator=(Line const& l) {
    return *this = Vector3(l);
}

Vector3& Vector3::operator=(API_Coord3D const& c) {
    return *this = Vector3(c);
}

Vector3& Vector3::operator=(ModelerAPI::Vector const& v) {
    return *this = Vector3(v);
}

Vector3::operator CadPoint() const {
    return CadPoint(m_x, m_y, m_z);
}

Vector3::operator ModelerAPI::Vector() const {
    return ModelerAPI::Vector{m_x, m_y, m_z};
}

Vector3 Vector3::operator+(Vector3 const& other) const {
    return Vector3(*this) += other;
}

Vector3& Vector3::operator+=(Vector3 const& other) {
    m_x += other.m_x;
    m_y += other.m_y;
    m_z += other.m_z;
    return *this;
}

Vector3 Vector3::operator-(Vector3 const& other) const {
    return Vector3(*this) -= other;
}

Vector3& Vector3::operator-=(Vector3 const& other) {
    m_x -= other.m_x;
    m_y -= other.m_y;
    m_z -= other.m_z;
    return *this;
}

Vector3 Vector3::operator*(double factor) const {
    return Vector3(*this) *= factor;
}

Vector3& Vector3::operator*=(double factor) {
    m_x *= factor;
    m_y *= factor;
    m_z *= factor;
    return *this;
}

Vector3 Vector3::operator*(Matrix3x3 const& m) const {
    return Vector3(*this) *= m;
}

Vector3& Vector3::operator*=(Matrix3x3 const& m) {
    double v[3] = {m_x, m_y, m_z};
    double out[3];
    for (UInt16 r = 0; r < 3; ++r)
        out[r] = m(r, 0) * v[0] + m(r, 1) * v[1] + m(r, 2) * v[2];
    m_x = out[0];
    m_y = out[1];
    m_z = out[2];
    return *this;
}

Vector3 Vector3::operator*(Matrix4x4 const& m) const {
    return Vector3(*this) *= m;
}

Vector3& Vector3::operator*=(Matrix4x4 const& m) {
    Vector4 v = Vector4(*this) * m;
    m_x = v.x();
    m_y = v.y();
    m_z = v.z();
    return *this;
}

double Vector3::magnitude() const {
    return std::sqrt(m_x * m_x + m_y * m_y + m_z * m_z);
}

double Vector3::dotProduct(Vector3 const& other) const {
    return m_x * other.m_x + m_y * other.m_y + m_z * other.m_z;
}

Vector3 Vector3::vectorProduct(Vector3 const& b) const {
    return Vector3(m_y * b.m_z - m_z * b.m_y, m_z * b.m_x - m_x * b.m_z, m_x * b.m_y - m_y * b.m_x);
}

Vector3 Vector3::normalised() const {
    double length = magnitude();
    if (!(length > 0.0))
        return *this;
    return Vector3(m_x / length, m_y / length, m_z / length);
}

double Vector3::azimuthAngle() const {
    return CadPoint().azimuthAngleTo(CadPoint(m_x, m_y, m_z));
}

double Vector3::altitudeAngle() const {
    return CadPoint().altitudeAngleTo(CadPoint(m_x, m_y, m_z));
}

double Vector3::angleTo(Vector3 const& other) const {
    double a = magnitude();
    double b = other.magnitude();
    if (a <= 1e-5 || b <= 1e-5)
        return 0.0;
    // Rounding can push the ratio of nearly parallel vectors just past 1.
    return std::acos(std::clamp(dotProduct(other) / (a * b), -1.0, 1.0));
}

bool Vector3::isEmpty(double tol) const {
    return std::fabs(m_x) <= tol && std::fabs(m_y) <= tol && std::fabs(m_z) <= tol;
}

bool Vector3::isParallelTo(Vector3 const& other, double tol) const {
    if (isEmpty(tol) || other.isEmpty(tol))
        return false;
    return vectorProduct(other).isEmpty(tol);
}

bool Vector3::isPerpendicularTo(Vector3 const& other, double tol) const {
    if (isEmpty(tol) || other.isEmpty(tol))
        return false;
    return std::fabs(dotProduct(other)) <= tol;
}

bool Vector3::isSameSense(Vector3 const& other, double tol) const {
    return !(m_x * other.m_x < -tol || m_y * other.m_y < -tol || m_z * other.m_z < -tol);
}

} // namespace zelvane

#include "Geometry/CadPoint.h"

#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Vector3.h"
#include "Geometry/Vector4.h"

#include <cmath>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

} // namespace

CadPoint::CadPoint(CadPoint const& p, double z) : m_x(p.x()), m_y(p.y()), m_z(z) {}

CadPoint& CadPoint::operator=(CadPoint const& other) {
    if (this != &other) {
        m_x = other.m_x;
        m_y = other.m_y;
        m_z = other.m_z;
    }
    return *this;
}

CadPoint& CadPoint::operator=(API_Coord const& c) {
    return *this = CadPoint(c);
}

CadPoint& CadPoint::operator=(ModelerAPI::TextureCoordinate const& t) {
    return *this = CadPoint(t);
}

CadPoint& CadPoint::operator=(API_Coord3D const& c) {
    return *this = CadPoint(c);
}

CadPoint& CadPoint::operator=(API_VectType const& v) {
    return *this = CadPoint(v);
}

CadPoint& CadPoint::operator=(API_VertType const& v) {
    return *this = CadPoint(v);
}

CadPoint& CadPoint::operator=(ModelerAPI::Vertex const& v) {
    return *this = CadPoint(v);
}

CadPoint* CadPoint::clone() const {
    return new CadPoint(*this);
}

bool CadPoint::operator==(CadPoint const& other) const {
    return isEqual3D(other, fixedTol);
}

bool CadPoint::operator!=(CadPoint const& other) const {
    return !(*this == other);
}

bool CadPoint::operator<(CadPoint const& other) const {
    if (std::fabs(x() - other.x()) > fixedTol)
        return x() < other.x();
    if (std::fabs(y() - other.y()) > fixedTol)
        return y() < other.y();
    return other.z() - z() > fixedTol;
}

CadPoint CadPoint::operator+(CadPoint const& other) const {
    return CadPoint(*this) += other;
}

CadPoint& CadPoint::operator+=(CadPoint const& other) {
    x() += other.x();
    y() += other.y();
    z() += other.z();
    return *this;
}

CadPoint CadPoint::operator-(CadPoint const& other) const {
    return CadPoint(*this) -= other;
}

CadPoint& CadPoint::operator-=(CadPoint const& other) {
    x() -= other.x();
    y() -= other.y();
    z() -= other.z();
    return *this;
}

CadPoint CadPoint::operator*(double const& factor) const {
    return CadPoint(*this) *= factor;
}

CadPoint CadPoint::operator*(Matrix3x3 const& m) const {
    return CadPoint(*this) *= m;
}

CadPoint CadPoint::operator*(Matrix4x4 const& m) const {
    return CadPoint(*this) *= m;
}

CadPoint& CadPoint::operator*=(double const& factor) {
    x() *= factor;
    y() *= factor;
    z() *= factor;
    return *this;
}

CadPoint& CadPoint::operator*=(Matrix3x3 const& m) {
    CadPoint result = Vector3(*this) * m;
    x() = result.x();
    y() = result.y();
    z() = result.z();
    return *this;
}

CadPoint& CadPoint::operator*=(Matrix4x4 const& m) {
    CadPoint result = Vector4(*this) * m;
    x() = result.x();
    y() = result.y();
    z() = result.z();
    return *this;
}

CadPoint CadPoint::operator/(double const& divisor) const {
    return CadPoint(*this) /= divisor;
}

CadPoint& CadPoint::operator/=(double const& divisor) {
    x() /= divisor;
    y() /= divisor;
    z() /= divisor;
    return *this;
}

double& CadPoint::operator[](Axis axis) {
    switch (axis) {
    case xAxis:
        return x();
    case yAxis:
        return y();
    default:
        return z();
    }
}

double const& CadPoint::operator[](Axis axis) const {
    switch (axis) {
    case xAxis:
        return m_x;
    case yAxis:
        return m_y;
    default:
        return m_z;
    }
}

CadPoint::operator API_Coord() const {
    return API_Coord{x(), y()};
}

CadPoint::operator API_Coord3D() const {
    return API_Coord3D{x(), y(), z()};
}

CadPoint::operator ModelerAPI::Vertex() const {
    return ModelerAPI::Vertex{x(), y(), z()};
}

bool CadPoint::isEqual2D(CadPoint const& other, double tol) const {
    return std::fabs(x() - other.x()) <= tol && std::fabs(y() - other.y()) <= tol;
}

double CadPoint::lengthTo2D(CadPoint const& other) const {
    double dx = x() - other.x();
    double dy = y() - other.y();
    return std::sqrt(dx * dx + dy * dy);
}

bool CadPoint::isEqual3D(CadPoint const& other, double tol) const {
    return lengthTo3D(other) <= tol;
}

double CadPoint::lengthTo3D(CadPoint const& other) const {
    double dx = x() - other.x();
    double dy = y() - other.y();
    double dz = z() - other.z();
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double CadPoint::azimuthAngleTo(CadPoint const& other) const {
    double dx = other.x() - x();
    double dy = other.y() - y();
    if (std::fabs(dx) <= fixedTol) {
        if (std::fabs(dy) <= fixedTol)
            return 0.0;
        return dy > fixedTol ? pi / 2.0 : 3.0 * pi / 2.0;
    }
    double a = std::atan(dy / dx);
    if (dx < 0.0)
        return a + pi;
    return a < 0.0 ? a + 2.0 * pi : a;
}

double CadPoint::altitudeAngleTo(CadPoint const& other) const {
    double d = lengthTo2D(other);
    double dz = other.z() - z();
    if (std::fabs(d) > fixedTol)
        return std::atan(dz / d);
    if (std::fabs(dz) <= fixedTol)
        return 0.0;
    return dz > fixedTol ? pi / 2.0 : -pi / 2.0;
}

void CadPoint::movePolar(double len, double angle) {
    x() += len * std::cos(angle);
    y() += len * std::sin(angle);
}

void CadPoint::movePolar(double len, double azimuth, double altitude) {
    double h = len * std::fabs(std::cos(altitude));
    x() += h * std::cos(azimuth);
    y() += h * std::sin(azimuth);
    z() += len * std::sin(altitude);
}

CadPoint CadPoint::rounded2D(double step) const {
    return CadPoint(std::floor(x() / step + 0.5) * step, std::floor(y() / step + 0.5) * step, 0.0);
}

CadPoint CadPoint::rounded3D(double step) const {
    return CadPoint(std::floor(x() / step + 0.5) * step, std::floor(y() / step + 0.5) * step,
                    std::floor(z() / step + 0.5) * step);
}

CadPoint::Axis& operator++(CadPoint::Axis& axis) {
    axis = ++static_cast<CadPoint::Axis const&>(axis);
    return axis;
}

CadPoint::Axis operator++(CadPoint::Axis const& axis) {
    switch (axis) {
    case CadPoint::xAxis:
        return CadPoint::yAxis;
    case CadPoint::yAxis:
        return CadPoint::zAxis;
    default:
        return CadPoint::xAxis;
    }
}

} // namespace zelvane

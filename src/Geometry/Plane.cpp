#include "Geometry/Plane.h"

#include "Geometry/Cube.h"
#include "Geometry/InterPoint.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Vector4.h"

#include <cmath>

namespace zelvane {

Plane::Plane(double offset, Vector3 const& normal) : m_offset(offset), m_normal(normal.normalised()) {}

Plane::Plane(CadPoint const& point, Vector3 const& normal) : m_normal(normal.normalised()) {
    m_offset = m_normal.dotProduct(Vector3(point));
}

Plane::Plane(Vector3 const& normal) : m_offset(0.0), m_normal(normal) {
    if (!(normal.magnitude() > 1e-5))
        m_normal = Vector3(0.0, 0.0, 1.0);
}

std::unique_ptr<Plane> Plane::create(double offset, Vector3 const& normal) {
    if (normal.isEmpty(1e-5))
        return nullptr;
    return std::make_unique<Plane>(offset, normal);
}

std::unique_ptr<Plane> Plane::create(CadPoint const& point, Vector3 const& normal) {
    if (normal.isEmpty(1e-5))
        return nullptr;
    return std::make_unique<Plane>(point, normal);
}

std::unique_ptr<Plane> Plane::create(CadPoint const& p1, CadPoint const& p2, CadPoint const& p3) {
    Vector3 cross = Vector3(p1 - p2).vectorProduct(Vector3(p3 - p2));
    if (cross.isEmpty(1e-5))
        return nullptr;
    return std::make_unique<Plane>(p1, cross);
}

void Plane::setNormal(Vector3 const& normal) {
    if (!normal.isEmpty(1e-5))
        m_normal = normal;
}

CadPoint::Pos Plane::positionOf(CadPoint const& point, double tol) const {
    double s = m_normal.dotProduct(Vector3(point));
    if (m_offset - s > tol)
        return CadPoint::outside;
    if (s - m_offset > tol)
        return CadPoint::inside;
    return CadPoint::along;
}

CadPoint Plane::closestPointTo(CadPoint const& point) const {
    double t = (m_offset - m_normal.dotProduct(Vector3(point))) / m_normal.dotProduct(m_normal);
    return point + CadPoint(m_normal * t);
}

double Plane::lengthTo(CadPoint const& point) const {
    return (m_normal.dotProduct(Vector3(point)) - m_offset) / m_normal.magnitude();
}

double Plane::heightAt(CadPoint const& point, double tol) const {
    if (std::fabs(m_normal.z()) <= tol)
        return point.z();
    auto hit = intersectionWith(Line(point, point + CadPoint(0.0, 0.0, 1.0)), tol);
    return hit ? hit->z() : point.z();
}

std::unique_ptr<InterPoint> Plane::intersectionWith(Line const& line, double tol) const {
    Vector3 u = Vector3(line.end() - line.origin()).normalised();
    double along = m_normal.dotProduct(u);
    if (std::fabs(along) <= tol)
        return nullptr;
    double t = (m_offset - m_normal.dotProduct(Vector3(line.origin()))) / along;
    return std::make_unique<InterPoint>(line.origin() + CadPoint(u * t), CadPoint::none, CadPoint::none);
}

std::unique_ptr<Line> Plane::intersectionWith(Plane const& other, double) const {
    Vector3 const& A = m_normal;
    Vector3 const& B = other.m_normal;
    double a = m_offset;
    double b = other.m_offset;
    Vector3 dir = A.vectorProduct(B);
    if (dir.isEmpty(1e-5))
        return nullptr;
    // Zero the coordinate along which the line runs most steeply and solve for the other two.
    double ax = std::fabs(dir.x()), ay = std::fabs(dir.y()), az = std::fabs(dir.z());
    CadPoint point;
    if (ax > ay && ax > az)
        point = CadPoint(0.0, (B.z() * a - A.z() * b) / dir.x(), (A.y() * b - B.y() * a) / dir.x());
    else if (ay >= ax && ay > az)
        point = CadPoint((A.z() * b - B.z() * a) / dir.y(), 0.0, (B.x() * a - A.x() * b) / dir.y());
    else
        point = CadPoint((B.y() * a - A.y() * b) / dir.z(), (A.x() * b - B.x() * a) / dir.z(), 0.0);
    return std::make_unique<Line>(point, point + CadPoint(dir));
}

bool Plane::isParallelTo(Plane const& other, double tol) const {
    return m_normal.isParallelTo(other.m_normal, tol);
}

bool Plane::cutsThrough(Cube const& box, double) const {
    Cube sorted(box);
    sorted.sort();
    double xs[2] = {sorted.origin().x(), sorted.end().x()};
    double ys[2] = {sorted.origin().y(), sorted.end().y()};
    double zs[2] = {sorted.origin().z(), sorted.end().z()};
    CadPoint::Pos first = positionOf(CadPoint(xs[0], ys[0], zs[0]), 1e-5);
    for (double z : zs)
        for (double y : ys)
            for (double x : xs)
                if (positionOf(CadPoint(x, y, z), 1e-5) != first)
                    return true;
    return false;
}

Plane Plane::operator+(CadPoint const& offset) const {
    return Plane(*this) += offset;
}

Plane& Plane::operator+=(CadPoint const& offset) {
    CadPoint foot = closestPointTo(CadPoint()) + offset;
    *this = Plane(foot, m_normal);
    return *this;
}

Plane Plane::operator*(double factor) const {
    return Plane(*this) *= factor;
}

Plane Plane::operator*(Matrix3x3 const& m) const {
    return Plane(*this) *= m;
}

Plane Plane::operator*(Matrix4x4 const& m) const {
    return Plane(*this) *= m;
}

Plane& Plane::operator*=(double factor) {
    m_offset *= factor;
    if (factor < 0.0)
        m_normal *= -1.0;
    return *this;
}

Plane& Plane::operator*=(Matrix3x3 const& m) {
    // The plane passes through the transformed foot point with the transformed normal, so the offset
    // keeps its sign.
    CadPoint foot = closestPointTo(CadPoint()) * m;
    Vector3 normal = (m_normal * m).normalised();
    if (normal.isEmpty(1e-5))
        return *this;
    m_normal = normal;
    m_offset = m_normal.dotProduct(Vector3(foot));
    return *this;
}

Plane& Plane::operator*=(Matrix4x4 const& m) {
    // The foot point is moved as a point; the normal is a direction, so the translation is left out.
    CadPoint foot = closestPointTo(CadPoint()) * m;
    Vector3 normal = (m_normal * m.getSubmatrix(3, 3)).normalised();
    if (normal.isEmpty(1e-5))
        return *this;
    m_normal = normal;
    m_offset = m_normal.dotProduct(Vector3(foot));
    return *this;
}

} // namespace zelvane

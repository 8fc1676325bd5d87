#include "Geometry/Rotater.h"

#include "Geometry/CadArc.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/Line.h"
#include "Geometry/Plane.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyVector.h"
#include "Geometry/Vector3.h"
#include "Geometry/Vector4.h"

#include <cmath>

namespace zelvane {

Rotater::Rotater(double angle, double tol) {
    Rotater::setAngle(angle, tol);
}

double Rotater::getAngle() const {
    return m_angle;
}

bool Rotater::isActive() const {
    return m_active;
}

void Rotater::setAngle(double angle, double tol) {
    m_angle = angle;
    m_active = std::fabs(angle) > tol;
    if (m_active) {
        m_s = std::sin(-angle);
        m_c = std::cos(angle);
    }
}

void Rotater::reverse() {
    if (isActive())
        setAngle(-getAngle(), 1e-5);
}

void Rotater::transform(CadArc& arc) const {
    if (!isActive())
        return;
    CadPoint origin = arc.getOrigin();
    CadPoint middle = arc.midpoint();
    CadPoint end = arc.getEnd();
    transformPt(origin);
    transformPt(middle);
    transformPt(end);
    arc = CadArc(origin, middle, end);
}

void Rotater::transform(Line& line) const {
    if (!isActive())
        return;
    transformPt(line.origin());
    transformPt(line.end());
}

void Rotater::transform(PolyEdge& edge) const {
    if (!isActive())
        return;
    transformPt(edge.origin());
    transformPt(edge.end());
}

void Rotater::transform(CadPolygon& polygon) const {
    if (!isActive())
        return;
    for (int k = int(polygon.getHoleCount()); k >= 0; --k) {
        CadPolygon& contour = polygon.getShape(k);
        for (int i = int(contour.vertSize()) - 1; i >= 0; --i)
            transformPt(*contour[i]);
    }
}

void Rotater::transform(Vector3& vector) const {
    if (!isActive())
        return;
    CadPoint point = vector;
    transformPt(point);
    vector = point;
}

void Rotater::transform(Vector4& vector) const {
    if (!isActive())
        return;
    CadPoint point(vector.x(), vector.y(), vector.z());
    transformPt(point);
    vector.x() = point.x();
    vector.y() = point.y();
    vector.z() = point.z();
}

void Rotater::transform(Plane& plane) const {
    if (!isActive())
        return;
    Vector3 normal = plane.getNormal();
    transform(normal);
    plane.setNormal(normal);
}

XRotater* XRotater::clone() const {
    return new XRotater(*this);
}

void XRotater::transformPt(CadPoint& point) const {
    if (!m_active)
        return;
    double y = point.y(), z = point.z();
    point.y() = m_c * y + m_s * z;
    point.z() = m_c * z - m_s * y;
}

YRotater* YRotater::clone() const {
    return new YRotater(*this);
}

double YRotater::getAngle() const {
    return -m_angle;
}

void YRotater::setAngle(double angle, double tol) {
    m_angle = -angle;
    m_active = std::fabs(angle) > tol;
    if (m_active) {
        m_s = std::sin(angle);
        m_c = std::cos(angle);
    }
}

void YRotater::transformPt(CadPoint& point) const {
    if (!m_active)
        return;
    double x = point.x(), z = point.z();
    point.x() = m_c * x + m_s * z;
    point.z() = m_c * z - m_s * x;
}

ZRotater* ZRotater::clone() const {
    return new ZRotater(*this);
}

void ZRotater::transformPt(CadPoint& point) const {
    if (!m_active)
        return;
    double x = point.x(), y = point.y();
    point.x() = m_c * x + m_s * y;
    point.y() = m_c * y - m_s * x;
}

} // namespace zelvane
